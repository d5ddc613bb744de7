// The lots a send may take, worked by hand for records that come out of the
// order the generated sequences keep: what a position record showed gone
// before the order records told of it.
#include "module/host_data/position_holds.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {
const TPositionKey kRiz("FIRM1", "ACC1", "RIZ6");

// A sell of ours the host took and reported active, none of it filled.
void SentAndActive(CPositionHolds& h, uint32_t id, double lots) {
  h.OnOrderSent(id, kRiz, false, lots, false);
  h.OnOrderRecord(id, lots, true);
}

struct THoldsCase {
  const char* name;
  std::function<void(CPositionHolds&)> records;
  double freeSells;  // the host's count of lots in orders not considered
  const char* unreported = "";  // "order:lots " each holding lots without a record of this session
};

const THoldsCase kCases[] = {
    // A record shows A's fill of 4 and B's withdrawal of 6 before either
    // order record: A's execution is the fall it showed; B's later fill of
    // 1 the record cannot show, and B's 16 hold until its withdrawal comes.
    {"a fall explains one fill once",
     [](CPositionHolds& h) {
       h.OnOrderSent(1, kRiz, false, 4, false), h.OnOrderSent(2, kRiz, false, 16, false);
       h.OnOrderRecord(1, 4, true), h.OnOrderRecord(2, 16, true);
       h.OnPositionRecord(kRiz, {20, 0, 20});
       h.OnPositionRecord(kRiz, {16, 0, 10});
       h.OnOrderRecord(1, 0, false), h.OnOrderRecord(2, 15, true);
     },
     0},
    // An earlier session's order E of 10 and this session's C of 5: the new
    // session's record counts 4 in orders and fell by 4. E's fill of 6 is
    // what the record showed gone of it, and frees nothing more.
    {"an earlier session's fill shown gone",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 10);
       h.OnPositionRecord(kRiz, {14, 0, 10});
       h.OnNewSession({});
       SentAndActive(h, 2, 5);
       h.OnPositionRecord(kRiz, {10, 0, 4});
       h.OnOrderRecord(1, 4, true);
     },
     5},
    // The client's own sell of 5 fills 3, the position record first: the
    // fall it shows is his, so our fill of 2 that follows is not yet shown.
    // The position holds 15, our order 8.
    {"the client's own fill shown first is not taken for ours",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 10);
       h.OnOtherOrderRecord(7, kRiz, false, 5, true, false);
       h.OnPositionRecord(kRiz, {20, 0, 15});
       h.OnPositionRecord(kRiz, {17, 0, 12});
       h.OnOtherOrderRecord(7, kRiz, false, 2, true, false);
       h.OnOrderRecord(1, 8, true);
     },
     7},
    // One record shows 3 of his and 3 of ours filled; his order's record
    // tells of his 3 only, so ours are the rest of what the record showed.
    // The position holds 14, our order 7.
    {"the client's fill and ours in one record, his order's record first",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 10);
       h.OnOtherOrderRecord(7, kRiz, false, 5, true, false);
       h.OnPositionRecord(kRiz, {20, 0, 15});
       h.OnPositionRecord(kRiz, {14, 0, 9});
       h.OnOtherOrderRecord(7, kRiz, false, 2, true, false);
       h.OnOrderRecord(1, 7, true);
     },
     7},
    // Our sells A of 1 and B of 2 and the client's own sell O of 3; B is
    // withdrawn before the new session, whose record counts A and O. B's
    // withdrawal, reported again, is what the count lacks: O's record that
    // follows shows nothing more gone. The position holds 10, A 1.
    {"a withdrawal reported again, then the client's own order",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 1);
       SentAndActive(h, 2, 2);
       h.OnOtherOrderRecord(7, kRiz, false, 3, true, false);
       h.OnPositionRecord(kRiz, {10, 0, 6});
       h.OnNewSession({});
       h.OnPositionRecord(kRiz, {10, 0, 4});
       h.OnOrderRecord(2, 2, false);
       h.OnOtherOrderRecord(7, kRiz, false, 3, true, false);
     },
     9, "1:1 "},
    // A of 4 withdrawn before the new session, whose record counts B's 6
    // only: A reported again frees its 4 once. The position holds 10, B 6.
    {"a withdrawal the session's record showed, reported again",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 4);
       SentAndActive(h, 2, 6);
       h.OnPositionRecord(kRiz, {10, 0, 10});
       h.OnNewSession({});
       h.OnPositionRecord(kRiz, {10, 0, 6});
       h.OnOrderRecord(1, 4, false);
     },
     4, "2:6 "},
    // A of 3 filled before the new session, whose record counts B's 2 only.
    // A's fill, reported again, may be all the count lacks: B is not taken
    // for gone, and a later record still counts it. The position holds 7, B 2.
    {"a fill reported again never settles another order",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 3);
       SentAndActive(h, 2, 2);
       h.OnPositionRecord(kRiz, {10, 0, 5});
       h.OnNewSession({});
       h.OnPositionRecord(kRiz, {7, 0, 2});
       h.OnOrderRecord(1, 0, false);
       h.OnPositionRecord(kRiz, {7, 0, 2});
     },
     5, "2:2 "},
    // A of 10, B of 6 and C of 4: C expires and B fills 4 before the first
    // new session, whose record counts 12; B is reported again, A's record
    // is lost. A fills 5 between the second session's record (16, 12 in
    // orders) and its own. The position holds 11, A 5 and B 2.
    {"what a session's record showed gone, less fills reported again, stays gone",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 10);
       SentAndActive(h, 2, 6);
       SentAndActive(h, 3, 4);
       h.OnPositionRecord(kRiz, {20, 0, 20});
       h.OnNewSession({});
       h.OnPositionRecord(kRiz, {16, 0, 12});
       h.OnOrderRecord(2, 2, true);
       h.OnNewSession({});
       h.OnPositionRecord(kRiz, {16, 0, 12});
       h.OnOrderRecord(1, 5, true);
     },
     4, "2:2 3:4 "},
    // Our A of 4 and the client's own sell O of 3; three new sessions report
    // neither, A expires. The third one's record counts O's 3 only, and O,
    // reported again after it, is still known: A's 4 are gone.
    {"the client's own order reported again after three sessions unreported",
     [](CPositionHolds& h) {
       SentAndActive(h, 1, 4);
       h.OnOtherOrderRecord(7, kRiz, false, 3, true, false);
       h.OnPositionRecord(kRiz, {10, 0, 7});
       h.OnNewSession({}), h.OnNewSession({}), h.OnNewSession({});
       h.OnPositionRecord(kRiz, {10, 0, 3});
       h.OnOtherOrderRecord(7, kRiz, false, 3, true, false);
     },
     10},
    {"a flat position has nothing to close", [](CPositionHolds& h) { h.OnPositionRecord(kRiz, {0, 0, 0}); }, 0},
};

TEST(PositionHoldsTest, RecordsOutOfTheUsualOrder) {
  for (const THoldsCase& c : kCases) {
    CPositionHolds holds;
    c.records(holds);
    EXPECT_EQ(holds.FreeLots(kRiz, false, false, {}), c.freeSells) << c.name;
    std::string unreported;
    for (const TUnreportedOrder& order : holds.Unreported(kRiz, false))
      unreported += std::to_string(order.id) + ":" + std::to_string(static_cast<int>(order.lots)) + " ";
    EXPECT_EQ(unreported, c.unreported) << c.name;
  }
}
}  // namespace
