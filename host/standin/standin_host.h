// StandInHost: our own stand-in for the trading terminal. It owns the host
// function table handed to the plug-in, a real MDI frame window with a menu
// bar, the host's records and options, and a log of what the plug-in asked.
// Host functions are plain stdcall functions, so they find the host through
// StandInHost::Current(); one host exists at a time.
#pragma once

#include "host/standin/call_log.h"
#include "host/standin/client_model.h"
#include "host/standin/exchange.h"
#include "host/standin/host_feed.h"
#include "host/standin/market_model.h"
#include "host/standin/record_store.h"
#include "host/standin/sdk_window_host.h"
#include "sdk/host_api.h"

#include <map>
#include <set>
#include <string>
#include <utility>

class PluginLibrary;

class StandInHost {
 public:
  StandInHost();
  ~StandInHost();
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;

  static StandInHost* Current();

  // The table handed to the plug-in; entry 0 is its size in bytes.
  uint32_t* FunctionTable() { return m_functions; }
  template <int N>
  void Install(typename host::FunctionSig<N>::Fn fn) {
    m_functions[N] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(fn));
  }
  void Remove(int index) { m_functions[index] = 0; }

  // The main frame, its MDI client and the resource module of the host.
  bool CreateFrame(const char* caption, bool visible);
  HWND Frame() const { return m_frame; }
  HWND MdiClient() const { return m_mdiClient; }
  HMODULE Resources();

  // The host's UI information block, with the host's font and character widths.
  const uint32_t* UiInfo() const { return m_uiInfo; }

  // The plug-in that menu clicks of its command ids go to.
  void Attach(PluginLibrary* plugin) { m_plugin = plugin; }
  PluginLibrary* Plugin() const { return m_plugin; }

  RecordStore& Records() { return m_records; }
  // Plug-in windows, the saved layout and the table services.
  SdkWindowHost& SdkWindows() { return m_sdkWindows; }
  MarketModel& Market() { return m_market; }
  ClientModel& Clients() { return m_clients; }
  // Takes the plug-in's order transactions and answers them with order records.
  OrderExchange& Exchange() { return m_exchange; }
  // What the host pushes to the plug-in at the start and over time.
  HostFeed& Feed() { return m_feed; }
  CallLog& Log() { return m_log; }

  // Host function 101.
  void SetOption(int category, int id, uint32_t value) { m_options[{category, id}] = value; }
  bool Option(int category, int id, uint32_t* value) const;

  // Host function 44; today unless a test or scenario sets it.
  void SetDate(int date) { m_date = date; }
  int Date() const;

  // Command ids handed out by host function 9.
  int IssueCommandId();
  void ReleaseCommandId(int id) { m_issuedCommands.erase(id); }
  bool IsIssued(int id) const { return m_issuedCommands.count(id) != 0; }
  // The n-th command id handed out (from 1), as the plug-in's own commands
  // come back from the windows it drives.
  static int NthCommandId(int n) { return kFirstCommandId + n - 1; }
  size_t IssuedCount() const { return m_issuedCommands.size(); }
  void SetCommandIdsExhausted(bool exhausted) { m_commandIdsExhausted = exhausted; }

  // The host's menu bar: a popup by caption, added on demand.
  HMENU MenuByCaption(const std::string& caption, bool add);
  bool RemoveMenu(const std::string& caption);
  // Clicks an item of a menu of the menu bar, named "menu caption,N" (N from
  // 1); false when there is none.
  bool ClickMenuItem(const std::string& menuAndItem);

  // Modal dialogs (host function 30) are answered OK after a moment, as an
  // unattended run needs.
  void SetAcceptDialogs(bool accept) { m_acceptDialogs = accept; }
  bool AcceptDialogs() const { return m_acceptDialogs; }

 private:
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void BuildUiInfo();

  uint32_t m_functions[host::kFunctionCount] = {};
  uint32_t m_uiInfo[host::kUiInfoFields] = {};
  HWND m_frame = nullptr;
  HWND m_mdiClient = nullptr;
  HFONT m_font = nullptr;
  HMODULE m_resources = nullptr;
  PluginLibrary* m_plugin = nullptr;
  RecordStore m_records;
  SdkWindowHost m_sdkWindows;
  MarketModel m_market;
  OrderExchange m_exchange{m_records, m_market};
  ClientModel m_clients;
  HostFeed m_feed;
  CallLog m_log;
  std::map<std::pair<int, int>, uint32_t> m_options;
  int m_date = 0;
  static constexpr int kFirstCommandId = 30001;
  int m_nextCommandId = kFirstCommandId;
  bool m_commandIdsExhausted = false;
  bool m_acceptDialogs = false;
  std::set<int> m_issuedCommands;
};

// Presses OK in the thread's first visible dialog once one shows, while a
// modal loop runs; the timer's id, for KillTimer when none came.
UINT_PTR AcceptNextDialog();
// The thread's first visible dialog (a dialog box or a message box), or null.
HWND ShownDialog();

// Installs every group of host functions into the host's table.
void InstallHostFunctions(StandInHost& host);
