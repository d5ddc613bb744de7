// The main road through the real VanTrel.dll in the stand-in host: the host
// pushes limits and positions, sends the start of work and firms' settings,
// the user opens a risk-parameters table, and the table shows every client
// recalculated from the host's records, quotes and client values.
#include "host/standin/plugin_library.h"
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "host/zlist/zlist_readback.h"
#include "module/host_record_builders.h"
#include "module/temp_folder.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/window_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {
BOOL CALLBACK FindList(HWND window, LPARAM found) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "ZListClient") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND ListInside(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(window, FindList, reinterpret_cast<LPARAM>(&list));
  return list;
}

// The number a cell shows ("-1 234,56" with the user's separators): every
// number is shown with decimals, the digits after the last separator.
double ShownNumber(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  const size_t decimals = text.size() - 1 - text.find_last_not_of("0123456789");
  const double value = std::stod(digits) / std::pow(10.0, static_cast<double>(decimals));
  return text.find('-') != std::string::npos ? -value : value;
}

using Settings = std::vector<std::pair<const char*, const char*>>;

class MainRoadTest : public ::testing::Test {
 protected:
  // The timer stays stopped, so every run below is a firm's settings arriving.
  // A host of the old kind starts the plug-in through PLUGIN_Init.
  void Start(const Settings& settings, const std::string& scenario = "", bool oldHost = false) {
    Settings all = {{"RecalcRiskParamsInterval", "0"}, {"UsePositiveVarMargin", "2"}, {"ClientsType", "0"},
                    {"NumPatterns", "1"}, {"DefaultPattern", "0"}};
    all.insert(all.end(), settings.begin(), settings.end());
    for (const auto& setting : all) WriteIniValue(folder.File("info.ini"), "Vantrel", setting.first, setting.second);
    // A risk table is confirmed only with a closing pattern.
    WriteIniValue(folder.File("info.ini"), "ClPattern1", "PatternName", "p");
    ASSERT_TRUE(host.CreateFrame("test host", true));
    const std::string market = folder.File("market.ini");
    WriteFileBytes(market, scenario);
    ASSERT_TRUE(LoadScenario(market, host, nullptr));
    DeleteFileA(market.c_str());
    ASSERT_TRUE(plugin.Load());
    ASSERT_TRUE(oldHost ? plugin.Init() : plugin.InitEx().ok);
    plugin.SendUiInfo();
  }
  void TearDown() override { plugin.Shutdown(); }

  void Push(uint32_t code, const std::vector<uint8_t>& record) {
    EXPECT_TRUE(plugin.Callback<22>(1, code, record.data(), static_cast<uint32_t>(record.size())));
  }
  void FirmSettings(const char* firm) { plugin.Callback<25>(4, firm, 0, 0); }

  // The menu's first command; the user accepts the columns the create
  // dialog offers. The list of the table that opened.
  HWND OpenRiskTable() {
    HMENU menu = host.MenuByCaption("VanTrel FM", false);
    DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    EXPECT_EQ(plugin.Callback<2>(host.Frame(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu, 0), 0), 0), 1);
    EXPECT_EQ(accept.Caption(), "Создание таблицы");
    return ListInside(host.Frame());
  }

  static std::string Cell(HWND list, int line, int column) {
    char text[256] = {};
    COLORREF back, fore;
    ZListInspectCell(list, line, column, text, sizeof text, &back, &fore);
    return text;
  }
  // The line of the client with that trading account (column 3), or -1.
  static int LineOf(HWND list, const std::string& account) {
    for (int line = 1; line < GetNRows(list); ++line)
      if (Cell(list, line, 3) == account) return line;
    return -1;
  }

  CleanHostProgramFolder folder;
  StandInHost host;
  PluginLibrary plugin{host};
};

// Two classes whose securities positions may hold: a futures contract and a
// spot share; the prices the host quotes for them.
constexpr char kMarket[] =
    "[Class1]\nCode=SPBFUT\nFlags=0x48\n[Class2]\nCode=SPOT\nFlags=0x49\n"
    "[Security1]\nClass=SPBFUT\nCode=RIZ6\nType=4\nValueDivisor=2\nContractUnits=3\n"
    "steppricet=10\nbid=100\noffer=102\ntheorprice=101\n"
    "[Security2]\nClass=SPOT\nCode=SBER\nType=1\nValueDivisor=4\nsteppricet=0.5\nlast=250\n";

// A ratio the table leaves empty: not set.
constexpr double kBlank = 1e30;

// One client's line as the table shows it: its client code, then columns 4
// to 10 and 12 to 24 in order: limit at day start, limit, net position, net
// position for open positions, planned net position, real variation margin,
// variation margin, interim variation margin, accrued income, option value,
// derivatives assets, total assets, debt (money: the host's amounts ÷ 100),
// then SFR, SFR for open positions, CLGO, ECLGO, margin level, modified margin
// level (shown as a percentage) and cash leverage.
struct ClientLine {
  const char* account;
  const char* clientCode;
  std::vector<double> columns;
};

// A firm's settings arrive (a full run), after the host changed what
// "before" changes; then the table shows these lines and not those accounts.
struct FullRun {
  void (*before)(StandInHost& host);
  const char* firm;
  std::vector<ClientLine> lines;
  std::vector<const char*> absent;
};

struct RecalculationCase {
  const char* name;
  Settings settings;
  const char* scenario;
  std::vector<LimitFields> limits;
  std::vector<PositionFields> positions;
  std::vector<FullRun> runs;
};

// A client whose one limit gives a day-start limit of 1000 and nothing else:
// no net position, so no funds sufficiency, and liquidity coefficients of 1.
const std::vector<double> kDayStartTen = {10, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          kBlank, kBlank, 1, 1, 0, 0, 0};

const RecalculationCase kCases[] = {
    {"ClientWithoutUnitedPosition",
     {{"UseVarMargin", "3"}, {"OptValueParam", "2"}, {"UseTotalAssets", "0"}}, "",
     {// Type 0, k = 0: sets day start 100000 and planned -100000 on empty fields;
      // type 1, k = 0.5: day start d = 60000 / 0.5 = 120000 > 100000, so 100000 / (1 - 0.5);
      // planned below 0 stays.
      {"FIRM1", "ACC1", 1, 0, 0, 100000, 40000, -100000, -5000, 8000, 30000, 1000, 2000},
      {"FIRM1", "ACC1", 2, 1, 50, 60000, 10000, -20000, 777, 999, 5000},
      {"FIRM1", "ACC1", 3, 2, 0, 555, 555, 555, 555, 555, 555}},  // type 2: not counted
     {{"FIRM1", "ACC1", "RIZ6", 1, -3, 1500}, {"FIRM1", "ACC1", "SBER", 2, 20, -400}},
     {{nullptr, "FIRM1",
       {{"ACC1", "ACC1",
         {2000, 2050,  // day start 200000; limit = interim 5000 + 200000
          500, 350, -1000, -50,  // 40000 + 10000, 30000 + 5000, planned, real VM of type 0
          11,                    // variation margin 1500 - 400
          50, 80,                // interim 8000 - 2000 - 1000, accrued 8000
          -303,                  // option value: short, min(offer 102, theor 101) x -3 x 100
          -803, -803, -803,      // assets -100000 + 50000 + max(-5000, 0) - 30300; debt
          -80300.0 / 50000, -80300.0 / 35000,      // SFR over the net positions
          208000.0 / 50000, 209100.0 / 50000,      // (200000 + 8000 [+ 1100]) / 50000
          0, 0,
          // (10 x 3 x 100 x 3 / 2 + 0.5 x 250 x 20 x 100 / 4) / -80300
          (4500 + 62500) / -80300.0}}},
       {}}}},
    {"UnitedClientsWithSpotValuesAndTotalAssets", 
     {{"UseVarMargin", "2"}, {"OptValueParam", "1"}, {"UseTotalAssets", "1"}},
     "[Firm1]\nName=FIRM2\nText=[PORTFOLIORISKCONFIG]\\nBOARDTAG=TQBR\\nCURRENCY=USD\\n\n"
     "[Account1]\nFirm=FIRM2\nAccount=ACC2\nClientCode=C2\n"
     // A special portfolio: its collateral is parameter 7 of its last portfolio.
     "[Account2]\nFirm=FIRM2\nAccount=ACC3\nClientCode=C3\nPortfolios=21,22\nParam58=4\n"
     "Param7=999\nParam7@21=777\nParam7@22=250\n"
     "[Spot1]\nFirm=FIRM2\nClient=C2\nBoardTag=TQBR\nCurrency=USD\nValue40=80000\nValue48=30000\n"
     "Value56=85000\nValue64=5000\n"
     "[Spot2]\nFirm=FIRM2\nClient=C3\nBoardTag=TQBR\nCurrency=USD\nValue40=10000\nValue48=50000\n"
     "Value56=12000\n"
     // Under the library's default board tag and currency: not the firm's.
     "[Spot3]\nFirm=FIRM2\nClient=C2\nBoardTag=EQTV\nCurrency=SUR\nValue40=1\nValue56=1\n"
     "[ClientValue1]\nFirm=FIRM2\nClient=C2\nNumber=16\nValue=1500\n"
     "[ClientValue2]\nFirm=FIRM2\nClient=C2\nNumber=7\nValue=400\n"
     "[ClientValue3]\nFirm=FIRM2\nClient=C2\nNumber=8\nValue=1.3751\n"
     "[ClientValue4]\nFirm=FIRM2\nClient=C2\nNumber=6\nValue=200\n"
     "[ClientValue5]\nFirm=FIRM2\nClient=C2\nNumber=5\nValue=-300\n"
     "[ClientValue6]\nFirm=FIRM2\nClient=C3\nNumber=16\nValue=-900\n"
     "[ClientValue7]\nFirm=FIRM2\nClient=C3\nNumber=7\nValue=888\n"
     "[ClientValue8]\nFirm=FIRM2\nClient=C3\nNumber=8\nValue=0.8\n"
     "[ClientValue9]\nFirm=FIRM2\nClient=C3\nNumber=6\nValue=100\n"
     "[ClientValue10]\nFirm=FIRM2\nClient=C3\nNumber=5\nValue=50\n",
     {{"FIRM2", "ACC2", 3, 0, 0, 70000, 60000, 55555, 3000, 9000, 20000, 700, 1200},
      {"FIRM2", "ACC3", 4, 0, 0, 0, 40000, 0, -6000, 5000, 0, 300, 500}},
     {{"FIRM2", "ACC2", "RIZ6", 3, 2, -2500},
      {"FIRM2", "ACC3", "SBER", 4, -10, 1000},
      {"FIRM2", "ACC3", "RIZ6", 5, -1, -200}},
     {{nullptr, "FIRM2",
       {{"ACC2", "C2",
         {800, 850, 600, 200,  // spot record's 40 and 56; the limit's net positions
          1500, 30, -25,       // planned: client value 16 x 100
          90, 78,              // interim 9000, accrued 9000 - 1200
          200,                 // long: bid 100 x 2 x 100
          2300, 1200, 0,       // 150000 + 60000 + min(3000, 0) + 20000; 60000 + 20000 + 400 x 100
          120000.0 / 60000, 120000.0 / 20000,  // total assets over the net positions
          87800.0 / 60000, 85300.0 / 60000,    // (80000 + 7800 [- 2500]) / 60000
          1.3751,
          // spot 30000 + 85000 - 5000, values 6 and 5 x 100, VM -2500:
          // (110000 + 20000 - 30000 - 2500) / (20000 + 107500)
          100 * 97500.0 / 127500,
          3000.0 / 120000}},  // 10 x 2 x 100 x 3 / 2
        {"ACC3", "C3",
         {100, 120, 400, 0,   // spot record's 40 and 56; no net position for open positions
          -900, -60, 8,        // planned: client value 16 -900; VM 1000 - 200
          50, 45,              // interim 5000, accrued 5000 - 500
          -102,               // short: offer 102 x -1 x 100
          -662, 548, 0,       // -90000 + 40000 - 6000 - 10200; 40000 - 10200 + 250 x 100
          54800.0 / 40000, kBlank,  // no net position for open positions
          14500.0 / 40000, 15300.0 / 40000, 0.8,
          100 * 77800.0 / 72800,  // (62000 + 10000 + 5000 + 800) / (10000 + 62800)
          (31250 + 1500) / 54800.0}}},
       {}}}},
    {"HostRefusesClientValues", {{"UseVarMargin", "1"}, {"UseTotalAssets", "0"}},
     "[Account1]\nFirm=FIRM5\nAccount=ACC8\nClientCode=C8\n"
     "[Account2]\nFirm=FIRM5\nAccount=ACC9\nClientCode=C9\nPortfolios=31\nParam58=4\nParam7=70\n"
     "[ClientValue1]\nFirm=FIRM5\nClient=C8\nNumber=16\nValue=100\n"
     "[ClientValue2]\nFirm=FIRM5\nClient=C8\nNumber=7\nValue=50\n"
     "[ClientValue3]\nFirm=FIRM5\nClient=C8\nNumber=8\nValue=1.5\n"
     "[ClientValue4]\nFirm=FIRM5\nClient=C9\nNumber=8\nValue=2.5\n"
     "[ClientValue5]\nFirm=FIRM5\nClient=C9\nNumber=7\nValue=60\n",
     {{"FIRM5", "ACC8", 5, 0, 0, 0, 10000, 0, 0, 0, 10000}, {"FIRM5", "ACC9", 6, 1, 0, 0, 20000}},
     {},
     {{nullptr, "FIRM5", {}, {}},
      // The host now refuses values 16, 7 and 8 (writing 999 all the same);
      // parameter 7 of C9's portfolio 31 was never there (portfolio 0 is not its).
      {[](StandInHost& host) {
         for (int number : {16, 7, 8}) host.Market().SetClientValue("FIRM5", "C8", number, {999, 1});
         host.Market().SetClientValue("FIRM5", "C9", 8, {999, 1});
       },
       "FIRM5",
       {{"ACC8", "C8", {0, 0, 100, 100, 0, 0, 0, 0, 0, 0, 100, 100, 0, 1, 1, 0, 0,
                        1.5,  // the margin level answered before
                        100, 0}},  // no spot record: (0 + 0 + 0) / 0 gives 1
        {"ACC9", "C9", {0, 0, 200, 0, 0, 0, 0, 0, 0, 0, 200, 200, 0, 1, kBlank, 0, 0, 2.5, 100, 0}}},
       {}}}},
    {"RulesExcludeAClientAndUnitedClientsAreLeftOut",
     {{"ClientsType2", "1"}, {"UseVarMargin", "1"}},
     "[Account1]\nFirm=FIRM6\nAccount=ACC7\nClientCode=C7\n",
     {{"FIRM6", "ACC5", 7, 0, 0, 1000}, {"FIRM6", "ACC6", 8, 0, 0, 1000},
      {"FIRM6", "ACC7", 9, 0, 0, 5000, 3000}},
     {},
     // ClientsType2 1: the united ACC7 is no row of the table.
     {{nullptr, "FIRM6", {{"ACC5", "ACC5", kDayStartTen}, {"ACC6", "ACC6", kDayStartTen}}, {"ACC7"}},
      // The firm's rules now list ACC6 and ACC7 only, and do not name the firm itself.
      {[](StandInHost& host) {
         host.Records().AddFirm({"FIRM6", "[CHANGEFUTCLIENTCODES]\nFIRM=MC0001\nA=ACC6\nB=ACC7\n"});
       },
       "FIRM6",
       {{"ACC6", "ACC6", kDayStartTen}},
       {"ACC5", "ACC7"}}}},
};

void PrintTo(const RecalculationCase& c, std::ostream* out) { *out << c.name; }

class RecalculationRoad : public MainRoadTest,
                          public ::testing::WithParamInterface<RecalculationCase> {};

TEST_P(RecalculationRoad, TheRiskTableShowsEveryClientsValues) {
  const RecalculationCase& c = GetParam();
  Start(c.settings, std::string(kMarket) + c.scenario);
  for (const LimitFields& limit : c.limits) Push(kLimitRecordCode, LimitRecord(limit));
  for (const PositionFields& position : c.positions) Push(kPositionRecordCode, PositionRecord(position));
  plugin.Callback<25>(1, "", 0, 0);
  HWND list = OpenRiskTable();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetNRows(list), 1) << "no client is shown before a firm's settings arrive";
  for (const FullRun& run : c.runs) {
    if (run.before != nullptr) run.before(host);
    FirmSettings(run.firm);
    for (const ClientLine& client : run.lines) {
      const int line = LineOf(list, client.account);
      ASSERT_GT(line, 0) << client.account;
      EXPECT_EQ(Cell(list, line, 2), client.clientCode);
      for (size_t i = 0; i < client.columns.size(); ++i) {
        const std::string shown = Cell(list, line, static_cast<int>(4 + i));
        const int column = static_cast<int>(i < 7 ? 4 + i : 5 + i);
        if (client.columns[i] == kBlank) {
          EXPECT_EQ(shown, "") << client.account << " column " << column;
        } else {
          // Money is shown with 2 decimals, ratios with 4.
          EXPECT_NEAR(ShownNumber(shown), client.columns[i], column <= 17 ? 0.0051 : 0.000051)
              << client.account << " column " << column << " shows " << shown;
        }
      }
    }
    for (const char* account : run.absent) EXPECT_EQ(LineOf(list, account), -1) << account;
  }
  plugin.Callback<7>();
  EXPECT_EQ(GetNRows(list), 1) << "the host's stop empties the table";
  FirmSettings(c.runs.back().firm);
  EXPECT_EQ(GetNRows(list), 1) << "no client is left after the stop";
}

INSTANTIATE_TEST_SUITE_P(Cases, RecalculationRoad, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A host that knows only PLUGIN_Init gets the whole module: the settings
// are read, the table has its columns and the timer recalculates. The
// client's funds sufficiency is bid x 1 contract x 100 / net position 10000.
TEST_F(MainRoadTest, TheOldEntryPointStartsTheWholeModule) {
  Start({{"RecalcRiskParamsInterval", "50"}, {"TraceLogLevel", "1"}, {"UseVarMargin", "3"},
         {"OptValueParam", "1"}, {"UseTotalAssets", "0"}},
        "[Class1]\nCode=SPBFUT\nFlags=0x48\n[Security1]\nClass=SPBFUT\nCode=RIZ6\nType=4\n"
        "ValueDivisor=1\nbid=150\n",
        true);
  EXPECT_EQ(LogMessages(ReadFileBytes(folder.File("VantrelFM.log")), "Module initialized."),
            "Module initialized. Reading settings finished.\n");
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 0, 10000, -10000, 0, 0, 5000}));
  Push(kPositionRecordCode, PositionRecord({"FIRM1", "ACC1", "RIZ6", 1, 1}));
  plugin.Callback<25>(1, "", 0, 0);
  HWND list = OpenRiskTable();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetNColumns(list), 24);
  EXPECT_EQ(Cell(list, 0, 17), "Достаточность средств");
  FirmSettings("FIRM1");
  const int line = LineOf(list, "ACC1");
  ASSERT_GT(line, 0);
  EXPECT_NEAR(ShownNumber(Cell(list, line, 17)), 1.5, 0.00005);
  host.Market().SetParameter(host.Records().FindSecurityByCode("RIZ6"), "bid", 90);
  MSG message;
  auto recalculated = [&] { return std::fabs(ShownNumber(Cell(list, line, 17)) - 0.9) < 0.00005; };
  for (int waited = 0; waited < 6000 && !recalculated(); waited += 10) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  EXPECT_NEAR(ShownNumber(Cell(list, line, 17)), 0.9, 0.00005) << "a timer run recalculated";
}

TEST_F(MainRoadTest, ARestoredTableAnswersWithItsWindow) {
  Start({});
  ASSERT_NE(OpenRiskTable(), nullptr);
  ASSERT_EQ(host.SdkWindows().SaveLayout(host.MdiClient()), 1);
  const int answer = plugin.Callback<5>(0, "restored", 0, 0, WindowStateStore::kRestoreTag);
  HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(answer));
  ASSERT_TRUE(IsWindow(window)) << answer;
  EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0) << "the host's table icon";
  EXPECT_EQ(WindowText(window), "restored") << "the caption the host restores";
  EXPECT_NE(ListInside(window), nullptr) << "the window holds the restored table's list";
}
}  // namespace
