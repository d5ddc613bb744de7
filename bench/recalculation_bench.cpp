// The risk recalculation through the real VanTrel.dll in the stand-in host:
// 10,000 clients with 5 positions each over 10 firms whose broker settings
// texts are about 500 KB each.
//
// Method.
// - Full run: the host announces each firm's settings (host event 4). The
//   first announcement of a new firm makes the plug-in read that firm's text
//   and recalculate every client, so announcing 10 firms is 10 full runs over
//   all clients. Each announcement is timed on its own.
// - Timer run: the plug-in's own window-less timer. info.ini beside this
//   program sets its period to kTimerPeriodMs, longer than the 2 seconds a
//   client's data must rest before a timer run takes it, so every client is
//   due at the first tick. We pump the thread's messages and time each
//   DispatchMessage of a thread WM_TIMER (null window): that dispatch is the
//   whole run. Host function 134, asked for every united client in a run,
//   shows that the timer run covered as many clients as a full run.
// - Host share: every host function the plug-in calls is wrapped with a timer
//   before InitEx (the plug-in copies the table then); the wrappers add up
//   the time spent inside the stand-in's functions (rdtsc, converted with
//   the performance counter). The plug-in's own time is the run's time less
//   that. The wrappers' own cost stays in the plug-in's share, so its time
//   is, if anything, overstated; the estimate is printed.
// - Scale: the same full run with one client per firm (10 clients).
#include "host/standin/bench_brokerage.h"
#include "host/standin/host_records.h"
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

#include <windows.h>
#include <x86intrin.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int kFirms = BenchBrokerage::kFirms;
constexpr int kClients = 10000;
constexpr int kPositionsPerClient = BenchBrokerage::kPositionsPerClient;
constexpr int kUnitedEvery = BenchBrokerage::kUnitedEvery;
constexpr size_t kFirmTextBytes = BenchBrokerage::kFirmTextBytes;
constexpr int kTimerPeriodMs = 2100;
constexpr int kTimerRuns = 3;
constexpr double kTargetOwnMs = 50.0;

// Time spent in the host's functions, in rdtsc ticks, and the number of calls.
uint64_t g_hostTicks = 0;
uint64_t g_hostCalls = 0;
int g_depth = 0;

template <int N, typename Fn>
struct TimedHostFunction;

template <int N, typename R, typename... Args>
struct TimedHostFunction<N, R(__stdcall*)(Args...)> {
  static inline R(__stdcall* original)(Args...) = nullptr;

  static R __stdcall Call(Args... args) {
    ++g_hostCalls;
    if (g_depth++ != 0) {  // a host function that calls back into the host
      struct Leave { ~Leave() { --g_depth; } } leave;
      return original(args...);
    }
    const uint64_t start = __rdtsc();
    struct Stop {
      uint64_t start;
      ~Stop() {
        g_hostTicks += __rdtsc() - start;
        --g_depth;
      }
    } stop{start};
    return original(args...);
  }

  static void Wrap(StandInHost& host) {
    const uint32_t entry = host.FunctionTable()[N];
    if (entry == 0) return;
    original = reinterpret_cast<R(__stdcall*)(Args...)>(static_cast<uintptr_t>(entry));
    host.Install<N>(&Call);
  }
};

template <int... N>
void WrapHostFunctions(StandInHost& host) {
  (TimedHostFunction<N, typename host::FunctionSig<N>::Fn>::Wrap(host), ...);
}

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

// rdtsc ticks per millisecond, against the performance counter.
double TicksPerMs() {
  const double start = Now();
  const uint64_t ticks = __rdtsc();
  Sleep(200);
  return (__rdtsc() - ticks) / (Now() - start);
}

// What one timed wrapper costs on top of the call, in ticks: two rdtsc.
double WrapperTicks() {
  constexpr int kTries = 100000;
  uint64_t sum = 0;
  for (int i = 0; i < kTries; ++i) {
    const uint64_t start = __rdtsc();
    sum += __rdtsc() - start;
  }
  return 2.0 * sum / kTries;
}

void WriteTimerPeriod() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string ini(path);
  ini = ini.substr(0, ini.find_last_of('\\')) + "\\info.ini";
  WritePrivateProfileStringA("Vantrel", "RecalcRiskParamsInterval",
                             std::to_string(kTimerPeriodMs).c_str(), ini.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush
}

// The plug-in writes its settings and log beside the program until it is
// unloaded; they go when the benchmark ends.
struct SettingsFileRemoval {
  ~SettingsFileRemoval() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\'));
    DeleteFileA((folder + "\\info.ini").c_str());
    DeleteFileA((folder + "\\VantrelFM.log").c_str());
  }
};

struct Measured {
  double ms = 0;
  double hostMs = 0;
  uint64_t hostCalls = 0;
  int unitedValueCalls = 0;  // host function 134
};

class RecalculationBench {
 public:
  explicit RecalculationBench(int clients) : m_clients(clients) {}

  bool Start() {
    if (!m_host.CreateFrame("bench host", false)) return false;
    // Every host function the plug-in calls; those the stand-in lacks stay unset.
    WrapHostFunctions<3, 4, 7, 8, 9, 10, 11, 12, 25, 30, 32, 33, 34, 35, 36, 41, 42, 43, 48, 49,
                      51, 52, 53, 59, 60, 63, 91, 101, 130, 134, 135, 136, 137, 146, 148, 149,
                      153, 154, 202, 203>(m_host);
    BenchBrokerage::AddMarket(m_host);
    if (!m_plugin.Load() || !m_plugin.InitEx().ok) return false;
    m_plugin.SendUiInfo();
    PushClients();
    m_plugin.Callback<25>(1, "", 0u, 0u);  // the start of work
    return true;
  }
  ~RecalculationBench() { m_plugin.Shutdown(); }

  // Each firm announced for the first time: one full run each.
  std::vector<Measured> FullRuns() {
    std::vector<Measured> runs;
    for (int firm = 0; firm < kFirms; ++firm) {
      const std::string name = BenchBrokerage::FirmName(firm);
      runs.push_back(Timed([&] { m_plugin.Callback<25>(4, name.c_str(), 0u, 0u); }));
    }
    return runs;
  }

  // The plug-in's timer ticks, each timed as the dispatch that runs it.
  std::vector<Measured> TimerRuns(int count) {
    std::vector<Measured> runs;
    const double deadline = Now() + count * kTimerPeriodMs + 2000;
    while (static_cast<int>(runs.size()) < count && Now() < deadline) {
      MSG message;
      if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        continue;
      }
      if (message.message == WM_TIMER && message.hwnd == nullptr) {
        runs.push_back(Timed([&] { DispatchMessageA(&message); }));
      } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    return runs;
  }

  void SetTicksPerMs(double ticksPerMs) { m_ticksPerMs = ticksPerMs; }
  int UnitedClients() const { return (m_clients + kUnitedEvery - 1) / kUnitedEvery; }

 private:
  template <typename Work>
  Measured Timed(Work work) {
    m_host.Log().Clear();
    const uint64_t ticks = g_hostTicks, calls = g_hostCalls;
    const double start = Now();
    work();
    Measured measured;
    measured.ms = Now() - start;
    measured.hostMs = (g_hostTicks - ticks) / m_ticksPerMs;
    measured.hostCalls = g_hostCalls - calls;
    measured.unitedValueCalls = m_host.Log().Count(134);
    return measured;
  }

  void PushClients() {
    for (const PushedRecord& record : BenchBrokerage::AddClients(m_host, m_clients))
      PushRecord(m_plugin, record);
  }

  int m_clients;
  double m_ticksPerMs = 1;
  StandInHost m_host;
  PluginLibrary m_plugin{m_host};
};

Measured Sum(const std::vector<Measured>& runs) {
  Measured sum;
  for (const Measured& run : runs) {
    sum.ms += run.ms;
    sum.hostMs += run.hostMs;
    sum.hostCalls += run.hostCalls;
    sum.unitedValueCalls += run.unitedValueCalls;
  }
  return sum;
}

void Print(const char* name, const Measured& run, int clients, double wrapperMs) {
  const double own = run.ms - run.hostMs;
  std::printf("%-34s %9.2f ms  %7.2f us/client  host %5.1f%%  own %9.2f ms  (%llu host calls, "
              "~%.2f ms of timing in own)\n",
              name, run.ms, run.ms * 1000.0 / clients, run.ms > 0 ? 100.0 * run.hostMs / run.ms : 0.0,
              own, static_cast<unsigned long long>(run.hostCalls), run.hostCalls * wrapperMs);
}

Measured Median(std::vector<Measured> runs) {
  std::sort(runs.begin(), runs.end(), [](const Measured& a, const Measured& b) { return a.ms < b.ms; });
  return runs[runs.size() / 2];
}
}  // namespace

int main() {
  const double ticksPerMs = TicksPerMs();
  const double wrapperMs = WrapperTicks() / ticksPerMs;
  const SettingsFileRemoval removal;
  WriteTimerPeriod();

  Measured scale;
  {
    RecalculationBench bench(kFirms);
    bench.SetTicksPerMs(ticksPerMs);
    if (!bench.Start()) {
      std::fprintf(stderr, "the plug-in did not load or start\n");
      return 2;
    }
    scale = Sum(bench.FullRuns());
  }

  RecalculationBench bench(kClients);
  bench.SetTicksPerMs(ticksPerMs);
  if (!bench.Start()) {
    std::fprintf(stderr, "the plug-in did not load or start\n");
    return 2;
  }
  const std::vector<Measured> full = bench.FullRuns();
  const std::vector<Measured> timer = bench.TimerRuns(kTimerRuns);

  std::printf("clients %d, positions %d, firms %d (%d KB settings text each), united clients %d\n",
              kClients, kClients * kPositionsPerClient, kFirms,
              static_cast<int>(kFirmTextBytes / 1024), bench.UnitedClients());
  Print("full run, 10 firms announced", Sum(full), kClients, wrapperMs);
  Print("full run, median of one firm", Median(full), kClients, wrapperMs);
  std::printf("full run of each firm in order, ms:");
  for (const Measured& run : full) std::printf(" %.1f", run.ms);
  std::printf("\n");
  Print("scale: full run, 1 client per firm", scale, kFirms, wrapperMs);
  if (timer.empty()) {
    std::printf("timer run: the plug-in's timer did not fire\n");
    return 1;
  }
  for (size_t i = 0; i < timer.size(); ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "timer run %zu", i + 1);
    Print(name, timer[i], kClients, wrapperMs);
  }
  const Measured median = Median(timer);
  const int expected134 = Median(full).unitedValueCalls;
  std::printf("timer run covered every client: %s (host function 134 asked %d times, %d in a "
              "full run)\n",
              median.unitedValueCalls == expected134 ? "yes" : "NO", median.unitedValueCalls,
              expected134);
  std::printf("full run against the 10-client run: %.0f times for %d times the clients\n",
              scale.ms > 0 ? Sum(full).ms / scale.ms : 0.0, kClients / kFirms);
  const double own = median.ms - median.hostMs;
  std::printf("target: timer run of %d clients in at most %.0f ms of the plug-in's own time: "
              "%.2f ms, %s\n",
              kClients, kTargetOwnMs, own, own <= kTargetOwnMs ? "met" : "MISSED");
  return 0;
}
