#include "sdk/plugin_module.h"

#include "sdk/entry_guard.h"
#include "sdk/modal_loops.h"
#include "sdk/plugin_dialog.h"
#include "sdk/window_classes.h"

#include <cstdlib>
#include <cstring>
#include <vector>

CZenkPluginModule* g_pPluginModule = nullptr;

CZenkPluginModule* GetPluginModule() { return g_pPluginModule; }

HINSTANCE GetModuleInstanceHandle() {
  return g_pPluginModule ? g_pPluginModule->GetInstance() : nullptr;
}

HFONT GetHostFont() {
  if (g_pPluginModule == nullptr) return nullptr;
  return reinterpret_cast<HFONT>(static_cast<uintptr_t>(g_pPluginModule->GetHostUiInfo()[5]));
}

namespace {
constexpr char kNotCompatible[] =
    "Загружаемый модуль не совместим с данной версией клиентского места.";
constexpr char kMenuNotAdded[] = "Не удалось добавить меню.";
constexpr char kToolbarNotAdded[] = "Не удалось добавить панель инструментов.";

// The host may hand over a handler for the C runtime's invalid-parameter
// reports; the runtime is looked up at run time so an old runtime without
// the hook is simply skipped.
void InstallInvalidParameterHandler(uint32_t handler) {
  using SetHandlerFn = void*(__cdecl*)(void*);
  HMODULE runtime = GetModuleHandleA("msvcrt.dll");
  if (runtime == nullptr) return;
  auto set = reinterpret_cast<SetHandlerFn>(
      reinterpret_cast<void*>(GetProcAddress(runtime, "_set_invalid_parameter_handler")));
  if (set != nullptr) set(reinterpret_cast<void*>(static_cast<uintptr_t>(handler)));
}
}  // namespace

CZenkPluginModule::CZenkPluginModule(HINSTANCE instance) : m_instance(instance) {
  FillCallbackTable();
  g_pPluginModule = this;
}

CZenkPluginModule::~CZenkPluginModule() {
  CZenkPluginModule::OnModuleDone();
  UnregisterWindowClasses();
  if (g_pPluginModule == this) g_pPluginModule = nullptr;
}

void ReportBoundaryFailure(const char* boundary, const char* what) noexcept {
  try {
    if (g_pPluginModule != nullptr) g_pPluginModule->ReportFailure(boundary, what);
  } catch (...) {
    // Nothing is left to tell: the report itself failed.
  }
}

void CZenkPluginModule::ReportFailure(const char* boundary, const char* what) {
  const std::string line = std::string(boundary) + ": " + what;
  if (m_failureLog)
    m_failureLog(line);
  else
    OutputDebugStringA(line.c_str());
}

bool CZenkPluginModule::HasHostFunction(int index) const {
  return index > 0 && index < host::kFunctionCount && m_hostFunctions[index] != 0;
}

void CZenkPluginModule::SetLocaleSeparators(char thousands, char decimal) {
  m_thousandsSeparator[0] = thousands;
  m_decimalSeparator[0] = decimal;
}

void CZenkPluginModule::ReadLocaleSeparators() {
  char text[8] = {};
  GetProfileStringA("intl", "sThousand", " ", text, sizeof text);
  m_thousandsSeparator[0] = text[0] ? text[0] : ' ';
  text[0] = 0;
  GetProfileStringA("intl", "sDecimal", ".", text, sizeof text);
  m_decimalSeparator[0] = text[0] ? text[0] : '.';
}

int CZenkPluginModule::QueryHostOption(int category, int id, uint32_t* value) {
  if (g_pPluginModule == nullptr) return 0;
  return g_pPluginModule->CallHost<101>(category, id, value);
}

void CZenkPluginModule::SetError(int* errorCode, int code, char* errorText, int errorTextSize,
                                 const char* text) {
  if (errorCode != nullptr) *errorCode = code;
  if (errorText == nullptr || errorTextSize <= 0) return;
  const size_t length = std::min(std::strlen(text), static_cast<size_t>(errorTextSize - 1));
  std::memcpy(errorText, text, length);
  errorText[length] = 0;
}

bool CZenkPluginModule::OnPluginInitEx(uint32_t hostValue, const uint32_t* hostFunctions,
                                       uint32_t* callbacks, const std::string& text,
                                       uint32_t hostVersion, uint32_t hostValue2, int* errorCode,
                                       char* errorText, int errorTextSize) {
  m_hostValue = hostValue;
  m_initText = text;
  ReadLocaleSeparators();
  m_initialised = true;

  if (hostFunctions == nullptr) {
    SetError(errorCode, 3, errorText, errorTextSize, kNotCompatible);
    return false;
  }
  std::memcpy(m_hostFunctions, hostFunctions,
              std::min<uint32_t>(hostFunctions[0], host::kFunctionTableBytes));

  if (callbacks == nullptr) {
    SetError(errorCode, 4, errorText, errorTextSize, kNotCompatible);
    return false;
  }
  std::memcpy(callbacks, m_callbacks, std::min<uint32_t>(callbacks[0], host::kCallbackTableBytes));

  uint32_t handler = 0;
  if (QueryHostOption(9, 0, &handler) != 0 && handler != 0) InstallInvalidParameterHandler(handler);

  if (!CheckHostCompatibility(hostVersion, hostValue2, errorCode, errorText, errorTextSize))
    return false;
  switch (FinishInitialisation()) {
    case InitStep::kMenus:
      SetError(errorCode, 5, errorText, errorTextSize, kMenuNotAdded);
      return false;
    case InitStep::kToolbar:
      SetError(errorCode, 6, errorText, errorTextSize, kToolbarNotAdded);
      return false;
    case InitStep::kDone:
      break;
  }
  return true;
}

bool CZenkPluginModule::OnPluginInit(uint32_t hostValue, const uint32_t* hostFunctions,
                                     uint32_t* callbacks, const std::string& text) {
  m_hostValue = hostValue;
  m_initText = text;
  ReadLocaleSeparators();
  m_initialised = true;

  if (hostFunctions == nullptr || hostFunctions[0] < host::kFunctionTableBytes) return false;
  std::memcpy(m_hostFunctions, hostFunctions, host::kFunctionTableBytes);
  if (callbacks == nullptr || callbacks[0] < host::kCallbackTableBytes) return false;
  std::memcpy(callbacks, m_callbacks, host::kCallbackTableBytes);
  return FinishInitialisation() == InitStep::kDone;
}

// The steps both entry points share once the tables are in place.
CZenkPluginModule::InitStep CZenkPluginModule::FinishInitialisation() {
  RegisterRootChildClass();
  RegisterCommands();
  if (!AddMenus()) return InitStep::kMenus;
  if (!AddToolbar()) return InitStep::kToolbar;
  OnHostNotificationG();
  UpdateCommandStates();
  return InitStep::kDone;
}

void CZenkPluginModule::RegisterRootChildClass() {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS;
  windowClass.lpfnWndProc = RootChildWndProc;
  windowClass.hInstance = m_instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kRootChildWndClass;
  RegisterPluginWindowClass(windowClass);
}

void CZenkPluginModule::UnregisterWindowClasses() { UnregisterPluginWindowClasses(); }

bool CZenkPluginModule::OnModuleDone() {
  m_done = true;
  for (const auto& command : m_commands) CallHost<10>(command.first);
  m_commands.clear();
  UnregisterWindowClasses();
  const bool menusRemoved = RemoveHostMenus();
  // Whatever became of the menus, nothing the plug-in shows stays: its
  // dialogs end with 3, every box and dialog whose loop runs with Cancel.
  // A dialog leaves the list when its window is destroyed, so walk a copy.
  const std::vector<CZPluginDialog*> open(m_dialogs.begin(), m_dialogs.end());
  for (CZPluginDialog* dialog : open) dialog->EndDialog(3);
  CModalLoop::EndAll();
  return menusRemoved;
}

bool CZenkPluginModule::RemoveHostMenus() {
  if (m_moduleMenu == nullptr || !IsMenu(m_moduleMenu) || GetMenuItemCount(m_moduleMenu) <= 0) return false;
  char caption[512];
  for (int position = 0; GetSubMenu(m_moduleMenu, position) != nullptr; ++position) {
    caption[0] = 0;
    GetMenuStringA(m_moduleMenu, position, caption, 511, MF_BYPOSITION);
    CallHost<8>(caption);
  }
  return true;
}

void CZenkPluginModule::SetHostUiInfo(const uint32_t* info) {
  if (info == nullptr || info[0] != host::kUiInfoBytes) return;
  std::memcpy(m_uiInfo, info, host::kUiInfoBytes);
}

int CZenkPluginModule::LoadResString(int ownId, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 1;
  return LoadStringA(m_instance, static_cast<UINT>(ownId), buffer, size) > 0 ? 0 : 1;
}

bool CZenkPluginModule::CheckHostCompatibility(uint32_t, uint32_t, int* errorCode, char* errorText,
                                               int errorTextSize) {
  SetError(errorCode, 2, errorText, errorTextSize, kNotCompatible);
  return false;
}

bool CZenkPluginModule::OnHostCommand(uint32_t, uint32_t code, const void* data, uint32_t size) {
  auto u32 = [data](int offset) {
    uint32_t value;
    std::memcpy(&value, static_cast<const uint8_t*>(data) + offset, sizeof value);
    return value;
  };
  auto u16 = [data](int offset) {
    uint16_t value;
    std::memcpy(&value, static_cast<const uint8_t*>(data) + offset, sizeof value);
    return static_cast<uint32_t>(value);
  };
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (code == host::kRecordCode32926) {
    if (data == nullptr || size != host::kRecordSize32926) return false;
    OnHostRecord(u32(0), u32(4), u16(8), 0, 0, bytes + 10);
  } else if (code == host::kRecordCode32984) {
    if (data == nullptr || size != host::kRecordSize32984) return false;
    OnHostRecord(u32(0), u32(4), u16(8), u32(536), u32(540), bytes + 18);
  }
  return true;
}

INT_PTR CZenkPluginModule::RunDialog(int templateId, DLGPROC proc, HWND parent) {
  if (parent == nullptr) parent = static_cast<HWND>(CallHost<25>(host::kMainFrame));
  if (parent == nullptr || proc == nullptr || m_done) return 0;
  CModalLoop loop;
  return CallHost<30>(m_instance, templateId, proc, parent);
}

HWND CZenkPluginModule::CreateModelessDialog(WORD templateId, DLGPROC proc, HWND parent) {
  if (parent == nullptr) parent = static_cast<HWND>(CallHost<25>(host::kMainFrame));
  if (parent == nullptr || proc == nullptr) return nullptr;
  HWND dialog = CreateDialogParamA(m_instance, MAKEINTRESOURCEA(templateId), parent, proc, 0);
  if (dialog == nullptr) return nullptr;
  if (GetParent(dialog) != parent) SetParent(dialog, parent);
  return dialog;
}

// Base behaviour of the slots a module overrides as it needs.
bool CZenkPluginModule::OnHostQuery() { return true; }
void CZenkPluginModule::OnModuleStop() {}
void CZenkPluginModule::UpdateCommandStates() {}
int CZenkPluginModule::OnControlCommand(HWND, int, HWND, int) { return 0; }
int CZenkPluginModule::OnMenuCommand(HWND, int, bool) { return 0; }
int CZenkPluginModule::RestoreWindow(uint32_t, const char*, uint32_t, uint32_t, uint32_t) { return 0; }
void CZenkPluginModule::OnHostNotificationA() {}
void CZenkPluginModule::OnHostNotificationB(uint32_t) { UpdateCommandStates(); }
void CZenkPluginModule::OnHostNotificationC(uint32_t, uint32_t) { UpdateCommandStates(); }
void CZenkPluginModule::OnHostNotificationD(uint32_t) { UpdateCommandStates(); }
void CZenkPluginModule::OnHostNotificationE(uint32_t, uint32_t, uint32_t) {}
void CZenkPluginModule::OnHostRecord(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, const void*) {}
void CZenkPluginModule::OnHostNotificationF() {
  if (g_pPluginModule != nullptr) g_pPluginModule->UpdateCommandStates();
}
void CZenkPluginModule::OnHostNotificationG() {
  if (g_pPluginModule != nullptr) g_pPluginModule->UpdateCommandStates();
}
bool CZenkPluginModule::OnHostQueryRecord(uint32_t) { return true; }
int CZenkPluginModule::OnHostEvent(uint32_t, const char*, uint32_t, uint32_t) { return 0; }
void CZenkPluginModule::OnHostNotificationH(uint32_t) {}
void CZenkPluginModule::RequestQuoteParams() {}
void CZenkPluginModule::OnHostNotificationI(uint32_t, uint32_t) {}
int CZenkPluginModule::OnHostQueryValue(uint32_t, uint32_t, uint32_t) { return 1; }
void CZenkPluginModule::OnTimerTick(uint32_t, uint32_t) {}
int CZenkPluginModule::GetPluginParam(uint32_t, uint32_t* value, uint32_t) {
  if (value != nullptr) *value = 0;
  return 1;
}
bool CZenkPluginModule::BroadcastToTables(uint32_t, uint32_t) { return true; }
bool CZenkPluginModule::NotifyTables(uint32_t, uint32_t) { return true; }
void CZenkPluginModule::RegisterTable(CTablePlugin*) {}
int CZenkPluginModule::QueryTables(uint32_t, uint32_t) { return 0; }
void CZenkPluginModule::UnregisterTable(CTablePlugin*, bool) {}
void CZenkPluginModule::RegisterDialog(CZPluginDialog*) {}
void CZenkPluginModule::UnregisterDialog(CZPluginDialog*, bool) {}
void CZenkPluginModule::RegisterCommands() {}
bool CZenkPluginModule::AddToolbar() { return true; }
void CZenkPluginModule::OnModuleNotify() {}
