// The one account of the plug-in's closing orders against the host's
// positions: the lots of each position that the orders close, which both the
// window's level figures and the cap of a send read.
//
// A position record is the host's own consistent picture: its lots less its
// lots in active orders on a side do not change when an active order fills.
// That is taken as the record shows it; beyond it only what the record cannot
// show yet is subtracted (the plug-in's orders sent, or first reported, after
// it) and what it cannot know of yet is given back (a withdrawal reported
// after it).
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
// The host tells of a new session before it takes a transaction in it, and
// starts it with its picture, every position and every order it still holds
// (the client's own too), before anything that happens in it. Every order
// sent before, reported or not, then holds its lots until the host reports it
// again or a position record of the session counts fewer lots in orders than
// such orders and the orders reported in the session (the client's own among
// them, those reported after the record too) hold. The client's own orders
// count only there: with the host's count not considered they never hold
// lots. What a record shows gone is gone for good. An order reported again
// after the session's record lost before it only what that count shows gone:
// whatever more it lost went after the record, so its fills are fills the
// record does not show yet and free nothing, and only its withdrawals give
// lots back. Within a session an order the host took but never reported
// holds its lots: nothing can tell whether it is still on its way.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using TPositionKey = std::tuple<std::string, std::string, std::string>;  // firm, account, security

// What a position record of the host says: the signed lots and the lots in
// every active order of the position on each side, the client's own too.
struct TPositionPicture {
  int32_t lots = 0;
  int32_t activeBuys = 0, activeSells = 0;
};

// An order of the plug-in that holds lots without a record of this host
// session.
struct TUnreportedOrder {
  uint32_t id;
  double lots;
  bool earlier;  // sent in an earlier host session
};

class CPositionHolds {
 public:
  // An order the plug-in sent: lots on the side; refused when an error text
  // came with its id (it holds nothing until a record of it arrives).
  void OnOrderSent(uint32_t id, const TPositionKey& position, bool buy, double lots, bool refused);
  // A record of a sent order: the lots not filled (for a withdrawn order
  // those it gave back; 0 once executed) and whether it is still active.
  void OnOrderRecord(uint32_t id, double unfilled, bool active);
  // A record of an order the plug-in did not send (the client's own): its
  // host key, position, side and balance, whether it is active and, if not,
  // whether it was withdrawn (else executed).
  void OnOtherOrderRecord(int32_t key, const TPositionKey& position, bool buy, double balance, bool active,
                          bool withdrawn);
  void OnPositionRecord(const TPositionKey& position, const TPositionPicture& picture);
  // The host started a new session; the orders it may have taken in it (sent
  // while it began) are named.
  void OnNewSession(const std::vector<uint32_t>& takenInIt);

  // The lots of the position on the side (a buy closes a short position, a
  // sell a long one) that no order closes: of the position's last record
  // (latest when none came), less the lots in active orders (every order's
  // when considerHostCount, else the plug-in's own), less what the
  // plug-in's orders hold beyond the record. May be below 0.
  double FreeLots(const TPositionKey& position, bool buy, bool considerHostCount,
                  const TPositionPicture& latest) const;
  // The lots of the position on the side that the plug-in's orders close:
  // of those the position's last record shows, and those filled that it does
  // not show yet.
  double Held(const TPositionKey& position, bool buy) const;
  // The plug-in's orders of the position on the side that hold lots with no
  // record of this session, each with the lots it still holds.
  std::vector<TUnreportedOrder> Unreported(const TPositionKey& position, bool buy) const;
  // The host reported the order in this session and it is not settled.
  bool ReportedNow(uint32_t id) const;

 private:
  struct TOrder {
    uint32_t id;
    bool buy;
    double open;              // lots not filled, as last reported (those sent until then)
    bool reported = false;    // a record came in this host session
    bool refused = false;
    bool earlier = false;     // sent in an earlier host session, not reported in this one
    bool earlierAtRecord = false;  // it was, when the position's last record came
    bool settled = false;
    double counted = 0.0;     // its open lots the position's last record counts
    double beyond = 0.0;      // lots it takes that the record does not show
  };
  // An active order of the client's own, as its last record told.
  struct TOtherOrder {
    bool buy;
    double balance;
    bool reportedNow;  // in this host session
    int sessionsUnreported;
  };
  struct TSide {
    double ours = 0.0;         // the orders' lots the last record counts
    double gone = 0.0;         // of those, an earlier session's the records showed gone, for good
    double shownGone = 0.0;    // of the others, lots the record does not count
    double fall = 0.0;         // the record's move on the side that no fill reported explains
    double freed = 0.0;        // counted lots filled as the record shows, or withdrawn, since
    double unshownFills = 0.0; // fills reported since the record that it does not show
    double countShort = 0.0;   // the lots of orders known active beyond the record's count
    double replayedFills = 0.0;  // of the unshown fills, an earlier session's orders' reported after the record
  };
  struct TPosition {
    bool seen = false;
    bool seenInSession = false;  // a record came in this host session
    TPositionPicture picture;
    TSide sells, buys;
    std::vector<TOrder> orders;
    std::map<int32_t, TOtherOrder> others;
    TSide& Side(bool buy) { return buy ? buys : sells; }
    const TSide& Side(bool buy) const { return buy ? buys : sells; }
  };
  void Fill(TPosition& position, TOrder& order, double lots);
  void Replayed(TPosition& position, TOrder& order, double filled, double withdrawn);
  static double ShowReplayedFills(TSide& side, double lots);
  void Withdraw(TPosition& position, TOrder& order, double lots);
  static double TakeGone(TSide& side, const TOrder& order, double lots);
  static double FreeCounted(TSide& side, TOrder& order, double lots);
  // An earlier session's orders the record counted, not reported since.
  static double EarlierAtRecord(const TPosition& position, bool buy);
  // Once the records showed every earlier session's order on the side gone,
  // they are settled: what the host says of them later changes nothing.
  static void SettleIfAllGone(TPosition& position, bool buy);
  static double Beyond(const TPosition& position, bool buy);
  // The lots the last record counts as the plug-in's orders'.
  static double OursInRecord(const TSide& side) { return side.ours - side.freed - side.gone; }

  std::map<TPositionKey, TPosition> m_positions;
  std::map<uint32_t, TPositionKey> m_positionOf;
};
