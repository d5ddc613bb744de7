// The lots a send may take, worked by hand for records that come out of the
// order the generated sequences keep: what a position record showed gone
// before the order records told of it.
#include "module/host_data/position_holds.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
const TPositionKey kRiz("FIRM1", "ACC1", "RIZ6");

struct THoldsCase {
  const char* name;
  std::function<void(CPositionHolds&)> records;
  double freeSells;  // the host's count of lots in orders not considered
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
       h.OnOrderSent(1, kRiz, false, 10, false), h.OnOrderRecord(1, 10, true);
       h.OnPositionRecord(kRiz, {14, 0, 10});
       h.OnNewSession({});
       h.OnOrderSent(2, kRiz, false, 5, false), h.OnOrderRecord(2, 5, true);
       h.OnPositionRecord(kRiz, {10, 0, 4});
       h.OnOrderRecord(1, 4, true);
     },
     5},
    // The client's own sell of 5 fills 3, the position record first: the
    // fall it shows is his, so our fill of 2 that follows is not yet shown.
    // The position holds 15, our order 8.
    {"the client's own fill shown first is not taken for ours",
     [](CPositionHolds& h) {
       h.OnOrderSent(1, kRiz, false, 10, false), h.OnOrderRecord(1, 10, true);
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
       h.OnOrderSent(1, kRiz, false, 10, false), h.OnOrderRecord(1, 10, true);
       h.OnOtherOrderRecord(7, kRiz, false, 5, true, false);
       h.OnPositionRecord(kRiz, {20, 0, 15});
       h.OnPositionRecord(kRiz, {14, 0, 9});
       h.OnOtherOrderRecord(7, kRiz, false, 2, true, false);
       h.OnOrderRecord(1, 7, true);
     },
     7},
    {"a flat position has nothing to close", [](CPositionHolds& h) { h.OnPositionRecord(kRiz, {0, 0, 0}); }, 0},
};

TEST(PositionHoldsTest, RecordsOutOfTheUsualOrder) {
  for (const THoldsCase& c : kCases) {
    CPositionHolds holds;
    c.records(holds);
    EXPECT_EQ(holds.FreeLots(kRiz, false, false, {}), c.freeSells) << c.name;
  }
}
}  // namespace
