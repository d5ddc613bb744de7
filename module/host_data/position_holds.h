// The lots of a position that no order closes yet, as a closing order's send
// may take them. A position record is the host's own consistent picture:
// its lots less its lots in active orders on a side do not change when an
// active order fills. That is taken as the record shows it; beyond it only
// what the record cannot show yet is subtracted (the plug-in's orders sent,
// or first reported, after it) and what it cannot know of yet is given back
// (a withdrawal reported after it).
//
// The host is taken to report things in the order they happened: an order's
// first record before any position record that counts or shows it; the
// order's and the position's records of a later fill or withdrawal in either
// order, the position's then its own, not merged with later changes. A
// record that shows our orders' lots gone before their records tell of it is
// believed for a fill as far as the position also fell, and the order
// records that follow are taken as what it showed. Records out of that order
// (a position record older than an order record coming after it) never free
// more than the plug-in's own orders and the host's count leave: the lots
// are held until a later position record shows them.
//
// After a new host session an earlier session's order holds its lots until
// the host reports it again or a position record of the session counts
// fewer lots in orders than such orders had open; an order the host never
// reported holds its lots until it is reported.
#pragma once

#include "module/host_data/position_fills.h"

#include <cstdint>
#include <map>
#include <vector>

// What a position record of the host says: the signed lots and the lots in
// every active order of the position on each side, the client's own too.
struct TPositionPicture {
  int32_t lots = 0;
  int32_t activeBuys = 0, activeSells = 0;
};

class CPositionHolds {
 public:
  // An order the plug-in sent: lots on the side; refused when an error text
  // came with its id (it holds nothing until a record of it arrives).
  void OnOrderSent(uint32_t id, const TPositionKey& position, bool buy, double lots, bool refused);
  // A record of a sent order: the lots not filled (for a withdrawn order
  // those it gave back; 0 once executed) and whether it is still active.
  void OnOrderRecord(uint32_t id, double unfilled, bool active);
  void OnPositionRecord(const TPositionKey& position, const TPositionPicture& picture);
  // The host started a new session: the orders sent before hold what they
  // held until it reports them again or a position record of the new
  // session shows them gone.
  void OnNewSession();

  // The lots of the position on the side (a buy closes a short position, a
  // sell a long one) that no order closes: of the position's last record
  // (latest when none came), less the lots in active orders (every order's
  // when considerHostCount, else the plug-in's own), less what the
  // plug-in's orders hold beyond the record. May be below 0.
  double FreeLots(const TPositionKey& position, bool buy, bool considerHostCount,
                  const TPositionPicture& latest) const;

 private:
  struct TOrder {
    uint32_t id;
    bool buy;
    double open;              // lots not filled, as last reported (those sent until then)
    bool reported = false;    // a record came in this host session
    bool refused;
    bool earlier = false;     // sent in an earlier host session, not reported in this one
    bool earlierAtRecord = false;  // it was, when the position's last record came
    bool settled = false;
    double counted = 0.0;     // its open lots the position's last record counts
    double beyond = 0.0;      // lots it takes that the record does not show
  };
  struct TSide {
    double ours = 0.0;         // the orders' lots the last record counts
    double gone = 0.0;         // of those, an earlier session's the record shows gone
    double shownGone = 0.0;    // of the others, lots the record does not count
    double fall = 0.0;         // the record's move on the side that no fill reported explains
    double freed = 0.0;        // counted lots filled as the record shows, or withdrawn, since
    double unshownFills = 0.0; // fills reported since the record that it does not show
  };
  struct TPosition {
    bool seen = false;
    TPositionPicture picture;
    TSide sells, buys;
    std::vector<TOrder> orders;
    TSide& Side(bool buy) { return buy ? buys : sells; }
    const TSide& Side(bool buy) const { return buy ? buys : sells; }
  };
  void Fill(TPosition& position, TOrder& order, double lots);
  void Withdraw(TPosition& position, TOrder& order, double lots);
  static double TakeGone(TSide& side, const TOrder& order, double lots);

  std::map<TPositionKey, TPosition> m_positions;
  std::map<uint32_t, TPositionKey> m_positionOf;
};
