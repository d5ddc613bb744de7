// CVantrelModule: the product's one module object. The host reaches it
// through the SDK's module base; the DLL entry point creates and deletes it.
#pragma once

#include "module/host_data/client_book.h"
#include "module/host_data/client_filter_file.h"
#include "module/host_data/firm_settings_text.h"
#include "module/host_data/closing_order_book.h"
#include "module/host_data/host_item_list.h"
#include "module/closing/order_line.h"
#include "module/log/vantrel_log.h"
#include "module/recalc/firm_default_configs.h"
#include "module/notify/margin_call_service.h"
#include "module/notify/engine_clock.h"
#include "module/recalc_timer.h"
#include "module/reentry_guard.h"
#include "module/risk/client_code_rules.h"
#include "module/settings/calc_settings.h"
#include "module/settings/closing_settings.h"
#include "module/settings/module_settings.h"
#include "module/settings/transport_settings.h"
#include "sdk/plugin_module.h"
#include "windows/tables/orders_table_source.h"
#include "windows/tables/risk_table_source.h"
#include "windows/tables/table_columns.h"

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <vector>

class CVantrelModule : public CZenkPluginModule, public IRiskTableSource, public IOrdersTableSource {
 public:
  explicit CVantrelModule(HINSTANCE instance);
  ~CVantrelModule() override;

  // The host version this module runs in: 7.0.
  static constexpr uint32_t kHostVersion = host::MakeHostVersion(7, 0);

  bool OnPluginInitEx(uint32_t hostValue, const uint32_t* hostFunctions, uint32_t* callbacks,
                      const std::string& text, uint32_t hostVersion, uint32_t hostValue2,
                      int* errorCode, char* errorText, int errorTextSize) override;
  bool OnPluginInit(uint32_t hostValue, const uint32_t* hostFunctions, uint32_t* callbacks,
                    const std::string& text) override;
  bool OnModuleDone() override;
  void OnModuleStop() override;
  int RestoreWindow(uint32_t a, const char* caption, uint32_t b, uint32_t c, uint32_t d) override;
  void UpdateCommandStates() override;
  int OnMenuCommand(HWND window, int commandId, bool notFound) override;
  void OnHostNotificationA() override {}
  // Host callback entry 9: connects the margin-call database when storing is
  // on and it is not connected (the host's argument means nothing here).
  void OnHostNotificationB(uint32_t) override { m_marginCalls.ConnectDatabaseIfNeeded(); }
  int OnHostEvent(uint32_t event, const char* name, uint32_t p3, uint32_t p4) override;
  bool OnHostCommand(uint32_t kind, uint32_t code, const void* data, uint32_t size) override;
  void RequestQuoteParams() override;
  void OnTimerTick(uint32_t a, uint32_t b) override;
  int GetPluginParam(uint32_t code, uint32_t* value, uint32_t x) override;
  // Every open table recolours (or shows) its row of the object when it is of
  // the table's kind.
  bool BroadcastToTables(uint32_t kind, uint32_t object) override;
  void RegisterTable(CTablePlugin* table) override;
  void UnregisterTable(CTablePlugin* table, bool deleteIt) override;
  void RegisterDialog(CZPluginDialog* dialog) override;
  void UnregisterDialog(CZPluginDialog* dialog, bool deleteIt) override;
  void RegisterCommands() override;
  bool CheckHostCompatibility(uint32_t hostVersion, uint32_t hostValue2, int* errorCode,
                              char* errorText, int errorTextSize) override;
  bool AddMenus() override;
  // Opens a table window of a table type (210606 risk parameters, 210607
  // closing orders); restoring
  // reads the window's saved layout first. The window, or null.
  virtual HWND CreateTable(uint32_t type, bool restoring, uint32_t a, const char* caption, uint32_t b);

  // What the risk-parameters tables show.
  bool HasFirmSettings() const override { return m_hasFirmSettings; }
  std::vector<TClientRiskRecord*> RiskRecords() const override;
  const TRiskColorSettings& RiskColorSettings() const override;
  TFilterHandles RiskFilterHandles() const override;
  const TModuleSettings& RiskFilterSettings() const override { return m_settings; }
  TOrdersFilterLists RiskItemLists() override { return OrdersFilterLists(); }
  // What the closing-orders tables show.
  std::vector<ClosingOrderRecord*> ClosingOrderRows() const override;
  bool FilterOrdersByComment() const override { return m_closing.FilterOrdersByComment; }
  std::string ClosingComment() const override { return m_closing.Comment; }
  TOrdersFilterLists OrdersFilterLists() override;
  // Empties the client handle unless an open table's client filter selects
  // from it: emptying it would leave that filter pointing at nothing.
  void DropClientFilterItems() override;
  void WithdrawClosingOrder(const uint8_t* security, double orderNumber) override;
  // The withdrawal transaction of the order of that number; the transaction
  // id the host gives, -1 when it gives none. A class without a withdrawal
  // form sends nothing: the user is told.
  int32_t SendOrderNumTransaction(const uint8_t* security, double orderNumber);
  // Brings every open risk-parameters table up to date with the clients.
  void UpdateRiskTables();
  // True when an open risk-parameters table accepts the client by its filters.
  bool IsClientInAnyTable(const TClientRiskRecord* record) const;
  // Risk-parameters tables bound to a closing pattern (by its index).
  bool IsPatternUsedByTable(int patternIndex) const;
  void ResetTablePatternIndex(int patternIndex);
  // Fills the client filter of one risk table (a risk table window) or of
  // every risk table that has no filter file of its own (null) from a client
  // filter file ("AllowedClients" or "ExcludedClients"). A path that does
  // not fit (ClientFilterPathFits) is refused and the filters are left as
  // they were; a file that cannot be opened leaves them empty. Either is an
  // error in the log; telling the user (TellClientFilterFailure) is the
  // caller's, when the user's action caused the read.
  EClientFilterRead ReadClientFilterFile(const std::string& path, CTablePlugin* table);
  // Adds "client (firm)" to the clients handle and to those tables' filters.
  void AddClientToFilter(const std::string& text, CTablePlugin* table);
  // Re-arms the arbitrary-parameter (up) and modified margin level (ml2)
  // margin calls of every client.
  void ResetClientMarks(bool up, bool ml2);
  // A margin call of kind to one client from a risk table's command: the
  // body is text as the user edited it (compose false) or the kind's body
  // template; the subject is always the kind's. Delivered, stamped and
  // journaled like any other call. A run of such calls ends when the host
  // stopped the plug-in or was done with it during the call (EndsRun); no
  // client: nothing is sent.
  EMarginCallOutcome SendMarginCall(int kind, TClientRiskRecord* record, double level,
                                    std::string text, bool compose);
  // Margin calls of kind sent by hand that the host's stop (or its being
  // done) kept back: cut, the client whose call was on its way then and did
  // not go whole (empty: none), and the clients due one that got nothing. An
  // error line names the kind and the clients that got nothing (the cut call
  // names its own), and a box tells the manager; with nothing kept back,
  // nothing is told.
  void TellManualCallsStopped(int kind, const std::string& cut,
                              const std::vector<std::string>& notSent);
  // A template filled for the client (value as the tables show it), as the
  // text of a margin call to be edited before it is sent.
  std::string ComposeMarginCallText(const std::string& pattern, double value, const char* firm,
                                    const char* clientCode) const;

  // Both address files of the transport settings read afresh; a path that
  // was cleared empties its lists. What to tell of files that cannot be
  // opened, empty when none.
  std::string ReloadAddressFiles() { return m_marginCalls.ReloadAddressFiles(); }
  CMarginCallService& MarginCalls() { return m_marginCalls; }
  CVantrelLog& Log() { return m_log; }
  // Closing orders. Each send answers the host's transaction id, -1 when
  // the host took nothing; then failure, when given, tells why: the
  // plug-in's own reason or the host's error text (empty when it gave none).
  int32_t SendOrderTransaction(const char* firstText, const char* account, const uint8_t* security,
                               bool buy, double price, double quantity, const char* comment,
                               std::string* failure = nullptr);
  // Sends a line that was never sent and keeps its transaction id, and marks
  // the line refused, with the reason, when nothing was taken; any other line
  // is left as it is (-1).
  int32_t SendClosingOrders(TOrderLine& line);
  // One window for the clients of a table (or of the pattern's tables, by
  // schedule); the number of orders formed.
  int OpenClosingOrdersWindow(const TClosingPattern& pattern, CTablePlugin* table, bool bySchedule,
                              const TScheduleEntry* entry);
  // The window of one client; 0 when the client's window was open already.
  int OpenPrepOrdersDlg(const TClientRiskRecord* client, const TClosingPattern& pattern);
  bool OpenPrepOrdersWindow(const TClientRiskRecord* client);
  bool HasPrepOrdersDialog();
  void ClosePrepOrdersDialogs();
  void RefreshPrepOrdersDialogs();
  // Runs the auto-close entries that are due at now.
  void AutoCloseStep(const TEngineClock& now);
  void ReportClosingOrdersFormed(const TScheduleEntry& entry);
  // The clients of the closing orders the host reports active (null for a
  // client the module does not know).
  std::vector<TClientRiskRecord*> ActiveClosingOrderClients() const;

  void TraceLog(int level, const char* format, ...)
      __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));
  void MailLog(int level, const char* format, ...)
      __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));

  // Owner of the module's message boxes: the oldest registered dialog whose
  // window is still there, or none.
  HWND GetMainWindow() const;

  TModuleSettings& Settings() { return m_settings; }
  TTransportSettings& Transport() { return m_transport; }
  TCalcSettings& Calc() { return m_calc; }
  TClosingSettings& Closing() { return m_closing; }
  const std::vector<std::string>& Firms() const { return m_firms; }
  const std::list<CTablePlugin*>& Tables() const { return m_tables; }
  // The open table of that serial, or null once it is gone.
  CTablePlugin* FindTable(uint32_t serial) const;
  HBITMAP ContextBitmap(int which) const { return m_contextBitmaps[which]; }
  int TickCounter() const { return m_tickCounter; }
  int64_t StartTime() const { return m_startTime; }
  // How many times the host has stopped the plug-in's work (event 2, or the
  // stop that forgets the clients): a run of sends that began before a stop
  // sends nothing after it.
  uint32_t HostStops() const { return m_hostStops; }
  bool RecalcTimerRunning() const { return m_recalcTimer.Running(); }

  // The recalculation timer's run; skipped while a class is in a blocked
  // state or another run is going.
  void OnRecalcTimer();
  // Recomputes every client's risk parameters: a timer run, or a full run
  // after a firm's settings arrived.
  void RecalcRiskParams(bool fullRun);
  // Every client is decided afresh by the client-code change rules.
  void ResetClientRuleIndexes();

  CClientBook& Clients() { return m_clients; }
  // The plug-in's closing orders: the transactions sent and the host's answers.
  CClosingOrderBook& ClosingOrders() { return m_closingOrders; }
  // The open preparation windows follow an order the host reported.
  void AdvancePrepOrderWindows(const ClosingOrderRecord& order);
  const CClientCodeRules& Rules() const { return m_rules; }
  CHostItemList& ClientsFilter() { return m_clientsFilter; }
  CHostItemList& AccountsFilter() { return m_accountsFilter; }
  CHostItemList& FirmsFilter() { return m_firmsFilter; }
  // Writes every setting into info.ini, as the unload does.
  void SaveSettings();

 private:
  bool InitModule();
  void LoadSettings();
  void OnClosingOrderRecord(const uint8_t* record);
  void OnFirmSettings(const char* firm);
  void ReadAllFirmSettings(bool* recalculate);
  void ForgetRules();
  void RestartRecalcTimer();
  void EditGeneralSettings();
  void EditCalcSettings();
  void ToggleNotifications(HWND window);
  void EditTransportSettings();
  void EditNotificationSettings();
  void EditClosingSettings(HWND window);
  void DeleteTables();
  void ReleaseContextBitmaps();

  std::list<CTablePlugin*> m_tables;
  CClientCodeRules m_rules;
  CFirmSettingsText m_firmText;  // given back to the host in OnModuleDone
  CFirmDefaultConfigs m_defaultConfigs;
  std::vector<std::string> m_firms;
  CClientBook m_clients;
  CClosingOrderBook m_closingOrders;
  TModuleSettings m_settings;
  TTransportSettings m_transport;
  TCalcSettings m_calc;
  TClosingSettings m_closing;
  CVantrelLog m_log;
  CMarginCallService m_marginCalls{*this};
  HBITMAP m_contextBitmaps[2] = {};
  CHostItemList m_clientsFilter;
  CHostItemList m_accountsFilter;
  CHostItemList m_firmsFilter;
  TTableColumnSchemas m_columns;
  bool m_hasFirmSettings = false;
  mutable TRiskColorSettings m_riskColors;
  CRecalcTimer m_recalcTimer;
  CReentryGuard m_recalcRun;
  int m_tickCounter = 0;
  int64_t m_startTime = 0;
  uint32_t m_hostStops = 0;
};

extern CVantrelModule* g_pModule;
