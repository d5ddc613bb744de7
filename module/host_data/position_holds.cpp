#include "module/host_data/position_holds.h"

#include <algorithm>

namespace {
constexpr int kSessionsOtherOrdersKept = 3;
}  // namespace

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
  const bool replayed = order->earlier && order->earlierAtRecord && position.seenInSession;
  order->refused = order->earlier = false;
  order->reported = true;
  unfilled = std::min(unfilled, order->open);
  const double filled = order->open - unfilled, withdrawn = active ? 0.0 : unfilled;
  if (replayed) {
    Replayed(position, *order, filled, withdrawn);
  } else {
    Fill(position, *order, filled);
    Withdraw(position, *order, withdrawn);
  }
  order->open = active ? unfilled : 0.0;
  order->settled = !active;
}

// The host reported an earlier session's order again after a record of the
// session. What it lost went before that record as far as the record counted
// fewer lots in orders; the rest went after it. Its withdrawals give their
// lots back either way: they are taken as what the record counted short
// first, so that neither a fill after the record nor another order takes
// the place of lots withdrawn before it. Its fills stay held as fills the
// record does not show yet until the record's count shows them gone before
// it.
void CPositionHolds::Replayed(TPosition& position, TOrder& order, double filled, double withdrawn) {
  TSide& side = position.Side(order.buy);
  Withdraw(position, order, withdrawn);
  side.countShort -= withdrawn;
  order.counted -= std::min(filled, order.counted);
  side.unshownFills += filled;
  side.replayedFills += filled;
  SettleIfAllGone(position, order.buy);
  // What the record showed gone beyond the lots the earlier session's orders
  // not reported again still hold went from those reported again.
  const double stillHeld = EarlierAtRecord(position, order.buy);
  if (side.gone > stillHeld) {
    const double beyond = side.gone - stillHeld;
    side.gone = stillHeld;
    side.countShort -= beyond;
    ShowReplayedFills(side, beyond);
  }
}

// Lots the session's record showed gone from the fills of an earlier
// session's orders reported again after it: the record shows those fills, as
// far as they go. More than they filled it cannot show, and that frees
// nothing. How many it shows.
double CPositionHolds::ShowReplayedFills(TSide& side, double lots) {
  const double shown = std::clamp(lots, 0.0, side.replayedFills);
  side.replayedFills -= shown;
  side.unshownFills -= shown;
  side.freed += shown;
  return shown;
}

void CPositionHolds::OnOtherOrderRecord(int32_t key, const TPositionKey& at, bool buy, double balance, bool active,
                                        bool withdrawn) {
  TPosition& position = m_positions[at];
  const auto known = position.others.find(key);
  if (known != position.others.end() && known->second.reportedNow) {
    // What the last record did not count of it, or showed of its fill, its
    // own record now tells: none of that is ours.
    TSide& side = position.Side(known->second.buy);
    const double left = active || withdrawn ? std::min(balance, known->second.balance) : 0.0;
    const double filled = known->second.balance - left;
    side.shownGone -= std::min(known->second.balance - (active ? left : 0.0), side.shownGone);
    side.fall -= std::min(filled, side.fall);
  }
  if (!active) {
    if (known != position.others.end()) position.others.erase(known);
    return;
  }
  // Reported again after the session's record, it was active when that
  // record counted: so much less of the count is left for our earlier
  // orders, first those not reported again, then the fills of those that
  // were.
  if (known != position.others.end() && !known->second.reportedNow && position.seenInSession) {
    TSide& side = position.Side(buy);
    const double shortfall = std::max(side.countShort + balance, 0.0) - std::max(side.countShort, 0.0);
    const double goneBefore = side.gone;
    side.countShort += balance;
    side.gone = std::max(side.gone, std::min(EarlierAtRecord(position, buy), side.countShort));
    side.countShort -= ShowReplayedFills(side, shortfall - (side.gone - goneBefore));
    SettleIfAllGone(position, buy);
  }
  position.others[key] = {buy, balance, true, 0};
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
  if (lots <= 0.0) return;
  const double counted = FreeCounted(position.Side(order.buy), order, lots);
  order.beyond = std::max(0.0, order.beyond - (lots - counted));
}

// Of the order's lots, those the record counted are no longer ours (but for
// an earlier session's the record shows gone already); how many it counted.
double CPositionHolds::FreeCounted(TSide& side, TOrder& order, double lots) {
  const double counted = std::min(lots, order.counted);
  order.counted -= counted;
  const double stillCounted = counted - TakeGone(side, order, counted);
  side.freed += stillCounted;
  side.shownGone -= std::min(stillCounted, side.shownGone);
  return counted;
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

double CPositionHolds::EarlierAtRecord(const TPosition& position, bool buy) {
  double lots = 0.0;
  for (const TOrder& order : position.orders)
    if (order.buy == buy && order.earlier && order.earlierAtRecord && !order.settled) lots += order.counted;
  return lots;
}

// Gone for good: their lots leave the count as they would filled, and
// whatever the host says of them later changes nothing.
void CPositionHolds::SettleIfAllGone(TPosition& position, bool buy) {
  TSide& side = position.Side(buy);
  const double earlier = EarlierAtRecord(position, buy);
  // The fills of the orders reported again may have been what the record
  // showed gone: only what they cannot explain is surely these orders'.
  if (earlier <= 0.0 || side.gone - side.replayedFills < earlier) return;
  for (TOrder& order : position.orders) {
    if (order.buy != buy || !order.earlier || !order.earlierAtRecord || order.settled) continue;
    const double moved = std::min(side.gone, order.counted);
    side.gone -= moved;
    side.countShort -= moved;
    side.freed += moved;
    order.settled = true;
  }
}

void CPositionHolds::OnPositionRecord(const TPositionKey& key, const TPositionPicture& picture) {
  TPosition& position = m_positions[key];
  // Sells lower the position, buys raise it. The fills of orders reported
  // again after the last record the record may have shown already: a side's
  // move is never taken for more than it may be.
  const TSide& sells = position.sells;
  const TSide& buys = position.buys;
  const double lowest = position.picture.lots - sells.unshownFills + buys.unshownFills - buys.replayedFills;
  const double highest = position.picture.lots - sells.unshownFills + sells.replayedFills + buys.unshownFills;
  const double sellsFall = position.seen ? std::max(0.0, lowest - picture.lots) : 0.0;
  const double buysRise = position.seen ? std::max(0.0, picture.lots - highest) : 0.0;
  // What earlier records showed gone stays gone, but for what those fills
  // may explain.
  const double goneBefore[2] = {std::max(0.0, sells.gone - sells.replayedFills),
                                std::max(0.0, buys.gone - buys.replayedFills)};
  position.seen = position.seenInSession = true;
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
  for (TOrder& order : position.orders) {
    const bool counted = order.reported || order.earlier;
    order.counted = counted ? order.open : 0.0;
    order.beyond = counted || order.refused ? 0.0 : order.open;
    order.earlierAtRecord = order.earlier;
    position.Side(order.buy).ours += order.counted;
  }
  double others[2] = {};
  for (const auto& other : position.others)
    if (other.second.reportedNow) others[other.second.buy] += other.second.balance;
  // The count holds the orders reported in this session, the client's own
  // among them; what it cannot hold of an earlier session's orders beside
  // them is gone. What it does not count of the others it shows gone (until
  // a record of the client's own order tells that was its).
  for (bool buy : {false, true}) {
    TSide& side = position.Side(buy);
    const double count = buy ? picture.activeBuys : picture.activeSells;
    side.countShort = side.ours + others[buy] - count;
    side.gone = std::min(EarlierAtRecord(position, buy), std::max({goneBefore[buy], side.countShort, 0.0}));
    side.shownGone = std::max(0.0, side.ours + others[buy] - count - side.gone);
    SettleIfAllGone(position, buy);
  }
}

void CPositionHolds::OnNewSession(const std::vector<uint32_t>& takenInIt) {
  for (auto& entry : m_positions) {
    TPosition& position = entry.second;
    position.seenInSession = false;
    // An order its records showed before the session began is an earlier
    // session's, whenever it was noted.
    for (TOrder& order : position.orders)
      if (!order.settled && !order.refused &&
          (order.reported || std::find(takenInIt.begin(), takenInIt.end(), order.id) == takenInIt.end()))
        order.earlier = true, order.reported = false;
    // The client's own orders the host has not reported for some sessions are
    // gone (a session's records may be lost on their way).
    for (auto other = position.others.begin(); other != position.others.end();) {
      if (other->second.reportedNow) other->second.sessionsUnreported = 0;
      other->second.reportedNow = false;
      if (++other->second.sessionsUnreported > kSessionsOtherOrdersKept) other = position.others.erase(other);
      else ++other;
    }
  }
}

double CPositionHolds::Beyond(const TPosition& position, bool buy) {
  double lots = 0.0;
  for (const TOrder& order : position.orders)
    if (order.buy == buy) lots += order.beyond;
  return lots;
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
    ours = OursInRecord(found->second.Side(buy));
    beyond = Beyond(found->second, buy);
  }
  return held - (considerHostCount ? std::max(inOrders, ours) : ours) - beyond;
}

double CPositionHolds::Held(const TPositionKey& key, bool buy) const {
  const auto found = m_positions.find(key);
  if (found == m_positions.end()) return 0.0;
  return OursInRecord(found->second.Side(buy)) + Beyond(found->second, buy);
}

std::vector<TUnreportedOrder> CPositionHolds::Unreported(const TPositionKey& key, bool buy) const {
  std::vector<TUnreportedOrder> unreported;
  const auto found = m_positions.find(key);
  if (found == m_positions.end()) return unreported;
  // The session's record showed so many lots of an earlier session's orders
  // gone, not whose: so many fewer are named, from the order sent first, but
  // for what the fills of those reported again may explain.
  const TSide& side = found->second.Side(buy);
  double gone = std::max(0.0, side.gone - side.replayedFills);
  for (const TOrder& order : found->second.orders) {
    if (order.buy != buy || order.reported || order.refused || order.settled || order.open <= 0.0) continue;
    double lots = order.open;
    if (order.earlier && order.earlierAtRecord) {
      const double shownGone = std::min(gone, lots);
      gone -= shownGone;
      lots -= shownGone;
    }
    if (lots > 0.0) unreported.push_back({order.id, lots, order.earlier});
  }
  return unreported;
}

bool CPositionHolds::ReportedNow(uint32_t id) const {
  const auto of = m_positionOf.find(id);
  if (of == m_positionOf.end()) return false;
  for (const TOrder& order : m_positions.at(of->second).orders)
    if (order.id == id) return order.reported && !order.settled;
  return false;
}
