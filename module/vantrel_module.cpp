#include "module/vantrel_module.h"

#include "module/quote_subscriptions.h"
#include "module/table_refresh.h"
#include "windows/tables/risk_params_table.h"
#include "windows/tables/risk_table_commands.h"
#include "module/settings/settings_file.h"
#include "module/settings/settings_paths.h"
#include "resources/resource_ids.h"
#include "sdk/color_select_ctrl.h"
#include "sdk/entry_guard.h"
#include "sdk/plugin_dialog.h"
#include "sdk/search_list_box.h"
#include "sdk/table_plugin.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdarg>

CVantrelModule* g_pModule = nullptr;

namespace {
// Context-menu commands of the tables and the closing-orders window; each
// gets a host command id at initialisation.
constexpr int kContextCommands[] = {
    40005, 40006, 40007, 40085, 40008, 40009, 40010, 40011, 40080, 40012,
    40013, 40014, 40086, 40015, 40016, 40017, 40018, 40082, 40049, 40070,
    40072, 40083, 40075, 40076, 40077, 40078, 40084, 40079};

constexpr uint32_t kParamListCapacity = 17230;

void CALLBACK RecalcTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  GuardBoundary("recalculation timer", [] {
    if (g_pModule != nullptr) g_pModule->OnRecalcTimer();
  });
}

// The check mark of the notification switch in a window's menu, set on the
// host's id of the command, which is what the host's menu holds; an id the
// host never gave (-1) or a window without a menu marks nothing.
void ShowNotificationSwitch(HWND window, int hostId, bool on) {
  CheckMenuItem(GetMenu(window), static_cast<UINT>(hostId),
                MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}
}  // namespace

CVantrelModule::CVantrelModule(HINSTANCE instance)
    : CZenkPluginModule(instance),
      m_log(HostProgramFolder(), m_settings),
      m_recalcTimer(RecalcTimerProc) {
  // Failures are logged whatever the trace level: they are never expected.
  SetFailureLog([this](const std::string& line) { m_log.WriteLogLine(line.c_str()); });
}

CVantrelModule::~CVantrelModule() {
  // The timer's procedure and the tables' window and row-data procedures live
  // in this image: a host that frees the library without unloading the
  // module first must not be left with windows or a timer calling into it.
  m_recalcTimer.Stop();
  DeleteTables();
  ReleaseContextBitmaps();
  UnregisterSearchListBoxClass();
  if (GetHostFunctions()[0] != 0) {
    m_clientsFilter.Release();
    m_accountsFilter.Release();
    m_firmsFilter.Release();
  }
  if (m_moduleMenu != nullptr) {
    DeleteMenuItems(m_moduleMenu);
    DestroyMenu(m_moduleMenu);
    m_moduleMenu = nullptr;
  }
}

bool CVantrelModule::CheckHostCompatibility(uint32_t hostVersion, uint32_t hostValue2,
                                            int* errorCode, char* errorText, int errorTextSize) {
  if (hostVersion == kHostVersion) return true;
  return CZenkPluginModule::CheckHostCompatibility(hostVersion, hostValue2, errorCode, errorText,
                                                   errorTextSize);
}

bool CVantrelModule::OnPluginInitEx(uint32_t hostValue, const uint32_t* hostFunctions,
                                    uint32_t* callbacks, const std::string& text,
                                    uint32_t hostVersion, uint32_t hostValue2, int* errorCode,
                                    char* errorText, int errorTextSize) {
  return CZenkPluginModule::OnPluginInitEx(hostValue, hostFunctions, callbacks, text, hostVersion,
                                           hostValue2, errorCode, errorText, errorTextSize) &&
         InitModule();
}

// A host that knows only the old entry point starts the module just as
// fully; it has no error texts to receive.
bool CVantrelModule::OnPluginInit(uint32_t hostValue, const uint32_t* hostFunctions,
                                  uint32_t* callbacks, const std::string& text) {
  return CZenkPluginModule::OnPluginInit(hostValue, hostFunctions, callbacks, text) &&
         InitModule();
}

// The module's own steps once the host's tables, commands and menus are in
// place.
bool CVantrelModule::InitModule() {
  // Registered for this image, which unregisters it when the module is done.
  if (!RegisterColorSelectClass(GetInstance())) return false;
  InitCommonControls();
  RegisterSearchListBoxClass();
  LoadSettings();
  TraceLog(1, "Module initialized. Reading settings finished.");
  return BuildTableColumns(m_columns);
}

void CVantrelModule::LoadSettings() {
  std::vector<std::string> cuts;
  CSettingsFile(HostProgramFolder()).Load(m_settings, m_transport, m_calc, m_closing, &cuts);
  for (const std::string& cut : cuts)
    m_log.WriteLogLine(("info.ini: " + cut).c_str());
  for (const auto& file : m_settings.UnreadableBodyFiles)
    TraceLog(1, "ERROR: can not read the body template file \"%s\".", file.second.c_str());
  m_marginCalls.ReloadAddressFiles();
  m_marginCalls.CheckStoredPasswords();
  if (!m_transport.NotifEnabledAtStart) UpdateCommandStates();
}

void CVantrelModule::SaveSettings() {
  CSettingsFile(HostProgramFolder()).Save(m_settings, m_transport, m_calc, m_closing);
}

bool CVantrelModule::AddMenus() {
  HMENU menu = LoadMenuA(GetInstance(), MAKEINTRESOURCEA(IDR_PLUGIN_MENU));
  if (menu == nullptr) return false;
  m_moduleMenu = menu;
  return CZenkPluginModule::AddMenus();
}

void CVantrelModule::RegisterCommands() {
  for (int ownId : kContextCommands) {
    const int hostId = CallHost<9>();
    if (hostId > 0) RegisterCommandId(hostId, ownId);
  }
  // The risk table's "sort by" items come after the others, which keep the
  // host ids they always had.
  for (int ownId = kCommandFirstSort; ownId <= kCommandLastSort; ++ownId) {
    const int hostId = CallHost<9>();
    if (hostId > 0) RegisterCommandId(hostId, ownId);
  }
  auto resources = static_cast<HINSTANCE>(CallHost<25>(host::kResourceModule));
  ReleaseContextBitmaps();  // a second initialisation loads them again
  m_contextBitmaps[0] = LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_HOST_CONTEXT_1));
  m_contextBitmaps[1] = LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_HOST_CONTEXT_2));
}

void CVantrelModule::ReleaseContextBitmaps() {
  for (HBITMAP& bitmap : m_contextBitmaps) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    bitmap = nullptr;
  }
}

void CVantrelModule::UpdateCommandStates() {
  ShowNotificationSwitch(static_cast<HWND>(CallHost<25>(host::kMainFrame)),
                         FindHostCommandId(ID_NOTIFICATION_SWITCH), m_settings.NotificationsOn);
}

void CVantrelModule::ToggleNotifications(HWND window) {
  m_settings.NotificationsOn = !m_settings.NotificationsOn;
  ShowNotificationSwitch(window, FindHostCommandId(ID_NOTIFICATION_SWITCH), m_settings.NotificationsOn);
}

int CVantrelModule::OnMenuCommand(HWND window, int commandId, bool notFound) {
  if (notFound) return 0;
  switch (commandId) {
    case ID_GENERAL_SETTINGS:
      EditGeneralSettings();
      return 1;
    case ID_CALC_SETTINGS:
      EditCalcSettings();
      return 1;
    case ID_RISK_PARAMS_TABLE:
      CreateTable(kRiskTableType, false, 0, nullptr, 0);
      return 1;
    case ID_CLOSING_ORDERS_TABLE:
      CreateTable(kOrdersTableType, false, 0, nullptr, 0);
      return 1;
    case ID_NOTIFICATION_SWITCH:
      ToggleNotifications(window);
      return 1;
    case ID_TRANSPORT_SETTINGS:
      EditTransportSettings();
      return 1;
    case ID_NOTIFICATION_SETTINGS:
      EditNotificationSettings();
      return 1;
    case ID_CLOSING_SETTINGS:
      EditClosingSettings(window);
      return 1;
    default:
      return 0;
  }
}

bool CVantrelModule::OnModuleDone() {
  m_marginCalls.OnUnload();
  SaveSettings();
  DeleteTables();
  m_recalcTimer.Stop();
  m_firmText.Release();
  UnregisterSearchListBoxClass();
  return CZenkPluginModule::OnModuleDone();
}

void CVantrelModule::DeleteTables() {
  // Each table's destructor unregisters it; taking it off the list first keeps
  // this loop finite whatever a table does.
  // A table whose command runs (its dialog is open) goes once the command
  // returns; its window goes now.
  while (!m_tables.empty()) {
    CTablePlugin* table = m_tables.front();
    m_tables.pop_front();
    table->DeleteWhenIdle();
  }
}

// The tables let go of the client records before the records are freed.
void CVantrelModule::OnModuleStop() {
  ++m_hostStops;
  m_marginCalls.OnStop();
  for (CTablePlugin* table : m_tables) table->ClearRows();
  m_clients.Clear();
}

int CVantrelModule::GetPluginParam(uint32_t code, uint32_t* value, uint32_t) {
  if (code == kParamListCapacity && value != nullptr) *value = 1024;
  return 1;
}

void CVantrelModule::RequestQuoteParams() { SubscribeQuoteParams(); }

bool CVantrelModule::BroadcastToTables(uint32_t kind, uint32_t object) {
  for (CTablePlugin* table : m_tables)
    table->UpdateRowColors(static_cast<int>(kind), reinterpret_cast<void*>(static_cast<uintptr_t>(object)));
  return true;
}

void CVantrelModule::RegisterTable(CTablePlugin* table) { m_tables.push_back(table); }

CTablePlugin* CVantrelModule::FindTable(uint32_t serial) const {
  for (CTablePlugin* table : m_tables)
    if (table->Serial() == serial) return table;
  return nullptr;
}

void CVantrelModule::UnregisterTable(CTablePlugin* table, bool deleteIt) {
  m_tables.remove(table);
  if (deleteIt) table->DeleteWhenIdle();
}

void CVantrelModule::RegisterDialog(CZPluginDialog* dialog) { Dialogs().push_back(dialog); }

void CVantrelModule::UnregisterDialog(CZPluginDialog* dialog, bool deleteIt) {
  Dialogs().remove(dialog);
  if (deleteIt) dialog->DeleteWhenIdle();
}

// A dialog stays registered while the command that ran it goes on (a manual
// margin call, the reconnection after the settings' OK), after its window is
// gone: a box owned by a destroyed window is never shown, so such a dialog
// is passed over.
HWND CVantrelModule::GetMainWindow() const {
  for (CZPluginDialog* dialog : const_cast<CVantrelModule*>(this)->Dialogs())
    if (dialog->HasLiveWindow()) return dialog->GetDialogWindow();
  return nullptr;
}

void CVantrelModule::TraceLog(int level, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  m_log.TraceLogV(level, format, arguments);
  va_end(arguments);
}

void CVantrelModule::MailLog(int level, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  m_log.MailLogV(level, format, arguments);
  va_end(arguments);
}
