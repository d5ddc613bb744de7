// The margin-call check inside the recalculation's timer run, through the
// real VanTrel.dll in the stand-in host: 10,000 clients, message files and
// the SQLite journal on (data source VanTrelBench, which scripts/bench names).
//
// Method. Each client holds one futures position and one limit, so its funds
// sufficiency is the futures' bid / 100. Three loads of the plug-in, each
// timed over whole timer runs (the dispatch of the plug-in's thread timer):
// notifications off (the run without the check), notifications on with every
// client safe (the check, nothing sent), and notifications on with the bid of
// a tenth of the clients' futures below the warning level (every one of them
// gets a call: a file and a row). The check's own time is the difference of
// the first two; the time per delivered call is the third less the second,
// over the calls sent.
#include "bench/bench_timing.h"
#include "host/standin/host_records.h"
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
using DL::Bench::NowMs;
constexpr int kClients = 10000, kSecurities = 40, kTimerPeriodMs = 2100;
constexpr double kTargetShare = 0.20;

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program(path);
  return program.substr(0, program.find_last_of('\\'));
}

const std::string kFiles = ProgramFolder() + "\\bench-mc2z";

void WriteSettings(bool notificationsOn) {
  std::string uids;
  for (int client = 0; client < kClients; ++client)
    uids += "ACC" + std::to_string(client) + "=" + std::to_string(client + 1) + "\r";
  FILE* file = std::fopen((ProgramFolder() + "\\bench-uids.txt").c_str(), "wb");
  std::fwrite(uids.data(), 1, uids.size(), file);
  std::fclose(file);
  file = std::fopen((ProgramFolder() + "\\info.ini").c_str(), "wb");
  std::fprintf(file,
               "[Vantrel]\nRecalcRiskParamsInterval=%d\nNotifEnabledAtStart=%d\nConsiderFilters=0\n"
               "UseVarMargin=3\nUsePositiveVarMargin=2\nOptValueParam=1\nUseTotalAssets=0\nClientsType=0\nSFRWarningLevel=1\nSFRCriticalLevel=0.5\n"
               "SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\nUseSFRTemplate2=1\nSFRTopic=SFR %%cc\n"
               "NotifyByMC2Z=1\nMC2ZDirectories=%s\nZenkUIDsVsClientCodesFile=%s\n"
               "NeedSaveToDB=1\nDSN=VanTrelBench\n",
               kTimerPeriodMs, notificationsOn ? 1 : 0, kFiles.c_str(),
               (ProgramFolder() + "\\bench-uids.txt").c_str());
  std::fclose(file);
}

int CountFiles() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((kFiles + "\\Msg*.txt").c_str(), &found);
  int count = 0;
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
    ++count;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return count;
}

// One load of the plug-in over the clients; the timer runs are timed, the
// bid of every tenth security is lowered before the last when asked.
std::vector<double> TimerRuns(bool notificationsOn, int runs, bool breakATenth) {
  WriteSettings(notificationsOn);
  StandInHost host;
  PluginLibrary plugin(host);
  host.CreateFrame("bench host", false);
  host.Records().AddClass({"SPBFUT", 0x48});
  std::vector<int> securities;
  for (int i = 0; i < kSecurities; ++i) {
    SecuritySpec security;
    security.classCode = "SPBFUT";
    security.code = "SEC" + std::to_string(i);
    security.id = i + 1;
    security.type = 4;
    security.valueDivisor = 1;
    securities.push_back(host.Records().AddSecurity(security));
    host.Market().SetParameter(securities.back(), "bid", 150);
  }
  if (!plugin.Load() || !plugin.InitEx().ok) return {};
  plugin.Callback<9>(0u);
  plugin.Callback<25>(1, "", 0u, 0u);
  for (int client = 0; client < kClients; ++client) {
    const std::string account = "ACC" + std::to_string(client);
    PushRecord(plugin, BuildLimit({client + 1, "FIRM1", account, 0, 0, 0, 10000, -10000, 0, 0, 5000}));
    PushRecord(plugin, BuildPosition({client + 1, "FIRM1", account,
                                      "SEC" + std::to_string(client % kSecurities), 1}));
  }
  plugin.Callback<25>(4, "FIRM1", 0u, 0u);
  std::vector<double> times;
  while (static_cast<int>(times.size()) < runs) {
    if (breakATenth && static_cast<int>(times.size()) == runs - 1)
      for (int i = 0; i < kSecurities; i += 10) host.Market().SetParameter(securities[i], "bid", 90);
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } else if (message.message == WM_TIMER && message.hwnd == nullptr) {
      const double start = NowMs();
      DispatchMessageA(&message);
      times.push_back(NowMs() - start);
    } else {
      DispatchMessageA(&message);
    }
  }
  plugin.Shutdown();
  return times;
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}
}  // namespace

int main() {
  CreateDirectoryA(kFiles.c_str(), nullptr);
  const double off = Median(TimerRuns(false, 3, false));
  const double quiet = Median(TimerRuns(true, 3, false));
  const std::vector<double> sending = TimerRuns(true, 2, true);
  const int calls = CountFiles();
  const double check = quiet - off;
  std::printf("timer run of %d clients, notifications off:   %9.2f ms\n", kClients, off);
  std::printf("timer run, check on, nothing sent:            %9.2f ms  (check %.3f us/client)\n",
              quiet, check * 1000.0 / kClients);
  std::printf("timer run, a tenth breaking, %4d calls sent: %9.2f ms  (%.3f ms per call)\n", calls,
              sending.back(), calls > 0 ? (sending.back() - quiet) / calls : 0.0);
  const double share = off > 0 ? check / off : 0.0;
  std::printf("the check adds %.1f%% to the timer run when nothing is sent (target <= %.0f%%)\n",
              100.0 * share, 100.0 * kTargetShare);
  for (const char* name : {"\\info.ini", "\\VantrelFM.log", "\\bench-uids.txt"})
    DeleteFileA((ProgramFolder() + name).c_str());
  std::system(("rmdir /s /q \"" + kFiles + "\"").c_str());
  return calls == kClients / 10 && share <= kTargetShare ? 0 : 1;
}
