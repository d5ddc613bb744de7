#include "module/host_data/position_holds.h"

#include <algorithm>

void CPositionHolds::OnOrderSent(uint32_t id, const TPositionKey& key, bool buy, double lots, bool refused) {
  // An id the host gives again replaces the order it named before.
  const auto before = m_positionOf.find(id);
  if (before != m_positionOf.end()) {
    std::vector<TOrder>& orders = m_positions[before->second].orders;
    orders.erase(std::remove_if(orders.begin(), orders.end(), [id](const TOrder& o) { return o.id == id; }),
                 orders.end());
  }
  TOrder order{id, buy, lots};
  order.refused = refused;
  order.beyond = refused ? 0.0 : lots;
  m_positions[key].orders.push_back(order);
  m_positionOf[id] = key;
}

void CPositionHolds::OnOrderRecord(uint32_t id, double unfilled, bool active) {
  const auto of = m_positionOf.find(id);
  if (of == m_positionOf.end()) return;
  TPosition& position = m_positions[of->second];
  const auto order = std::find_if(position.orders.begin(), position.orders.end(),
                                  [id](const TOrder& o) { return o.id == id; });
  if (order == position.orders.end() || order->settled) return;
  // Refused at its send, it holds what it was sent with from its first record.
  if (order->refused) order->beyond = order->open;
  order->refused = order->earlier = false;
  order->reported = true;
  unfilled = std::min(unfilled, order->open);
  Fill(position, *order, order->open - unfilled);
  if (!active) Withdraw(position, *order, unfilled);
  order->open = active ? unfilled : 0.0;
  order->settled = !active;
}

// Lots the record counted fill: an earlier session's order the record shows
// gone filled before it; another order's fill it showed as far as it showed
// the order's lots gone and the position fell beyond the fills reported; the
// rest it does not show yet. Either way the lots less those in orders stay
// as the record has them.
void CPositionHolds::Fill(TPosition& position, TOrder& order, double lots) {
  TSide& side = position.Side(order.buy);
  double counted = std::min(lots, order.counted);
  order.counted -= counted;
  const double gone = TakeGone(side, order, counted);
  counted -= gone;
  const double shown = std::min({counted, side.shownGone, side.fall});
  side.shownGone -= shown;
  side.fall -= shown;
  side.freed += shown;
  side.unshownFills += lots - gone - shown;
}

// A withdrawal gives back its lots: those the record counted (but for an
// earlier session's the record shows gone already), and those held beyond it.
void CPositionHolds::Withdraw(TPosition& position, TOrder& order, double lots) {
  TSide& side = position.Side(order.buy);
  const double counted = std::min(lots, order.counted);
  order.counted -= counted;
  const double stillCounted = counted - TakeGone(side, order, counted);
  side.freed += stillCounted;
  side.shownGone -= std::min(stillCounted, side.shownGone);
  order.beyond = std::max(0.0, order.beyond - (lots - counted));
}

// Lots of an earlier session's order the record showed gone: they are no
// longer counted as ours, so taking them frees nothing more.
double CPositionHolds::TakeGone(TSide& side, const TOrder& order, double lots) {
  if (!order.earlierAtRecord) return 0.0;
  const double gone = std::min(lots, side.gone);
  side.gone -= gone;
  side.freed += gone;
  return gone;
}

void CPositionHolds::OnPositionRecord(const TPositionKey& key, const TPositionPicture& picture) {
  TPosition& position = m_positions[key];
  // Sells lower the position, buys raise it.
  const double expected = position.picture.lots - position.sells.unshownFills + position.buys.unshownFills;
  const double sellsFall = position.seen ? std::max(0.0, expected - picture.lots) : 0.0;
  const double buysRise = position.seen ? std::max(0.0, picture.lots - expected) : 0.0;
  position.seen = true;
  position.picture = picture;
  position.sells = TSide{}, position.buys = TSide{};
  position.sells.fall = sellsFall, position.buys.fall = buysRise;
  for (const TOrder& order : position.orders)
    if (order.settled) m_positionOf.erase(order.id);
  position.orders.erase(std::remove_if(position.orders.begin(), position.orders.end(),
                                       [](const TOrder& order) { return order.settled; }),
                        position.orders.end());
  // Orders reported before it are in its count, and so are an earlier
  // session's it holds still; those sent since are not.
  double earlier[2] = {};
  for (TOrder& order : position.orders) {
    const bool counted = order.reported || order.earlier;
    order.counted = counted ? order.open : 0.0;
    order.beyond = counted || order.refused ? 0.0 : order.open;
    order.earlierAtRecord = order.earlier;
    position.Side(order.buy).ours += order.counted;
    if (order.earlier) earlier[order.buy] += order.open;
  }
  // What the record does not count of an earlier session's orders it shows
  // gone: the host no longer holds them.
  for (bool buy : {false, true}) {
    TSide& side = position.Side(buy);
    const double uncounted = std::max(0.0, side.ours - (buy ? picture.activeBuys : picture.activeSells));
    side.gone = std::min(uncounted, earlier[buy]);
    side.shownGone = uncounted - side.gone;
  }
}

// An order the host never reported may still be on its way to it: it holds
// what it was sent with until it is reported.
void CPositionHolds::OnNewSession() {
  for (auto& position : m_positions)
    for (TOrder& order : position.second.orders)
      if (order.reported && !order.settled) order.earlier = true, order.reported = false;
}

double CPositionHolds::FreeLots(const TPositionKey& key, bool buy, bool considerHostCount,
                                const TPositionPicture& latest) const {
  const auto found = m_positions.find(key);
  const bool seen = found != m_positions.end() && found->second.seen;
  const TPositionPicture& picture = seen ? found->second.picture : latest;
  const double held = std::max(0, buy ? -picture.lots : picture.lots);
  const double inOrders = buy ? picture.activeBuys : picture.activeSells;
  double ours = 0.0, beyond = 0.0;
  if (found != m_positions.end()) {
    const TSide& side = found->second.Side(buy);
    ours = side.ours - side.freed - side.gone;
    for (const TOrder& order : found->second.orders)
      if (order.buy == buy) beyond += order.beyond;
  }
  return held - (considerHostCount ? std::max(inOrders, ours) : ours) - beyond;
}
