// No closing order goes to the host twice: a randomized run in which the
// user sends, recalculates and deletes while the host's order records
// arrive late, twice and out of order and the windows are refreshed.
#include "closing_orders_fixture.h"

#include <map>
#include <random>

namespace {
class NoDuplicateOrdersTest : public ClosingOrdersTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    for (const char* account : {"ACC1", "ACC2", "ACC3"}) ClientShortOfTarget(account);
    CTablePlugin* table = OpenRiskTable();
    ASSERT_NE(table, nullptr);
    for (const char* account : {"ACC1", "ACC2", "ACC3"}) ClientShortOfTarget(account);
    pattern.BoundaryValue = 1000;  // never reached: every recalculation forms lines again
    module.OpenClosingOrdersWindow(pattern, table, false, nullptr);
  }

  // Every order the host took is one line of the window, sent once, with the
  // line's security, account and quantity.
  void ExpectEachOrderSentOnce() {
    std::map<int32_t, const TOrderLine*> lines;
    Window()->Store().ForEach(COrderStore::kEveryClient, [&](TOrderLine& line) {
      EXPECT_TRUE(!line.Sent() || lines.emplace(line.TransId, &line).second) << "two lines of id " << line.TransId;
    });
    std::map<int32_t, int> times;
    for (size_t i = 0; i < sent.size(); ++i) {
      if (sent[i].find("OrderNum=") != std::string::npos || answered[i] == -1) continue;
      ++times[answered[i]];
      const auto line = lines.find(answered[i]);
      ASSERT_NE(line, lines.end()) << sent[i];
      char fields[160];
      std::snprintf(fields, sizeof fields, "ACCOUNT=%s[]|CLASSCODE=SPBFUT[]|SECCODE=%s[]|OPERATION=S[]|PRICE=%.0f[]|"
                    "QUANTITY=%.0f[]|", line->second->Account, line->second->SecCode, line->second->Price,
                    line->second->Quantity);
      EXPECT_NE(sent[i].find(fields), std::string::npos) << sent[i];
    }
    for (const auto& id : times) EXPECT_EQ(id.second, 1) << "id " << id.first;
    EXPECT_EQ(times.size(), lines.size()) << "a sent line whose transaction went nowhere";
  }
};

TEST_P(NoDuplicateOrdersTest, ARandomRunSendsEveryLineOnce) {
  std::mt19937 random(GetParam());
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  int32_t nextId = 1;
  std::vector<int32_t> taken;  // ids the host gave; records come for them
  ASSERT_NE(Window(), nullptr);
  for (int step = 0; step < 300 && Window() != nullptr; ++step) {
    answers.clear();
    for (int i = 0; i < 10; ++i) answers.push_back(chance(15) ? -1 : nextId++);
    const size_t before = answered.size();
    const int rows = Rows();
    switch (random() % 8) {
      case 0: Command(kSendAll); break;
      case 1: Select(rows == 0 ? -1 : static_cast<int>(random() % rows)); Command(kSend); break;
      case 2: Command(kRecalc); break;
      case 3: Select(rows == 0 ? -1 : static_cast<int>(random() % rows)); Command(kDelete); break;
      case 4: if (!taken.empty() && chance(10)) Command(kDeleteAll); break;
      case 5: module.RefreshPrepOrdersDialogs(); break;
      default:
        // Active, withdrawn or executed, whatever came before, for an order
        // taken earlier or for an id never given.
        if (!taken.empty()) Order(chance(10) ? nextId + 1000 : taken[random() % taken.size()], random() % 3, 77);
        break;
    }
    for (size_t i = before; i < answered.size(); ++i)
      if (answered[i] != -1) taken.push_back(answered[i]);
    if (Window() == nullptr) break;
    ExpectEachOrderSentOnce();
    if (HasFailure()) break;
  }
  EXPECT_FALSE(taken.empty()) << "the run sent something";
}

INSTANTIATE_TEST_SUITE_P(Seeds, NoDuplicateOrdersTest, ::testing::Values(1u, 20261207u, 77u));

}  // namespace
