// Client sections and timed steps of a scenario: what the host answers and
// pushes, and the steps played once each, in the order of their times.
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"
#include "host/standin/standin_host.h"

#include "fake_plugin.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
constexpr char kScenario[] = R"(
[Class1]
Code=SPBFUT
Flags=0x48
[Security1]
Class=SPBFUT
Code=RIZ6
Type=4
last=100
offer=101
[Firm1]
Name=F1
Text=[PORTFOLIORISKCONFIG]\nBOARDTAG=EQTV
[Firm2]
Name=F2
Text=
[Account1]
Firm=F1
Account=ACC1
ClientCode=CL1
Qualified=1
Portfolios=5, 9
Param58=4
Param7@9=250.5
ParamX=1
[Account2]
Firm=F1
Account=ACC2
[Limit1]
Firm=F1
Account=ACC1
Id=11
Type=1
Coefficient=50
DayStart=1000
NetPosition=200
Planned=900
RealVM=-5
InterimBase=-6
NetPositionOpen=150
Deduction112=7
Deduction120=8
[Limit2]
Firm=F1
Account=ACC2
Id=12
Start=0
DayStart=2000
[Position1]
Firm=F1
Account=ACC1
Id=21
Security=RIZ6
Quantity=-3
VariationMargin=-12.5
[Step1]
At=3000
Connected=0
Event=4 F2; four F3
[Step2]
At=1000
SetParam=RIZ6 last 120; RIZ6 offer 121; NOSUCH last 1; RIZ6 bid; RIZ6 bid x12
[Step3]
At=3000
PushLimit=2, 7
RemoveLimit=11
Connected=1
)";

template <typename T>
T Field(const std::vector<uint8_t>& record, int offset) {
  T value;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

template <int N>
typename host::FunctionSig<N>::Fn Function(StandInHost& host) {
  return reinterpret_cast<typename host::FunctionSig<N>::Fn>(
      static_cast<uintptr_t>(host.FunctionTable()[N]));
}

double Parameter(StandInHost& host, const char* name) {
  double value = 0;
  host.Market().Parameter(0, name, &value);
  return value;
}

class ScenarioFeedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadScenario(folder.Write("feed.ini", kScenario), host, nullptr));
  }
  TempFolder folder{"scenario_feed"};
  StandInHost host;
  PluginLibrary library{host};
  FakePlugin plugin{library};
  ScenarioPlayer player{host, library};
};

TEST_F(ScenarioFeedTest, AccountsGiveTheHostsAnswersPerClient) {
  const char firm[33] = "F1";
  char code[33] = {};
  EXPECT_NE(Function<148>(host)(firm, "ACC1", code, sizeof code), 0);
  EXPECT_STREQ(code, "CL1");
  EXPECT_EQ(Function<148>(host)(firm, "ACC2", code, sizeof code), 0) << "no client code: not united";
  double value = 0;
  EXPECT_EQ(Function<135>(host)(firm, "CL1", 36, &value, 0), 0);
  EXPECT_DOUBLE_EQ(value, 1);
  host::ClientParamRequest special = {58, 9, 0};
  Function<202>(host)(firm, "CL1", 0, &special, 1);
  EXPECT_EQ(special.status, 0);
  EXPECT_DOUBLE_EQ(special.value, 4);
  host::ClientParamRequest collateral = {7, 9, 0};
  Function<202>(host)(firm, "CL1", 9, &collateral, 1);
  EXPECT_EQ(collateral.status, 0);
  EXPECT_DOUBLE_EQ(collateral.value, 250.5);
  int32_t portfolios[2] = {};
  int32_t count = 0;
  Function<203>(host)(firm, "CL1", nullptr, &count);
  ASSERT_EQ(count, 2);
  Function<203>(host)(firm, "CL1", portfolios, &count);
  EXPECT_EQ(portfolios[0], 5);
  EXPECT_EQ(portfolios[1], 9);
}

TEST_F(ScenarioFeedTest, LimitsAndPositionsArePushedAtTheStartAsWritten) {
  const std::vector<PushedRecord>& records = host.Feed().startRecords;
  ASSERT_EQ(records.size(), 2u) << "Limit2 waits for a step";
  const std::vector<uint8_t>& limit = records[0].bytes;
  EXPECT_EQ(records[0].code, 32985u);
  EXPECT_EQ(Field<int32_t>(limit, 0), 11);
  EXPECT_STREQ(reinterpret_cast<const char*>(limit.data() + 17), "ACC1");
  EXPECT_EQ(Field<int16_t>(limit, 30), 1);
  const struct {
    int offset;
    double value;
  } amounts[] = {{32, 50},  {48, 1000}, {56, 200}, {64, 900}, {72, -5},
                 {80, -6},  {104, 150}, {112, 7},  {120, 8}};
  for (const auto& amount : amounts)
    EXPECT_DOUBLE_EQ(Field<double>(limit, amount.offset), amount.value) << amount.offset;
  const std::vector<uint8_t>& position = records[1].bytes;
  EXPECT_EQ(records[1].code, 32986u);
  EXPECT_STREQ(reinterpret_cast<const char*>(position.data() + 30), "RIZ6");
  EXPECT_EQ(Field<int32_t>(position, 68), -3);
  EXPECT_DOUBLE_EQ(Field<double>(position, 96), -12.5);
}

TEST_F(ScenarioFeedTest, StartSendsEvent1TheRecordsThenEvent4PerFirm) {
  EXPECT_EQ(player.Start(), 2);
  EXPECT_EQ(plugin.Summary(),
            (std::vector<std::string>{"E1 (null)", "R32985", "R32986", "E4 F1", "E4 F2"}));
}

TEST_F(ScenarioFeedTest, StepsPlayOnceInTheOrderOfTheirTimes) {
  player.Start();
  const size_t started = plugin.Calls().size();
  EXPECT_TRUE(player.PlayDue(999).empty());
  EXPECT_DOUBLE_EQ(Parameter(host, "last"), 100);

  ASSERT_EQ(player.PlayDue(1000).size(), 1u);
  EXPECT_DOUBLE_EQ(Parameter(host, "last"), 120);
  EXPECT_DOUBLE_EQ(Parameter(host, "offer"), 121);
  EXPECT_EQ(plugin.Calls().size(), started) << "a price move pushes nothing";
  EXPECT_TRUE(player.PlayDue(2000).empty()) << "a step plays once";

  const std::vector<const HostStep*> both = player.PlayDue(5000);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0]->events.size(), 1u) << "equal times keep the file's order";
  EXPECT_TRUE(player.Finished());
  EXPECT_NE(Function<49>(host)(), 0) << "dropped by Step1, restored by Step3";
  const std::vector<std::string> all = plugin.Summary();
  const std::vector<std::string> summary(all.begin() + static_cast<long>(started), all.end());
  EXPECT_EQ(summary, (std::vector<std::string>{"E4 F2", "R32985", "R152"}))
      << "a missing Limit7 is skipped";
  EXPECT_EQ(Field<int32_t>(plugin.Calls().back().bytes, 0), 11);
}

TEST_F(ScenarioFeedTest, ConnectionFollowsTheSteps) {
  player.PlayDue(1000);
  EXPECT_NE(Function<49>(host)(), 0);
  HostStep drop;
  drop.connected = 0;
  host.Feed().steps.insert(host.Feed().steps.begin() + 1, drop);
  player.PlayDue(1000);
  EXPECT_EQ(Function<49>(host)(), 0);
}

TEST_F(ScenarioFeedTest, StepsAreDescribedForTheReport) {
  const std::vector<HostStep>& steps = host.Feed().steps;
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(ScenarioPlayer::Describe(steps[0]),
            "at 1000 ms: RIZ6 last=120; RIZ6 offer=121;");
  EXPECT_EQ(ScenarioPlayer::Describe(steps[2]),
            "at 3000 ms: connected; 2 record(s) pushed;");
}

TEST_F(ScenarioFeedTest, MalformedStepEntriesAreLeftOutAndReported) {
  EXPECT_EQ(host.Feed().problems,
            (std::vector<std::string>{
                "[Step1] Event \"four F3\": not \"number [firm]\"",
                "[Step2] SetParam \"NOSUCH last 1\": no security NOSUCH",
                "[Step2] SetParam \"RIZ6 bid\": not \"SECURITY parameter value\"",
                "[Step2] SetParam \"RIZ6 bid x12\": not \"SECURITY parameter value\"",
                "[Step3] PushLimit: no [Limit7]"}));
  player.PlayDue(1000);
  double bid = -1;
  EXPECT_FALSE(host.Market().Parameter(0, "bid", &bid)) << "nothing of a malformed change applied";
}

TEST(ScenarioFeed, AScenarioWithoutClientsOrStepsFeedsOnlyItsFirms) {
  TempFolder folder("scenario_plain");
  StandInHost host;
  ASSERT_TRUE(LoadScenario(folder.Write("plain.ini", "[Firm1]\nName=F1\nText=x\n"), host, nullptr));
  EXPECT_TRUE(host.Feed().startRecords.empty());
  EXPECT_TRUE(host.Feed().steps.empty());
  EXPECT_EQ(host.Feed().firms, std::vector<std::string>{"F1"});
  EXPECT_EQ(host.Clients().AccountCount(), 0u);
  EXPECT_TRUE(host.Feed().problems.empty());
}
}  // namespace
