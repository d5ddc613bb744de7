// The margin calls' road through the real VanTrel.dll in the stand-in host:
// a folder with the plug-in's settings, bodies and address files, a market
// of futures, and clients whose funds sufficiency the futures' bid moves.
//
// Each client holds one futures position of q contracts and one limit with
// net position N, planned net position -N and net position for open
// positions N / 2, so its funds sufficiency is bid x q x 100 / N and its
// funds sufficiency for open positions twice that: the futures' bid moves
// the levels.
#pragma once

#include "host/standin/plugin_library.h"
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "module/host_record_builders.h"
#include "module/notify/database_shell.h"
#include "module/temp_folder.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

inline constexpr char kCreateRoadCalls[] =
    "drop table if exists RoadCalls; create table RoadCalls (MCType, TDate, MCTime, MCLevel, "
    "Margin, CCode, MsgText, MsgText2, MsgText3, MsgText4, SubjText, FirmID, MsgText5, Emails)";

struct RoadClient {
  std::string account, security;
  int quantity;
  double netPosition;  // as the host keeps it (x 100)
  int uid;
  std::string email;  // empty: none
  std::string moreUids = "";  // ",18,19": UIDs after the first
};

class MarginCallRoad : public ::testing::Test {
 protected:
  // Funds sufficiency: warning below 1, critical below 0.5, for both kinds;
  // the bodies tell the kind, the template and the value (road_plain names
  // nothing of the client). Message files and trader messages on; the test's
  // settings lines come first, so they win.
  static constexpr const char* kBaseSettings =
      "RecalcRiskParamsInterval=50\nConsiderFilters=0\nUseVarMargin=3\nUsePositiveVarMargin=2\n"
      "OptValueParam=1\nUseTotalAssets=0\nClientsType=0\nTraceLogLevel=2\nMailLogLevel=2\n"
      "SFRWarningLevel=1\nSFRCriticalLevel=0.5\nSFRWarningLevel_fp=1\nSFRCriticalLevel_fp=0.5\n"
      "SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\nSFRTopic=SFR %cc\nSFRTopic2=SFR! %cc\n"
      "SFRBody=road_sfr\nSFRBody2=road_sfr2\nSFRBody_fp=road_fp\nSFRBody2_fp=road_fp2\n"
      "NotifyByMC2Z=1\nNotifyByTraderMsg=1\n";
  static constexpr const char* kBodies[][2] = {
      {"road_sfr", "%cc SFR %.6val"}, {"road_sfr2", "%cc SFR! %.6val"},
      {"road_fp", "%cc FP %.6val"},   {"road_fp2", "%cc FP! %.6val"},
      {"road_plain", "Top up your account."}};

  void TearDown() override {
    if (started) plugin.Shutdown();
    for (const auto& body : kBodies) DeleteFileA(folder.File(body[0]).c_str());
  }

  // Writes the settings, the bodies and the address files, loads the
  // market, starts the plug-in and its work.
  void Start(const std::string& settings, const std::vector<RoadClient>& clients,
             const std::vector<std::string>& securities) {
    CreateDirectoryA(Files().c_str(), nullptr);
    WriteFileBytes(folder.File("info.ini"),
                   "[Vantrel]\n" + settings + kBaseSettings + "MC2ZDirectories=" + Files() +
                       "\nZenkUIDsVsClientCodesFile=" + temp.File("uids") +
                       "\nZenkEmailsVsClientCodesFile=" + temp.File("emails") +
                       // A risk table is confirmed only with a closing pattern.
                       "\nNumPatterns=1\nDefaultPattern=0\n[ClPattern1]\nPatternName=p\n");
    for (const auto& body : kBodies) WriteFileBytes(folder.File(body[0]), body[1]);
    std::string uids, emails, market = "[Class1]\nCode=SPBFUT\nFlags=0x48\n[Class2]\nCode=SMS\n"
                                       "Flags=0x4000000\n[Form1]\nClass=SMS\nFlags=0x200\n";
    for (const RoadClient& c : clients) {
      uids += c.account + "=" + std::to_string(c.uid) + c.moreUids + "\r";
      if (!c.email.empty()) emails += c.account + "=" + c.email + "\r";
    }
    for (size_t i = 0; i < securities.size(); ++i)
      market += "[Security" + std::to_string(i + 1) + "]\nClass=SPBFUT\nCode=" + securities[i] +
                "\nType=4\nValueDivisor=1\nbid=150\n";
    WriteFileBytes(temp.File("uids"), uids);
    WriteFileBytes(temp.File("emails"), emails);
    WriteFileBytes(temp.File("market.ini"), market);
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(LoadScenario(temp.File("market.ini"), host, nullptr));
    ASSERT_TRUE(plugin.Load());
    ASSERT_TRUE(started = plugin.InitEx().ok);
    StartOfWork(clients);
  }

  // The host starts its work: the database connected, the clients' records,
  // the firm's settings, and (unless the test makes no timer run) time for
  // the records to age past the two seconds a timer run waits for.
  void StartOfWork(const std::vector<RoadClient>& clients) {
    plugin.Callback<9>(0);
    plugin.Callback<25>(1, nullptr, 0, 0);
    int id = 1;
    for (const RoadClient& c : clients) {
      const auto limit = LimitRecord({"MC0001", c.account, id, 0, 0, 0, c.netPosition,
                                      -c.netPosition, 0, 0, c.netPosition / 2});
      const auto position = PositionRecord({"MC0001", c.account, c.security, id++, c.quantity});
      plugin.Callback<22>(1, kLimitRecordCode, limit.data(), 160);
      plugin.Callback<22>(1, kPositionRecordCode, position.data(), 144);
    }
    plugin.Callback<25>(4, "MC0001", 0, 0);
    if (timerRuns) Sleep(2100);
  }

  void SetBid(const std::string& security, double bid) {
    host.Market().SetParameter(host.Records().FindSecurityByCode(security), "bid", bid);
  }

  // Handles the thread's messages until one timer run has checked the
  // clients: a run asks the host once whether it is connected, and has
  // checked every client when its message has been handled.
  void RunTimerOnce() {
    const int before = host.Log().Count(49);
    MSG message;
    for (int waited = 0; waited < 5000 && host.Log().Count(49) == before; waited += 5)
      if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      else Sleep(5);
    ASSERT_EQ(host.Log().Count(49), before + 1) << "one timer run";
  }

  // Waits for the clock's next second: the next run's time is a later one.
  static void NextSecond() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    Sleep(1020 - now.wMilliseconds);
  }

  static void Pump(int milliseconds) {
    MSG message;
    for (int waited = 0; waited < milliseconds; waited += 10, Sleep(10))
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  std::string Files() const { return temp.File("files"); }

  std::vector<std::string> NewFiles() { return TakeMessageFiles(Files()); }

  std::string Log() const { return ReadFileBytes(folder.File("VantrelFM.log")); }
  // How often the log has line.
  int LogCount(const std::string& line) const {
    const std::string log = Log();
    int count = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
    return count;
  }

  // The critical funds sufficiency's schedule with one entry at this minute,
  // the levels' own calls off; the start and the entry fall in one minute.
  static std::string CriticalScheduleThisMinute() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond > 50) Sleep((61 - now.wSecond) * 1000);
    GetLocalTime(&now);
    char schedule[128];
    std::snprintf(schedule, sizeof schedule,
                  "SendSFRWarningMsg=0\nSendSFRCriticalMsg=0\nUseSFRCritSchedule=1\nSFRSchedule=%02d:%02d\n", now.wHour,
                  now.wMinute);
    return schedule;
  }

  // Mail through the sink's server that asks for a login; the calls kept in SQLite.
  static std::string MailWithLoginAndDatabase() {
    return "NotifyByEmail=1\nSMTPServer=127.0.0.1\nSenderAddress=risk@broker.ru\nNeedSaveToDB=1\nDSN=VanTrelLite\n"
           "DBTable=RoadCalls\nIsAuthorisationUsed=1\nPort=" + Env("VANTREL_SMTP_AUTH_PORT") + "\nMailLogin=" +
           Env("VANTREL_SMTP_LOGIN") + "\nMailPass=" + Env("VANTREL_SMTP_PASSWORD") + "\n";
  }

  CleanHostProgramFolder folder;
  CTempFolder temp;
  StandInHost host;
  PluginLibrary plugin{host};
  bool started = false;
  bool timerRuns = true;
};
