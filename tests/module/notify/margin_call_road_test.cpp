// The margin calls' whole road through the real VanTrel.dll in the stand-in
// host: the host's records and prices, timer runs of the recalculation, and
// what arrived at the other end: message files, trader messages, SMS
// transactions, rows in SQLite and mail at a local SMTP sink. One client's
// path against the calls the rules give, the schedule, failing channels, and
// a randomized market against a small model of the rules.
#include "module/notify/margin_call_road.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

// One timer run: the futures' bid before it (the client's funds sufficiency
// is bid / 100, for open positions bid / 50), then the calls' bodies, the
// values with the user's decimal comma.
struct TimerRun {
  double bid;
  std::vector<std::string> calls;
  bool connected = true;  // the host's connection to the trading server
};

struct PathCase {
  const char* name;
  const char* settings;
  std::vector<TimerRun> runs;
};

const PathCase kPaths[] = {
    {"CrossingWarningThenCriticalRecoveringRearms", "",
     {{150, {}}, {90, {"A1 SFR 0,900000"}}, {90, {}},  // not worse than the last call
      {40, {"A1 SFR! 0,400000"}}, {150, {}},           // back above the warning: re-armed
      {90, {"A1 SFR 0,900000"}}}},
    {"WorseningByNoMoreThanTheMinimumChangeWaits", "MinParamChange=0.1\n",
     {{90, {"A1 SFR 0,900000"}}, {85, {}}, {80, {}}, {79, {"A1 SFR 0,790000"}}}},
    {"NothingRepeatsWithinMinTime", "MinTime=3600\n",
     {{90, {"A1 SFR 0,900000"}}, {40, {}}, {150, {}}, {90, {}}}},
    {"CriticalSendingOffGivesTheWarningCall", "SendSFRCriticalMsg=0\n",
     {{40, {"A1 SFR 0,400000"}}, {30, {"A1 SFR 0,300000"}}}},
    // The critical call stamps the time both kinds share: the warning for
    // open positions waits for the next run, a second later.
    {"FundsSufficiencyKindsShareOneSendingTime", "SendSFRWarningMsg_fp=1\nSendSFRCriticalMsg_fp=1\n",
     {{40, {"A1 SFR! 0,400000"}}, {40, {"A1 FP 0,800000"}}, {40, {}}, {20, {"A1 SFR! 0,200000"}},
      {20, {"A1 FP! 0,400000"}}}},
    {"NoCheckWhileTheHostIsNotConnected", "", {{40, {}, false}, {40, {"A1 SFR! 0,400000"}}}},
};

class MarginCallPathTest : public MarginCallRoad, public ::testing::WithParamInterface<PathCase> {
 protected:
  // The host's records of a function since the last look.
  std::vector<std::string> NewHostCalls(int function, size_t* seen) {
    const auto all = host.Log().Details(function);
    std::vector<std::string> calls(all.begin() + *seen, all.end());
    *seen = all.size();
    return calls;
  }
};

// Each call reaches the client's UID by all three channels, the SMS text
// cleaned of its line break.
TEST_P(MarginCallPathTest, EachRunSendsWhatTheRulesSay) {
  Start(GetParam().settings + std::string("NotifyBySMS=1\n"), {{"A1", "RIZ6", 1, 10000, 17, ""}},
        {"RIZ6"});
  size_t traderSeen = 0, smsSeen = 0;
  for (const TimerRun& run : GetParam().runs) {
    SCOPED_TRACE("bid " + std::to_string(run.bid));
    SetBid("RIZ6", run.bid);
    host.Clients().SetConnected(run.connected);
    RunTimerOnce();
    std::vector<std::string> files, trader, sms;
    for (const std::string& call : run.calls) {
      files.push_back("UID=17|" + call);
      trader.push_back("17 " + call + "\n");
      sms.push_back("1 0 UID=17[]|Message=" + call + " []");
    }
    EXPECT_EQ(NewFiles(), files);
    EXPECT_EQ(NewHostCalls(156, &traderSeen), trader);
    EXPECT_EQ(NewHostCalls(48, &smsSeen), sms);
    NextSecond();
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, MarginCallPathTest, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

using MarginCallRoadTest = MarginCallRoad;

// The schedule sends whatever the sending switches say, once a day per
// entry, and only for entries from the host's start of work on.
TEST_F(MarginCallRoadTest, TheScheduleSendsOnceADayFromTheStartOn) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  if (now.wSecond > 50) Sleep((61 - now.wSecond) * 1000);  // start and entry in one minute
  GetLocalTime(&now);
  const int minutes = now.wHour * 60 + now.wMinute;
  if (minutes < 2) GTEST_SKIP() << "no earlier entry today";
  char settings[160];
  std::snprintf(settings, sizeof settings,
                "SendSFRWarningMsg=0\nSendSFRCriticalMsg=0\nUseSFRCritSchedule=1\n"
                "SFRSchedule=%02d:%02d, %02d:%02d\n",
                (minutes - 2) / 60, (minutes - 2) % 60, minutes / 60, minutes % 60);
  Start(settings, {{"A1", "RIZ6", 1, 10000, 17, ""}, {"B1", "SIZ6", 1, 10000, 18, ""}},
        {"RIZ6", "SIZ6"});
  SetBid("RIZ6", 40);  // A1 below the critical level, B1 safe
  RunTimerOnce();
  for (int tick = 0; tick < 29; ++tick) plugin.Callback<29>(0, 0);
  EXPECT_TRUE(NewFiles().empty()) << "critical sending is off, the schedule waits for tick 30";
  plugin.Callback<29>(0, 0);
  EXPECT_EQ(NewFiles(), std::vector<std::string>{"UID=17|A1 SFR! 0,400000"});
  for (int tick = 0; tick < 60; ++tick) plugin.Callback<29>(0, 0);
  EXPECT_TRUE(NewFiles().empty()) << "the entry before the start never fires, the other fired today";
  EXPECT_NE(Log().find("Sending margin calls by schedule: done."), std::string::npos);
}

// Every channel off: the call reaches nobody, yet it counts as sent. It goes
// into the journal once (without a subject, e-mail being off), and the runs
// after it wait for MinTime like after any call, however the level worsens.
TEST_F(MarginCallRoadTest, ACallNoChannelTakesIsJournaledOnce) {
  ASSERT_EQ(SqliteQuery(kCreateRoadCalls), "");
  Start("MinTime=3600\nNotifyByMC2Z=0\nNotifyByTraderMsg=0\nNeedSaveToDB=1\nDSN=VanTrelLite\n"
        "DBTable=RoadCalls\n",
        {{"A1", "RIZ6", 1, 10000, 17, ""}}, {"RIZ6"});
  for (int run = 0; run < 10; ++run) {
    SetBid("RIZ6", run < 5 ? 40 : 30);
    RunTimerOnce();
    if (run == 4) NextSecond();
  }
  EXPECT_EQ(SqliteQuery("select CCode || '|' || MCType || '|' || printf('%.4f', Margin) || '|' || "
                        "MsgText || '|' || SubjText from RoadCalls"),
            "A1|2|0.4000|A1 SFR! 0,400000\n|\n");  // the body as its file ends
  EXPECT_EQ(LogCount("Trying to send margin call"), 1);
  EXPECT_TRUE(NewFiles().empty());
}

// With ConsiderFilters a client no table shows is tried and skipped, with
// the two log lines once: the attempt counts as a call, so a table opened
// within MinTime brings nothing until MinTime has passed and the level is
// worse again.
TEST_F(MarginCallRoadTest, AClientNoTableShowsWaitsForMinTimeLikeAfterACall) {
  Start("ConsiderFilters=1\nMinTime=4\n", {{"A1", "RIZ6", 1, 10000, 17, ""}}, {"RIZ6"});
  plugin.SendUiInfo();
  SetBid("RIZ6", 40);
  for (int run = 0; run < 3; ++run) RunTimerOnce();
  const time_t tried = time(nullptr);
  EXPECT_EQ(LogCount("Trying to send margin call"), 1);
  EXPECT_EQ(LogCount("Client is not shown in any table, skipping."), 1);
  DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
  plugin.Callback<2>(host.Frame(), WM_COMMAND,
                     MAKEWPARAM(GetMenuItemID(host.MenuByCaption("VanTrel FM", false), 0), 0), 0);
  ASSERT_EQ(accept.Caption(), "Создание таблицы");
  SetBid("RIZ6", 30);
  RunTimerOnce();
  RunTimerOnce();
  EXPECT_TRUE(NewFiles().empty()) << "the table opened within MinTime of the attempt";
  Sleep(static_cast<DWORD>(tried + 5 - time(nullptr)) * 1000);
  SetBid("RIZ6", 20);
  RunTimerOnce();
  EXPECT_EQ(NewFiles(), std::vector<std::string>{"UID=17|A1 SFR! 0,200000"}) << "the table shows A1";
  EXPECT_EQ(LogCount("Client is not shown in any table, skipping."), 1);
}

// The mail server is down: the call stands as sent, with its row, and is not
// tried again before MinTime, however the level worsens.
TEST_F(MarginCallRoadTest, AFailedMailDeliveryIsJournaledOnceAndNotResent) {
  ASSERT_EQ(SqliteQuery(kCreateRoadCalls), "");
  Start("MinTime=3600\nNotifyByMC2Z=0\nNotifyByTraderMsg=0\nNotifyByEmail=1\nSMTPServer=127.0.0.1\n"
        "Port=" + Env("VANTREL_SMTP_DOWN_PORT") + "\nSenderAddress=risk@broker.ru\nNeedSaveToDB=1\n"
        "DSN=VanTrelLite\nDBTable=RoadCalls\n",
        {{"A1", "RIZ6", 1, 10000, 17, "a1@client.ru"}}, {"RIZ6"});
  DialogDriver mailError([](HWND box) { DialogDriver::Press(box, IDOK); });
  SetBid("RIZ6", 40);
  RunTimerOnce();
  for (int waited = 0; waited < 10000 && !mailError.Ran(); waited += 100) Pump(100);
  EXPECT_EQ(mailError.Caption(), "Ошибка");
  NextSecond();
  for (double bid : {30, 20}) {
    SetBid("RIZ6", bid);
    RunTimerOnce();
  }
  EXPECT_EQ(SqliteQuery("select CCode || '|' || printf('%.4f', Margin) || '|' || SubjText from RoadCalls"),
            "A1|0.4000|SFR! A1\n");
  EXPECT_EQ(LogCount("Trying to send margin call"), 1);
}

// The mail server is down, one of the two file directories is missing and
// the database cannot be reached: each is logged, the other channels carry
// every call, and the mail library is stopped only after its error callback
// returned, before it starts again.
TEST_F(MarginCallRoadTest, FailingChannelsAreLoggedAndTheOthersStillDeliver) {
  DialogDriver refusedDatabase([](HWND box) { DialogDriver::Press(box, IDOK); });
  Start("TraceLogLevel=3\nNotifyByEmail=1\nSMTPServer=127.0.0.1\nPort=" + Env("VANTREL_SMTP_DOWN_PORT") +
            "\nSenderAddress=risk@broker.ru\nNeedSaveToDB=1\nDSN=VanTrelGone\nMC2ZDirectories=" +
            temp.File("missing") + ";" + Files() + "\n",
        {{"A1", "RIZ6", 1, 10000, 17, "a1@client.ru"}}, {"RIZ6"});
  EXPECT_EQ(refusedDatabase.Caption(), "Vantrel FM");
  for (double bid : {40, 30}) {
    SetBid("RIZ6", bid);
    DialogDriver mailError([](HWND box) { DialogDriver::Press(box, IDOK); });
    RunTimerOnce();
    for (int waited = 0; waited < 10000 && !mailError.Ran(); waited += 100) Pump(100);
    EXPECT_EQ(mailError.Caption(), "Ошибка");
    EXPECT_EQ(NewFiles().size(), 1u) << "bid " << bid;
    NextSecond();
  }
  EXPECT_EQ(host.Log().Count(156), 2);
  const std::string log = Log();
  for (const char* line : {"ERROR: Can not connect to database.", "ERROR: can not write a MC2Z file into",
                           "Margin call sent by MC2Z to UID=17.", "Checking risk params for A1",
                           "Checking last sent value for critical level of SFR (last value: "
                           "0.400000, current value: 0.300000)"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  const size_t error = log.find("ZMail error: "), restart = log.find("ZMLStart called.", error);
  ASSERT_NE(error, std::string::npos);
  EXPECT_LT(log.find("ZMLStop called.", error), restart);
  plugin.Shutdown();
  started = false;
  EXPECT_NE(Log().find("ZMLStop called.", restart), std::string::npos) << "stopped at unload";
}

// The mail library hands its error handler a value of its own, not the one
// the plug-in registered: each failure still reaches the user and the mail
// log, and the next call starts the library again.
TEST_F(MarginCallRoadTest, MailErrorsReachTheModuleWhateverValueTheLibraryPasses) {
  Start("NotifyByEmail=1\nSMTPServer=127.0.0.1\nSenderAddress=risk@broker.ru\nPort=" +
            Env("VANTREL_SMTP_DOWN_PORT") + "\n",
        {{"A1", "RIZ6", 1, 10000, 17, "a1@client.ru"}}, {"RIZ6"});
  for (double bid : {40, 30}) {
    SetBid("RIZ6", bid);
    DialogDriver mailError([](HWND box) { DialogDriver::Press(box, IDOK); });
    RunTimerOnce();
    for (int waited = 0; waited < 10000 && !mailError.Ran(); waited += 100) Pump(100);
    EXPECT_EQ(mailError.Caption(), "Ошибка") << "bid " << bid;
    NextSecond();
  }
  const std::string errors = LogMessages(Log(), "ZMail error: ");
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
  EXPECT_EQ(LogMessages(Log(), "ZMLStart called."), "ZMLStart called.\nZMLStart called.\n");
}

// A body file that info.ini names but that cannot be read is an error when
// the settings are read and again when a call is composed from it; the call
// still goes, with an empty body. The bodies that were read are no error.
TEST_F(MarginCallRoadTest, AnUnreadableBodyFileIsLoggedAndTheCallStillGoes) {
  Start("SFRBody2=road_gone\n", {{"A1", "RIZ6", 1, 10000, 17, ""}}, {"RIZ6"});
  SetBid("RIZ6", 40);
  RunTimerOnce();
  EXPECT_EQ(NewFiles(), std::vector<std::string>{"UID=17|"});
  const std::string file = folder.File("road_gone");
  EXPECT_EQ(LogMessages(Log(), "ERROR: can not read the body"),
            "ERROR: can not read the body template file \"" + file + "\".\n"
            "ERROR: can not read the body template file \"" + file + "\", the body is empty.\n");
}

// The mailing settings edited while the plug-in runs: a changed database
// connection is let go and made again, a changed mail server stops the
// started mail library; settings that stay the same leave both alone.
TEST_F(MarginCallRoadTest, ChangedTransportSettingsLetGoOfTheDatabaseAndTheMailServer) {
  ASSERT_EQ(SqliteQuery(kCreateRoadCalls), "");
  Start("TraceLogLevel=1\nMailLogLevel=1\n" + MailWithLoginAndDatabase(),
        {{"A1", "RIZ6", 1, 10000, 17, "a1@desk.test"}}, {"RIZ6"});
  SetBid("RIZ6", 40);
  RunTimerOnce();
  ASSERT_NE(Log().find("ZMLStart_Ex called."), std::string::npos) << Log();
  const UINT command = GetMenuItemID(host.MenuByCaption("VanTrel FM", false), 5);
  struct Edit {
    int control;
    const char* text;
    const char* expectedLines;
  } const edits[] = {
      {1026, "127.0.0.1", ""},
      {1044, "desk", "Disconnected from database.|Connected to database.|"},
      {1026, "localhost", "ZMLStop called.|"},
  };
  for (const Edit& edit : edits) {
    const size_t seen = Log().size();
    DialogDriver dialog([&](HWND window) {
      SetDlgItemTextA(window, edit.control, edit.text);
      DialogDriver::Press(window, IDOK);
    });
    plugin.Callback<2>(host.Frame(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    std::string lines;
    for (const char* line : {"Disconnected from database.", "Connected to database.", "ZMLStop called."})
      if (Log().find(line, seen) != std::string::npos) lines += std::string(line) + "|";
    EXPECT_EQ(lines, edit.expectedLines) << edit.control << " " << edit.text;
  }
}

constexpr int kClients = 200, kRuns = 10;
constexpr double kWarning = 1.0, kCritical = 0.5, kMinChange = 0.05;

std::string Fixed(double value, int decimals, char point) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  *std::strchr(text, '.') = point;
  return text;
}

// The rules of one kind: critical before warning; a value back above the
// warning level re-arms; a further call only when worse by more than the
// minimum change, and not in a run that already sent the other kind, whose
// time it shares. Returns the call's body ("" for none).
std::string Check(const std::string& name, double value, double* last, bool* sentThisRun) {
  if (!(value < kWarning)) *last = 1e30;
  if (!(value < kWarning) || *sentThisRun || !(value < *last) ||
      !(std::fabs(value - *last) > kMinChange))
    return "";
  *last = value;
  *sentThisRun = true;
  return name + (value < kCritical ? "! " : " ") + Fixed(value, 6, ',');
}

class MarginCallMarketTest : public MarginCallRoad {
 protected:
  // Recipient, body line and login of each mail the sink took for this
  // market's clients (at client.ru), once count arrived.
  static std::vector<std::string> Mails(size_t count) {
    const std::string folder = Env("VANTREL_SMTP_FOLDER") + "\\";
    std::vector<std::string> mails;
    for (int waited = 0; waited < 60000 && mails.size() < count; waited += 200, Sleep(200)) {
      mails.clear();
      char name[16];
      for (int n = 1; std::snprintf(name, sizeof name, "%04d", n), FileExists(folder + name + ".txt"); ++n) {
        const std::string envelope = ReadFileBytes(folder + name + ".envelope");
        std::string text = ReadFileBytes(folder + name + ".txt");
        text.erase(text.find_last_not_of("\r\n") + 1);
        const size_t to = envelope.find("RCPT TO:<") + 9, login = envelope.find("AUTH ") + 5;
        if (envelope.compare(envelope.find('>', to) - 9, 10, "client.ru>") != 0) continue;
        mails.push_back(envelope.substr(to, envelope.find('>', to) - to) + "|" +
                        text.substr(text.find_last_of('\n') + 1) + "|" +
                        envelope.substr(login, envelope.find('\n', login) - login));
      }
    }
    std::sort(mails.begin(), mails.end());
    return mails;
  }
};

// The mail server asks for a login, which the mail library gives it.
TEST_F(MarginCallMarketTest, EveryCallArrivesOnceAtItsClient) {
  ASSERT_EQ(SqliteQuery(kCreateRoadCalls), "");
  ASSERT_NE(Env("VANTREL_SMTP_PORT"), "") << "runs beside the SMTP sink";
  ASSERT_TRUE(Mails(0).empty()) << "no other test mails here";
  std::mt19937 random(20261207);
  const std::vector<std::string> securities = {"S0", "S1", "S2", "S3", "S4", "S5", "S6", "S7"};
  std::vector<RoadClient> clients;
  for (int i = 0; i < kClients; ++i) {
    const std::string account = "R" + std::to_string(100 + i);
    // An odd half that is no multiple of 50: no funds sufficiency lands on
    // a level exactly, so the model and the module never round apart.
    int half = 2501 + 2 * static_cast<int>(random() % 3700);
    half += half % 50 == 0 ? 2 : 0;
    clients.push_back({account, securities[i % securities.size()], 1 + static_cast<int>(random() % 5),
                       2.0 * half, 1000 + i, i % 10 == 0 ? account + "@client.ru" : ""});
  }
  Start("SendSFRWarningMsg_fp=1\nSendSFRCriticalMsg_fp=1\nMinParamChange=0.05\n" + MailWithLoginAndDatabase(),
        clients, securities);
  std::vector<double> lastSfr(kClients, 1e30), lastOpen(kClients, 1e30);
  std::vector<std::string> rows, mails;
  for (int run = 0; run < kRuns; ++run) {
    std::map<std::string, double> bids;
    for (const std::string& security : securities) SetBid(security, bids[security] = 20 + random() % 150);
    std::vector<std::string> files;
    for (int i = 0; i < kClients; ++i) {
      const RoadClient& c = clients[i];
      const double assets = bids[c.security] * c.quantity * 100.0;
      bool sent = false;
      const double values[] = {assets / c.netPosition, assets / (c.netPosition / 2)};
      const std::string bodies[] = {Check(" SFR", values[0], &lastSfr[i], &sent),
                                    Check(" FP", values[1], &lastOpen[i], &sent)};
      for (int kind = 0; kind < 2; ++kind) {
        if (bodies[kind].empty()) continue;
        files.push_back("UID=" + std::to_string(c.uid) + "|" + c.account + bodies[kind]);
        rows.push_back(c.account + "|" + (kind == 0 ? "2|" : "9|") +
                       Fixed(values[kind] < kCritical ? kCritical : kWarning, 4, '.') + "|" +
                       Fixed(values[kind], 4, '.') + "\n");
        if (!c.email.empty())
          mails.push_back(c.email + "|" + c.account + bodies[kind] + "|" + Env("VANTREL_SMTP_LOGIN"));
      }
    }
    std::sort(files.begin(), files.end());
    RunTimerOnce();
    EXPECT_EQ(NewFiles(), files) << "run " << run;
    NextSecond();
  }
  ASSERT_GT(rows.size(), 100u) << "a market that moves enough";
  ASSERT_GT(mails.size(), 10u);
  std::sort(rows.begin(), rows.end());
  std::sort(mails.begin(), mails.end());
  EXPECT_EQ(SqliteQuery("select CCode || '|' || MCType || '|' || printf('%.4f', MCLevel) || '|' || "
                        "printf('%.4f', Margin) from RoadCalls order by 1"),
            std::accumulate(rows.begin(), rows.end(), std::string()));
  EXPECT_EQ(Mails(mails.size()), mails);
  for (const char* line : {"Margin call sent by e-mail.", "Margin call sent by trader message to UID=1"})
    EXPECT_NE(Log().find(line), std::string::npos) << line;
}

}  // namespace
