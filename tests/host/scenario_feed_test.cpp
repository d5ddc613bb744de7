// A scenario file: the market and clients the host then answers with, the
// records it pushes at the start, and the timed steps played once each in the
// order of their times. Securities, classes and spot records reach the
// module's tests through their market files, and a menu step reaches the
// plug-in in the demo's play.
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"

#include "host_test_support.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
// One section a line.
constexpr char kScenario[] =
    "[Class1]\nCode=SPBFUT\nFlags=0x48\n"
    "[Security1]\nClass=SPBFUT\nCode=RIZ6\nId=7\nType=4\nFlagByte=0x04\nName=RTS-12.26\nCurrency=SUR\nBaseAsset=RTS\n"
    "Trading=-1\nPriceStep=1.5\nDecimals=2\nlast=100\noffer=101\n"
    "[Firm1]\nName=F1\nText=[PORTFOLIORISKCONFIG]\\nBOARDTAG=EQTV\n"
    "[Firm2]\nName=F2\nTextFile=feed_firm2.ini\nReady=0\n"
    "[ClientValue1]\nFirm=F1\nClient=CL1\nNumber=6\nValue=12.5\nResult=3\n"
    "[Account1]\nFirm=F1\nAccount=ACC1\nClientCode=CL1\nQualified=1\nPortfolios=5, 9\nParam58=4\nParam7@9=250.5\n"
    "ParamX=1\n"
    "[Account2]\nFirm=F1\nAccount=ACC2\n"
    "[Limit1]\nFirm=F1\nAccount=ACC1\nId=11\nType=1\nCoefficient=50\nDayStart=1000\nNetPosition=200\nPlanned=900\n"
    "RealVM=-5\nInterimBase=-6\nNetPositionOpen=150\nDeduction112=7\nDeduction120=8\n"
    "[Limit2]\nFirm=F1\nAccount=ACC2\nId=12\nStart=0\nDayStart=2000\n"
    "[Position1]\nFirm=F1\nAccount=ACC1\nId=21\nSecurity=RIZ6\nQuantity=-3\nVariationMargin=-12.5\n"
    "[Step1]\nAt=3000\nConnected=0\nEvent=4 F2; four F3\n"
    "[Step2]\nAt=1000\nSetParam=RIZ6 last 120; RIZ6 offer 121; NOSUCH last 1; RIZ6 bid; RIZ6 bid x12\n"
    "[Step3]\nAt=3000\nPushLimit=2, 7\nRemoveLimit=11\nConnected=1\nMenuCommand=40002, 0x9C43\nCloseDialog=1\n"
    "DialogPage=4\n";

double Parameter(StandInHost& host, const char* name) {
  double value = 0;
  host.Market().Parameter(0, name, &value);
  return value;
}

class ScenarioFeedTest : public ::testing::Test {
 protected:
  // The scenario and the firm text it names, beside the test program.
  void SetUp() override {
    std::ofstream(TestProgramFolder() + "\\feed_firm2.ini", std::ios::binary) << "[GENERAL]\r\nOther=2\r\n";
    std::ofstream(TestProgramFolder() + "\\feed.ini", std::ios::binary) << kScenario;
    ASSERT_TRUE(LoadScenario(TestProgramFolder() + "\\feed.ini", host, nullptr));
  }
  void TearDown() override {
    for (const char* name : {"\\feed.ini", "\\feed_firm2.ini"}) DeleteFileA((TestProgramFolder() + name).c_str());
  }
  StandInHost host;
  PluginLibrary library{host};
  FakePlugin plugin{library};
  ScenarioPlayer player{host, library};
  const char firm[33] = "F1";  // the plug-in passes a firm as the start of its 33-character field
};

TEST_F(ScenarioFeedTest, FirmSettingsObjectsCarryTheirTexts) {
  ASSERT_EQ(Function<32>(host)(14), 2);
  uint8_t record[96] = {};
  // Its name, its text (the second's read from the file beside the scenario), and whether it is ready.
  std::vector<std::string> firms;
  for (int index : {0, 1}) {
    ASSERT_NE(Function<34>(host)(14, 96, index, record), 0);
    firms.push_back(TextAt(record, 8) + "|" + Field<const char*>(record, 4) + "|" + std::to_string(Field<int32_t>(record, 88)));
  }
  EXPECT_EQ(firms, (std::vector<std::string>{"F1|[PORTFOLIORISKCONFIG]\r\nBOARDTAG=EQTV|1", "F2|[GENERAL]\r\nOther=2\r\n|0"}));
  char buffer[8];
  EXPECT_EQ(Function<130>(host)("F1", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "[PORTFO") << "cut to the capacity";
  EXPECT_EQ(Function<130>(host)("F9", buffer, sizeof buffer), 0);
}

TEST_F(ScenarioFeedTest, AccountsGiveTheHostsAnswersPerClient) {
  char code[33] = {};
  EXPECT_NE(Function<148>(host)(firm, "ACC1", code, sizeof code), 0);
  EXPECT_STREQ(code, "CL1");
  EXPECT_EQ(Function<148>(host)(firm, "ACC2", code, sizeof code), 0) << "no client code: not united";
  double value = 0;
  EXPECT_EQ(Function<135>(host)(firm, "CL1", 36, &value, 0), 0);
  EXPECT_DOUBLE_EQ(value, 1) << "qualified";
  EXPECT_EQ(Function<134>(host)(firm, "CL1", 6, &value, 0), 3) << "a client value carries its result";
  EXPECT_DOUBLE_EQ(value, 12.5);
  host::ClientParamRequest requests[2] = {{58, 9, 0}, {7, 9, 0}};
  Function<202>(host)(firm, "CL1", 0, &requests[0], 1);
  Function<202>(host)(firm, "CL1", 9, &requests[1], 1);
  EXPECT_EQ(requests[0].status + requests[1].status, 0);
  EXPECT_DOUBLE_EQ(requests[0].value, 4) << "at portfolio 0";
  EXPECT_DOUBLE_EQ(requests[1].value, 250.5) << "at portfolio 9";
  int32_t portfolios[2] = {}, count = 0;
  Function<203>(host)(firm, "CL1", nullptr, &count);
  ASSERT_EQ(count, 2);
  Function<203>(host)(firm, "CL1", portfolios, &count);
  EXPECT_EQ(std::vector<int32_t>(portfolios, portfolios + 2), std::vector<int32_t>({5, 9}));
}

TEST_F(ScenarioFeedTest, LimitsAndPositionsArePushedAtTheStartAsWritten) {
  const std::vector<PushedRecord>& records = host.Feed().startRecords;
  ASSERT_EQ(records.size(), 2u) << "Limit2 waits for a step";
  const uint8_t *limit = records[0].bytes.data(), *position = records[1].bytes.data();
  EXPECT_EQ(std::vector<size_t>({records[0].code, records[0].bytes.size(), records[1].code, records[1].bytes.size()}),
            std::vector<size_t>({32985, 160, 32986, 144})) << "codes and sizes";
  EXPECT_EQ(std::to_string(Field<int32_t>(limit, 0)) + " " + TextAt(limit, 17) + " " +
                std::to_string(Field<int16_t>(limit, 30)),
            "11 ACC1 1") << "id, account, type";
  std::vector<double> amounts;
  for (int offset : {32, 48, 56, 64, 72, 80, 104, 112, 120}) amounts.push_back(Field<double>(limit, offset));
  EXPECT_EQ(amounts, (std::vector<double>{50, 1000, 200, 900, -5, -6, 150, 7, 8}));
  EXPECT_EQ(Field<int64_t>(limit, 88), 0) << "a new limit carries no reset mark";
  EXPECT_EQ(TextAt(position, 30) + " " + std::to_string(Field<int32_t>(position, 68)), "RIZ6 -3");
  EXPECT_DOUBLE_EQ(Field<double>(position, 96), -12.5);
  EXPECT_EQ(player.Start(), 2);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"E1 (null)", "R1:32985", "R1:32986", "E4 F1", "E4 F2"}))
      << "event 1, the records, then event 4 per firm";
}

TEST_F(ScenarioFeedTest, StepsPlayOnceInTheOrderOfTheirTimes) {
  player.Start();
  const size_t started = plugin.calls.size();
  EXPECT_TRUE(player.PlayDue(999).empty());
  EXPECT_DOUBLE_EQ(Parameter(host, "last"), 100);
  ASSERT_EQ(player.PlayDue(1000).size(), 1u);
  EXPECT_DOUBLE_EQ(Parameter(host, "last"), 120);
  EXPECT_DOUBLE_EQ(Parameter(host, "offer"), 121);
  EXPECT_EQ(plugin.calls.size(), started) << "a price move pushes nothing";
  EXPECT_TRUE(player.PlayDue(2000).empty()) << "a step plays once";
  EXPECT_NE(Function<49>(host)(), 0) << "connected";

  const std::vector<const HostStep*> both = player.PlayDue(5000);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0]->events.size(), 1u) << "equal times keep the file's order";
  EXPECT_TRUE(player.Finished());
  EXPECT_NE(Function<49>(host)(), 0) << "dropped by Step1, restored by Step3";
  EXPECT_EQ(std::vector<std::string>(plugin.calls.begin() + static_cast<long>(started), plugin.calls.end()),
            (std::vector<std::string>{"E4 F2", "R1:32985", "R1:152"})) << "a missing Limit7 is skipped";
  EXPECT_EQ(plugin.lastRecord, std::vector<uint8_t>({11, 0, 0, 0})) << "a limit's removal is its id alone";
}

// host.exe plays these on the plug-in's menu and dialogs; the player only
// names them.
TEST_F(ScenarioFeedTest, MenuCommandAndDialogStepsAreKeptForHostExe) {
  const HostStep& dialogs = host.Feed().steps.back();  // Step3
  EXPECT_EQ(dialogs.pluginMenuCommands, (std::vector<int>{40002, 40003}));
  EXPECT_TRUE(dialogs.closeDialog);
  EXPECT_EQ(dialogs.dialogPage, 4);
  EXPECT_EQ(ScenarioPlayer::Describe(dialogs),
            "at 3000 ms: connected; 2 record(s) pushed; dialog page 4; close the dialog; menu command 40002; "
            "menu command 40003;");
  EXPECT_FALSE(host.Feed().steps.front().closeDialog) << "no dialog closed unless asked";
  EXPECT_EQ(host.Feed().steps.front().dialogPage, 0);
  EXPECT_TRUE(host.Feed().steps.front().pluginMenuCommands.empty());
}

TEST_F(ScenarioFeedTest, MalformedEntriesAreLeftOutAndReported) {
  EXPECT_EQ(host.Feed().problems,
            (std::vector<std::string>{"[Step1] Event \"four F3\": not \"number [firm]\"",
                                      "[Step2] SetParam \"NOSUCH last 1\": no security NOSUCH",
                                      "[Step2] SetParam \"RIZ6 bid\": not \"SECURITY parameter value\"",
                                      "[Step2] SetParam \"RIZ6 bid x12\": not \"SECURITY parameter value\"",
                                      "[Step3] PushLimit: no [Limit7]"}));
  player.PlayDue(1000);
  double bid = -1;
  EXPECT_FALSE(host.Market().Parameter(0, "bid", &bid)) << "nothing of a malformed change applied";
}

}  // namespace
