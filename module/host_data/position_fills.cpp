#include "module/host_data/position_fills.h"

#include <algorithm>

void CPositionFills::OnPositionRecord(const TPositionKey& key, int32_t lots, double openSells, double openBuys) {
  TPosition& position = m_positions[key];
  if (position.reported) {
    // Sells lower the position, buys raise it.
    const double expected = position.lots - position.sells.unseen + position.buys.unseen;
    const double moved = lots - expected;
    if (moved < 0.0) position.sells.unexplained = std::min(position.sells.unexplained - moved, openSells);
    else position.buys.unexplained = std::min(position.buys.unexplained + moved, openBuys);
  }
  // It shows every fill reported before it.
  position.sells.unseen = position.buys.unseen = 0.0;
  position.lots = lots;
  position.reported = true;
}

void CPositionFills::OnOrderRecord(const TPositionKey& key, bool buy, double filled, double openAfter) {
  TSide& side = m_positions[key].Side(buy);
  // Lots a position record showed before this order record told of them.
  const double shownBefore = std::min(filled, side.unexplained);
  side.unseen += filled - shownBefore;
  // A move the lots still open can no longer explain was the client's own.
  side.unexplained = std::min(side.unexplained - shownBefore, openAfter);
}

double CPositionFills::Unseen(const TPositionKey& key, bool buy) const {
  const auto found = m_positions.find(key);
  if (found == m_positions.end()) return 0.0;
  return buy ? found->second.buys.unseen : found->second.sells.unseen;
}
