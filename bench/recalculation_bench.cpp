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
// - Host share and the plug-in's own time: every host function the plug-in
//   calls is wrapped before InitEx (the plug-in copies the table then). The
//   wrapper only counts calls, and while recording keeps a copy of each
//   call's arguments. The recorded calls are then replayed into the stand-in
//   on their own and timed: that is the host's share, and the plug-in's own
//   time is the run's wall time less it. Every timer run makes the same
//   calls, so the first is recorded and the others are timed without
//   recording. A full run is recorded as it runs (a few hundred calls for the
//   one-client-per-firm brokerage; the copies' cost stays in the plug-in's
//   share). Replayed, host function 52 finds its text listed already.
// - Scale: the same full run with one client per firm (10 clients); from the
//   second announcement on every firm's text is one the plug-in has read.
// - Figures are printed with their ratio to those of the plug-in before it
//   asked each fact once per pass: measured in the same run when the
//   program is given that plug-in's DLL (scripts/bench builds it from
//   VANTREL_BENCH_BASELINE, a git revision), else as measured before with
//   this method on this machine.
#include "bench/bench_timing.h"
#include "host/standin/bench_brokerage.h"
#include "host/standin/host_records.h"
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <tuple>
#include <utility>
#include <string>
#include <vector>

namespace {
constexpr int kFirms = BenchBrokerage::kFirms;
constexpr int kClients = 10000;
constexpr int kPositionsPerClient = BenchBrokerage::kPositionsPerClient;
constexpr int kUnitedEvery = BenchBrokerage::kUnitedEvery;
constexpr size_t kFirmTextBytes = BenchBrokerage::kFirmTextBytes;
constexpr int kTimerPeriodMs = 2100;
constexpr int kTimerRuns = 8;  // the first is recorded

// The plug-in before it asked each fact once per pass, on this brokerage.
constexpr double kOldTimerCalls = 866041, kOldTimerWallMs = 230, kOldTimerOwnMs = 22.5;
constexpr double kOldAnnouncementOwnMs = 21;
// Targets.
constexpr double kTargetTimerCalls = 20000, kTargetTimerOwnMs = 12, kTargetTimerWallMs = 30;
constexpr double kTargetAnnouncementOwnMs = 5;

double Now() { return DL::Bench::NowMs(); }

// Calls by host function, and the recorded calls ready to be made again.
std::map<int, uint64_t> g_calls;
bool g_recording = false;
std::vector<std::function<void()>> g_recorded;

// Where replayed calls write what the plug-in's buffers received: large
// enough for a firm's text.
char* Scratch() {
  static std::vector<char> scratch(6 * 1024 * 1024, 0);
  return scratch.data();
}

// An argument as it is passed again: values as they were, texts copied (the
// plug-in's may be gone), the host's item lists as they are, and every other
// pointer, an output of the plug-in's, replaced by the scratch area.
template <typename T>
struct ReplayArg {
  T value;
  T Get() const { return value; }
};
template <>
struct ReplayArg<const char*> {
  explicit ReplayArg(const char* text) : isNull(text == nullptr), copy(text ? text : "") {}
  const char* Get() const { return isNull ? nullptr : copy.c_str(); }
  bool isNull;
  std::string copy;
};
template <typename T>
struct ReplayArg<T*> {
  explicit ReplayArg(T* pointer) : isNull(pointer == nullptr) {}
  T* Get() const { return isNull ? nullptr : reinterpret_cast<T*>(Scratch()); }
  bool isNull;
};
template <typename T>
struct ReplayArg<const T*> {
  const T* value;
  const T* Get() const { return value; }
};
template <>
struct ReplayArg<host::ItemList*> {
  host::ItemList* value;
  host::ItemList* Get() const { return value; }
};

// Buffers the replayed host function 3 gave, given back by the replayed 4.
std::vector<void*> g_replayBuffers;
// A dry replay goes through the recorded calls without calling the host: the
// replay's own cost, which the host's share does not include.
bool g_dryReplay = false;

template <int N, typename Fn>
struct HostWrapper;

template <int N, typename R, typename... Args>
struct HostWrapper<N, R(__stdcall*)(Args...)> {
  static inline R(__stdcall* original)(Args...) = nullptr;

  static R __stdcall Call(Args... args) {
    ++g_calls[N];
    if (g_recording) Record(args...);
    return original(args...);
  }

  static void Record(Args... args) {
    if constexpr (N == 3) {
      g_recorded.push_back([args...] {
        if (!g_dryReplay) g_replayBuffers.push_back(original(args...));
      });
    } else if constexpr (N == 4) {
      g_recorded.push_back([] {
        if (g_dryReplay) return;
        original(g_replayBuffers.back());
        g_replayBuffers.pop_back();
      });
    } else {
      g_recorded.push_back([kept = std::make_tuple(ReplayArg<Args>{args}...)] {
        std::apply([](const auto&... arg) {
          if (!g_dryReplay) original(arg.Get()...);
        }, kept);
      });
    }
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
  (HostWrapper<N, typename host::FunctionSig<N>::Fn>::Wrap(host), ...);
}

// The recorded calls made again, timed, less a dry replay of them: the best
// of a few replays each, as the runs are taken at their best. The record is
// emptied.
double ReplayBestMs(bool dry) {
  constexpr int kReplays = 5;
  g_dryReplay = dry;
  double best = 0;
  for (int replay = 0; replay < kReplays; ++replay) {
    const double start = Now();
    for (const auto& call : g_recorded) call();
    const double ms = Now() - start;
    if (replay == 0 || ms < best) best = ms;
  }
  g_dryReplay = false;
  return best;
}

double ReplayRecordedMs() {
  const double ms = ReplayBestMs(false) - ReplayBestMs(true);
  g_recorded.clear();
  return ms;
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
  std::map<int, uint64_t> calls;  // by host function
  uint64_t Calls() const {
    uint64_t sum = 0;
    for (const auto& call : calls) sum += call.second;
    return sum;
  }
  double OwnMs() const { return ms - hostMs; }
};

class RecalculationBench {
 public:
  RecalculationBench(int clients, std::string plugin) : m_clients(clients), m_pluginPath(std::move(plugin)) {}

  bool Start() {
    if (!m_host.CreateFrame("bench host", false)) return false;
    // Every host function the plug-in calls; those the stand-in lacks stay unset.
    WrapHostFunctions<3, 4, 7, 8, 9, 10, 11, 12, 25, 30, 32, 33, 34, 35, 36, 41, 42, 43, 48, 49,
                      51, 52, 53, 59, 60, 63, 91, 101, 130, 134, 135, 136, 137, 146, 148, 149,
                      153, 154, 202, 203>(m_host);
    BenchBrokerage::AddMarket(m_host);
    if (!m_plugin.Load(m_pluginPath) || !m_plugin.InitEx().ok) return false;
    m_plugin.SendUiInfo();
    for (const PushedRecord& record : BenchBrokerage::AddClients(m_host, m_clients))
      PushRecord(m_plugin, record);
    m_plugin.Callback<25>(1, "", 0u, 0u);  // the start of work
    return true;
  }
  ~RecalculationBench() { m_plugin.Shutdown(); }

  // Each firm announced for the first time: one full run each, recorded.
  std::vector<Measured> FullRuns() {
    std::vector<Measured> runs;
    for (int firm = 0; firm < kFirms; ++firm) {
      const std::string name = BenchBrokerage::FirmName(firm);
      g_recording = true;
      Measured run = Timed([&] { m_plugin.Callback<25>(4, name.c_str(), 0u, 0u); });
      g_recording = false;
      run.hostMs = ReplayRecordedMs();
      runs.push_back(run);
    }
    return runs;
  }

  // The plug-in's timer ticks, each timed as the dispatch that runs it; the
  // first is recorded and its calls replayed as the host's share of them all.
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
        g_recording = runs.empty();
        runs.push_back(Timed([&] { DispatchMessageA(&message); }));
        g_recording = false;
      } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    const double hostMs = ReplayRecordedMs();
    for (Measured& run : runs) run.hostMs = hostMs;
    return runs;
  }

  int UnitedClients() const { return (m_clients + kUnitedEvery - 1) / kUnitedEvery; }

 private:
  template <typename Work>
  Measured Timed(Work work) {
    m_host.Log().Clear();  // the stand-in's own record of calls would grow without end
    const std::map<int, uint64_t> before = g_calls;
    const double start = Now();
    work();
    Measured measured;
    measured.ms = Now() - start;
    for (const auto& call : g_calls) {
      const auto earlier = before.find(call.first);
      const uint64_t count = call.second - (earlier == before.end() ? 0 : earlier->second);
      if (count != 0) measured.calls[call.first] = count;
    }
    return measured;
  }

  int m_clients;
  std::string m_pluginPath;
  StandInHost m_host;
  PluginLibrary m_plugin{m_host};
};

Measured Sum(const std::vector<Measured>& runs) {
  Measured sum;
  for (const Measured& run : runs) {
    sum.ms += run.ms;
    sum.hostMs += run.hostMs;
    for (const auto& call : run.calls) sum.calls[call.first] += call.second;
  }
  return sum;
}

std::vector<Measured> Sorted(std::vector<Measured> runs) {
  std::sort(runs.begin(), runs.end(), [](const Measured& a, const Measured& b) { return a.ms < b.ms; });
  return runs;
}
Measured Median(const std::vector<Measured>& runs) { return Sorted(runs)[runs.size() / 2]; }
Measured Best(const std::vector<Measured>& runs) { return Sorted(runs).front(); }

uint64_t Count(const Measured& run, int function) {
  const auto found = run.calls.find(function);
  return found == run.calls.end() ? 0 : found->second;
}

void Print(const char* name, const Measured& run, int clients) {
  std::printf("%-36s %9.2f ms  %8.2f us/client  host %9.2f ms  own %8.2f ms  %7llu host calls\n",
              name, run.ms, run.ms * 1000.0 / clients, run.hostMs, run.OwnMs(),
              static_cast<unsigned long long>(run.Calls()));
}

void PrintCallsPerClient(const Measured& run, int clients) {
  std::printf("  host calls per client by function:");
  for (const auto& call : run.calls)
    std::printf(" %d:%.4g", call.first, static_cast<double>(call.second) / clients);
  std::printf("\n");
}

// A figure, its ratio to the old plug-in's and whether it meets its target.
bool Target(const char* name, double value, double old, double target, const char* unit) {
  const bool met = value <= target;
  std::printf("target: %-46s %9.2f %s (%.3g times the old %.6g), at most %.6g: %s\n", name, value,
              unit, old > 0 ? value / old : 0.0, old, target, met ? "met" : "MISSED");
  return met;
}

// The figures the targets are set on.
struct Figures {
  double timerCalls = 0, timerOwnMs = 0, timerWallMs = 0, announcementOwnMs = 0;
};

// Every measurement of one plug-in, printed; false when it did not start or
// its timer did not fire.
bool Measure(const std::string& plugin, Figures* figures) {
  std::printf("== %s\n", plugin.c_str());
  std::vector<Measured> scale;
  {
    RecalculationBench bench(kFirms, plugin);
    if (!bench.Start()) {
      std::printf("the plug-in did not load or start\n");
      return false;
    }
    scale = bench.FullRuns();
  }
  RecalculationBench bench(kClients, plugin);
  if (!bench.Start()) {
    std::printf("the plug-in did not load or start\n");
    return false;
  }
  const std::vector<Measured> full = bench.FullRuns();
  const std::vector<Measured> timer = bench.TimerRuns(kTimerRuns);

  std::printf("clients %d, positions %d, firms %d (%d KB settings text each), united clients %d\n",
              kClients, kClients * kPositionsPerClient, kFirms,
              static_cast<int>(kFirmTextBytes / 1024), bench.UnitedClients());
  Print("full run, 10 firms announced", Sum(full), kClients);
  Print("full run, median of one firm", Median(full), kClients);
  PrintCallsPerClient(Median(full), kClients);
  std::printf("full run of each firm in order, ms:");
  for (const Measured& run : full) std::printf(" %.1f", run.ms);
  std::printf("\n");
  Print("scale: full run, 1 client per firm", Sum(scale), kFirms);
  std::printf("scale: own ms of each announcement in order:");
  for (const Measured& run : scale) std::printf(" %.2f", run.OwnMs());
  std::printf("\n");
  if (timer.size() < 3) {
    std::printf("timer run: the plug-in's timer did not fire\n");
    return false;
  }
  for (size_t i = 0; i < timer.size(); ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "timer run %zu%s", i + 1, i == 0 ? " (recorded)" : "");
    Print(name, timer[i], kClients);
  }
  const std::vector<Measured> timed(timer.begin() + 1, timer.end());
  Print("timer run, median", Median(timed), kClients);
  Print("timer run, best", Best(timed), kClients);
  PrintCallsPerClient(Best(timed), kClients);
  const uint64_t expected134 = Count(Median(full), 134);
  std::printf("timer run covered every client: %s (host function 134 asked %llu times, %llu in "
              "a full run)\n",
              Count(Best(timed), 134) == expected134 ? "yes" : "NO",
              static_cast<unsigned long long>(Count(Best(timed), 134)),
              static_cast<unsigned long long>(expected134));
  // From the second announcement on, every text fetched is one read before.
  const std::vector<Measured> unchanged(scale.begin() + 1, scale.end());
  Print("announcement, unchanged texts, median", Median(unchanged), 1);
  Print("announcement, unchanged texts, best", Best(unchanged), 1);
  figures->timerCalls = static_cast<double>(Best(timed).Calls());
  figures->timerOwnMs = Best(timed).OwnMs();
  figures->timerWallMs = Best(timed).ms;
  figures->announcementOwnMs = Best(unchanged).OwnMs();
  return true;
}
}  // namespace

// bench_recalculation [BASELINE.dll]: with a baseline plug-in, its figures
// are measured in the same run and the ratios are to them.
int main(int argc, char** argv) {
  const SettingsFileRemoval removal;
  WriteTimerPeriod();
  Figures now;
  if (!Measure("VanTrel.dll", &now)) return 2;
  Figures old{kOldTimerCalls, kOldTimerOwnMs, kOldTimerWallMs, kOldAnnouncementOwnMs};
  if (argc > 1 && !Measure(argv[1], &old)) return 2;
  std::printf("== ratios to %s\n", argc > 1 ? argv[1] : "the figures measured before");
  bool met = Target("timer run, host calls", now.timerCalls, old.timerCalls, kTargetTimerCalls, "calls");
  met &= Target("timer run, the plug-in's own time", now.timerOwnMs, old.timerOwnMs, kTargetTimerOwnMs, "ms");
  met &= Target("timer run, wall time in the stand-in", now.timerWallMs, old.timerWallMs,
                kTargetTimerWallMs, "ms");
  met &= Target("announcement, unchanged texts, own time", now.announcementOwnMs,
                old.announcementOwnMs, kTargetAnnouncementOwnMs, "ms");
  return met ? 0 : 1;
}
