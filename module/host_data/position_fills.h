// What the host's position records show of the lots the plug-in's closing
// orders filled. The host reports a fill twice, in the order's record and in
// the position's, in either order, and the client's own trades move the
// position too. Per position and side this keeps the lots filled that the
// position's last record does not show yet, and the fall (or rise) of the
// position that no order record has explained yet.
//
// A position record shows every fill whose order record came before it. One
// that moves the position further than the fills reported may show fills
// whose order records are still on their way, or the client's own trades:
// the orders' open lots count on meanwhile, and the next order records that
// tell of fills are taken as that move. Such a move never stands for more
// than the lots still open on its side: the rest is the client's own.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

using TPositionKey = std::tuple<std::string, std::string, std::string>;  // firm, account, security

class CPositionFills {
 public:
  // The host's record of the position, its signed lots; the lots the
  // plug-in's orders of the position still have open on each side, as their
  // records last told.
  void OnPositionRecord(const TPositionKey& position, int32_t lots, double openSells, double openBuys);
  // An order record told of lots filled on the side (0 when none); the lots
  // the position's orders still have open on that side after it.
  void OnOrderRecord(const TPositionKey& position, bool buy, double filled, double openAfter);
  // Lots filled on the side that the position's last record does not show.
  double Unseen(const TPositionKey& position, bool buy) const;
  // The host started a new session: its position records are its own.
  void Forget() { m_positions.clear(); }

 private:
  struct TSide {
    double unseen = 0.0;
    double unexplained = 0.0;  // a move of the position no order record told of yet
  };
  struct TPosition {
    bool reported = false;
    int32_t lots = 0;
    TSide sells, buys;
    TSide& Side(bool buy) { return buy ? buys : sells; }
  };
  std::map<TPositionKey, TPosition> m_positions;
};
