// The margin calls' whole road through the real VanTrel.dll in the stand-in
// host: the host's records and prices, timer runs of the recalculation, and
// what arrived at the other end: message files, trader messages, SMS
// transactions, rows in SQLite and mail at a local SMTP sink.
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
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using IniValues = std::vector<std::pair<std::string, std::string>>;

struct RoadClient {
  std::string account;
  std::string security;
  int quantity = 1;
  double netPosition = 10000;  // as the host keeps it (x 100)
  int uid = 0;                 // 0: none
  std::string email;           // empty: none
};

class MarginCallRoad : public ::testing::Test {
 protected:
  static constexpr const char* kFirm = "MC0001";

  // Funds sufficiency: warning below 1, critical below 0.5, for both kinds;
  // the bodies tell the kind, the template and the value. Message files
  // and trader messages on; nothing else unless extra says so.
  static IniValues BaseSettings() {
    return {{"RecalcRiskParamsInterval", "50"}, {"ConsiderFilters", "0"},
            {"UseVarMargin", "3"},              {"UsePositiveVarMargin", "2"},
            {"OptValueParam", "1"},             {"UseTotalAssets", "0"},
            {"ClientsType", "0"},               {"TraceLogLevel", "2"},
            {"MailLogLevel", "2"},              {"SFRWarningLevel", "1"},
            {"SFRCriticalLevel", "0.5"},        {"SFRWarningLevel_fp", "1"},
            {"SFRCriticalLevel_fp", "0.5"},     {"SendSFRWarningMsg", "1"},
            {"SendSFRCriticalMsg", "1"},        {"SFRTopic", "SFR %cc"},
            {"SFRTopic2", "SFR! %cc"},          {"SFRBody", "road_sfr.txt"},
            {"SFRBody2", "road_sfr2.txt"},      {"SFRBody_fp", "road_fp.txt"},
            {"SFRBody2_fp", "road_fp2.txt"},    {"NotifyByMC2Z", "1"},
            {"NotifyByTraderMsg", "1"}};
  }

  void TearDown() override {
    if (started) plugin.Shutdown();
    for (const char* body : kBodyFiles) DeleteFileA(folder.File(body).c_str());
  }

  // Writes the settings, the bodies and the address files, loads the
  // market, starts the plug-in, hands it the clients and lets their records
  // age past the two seconds a timer run waits for.
  void Start(const IniValues& extra, const std::vector<RoadClient>& clients,
             const std::vector<std::string>& securities) {
    CreateDirectoryA(Files().c_str(), nullptr);
    IniValues all = BaseSettings();
    all.push_back({"MC2ZDirectories", Files()});
    all.push_back({"ZenkUIDsVsClientCodesFile", temp.File("uids.txt")});
    all.push_back({"ZenkEmailsVsClientCodesFile", temp.File("emails.txt")});
    all.insert(all.end(), extra.begin(), extra.end());
    for (const auto& value : all) WriteIniValue(folder.File("info.ini"), "Vantrel", value.first.c_str(), value.second);
    WriteFileBytes(folder.File("road_sfr.txt"), "%cc SFR %.6val\r\n");
    WriteFileBytes(folder.File("road_sfr2.txt"), "%cc SFR! %.6val\r\n");
    WriteFileBytes(folder.File("road_fp.txt"), "%cc FP %.6val\r\n");
    WriteFileBytes(folder.File("road_fp2.txt"), "%cc FP! %.6val\r\n");
    std::string uids, emails;
    for (const RoadClient& c : clients) {
      if (c.uid != 0) uids += c.account + "=" + std::to_string(c.uid) + "\r\n";
      if (!c.email.empty()) emails += c.account + "=" + c.email + "\r\n";
    }
    WriteFileBytes(temp.File("uids.txt"), uids);
    WriteFileBytes(temp.File("emails.txt"), emails);

    std::string market = "[Class1]\nCode=SPBFUT\nFlags=0x48\n"
                         "[Class2]\nCode=SMS\nFlags=0x4000000\n"
                         "[Form1]\nClass=SMS\nFlags=0x200\nValue=1\n";
    for (size_t i = 0; i < securities.size(); ++i)
      market += "[Security" + std::to_string(i + 1) + "]\nClass=SPBFUT\nCode=" + securities[i] +
                "\nType=4\nValueDivisor=1\nContractUnits=1\nsteppricet=1\nbid=150\n";
    WriteFileBytes(temp.File("market.ini"), market);
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(LoadScenario(temp.File("market.ini"), host, nullptr));
    ASSERT_TRUE(plugin.Load());
    ASSERT_TRUE(plugin.InitEx().ok);
    started = true;
    plugin.SendUiInfo();
    plugin.Callback<9>(0);
    plugin.Callback<25>(1, nullptr, 0, 0);
    int id = 1;
    for (const RoadClient& c : clients) {
      Push(kLimitRecordCode, LimitRecord({kFirm, c.account, id, 0, 0, 0, c.netPosition, -c.netPosition,
                                          0, 0, c.netPosition / 2}));
      Push(kPositionRecordCode, PositionRecord({kFirm, c.account, c.security, id++, c.quantity}));
    }
    plugin.Callback<25>(4, kFirm, 0, 0);
    Sleep(2100);
  }

  void Push(uint32_t code, const std::vector<uint8_t>& record) {
    plugin.Callback<22>(1, code, record.data(), static_cast<uint32_t>(record.size()));
  }

  void SetBid(const std::string& security, double bid) {
    host.Market().SetParameter(host.Records().FindSecurityByCode(security), "bid", bid);
  }

  // Handles the thread's messages until one timer run has checked every
  // client (each asks the host whether it is connected).
  void RunTimerOnce(int clients) {
    const int before = host.Log().Count(49);
    MSG message;
    for (int waited = 0; waited < 5000 && host.Log().Count(49) < before + clients;) {
      if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
      } else {
        Sleep(5);
        waited += 5;
      }
    }
    ASSERT_EQ(host.Log().Count(49), before + clients) << "one timer run";
  }

  // Handles messages for a while (the mail library reports on this thread).
  static void Pump(int milliseconds) {
    MSG message;
    for (int waited = 0; waited < milliseconds; waited += 10) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      Sleep(10);
    }
  }

  std::string Files() const { return temp.File("files"); }

  // The bodies of the message files written since the last call, in the
  // order of their names (time, then counter), each file's UID line first.
  std::vector<std::string> NewFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Files() + "\\Msg*.txt").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do names.push_back(found.cFileName);
      while (FindNextFileA(search, &found));
      FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> contents;
    for (const std::string& name : names) {
      const std::string path = Files() + "\\" + name;
      contents.push_back(ReadFileBytes(path));
      DeleteFileA(path.c_str());
    }
    return contents;
  }

  std::string Log() const { return ReadFileBytes(folder.File("VantrelFM.log")); }

  static constexpr const char* kBodyFiles[] = {"road_sfr.txt", "road_sfr2.txt", "road_fp.txt",
                                              "road_fp2.txt"};
  CleanHostProgramFolder folder;
  CTempFolder temp;
  StandInHost host;
  PluginLibrary plugin{host};
  bool started = false;
};
