// The module's table windows: creating and restoring them, and keeping the
// risk-parameters tables up to date with the clients.
#include "module/vantrel_module.h"

#include "module/notify/engine_sent_marks.h"
#include "module/risk/margin_call_kinds.h"
#include "module/table_refresh.h"
#include "sdk/table_view.h"
#include "windows/tables/orders_table.h"
#include "windows/tables/risk_params_table.h"
#include "windows/tables/risk_row_colours.h"

#include <cstring>
#include <string>

namespace {
constexpr uint32_t kWindowStateVersion = 20090420;
constexpr int kTableIcon = 20003;
constexpr char kRiskTableCaption[] = "Риск-параметры срочного рынка";
constexpr char kTableDialogTitle[] = "Создание таблицы";
constexpr UINT kTableDialogTemplate = 101;
constexpr size_t kCaptionCapacity = 511;
constexpr char kOrdersTableCaption[] = "Заявки по закрытию позиций клиентов";
constexpr UINT kOrdersDialogTemplate = 116;
}  // namespace

HWND CVantrelModule::CreateTable(uint32_t type, bool restoring, uint32_t, const char* caption,
                                 uint32_t) {
  CTablePlugin* table = nullptr;
  if (type == kRiskTableType)
    table = new (std::nothrow) CVantrelFutRiskParamsTable(
        &m_columns.risk, caption != nullptr ? caption : kRiskTableCaption, kTableDialogTitle,
        kTableDialogTemplate, RiskTableDlgProc, kRiskTableType);
  else if (type == kOrdersTableType)
    table = new (std::nothrow) CVantrelOrdersTable(
        &m_columns.orders, caption != nullptr ? caption : kOrdersTableCaption, kTableDialogTitle,
        kOrdersDialogTemplate, OrdersTableDlgProc, kOrdersTableType);
  if (table == nullptr) return nullptr;
  if (restoring && !table->LoadState()) {
    delete table;
    return nullptr;
  }
  // A restored risk table with a filter file of its own has read that file.
  auto* risk = dynamic_cast<CVantrelFutRiskParamsTable*>(table);
  EClientFilterRead generalRead = EClientFilterRead::kRead;
  if (m_settings.NeedReadFilterFromFile && (risk == nullptr || !risk->GetFilterFromFile()))
    generalRead = ReadClientFilterFile(m_settings.FilterFileName, table);
  HWND window = table->Create();
  if (window == nullptr) {
    delete table;
    return nullptr;
  }
  // A new table told to read a filter file of its own reads it once
  // confirmed. The manager who made a risk table is told what it shows when
  // a file could not be read; a restored one, or another kind of table,
  // which the message would not be about, only leaves it in the log.
  if (!restoring && risk != nullptr && risk->GetFilterFromFile()) {
    const EClientFilterRead ownRead = ReadClientFilterFile(risk->Filter().FilterFilePath, risk);
    risk->FillRows();
    TellClientFilterFailure(window, ownRead, risk->Filter().FilterFilePath);
  } else if (!restoring && risk != nullptr) {
    TellClientFilterFailure(window, generalRead, m_settings.FilterFileName);
  }
  // Done while the manager read the message: the table is gone with the rest.
  if (IsDone()) return nullptr;
  auto resources = static_cast<HINSTANCE>(CallHost<25>(host::kResourceModule));
  if (HICON icon = LoadIconA(resources, MAKEINTRESOURCEA(kTableIcon)))
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  return window;
}

int CVantrelModule::RestoreWindow(uint32_t a, const char* caption, uint32_t b, uint32_t c,
                                  uint32_t d) {
  CallHost<59>(c, d);
  uint32_t marker = 0, kind = 0;  // a host that answers without filling gives no table
  HWND window = nullptr;
  if (CallHost<63>(&marker, sizeof marker) != 0 && marker == kWindowStateVersion &&
      CallHost<63>(&kind, sizeof kind) != 0) {
    // The host's caption is read no further than a window caption holds: a
    // text it forgot to end must not be read past its buffer.
    const std::string bounded =
        caption != nullptr ? std::string(caption, strnlen(caption, kCaptionCapacity)) : "";
    window = CreateTable(kind, true, a, caption != nullptr ? bounded.c_str() : nullptr, b);
  }
  CallHost<60>();
  return static_cast<int>(reinterpret_cast<intptr_t>(window));
}

std::vector<TClientRiskRecord*> CVantrelModule::RiskRecords() const {
  std::vector<TClientRiskRecord*> records;
  records.reserve(m_clients.Clients().size());
  for (const auto& client : m_clients.Clients()) records.push_back(client.second.get());
  return records;
}

const TRiskColorSettings& CVantrelModule::RiskColorSettings() const {
  m_riskColors.NormalColor = m_settings.NormalColor;
  m_riskColors.WarningColor = m_settings.WarningColor;
  m_riskColors.CriticalColor = m_settings.CriticalColor;
  m_riskColors.SFRWarningLevel = m_settings.SFRWarningLevel;
  m_riskColors.SFRCriticalLevel = m_settings.SFRCriticalLevel;
  m_riskColors.SFRWarningLevel_fp = m_settings.SFRWarningLevel_fp;
  m_riskColors.SFRCriticalLevel_fp = m_settings.SFRCriticalLevel_fp;
  return m_riskColors;
}

TFilterHandles CVantrelModule::RiskFilterHandles() const {
  return {m_clientsFilter.Handle(), m_accountsFilter.Handle()};
}

void CVantrelModule::UpdateRiskTables() {
  const TRiskColorSettings& colorSettings = RiskColorSettings();
  for (CTablePlugin* plugin : m_tables) {
    auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(plugin);
    if (table == nullptr || table->GetView() == nullptr) continue;
    for (auto& client : m_clients.Clients()) client.second->listed = false;
    CZPluginTableView* view = table->GetView();
    // Line 0 is the header; the rest carry one client each.
    int rows = view->GetRowCount();
    for (int line = 1; line < rows; ++line) {
      auto* record = static_cast<TClientRiskRecord*>(view->GetRowObject(line));
      if (!table->AcceptsRecord(record) || record->ExclusionMark != kRuleIncluded) {
        table->DeleteRow(record);
        --line;
        --rows;
      } else {
        const TableRowColours colours = RiskRowColours(colorSettings, record);
        table->UpsertRow(record, -1, kRowUpdate, &colours);
      }
      record->listed = true;
    }
    for (auto& client : m_clients.Clients()) {
      TClientRiskRecord* record = client.second.get();
      if (record->listed || record->ExclusionMark != kRuleIncluded) continue;
      const TableRowColours colours = RiskRowColours(colorSettings, record);
      table->UpsertRow(record, -1, kRowInsert, &colours);
    }
  }
}

bool CVantrelModule::IsClientInAnyTable(const TClientRiskRecord* record) const {
  for (CTablePlugin* plugin : m_tables) {
    auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(plugin);
    if (table != nullptr && table->AcceptsRecord(const_cast<TClientRiskRecord*>(record))) return true;
  }
  return false;
}

void CVantrelModule::DropClientFilterItems() {
  for (CTablePlugin* plugin : m_tables) {
    const host::FilterSelection* filter = nullptr;
    if (auto* risk = dynamic_cast<CVantrelFutRiskParamsTable*>(plugin)) filter = risk->GetClientFilter();
    else if (auto* orders = dynamic_cast<CVantrelOrdersTable*>(plugin)) filter = orders->GetClientFilter();
    if (filter != nullptr && CallHost<53>(filter) != 0) return;
  }
  m_clientsFilter.Release();
}

bool CVantrelModule::IsPatternUsedByTable(int patternIndex) const {
  for (CTablePlugin* plugin : m_tables) {
    auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(plugin);
    if (table != nullptr && table->GetPatternIndex() == patternIndex) return true;
  }
  return false;
}

void CVantrelModule::ResetTablePatternIndex(int patternIndex) {
  for (CTablePlugin* plugin : m_tables) {
    auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(plugin);
    if (table != nullptr && table->GetPatternIndex() == patternIndex) table->SetPatternIndex(-1);
  }
}

void CVantrelModule::ResetClientMarks(bool up, bool ml2) {
  for (auto& client : m_clients.Clients()) {
    if (up) Rearm(*client.second, kUpKind);
    if (ml2) Rearm(*client.second, kMl2Kind);
  }
}
