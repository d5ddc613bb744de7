// host.exe: the stand-in terminal as a program. It opens its main frame,
// loads VanTrel.dll, initialises it as host 7.0 and runs until closed or for
// a set time, then stops and unloads the plug-in as the terminal does. With
// --play it plays the scenario's feed: host event 1, the start records, host
// event 4 for each firm, then the timed steps. With --fonts it only prints
// the faces Wine draws its windows with, and fails when one is missing.
//
//   host.exe [--scenario FILE] [--play] [--plugin DLL] [--ready-file FILE] [--exit-after SECONDS]
//   host.exe --fonts
#include "host/app/plugin_menu_steps.h"
#include "host/standin/plugin_library.h"
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"
#include "host/standin/standin_host.h"
#include "host/standin/window_fonts.h"
#include "host/zlist/zlist_readback.h"
#include "sdk/host_data_records.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
struct Options {
  std::string scenario;
  std::string plugin = "VanTrel.dll";
  std::string readyFile;
  int exitAfterSeconds = 0;
  bool play = false;
  bool fonts = false;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--play") {
      options.play = true;
      continue;
    }
    if (name == "--fonts") {
      options.fonts = true;
      continue;
    }
    if (i + 1 >= argc) break;
    ++i;
    if (name == "--scenario") options.scenario = argv[i];
    if (name == "--plugin") options.plugin = argv[i];
    if (name == "--ready-file") options.readyFile = argv[i];
    if (name == "--exit-after") options.exitAfterSeconds = std::atoi(argv[i]);
  }
  return options;
}

void WriteReadyFile(const std::string& path, const std::string& text) {
  if (path.empty()) return;
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fputs(text.c_str(), file);
    std::fclose(file);
  }
}

// Menu captions of the host's menu bar, for the report on standard output.
std::string MenuBarReport(HWND frame) {
  std::string report;
  HMENU bar = GetMenu(frame);
  for (int position = 0; position < GetMenuItemCount(bar); ++position) {
    char caption[256] = {};
    GetMenuStringA(bar, position, caption, sizeof caption - 1, MF_BYPOSITION);
    report += std::string("  [") + caption + "]\n";
    HMENU popup = GetSubMenu(bar, position);
    for (int item = 0; popup && item < GetMenuItemCount(popup); ++item) {
      char text[256] = {};
      GetMenuStringA(popup, item, text, sizeof text - 1, MF_BYPOSITION);
      report += std::string("      ") + (text[0] ? text : "----") + "\n";
    }
  }
  return report;
}
struct QuitLater {
  HWND frame;
  DWORD thread;
  DWORD milliseconds;
};

// The end of the run is posted from a second thread, so it comes even while a
// modal loop (a menu, a message box) runs: that loop is cancelled, then ours quits.
DWORD WINAPI QuitAfterDelay(LPVOID parameter) {
  const QuitLater quit = *static_cast<QuitLater*>(parameter);
  Sleep(quit.milliseconds);
  PostMessageA(quit.frame, WM_CANCELMODE, 0, 0);
  PostThreadMessageA(quit.thread, WM_QUIT, 0, 0);
  return 0;
}

constexpr UINT kStepTimerMilliseconds = 100;
// How long a context menu the plug-in asks for stays open: long enough to be
// seen, or photographed, before it closes unchosen.
constexpr UINT kContextMenuMilliseconds = 3000;
// The terminal's periodic tick to its plug-ins (callback entry 29).
constexpr UINT kTickMilliseconds = 1000;

BOOL CALLBACK CollectList(HWND window, LPARAM lists) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "ZListClient") == 0) reinterpret_cast<std::vector<HWND>*>(lists)->push_back(window);
  return TRUE;
}

// What the plug-in's tables show at the end of the run: their lines by
// background colour, as the list draws them.
std::string TableReport(HWND frame) {
  std::vector<HWND> lists;
  EnumChildWindows(frame, CollectList, reinterpret_cast<LPARAM>(&lists));
  std::string report;
  for (HWND list : lists) {
    char caption[256] = {};
    GetWindowTextA(GetParent(list), caption, sizeof caption);
    std::map<COLORREF, int> byColour;
    const int lines = GetNRows(list);
    for (int line = 1; line < lines; ++line) {
      char text[64];
      COLORREF back = 0, fore = 0;
      if (ZListInspectCell(list, line, 1, text, sizeof text, &back, &fore)) ++byColour[back];
    }
    report += "host: table \"" + std::string(caption) + "\": " + std::to_string(lines - 1) + " line(s)";
    for (const auto& colour : byColour) {
      char entry[48];
      std::snprintf(entry, sizeof entry, ", %d with background #%02X%02X%02X", colour.second,
                    GetRValue(colour.first), GetGValue(colour.first), GetBValue(colour.first));
      report += entry;
    }
    report += "\n";
  }
  return report;
}

// The column of the line's first cell showing the text; -1 when none does.
int ColumnShowing(HWND list, int line, const std::string& text) {
  char shown[256] = {};
  COLORREF back = 0, fore = 0;
  for (int column = 1; ZListInspectCell(list, line, column, shown, sizeof shown, &back, &fore); ++column)
    if (text == shown) return column;
  return -1;
}

bool LineShows(HWND list, int line, const std::string& text) { return ColumnShowing(list, line, text) >= 0; }

// Selects, in the plug-in's tables, the first line with a cell showing the
// text and brings its window to the front, as a click on the line would.
bool SelectLine(HWND frame, HWND mdiClient, const std::string& text) {
  std::vector<HWND> lists;
  EnumChildWindows(frame, CollectList, reinterpret_cast<LPARAM>(&lists));
  for (HWND list : lists) {
    for (int line = 1; line < GetNRows(list); ++line) {
      if (!LineShows(list, line, text)) continue;
      SendMessageA(mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(GetParent(list)), 0);
      SetSelection(list, line, 1);
      return true;
    }
  }
  return false;
}

// A right click on the first cell showing the text; the host's menu opens
// there. The line must be in view.
bool RightClickCell(StandInHost& host, const std::string& text) {
  const int lineHeight = static_cast<int>(host.UiInfo()[7]);
  std::vector<HWND> lists;
  EnumChildWindows(host.Frame(), CollectList, reinterpret_cast<LPARAM>(&lists));
  for (HWND list : lists) {
    for (int line = 1; line < GetNRows(list); ++line) {
      const int column = ColumnShowing(list, line, text);
      if (column < 0) continue;
      SendMessageA(host.MdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(GetParent(list)), 0);
      POINT at = {GetColumnWidth(list, column) / 2, line * lineHeight + lineHeight / 2};
      for (int left = 0; left < column; ++left) at.x += GetColumnWidth(list, left);
      POINT screen = at;
      ClientToScreen(list, &screen);
      host.SdkWindows().SetNextMenuPoint(screen);
      SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
      SendMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      return true;
    }
  }
  return false;
}

// A command of the plug-in's own comes to the window in front with the id
// the host gave it. A message box the plug-in asks first is answered OK when
// the scenario accepts dialogs.
bool SendWindowCommand(StandInHost& host, int nthCommand) {
  HWND window = reinterpret_cast<HWND>(SendMessageA(host.MdiClient(), WM_MDIGETACTIVE, 0, 0));
  if (window == nullptr || nthCommand < 1) return false;
  const UINT_PTR accept = host.AcceptDialogs() ? AcceptNextDialog() : 0;
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(StandInHost::NthCommandId(nthCommand), 0), 0);
  if (accept != 0) KillTimer(nullptr, accept);
  return true;
}

void ShowDialogPage(int nth) {
  std::string caption;
  if (SelectDialogPage(nth, &caption))
    std::printf("host: dialog page %d \"%s\" shown\n", nth, caption.c_str());
  else
    std::printf("host: no dialog with a page %d shown\n", nth);
}

void CloseDialog() {
  std::string caption;
  if (CancelShownDialog(&caption))
    std::printf("host: dialog \"%s\" closed with Cancel\n", caption.c_str());
  else
    std::printf("host: no dialog shown to close\n");
}

void ClickPluginMenu(StandInHost& host, HMODULE plugin, int ownId) {
  const std::string caption = ClickPluginMenuCommand(host.Frame(), plugin, ownId);
  if (caption.empty())
    std::printf("host: no menu item of the plug-in for command %d\n", ownId);
  else
    std::printf("host: menu command %d \"%s\" clicked\n", ownId, caption.c_str());
}

void DriveWindows(StandInHost& host, HMODULE plugin, const HostStep& step) {
  for (const std::string& text : step.selections)
    if (!SelectLine(host.Frame(), host.MdiClient(), text)) std::printf("host: no line \"%s\" to select\n", text.c_str());
  for (const std::string& text : step.contextMenus)
    if (!RightClickCell(host, text))
      std::printf("host: no line \"%s\" for a context menu\n", text.c_str());
  for (int command : step.windowCommands)
    if (!SendWindowCommand(host, command)) std::printf("host: no window in front for command %d\n", command);
  if (step.dialogPage > 0) ShowDialogPage(step.dialogPage);
  if (step.closeDialog) CloseDialog();
  for (int command : step.pluginMenuCommands) ClickPluginMenu(host, plugin, command);
}

const char* OrderState(uint32_t flags) {
  if ((flags & host_data::order::kActive) != 0) return "active";
  return (flags & host_data::order::kWithdrawn) != 0 ? "withdrawn" : "executed";
}

// What the plug-in sent to the exchange (host function 48) and what became
// of the orders.
std::string ExchangeReport(const OrderExchange& exchange) {
  std::string report = "host: transactions sent: " + std::to_string(exchange.Transactions().size()) + "\n";
  for (const ExchangeTransaction& transaction : exchange.Transactions())
    report += "  " + (transaction.accepted ? "id " + std::to_string(transaction.id) : "refused (" + transaction.error + ")") +
              ": " + transaction.text + "\n";
  report += "host: orders: " + std::to_string(exchange.Orders().size()) + "\n";
  for (const OrderSpec& order : exchange.Orders()) {
    char line[256];
    std::snprintf(line, sizeof line, "  order %lld (transaction id %u): %s %s %lld lot(s) at %lld, %lld filled, %s\n",
                  static_cast<long long>(order.number), order.transactionId, order.account.c_str(),
                  (order.flags & host_data::order::kSell) != 0 ? "sell" : "buy", static_cast<long long>(order.quantity),
                  static_cast<long long>(order.price), static_cast<long long>(order.quantity - order.balance),
                  OrderState(order.flags));
    report += line;
  }
  return report;
}

// The time the steps took is mostly the plug-in's: recalculating and
// refreshing its open tables.
void PlayDueSteps(StandInHost& host, ScenarioPlayer& player, HMODULE plugin, int elapsedMilliseconds) {
  const DWORD start = GetTickCount();
  const std::vector<const HostStep*> played = player.PlayDue(elapsedMilliseconds);
  const DWORD took = GetTickCount() - start;
  for (const HostStep* step : played) {
    std::printf("host: step %s\n", ScenarioPlayer::Describe(*step).c_str());
    DriveWindows(host, plugin, *step);
  }
  if (!played.empty()) std::printf("host: played in %lu ms\n", static_cast<unsigned long>(took));
  std::fflush(stdout);
}

// The steps play from a timer procedure, so they go on while a dialog the
// plug-in opened runs its own modal loop. A step that waits in such a loop
// itself (a context menu, a message box answered later) ends before the next
// one plays, as when the steps wait for the host's own loop.
struct StepClock {
  StandInHost* host;
  ScenarioPlayer* player;
  HMODULE plugin;
  DWORD startTime;
  UINT_PTR timer;
  bool playing;
};
StepClock g_steps = {};

void CALLBACK PlayStepsOnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_steps.playing) return;
  g_steps.playing = true;
  PlayDueSteps(*g_steps.host, *g_steps.player, g_steps.plugin, static_cast<int>(GetTickCount() - g_steps.startTime));
  g_steps.playing = false;
  if (g_steps.player->Finished() && g_steps.timer != 0) {
    KillTimer(nullptr, g_steps.timer);
    g_steps.timer = 0;
  }
}
}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  StandInHost host;
  if (options.fonts) {
    std::string report;
    const bool complete = ReportWindowFaces(ResolveWindowFaces(reinterpret_cast<HFONT>(host.UiInfo()[5])), &report);
    std::printf("%s", report.c_str());
    return complete ? 0 : 4;
  }
  ScenarioHost hostSettings;
  if (!options.scenario.empty() && !LoadScenario(options.scenario, host, &hostSettings))
    std::printf("host: scenario %s not found\n", options.scenario.c_str());
  for (const std::string& problem : host.Feed().problems)
    std::printf("host: scenario: %s, left out\n", problem.c_str());
  if (!host.CreateFrame("Торговый терминал (стенд) - VanTrel", true)) {
    std::printf("host: the main frame could not be created\n");
    return 2;
  }
  // The terminal fills the screen, as a risk manager keeps it: a table the
  // plug-in opens takes its default size from the host's MDI area, so a frame
  // smaller than the screen would cut off columns the screen has room for.
  ShowWindow(host.Frame(), SW_MAXIMIZE);
  host.SdkWindows().ShowContextMenus(kContextMenuMilliseconds);

  PluginLibrary plugin(host);
  if (!plugin.Load(options.plugin)) {
    std::printf("host: %s could not be loaded (error %lu)\n", options.plugin.c_str(), GetLastError());
    return 3;
  }
  const uint32_t version = host::MakeHostVersion(hostSettings.versionMajor, hostSettings.versionMinor);
  const InitResult init = plugin.InitEx(version);
  std::printf("host: PLUGIN_InitEx with host version %d.%d: %s", hostSettings.versionMajor,
              hostSettings.versionMinor, init.ok ? "initialised\n" : "refused, ");
  if (!init.ok) std::printf("code %d, \"%s\"\n", init.errorCode, init.errorText.c_str());
  plugin.SendUiInfo();
  plugin.Callback<9>(0u);  // the terminal lets the plug-in connect its database
  std::printf("host: menu bar\n%s", MenuBarReport(host.Frame()).c_str());
  std::fflush(stdout);
  WriteReadyFile(options.readyFile, init.ok ? "initialised\n" : "refused\n");

  QuitLater quit = {host.Frame(), GetCurrentThreadId(), options.exitAfterSeconds * 1000u};
  if (options.exitAfterSeconds > 0) CloseHandle(CreateThread(nullptr, 0, QuitAfterDelay, &quit, 0, nullptr));
  ScenarioPlayer player(host, plugin);
  g_steps = {&host, &player, plugin.Module(), GetTickCount(), 0, false};
  if (options.play && init.ok) {
    const int accepted = player.Start();
    std::printf("host: scenario started: %d of %d record(s) accepted, %d firm(s) announced, "
                "%d step(s) to play\n",
                accepted, static_cast<int>(host.Feed().startRecords.size()),
                static_cast<int>(host.Feed().firms.size()),
                static_cast<int>(host.Feed().steps.size()));
    std::fflush(stdout);
    if (!player.Finished()) g_steps.timer = SetTimer(nullptr, 0, kStepTimerMilliseconds, PlayStepsOnTimer);
  }
  const UINT_PTR tickTimer = init.ok ? SetTimer(nullptr, 0, kTickMilliseconds, nullptr) : 0;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (tickTimer != 0 && message.message == WM_TIMER && message.hwnd == nullptr &&
        message.wParam == tickTimer) {
      plugin.Callback<29>(0u, 0u);
      host.Exchange().Deliver(plugin);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (tickTimer != 0) KillTimer(nullptr, tickTimer);
  if (g_steps.timer != 0) KillTimer(nullptr, g_steps.timer);
  std::printf("%s", TableReport(host.Frame()).c_str());
  std::printf("%s", ExchangeReport(host.Exchange()).c_str());
  plugin.Shutdown();
  plugin.Unload();
  std::printf("host: plug-in stopped and unloaded\n");
  return init.ok ? 0 : 1;
}
