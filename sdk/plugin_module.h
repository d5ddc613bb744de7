// CZenkPluginModule: the plug-in's module base. It keeps what the host hands
// over at initialisation (the host function table, the UI information block,
// the locale separators), fills the callback table through which the host
// calls the plug-in, maps host command ids to the plug-in's own, and builds
// the plug-in's menus into the host's menu bar.
#pragma once

#include "sdk/host_api.h"

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <algorithm>

class CZPluginDialog;
class CTablePlugin;

class CZenkPluginModule {
 public:
  explicit CZenkPluginModule(HINSTANCE instance);
  CZenkPluginModule(const CZenkPluginModule&) = delete;
  CZenkPluginModule& operator=(const CZenkPluginModule&) = delete;

  // Virtual operations in the order of the module's slots; callback entry N
  // of the host reaches the slot noted beside it.
  virtual ~CZenkPluginModule();                                                  // 0
  virtual const uint8_t* FindHostSubRecord(uint32_t mask, uint32_t subMask);      // 1
  virtual bool TestHostRecordFlags(uint32_t mask, uint32_t mask2);                // 2
  virtual bool CallHostRecordService(uint32_t mask, uint32_t subMask, const char* text,
                                     int flag, char* errorBuffer, int* result);  // 3
  virtual LRESULT RouteCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);  // 4, entry 2
  virtual bool OnPluginInit(uint32_t hostValue, const uint32_t* hostFunctions,
                            uint32_t* callbacks, const std::string& text);        // 5
  virtual bool OnPluginInitEx(uint32_t hostValue, const uint32_t* hostFunctions,
                              uint32_t* callbacks, const std::string& text,
                              uint32_t hostVersion, uint32_t hostValue2, int* errorCode,
                              char* errorText, int errorTextSize);                // 6
  virtual void FillCallbackTable();                                              // 7
  virtual bool OnHostQuery();                                                    // 8, entry 1
  virtual bool OnModuleDone();                                                   // 9, entry 3
  virtual void OnModuleStop();                                                   // 10, entry 7
  virtual void UpdateCommandStates();                                            // 11
  virtual void SetHostUiInfo(const uint32_t* info);                              // 12, entry 4
  virtual int OnControlCommand(HWND window, int controlId, HWND control, int code);  // 13
  virtual int OnMenuCommand(HWND window, int commandId, bool notFound);          // 14
  virtual int RestoreWindow(uint32_t a, const char* caption, uint32_t b, uint32_t c,
                            uint32_t d);                                         // 15, entry 5
  virtual int LoadResString(int ownId, char* buffer, int size);                  // 16
  virtual void OnHostNotificationA();                                            // 17, entry 8
  virtual void OnHostNotificationB(uint32_t value);                              // 18, entry 9
  virtual void OnHostNotificationC(uint32_t a, uint32_t b);                      // 19, entry 10
  virtual void OnHostNotificationD(uint32_t value);                              // 20, entry 11
  virtual void OnHostNotificationE(uint32_t a, uint32_t b, uint32_t c);          // 21, entry 12
  virtual void OnHostRecord(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e,
                            const void* data);                                   // 22
  virtual void OnHostNotificationF();                                            // 23, entry 15
  virtual void OnHostNotificationG();                                            // 24, entry 14
  virtual bool OnHostCommand(uint32_t value, uint32_t code, const void* data,
                             uint32_t size);                                     // 25, entry 22
  virtual bool OnHostQueryRecord(uint32_t value);                                // 26, entry 23
  virtual int OnHostEvent(uint32_t event, const char* name, uint32_t p3, uint32_t p4);  // 27, entry 25
  virtual void OnHostNotificationH(uint32_t value);                              // 28, entry 24
  virtual void RequestQuoteParams();                                             // 29, entry 26
  virtual void OnHostNotificationI(uint32_t a, uint32_t b);                      // 30, entry 27
  virtual int OnHostQueryValue(uint32_t a, uint32_t b, uint32_t c);              // 31, entry 28
  virtual void OnTimerTick(uint32_t a, uint32_t b);                              // 32, entry 29
  virtual int GetPluginParam(uint32_t code, uint32_t* value, uint32_t x);        // 33, entry 30
  virtual bool BroadcastToTables(uint32_t a, uint32_t b);                        // 34
  virtual bool NotifyTables(uint32_t a, uint32_t b);                             // 35
  virtual void RegisterTable(CTablePlugin* table);                               // 36
  virtual int QueryTables(uint32_t a, uint32_t b);                               // 37
  virtual void UnregisterTable(CTablePlugin* table, bool deleteIt);              // 38
  virtual void RegisterDialog(CZPluginDialog* dialog);                           // 39
  virtual void UnregisterDialog(CZPluginDialog* dialog, bool deleteIt);          // 40
  virtual void RegisterCommands();                                               // 41
  virtual bool CheckHostCompatibility(uint32_t hostVersion, uint32_t hostValue2, int* errorCode,
                                      char* errorText, int errorTextSize);       // 42
  virtual void RegisterCommandId(int hostId, int ownId);                         // 43
  virtual bool BuildHostMenu(HMENU source, HMENU hostMenu);                      // 44
  virtual bool AddMenus();                                                       // 45
  virtual bool AddToolbar();                                                     // 46
  virtual bool EnableCommand(int commandId, bool enable, bool isHostId);         // 47
  virtual bool GetCommandState(int commandId, bool isHostId);                    // 48
  virtual int FindHostCommandId(int ownId);                                      // 49
  virtual int FindCommandId(int hostId);                                         // 50
  virtual void OnModuleNotify();                                                 // 51
  virtual INT_PTR RunDialog(int templateId, DLGPROC proc, HWND parent);          // 52
  virtual HWND CreateModelessDialog(WORD templateId, DLGPROC proc, HWND parent);  // 53

  // Calls host function N when the host supplied it; a missing entry is not
  // called and gives the result type's zero value.
  template <int N, typename... Args>
  typename host::FunctionSig<N>::Result CallHost(Args... args) const {
    using Fn = typename host::FunctionSig<N>::Fn;
    auto fn = reinterpret_cast<Fn>(static_cast<uintptr_t>(m_hostFunctions[N]));
    if (fn == nullptr) return typename host::FunctionSig<N>::Result();
    return fn(args...);
  }
  bool HasHostFunction(int index) const;

  const uint32_t* GetHostFunctions() const { return m_hostFunctions; }
  const uint32_t* GetHostUiInfo() const { return m_uiInfo; }
  const uint32_t* GetCallbacks() const { return m_callbacks; }
  HINSTANCE GetInstance() const { return m_instance; }
  HMENU GetModuleMenu() const { return m_moduleMenu; }
  const std::string& GetInitText() const { return m_initText; }
  bool IsInitialised() const { return m_initialised; }
  // Initialised and not yet done. The host may be done with the plug-in
  // while one of its boxes or dialogs runs a modal loop: a command goes on
  // after one only while this holds.
  bool IsRunning() const { return m_initialised && !m_done; }
  // The host is done with the plug-in: nothing is shown, made or sent.
  bool IsDone() const { return m_done; }
  size_t CommandCount() const { return m_commands.size(); }
  char ThousandsSeparator() const { return m_thousandsSeparator[0]; }
  char DecimalSeparator() const { return m_decimalSeparator[0]; }
  void SetLocaleSeparators(char thousands, char decimal);

  void ReadLocaleSeparators();
  // A failure caught where the host or the system called in: the module's
  // failure log takes "<boundary>: <what>"; without one it goes to the debugger.
  void ReportFailure(const char* boundary, const char* what);
  static void DeleteMenuItems(HMENU menu);
  static int QueryHostOption(int category, int id, uint32_t* value);

  // Host record lookups over the host's classes (kind 2) and securities (kind 3).
  bool HasHostSubRecord(int recordIndex, uint32_t subMask);
  bool HasHostRecord(uint32_t mask);
  int FindItemRecordIndex(const char* name, const char* code);
  int FindNonReportItemIndex(uint32_t mask);
  const uint8_t* FindHostRecordByName(const char* name);
  int FindHostRecordIndex(uint32_t mask);

  // Numbers shown to and typed by the user, with the locale separators.
  char* FormatDouble(char* buffer, size_t size, double value, int precision, bool localeDecimal,
                     bool groupDigits);
  char* FormatRatio(char* buffer, size_t size, double numerator, int denominator);
  char* FormatScaled(char* buffer, size_t size, double value, int precision, bool localeDecimal,
                     bool groupDigits);
  void GroupDigits(char* out, size_t size, char* in, bool localeDecimal, bool groupDigits);
  double ParseNumber(char* text);
  double GetDlgItemDouble(HWND dialog, int controlId);

  // Edit filters for EN_UPDATE; the host decides which number texts it accepts.
  void ValidateIntegerEdit(HWND edit, int code, int maxDigits);
  void ValidateIntegerDlgItem(HWND dialog, int controlId, int code, int maxDigits);
  void ValidateDecimalEdit(HWND edit, int code, int fractionDigits, int integerDigits, int flagA,
                           int flagB);
  void ValidateDecimalDlgItem(HWND dialog, int controlId, int code, int fractionDigits,
                              int integerDigits, int flagA, int flagB);

 protected:
  // Error texts go to the caller's buffer truncated and terminated; a null
  // buffer or a size of 0 is not written.
  static void SetError(int* errorCode, int code, char* errorText, int errorTextSize,
                       const char* text);
  enum class InitStep { kDone, kMenus, kToolbar };
  InitStep FinishInitialisation();
  // Takes the plug-in's menus out of the host's menu bar; false when the
  // module has no menu with items.
  bool RemoveHostMenus();
  void RegisterRootChildClass();
  // Every window class the plug-in registered, the module's and its
  // controls', is undone when the module is done.
  void UnregisterWindowClasses();
  void SetFailureLog(std::function<void(const std::string&)> log) { m_failureLog = std::move(log); }

 private:
  std::map<int, int> m_commands;            // host command id -> own command id
  std::list<CZPluginDialog*> m_dialogs;
  HINSTANCE m_instance;
  uint32_t m_hostValue = 0;
  bool m_initialised = false;
  bool m_done = false;
  uint32_t m_hostFunctions[host::kFunctionCount] = {};
  uint32_t m_callbacks[host::kCallbackCount] = {};
  uint32_t m_uiInfo[host::kUiInfoFields] = {};
  std::string m_initText;
  char m_thousandsSeparator[2] = {};
  char m_decimalSeparator[2] = {};
  std::function<void(const std::string&)> m_failureLog;

 protected:
  HMENU m_moduleMenu = nullptr;
  std::list<CZPluginDialog*>& Dialogs() { return m_dialogs; }
};

extern CZenkPluginModule* g_pPluginModule;
CZenkPluginModule* GetPluginModule();
HINSTANCE GetModuleInstanceHandle();
// The host's font (UI information field 5); null without a module or before
// the host sent it.
HFONT GetHostFont();

// Window procedure of the class "CPluginRootChildWnd".
LRESULT CALLBACK RootChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
constexpr char kRootChildWndClass[] = "CPluginRootChildWnd";
