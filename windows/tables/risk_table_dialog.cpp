// The create/edit dialog of the risk-parameters table (template 101): the
// firm, client and trading-account filters, the client and position types,
// the table's filter file, the funds-sufficiency and margin-call conditions
// and the closing pattern. The SDK's procedure handles the name and columns.
#include "windows/tables/risk_params_table.h"

#include "module/file_helpers.h"
#include "module/host_data/client_filter_file.h"
#include "module/trimmed_number.h"
#include "module/vantrel_module.h"
#include "sdk/host_call.h"
#include "sdk/modal_loops.h"
#include "windows/tables/host_filter_choice.h"
#include "windows/tables/orders_table_source.h"

namespace {
enum : int {
  kSfrBox = 1035,
  kMarginCallBox = 1037,
  kClientFilterButton = 1041,
  kAccountFilterButton = 1042,
  kFirmFilterButton = 1054,
  kNotificationList = 1082,
  kSfrLevelEdit = 1083,
  kClientFilterBox = 1084,
  kAccountFilterBox = 1085,
  kFirmFilterBox = 1086,
  kPatternList = 1121,
  kFromFileBox = 1129,
  kFilePathEdit = 1130,
  kBrowseButton = 1131,
  kReloadButton = 1132,
  kPlainClientsBox = 1153,
  kStockClientsBox = 1154,
  kNoStockClientsBox = 1155,
  kPositionRadioBase = 1215,
  kOnlyFuturesRadio = 1216,
  kOnlyOptionsRadio = 1217,
  kFuturesAndOptionsRadio = 1218,
};

constexpr char kCreateTitle[] = "Создание таблицы";
constexpr char kEditTitle[] = "Редактирование таблицы";
constexpr int kMl2Notification = 7;
constexpr int kSfrIntegerDigits = 6, kSfrFractionDigits = 10;
// The file dialog gives a path of at most MAX_PATH - 1 characters; the
// path edit takes, and OK and the reload read back, as many.
constexpr int kPathBufferSize = MAX_PATH;

// The filter dialog that is open (a modal one, so one at a time); a table
// dialog run by the SDK's procedure alone has no filter controls to read.
HWND g_filterDialog = nullptr;
// Set when that dialog's reload read the file into the table's own filter,
// so that Cancel, which puts the filter back, puts the rows back too.
bool g_filterReloaded = false;
// The file that dialog's reload could not read and said so: its OK does not
// say it again.
std::string g_filterFailureTold;

struct Notification {
  const char* text;
  int type;
};
const Notification kNotifications[] = {
    {"Остаток своб.ср-в", 1},
    {"Уровень дост.ср-в", 2},
    {"Уровень дост.ср-в (под открытые позиции)", 9},
    {"Коэф.ликвидности ГО", 3},
    {"Ожид.коэф.ликвидности ГО", 4},
    {"Композитный критерий", 5},
    {"Произвольный параметр", 6},
    {"Уровень маржи", 7},
};

// One of the three host filters: its box, its button, the module's items
// behind it and the title of the host's filter dialog.
struct FilterControl {
  int box;
  int button;
  host::FilterSelection* filter;
  host::ItemList* items;
  const char* title;
};

CVantrelModule* Module() { return dynamic_cast<CVantrelModule*>(GetPluginModule()); }

bool Editing(CVantrelFutRiskParamsTable* table) {
  return table->GetView() != nullptr && table->GetView()->GetList() != nullptr;
}

// An edit works on the copies the edit command made; a new table on its own filters.
void FilterControls(CVantrelFutRiskParamsTable* table, FilterControl controls[3]) {
  const bool editing = Editing(table);
  controls[0] = {kClientFilterBox, kClientFilterButton, editing ? &g_editFilters.client : table->GetClientFilter(),
                 Module()->ClientsFilter().Handle(), "Фильтр клиентов"};
  controls[1] = {kAccountFilterBox, kAccountFilterButton,
                 editing ? &g_editFilters.account : table->GetAccountFilter(), Module()->AccountsFilter().Handle(),
                 "Фильтр торговых счетов"};
  controls[2] = {kFirmFilterBox, kFirmFilterButton, editing ? &g_editFilters.firm : table->GetFirmFilter(),
                 Module()->FirmsFilter().Handle(), "Фильтр фирм"};
}

void Tick(HWND dialog, int box, bool ticked) { CheckDlgButton(dialog, box, ticked ? BST_CHECKED : BST_UNCHECKED); }
bool Ticked(HWND dialog, int box) { return IsDlgButtonChecked(dialog, box) == BST_CHECKED; }
void Enable(HWND dialog, int id, bool enable) { EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE); }

int Selection(HWND dialog, int list) {
  return static_cast<int>(SendDlgItemMessageA(dialog, list, CB_GETCURSEL, 0, 0));
}
int SelectedData(HWND dialog, int list) {
  return static_cast<int>(SendDlgItemMessageA(dialog, list, CB_GETITEMDATA, Selection(dialog, list), 0));
}
void SelectByData(HWND dialog, int list, int data) {
  const int count = static_cast<int>(SendDlgItemMessageA(dialog, list, CB_GETCOUNT, 0, 0));
  for (int n = 0; n < count; ++n)
    if (static_cast<int>(SendDlgItemMessageA(dialog, list, CB_GETITEMDATA, n, 0)) == data) {
      SendDlgItemMessageA(dialog, list, CB_SETCURSEL, n, 0);
      return;
    }
}
void AddItem(HWND dialog, int list, const char* text, int data) {
  const auto index = SendDlgItemMessageA(dialog, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (index >= 0) SendDlgItemMessageA(dialog, list, CB_SETITEMDATA, index, data);
}

bool PatternChosen(HWND dialog) { return Selection(dialog, kPatternList) >= 0; }

void FillPatterns(HWND dialog, CVantrelFutRiskParamsTable* table) {
  const TClosingSettings& closing = Module()->Closing();
  for (size_t n = 0; n < closing.Patterns.size(); ++n)
    if (closing.Patterns[n] != nullptr)
      AddItem(dialog, kPatternList, closing.Patterns[n]->PatternName.c_str(), static_cast<int>(n));
  // Only a new table takes the default pattern.
  if (!Editing(table) && table->GetPatternIndex() == -1) {
    SelectByData(dialog, kPatternList, closing.DefaultPattern);
    if (PatternChosen(dialog)) table->SetPatternIndex(closing.DefaultPattern);
  } else {
    SelectByData(dialog, kPatternList, table->GetPatternIndex());
  }
}

void InitDialog(HWND dialog, CVantrelFutRiskParamsTable* table, const FilterControl controls[3]) {
  TRiskTableFilter& filter = table->Filter();
  filter.PendConditions();
  Tick(dialog, kSfrBox, filter.UseSfrLevel);
  Tick(dialog, kMarginCallBox, filter.UseMarginCallCondition);
  for (int n = 0; n < 3; ++n) Tick(dialog, controls[n].box, HostCall<53>(controls[n].filter) != 0);

  Enable(dialog, kNotificationList, filter.UseMarginCallCondition);
  for (const Notification& notification : kNotifications)
    AddItem(dialog, kNotificationList, notification.text, notification.type);
  SelectByData(dialog, kNotificationList, filter.NotificationType);

  char level[64];
  FormatTrimmedDouble(level, sizeof level, filter.SfrLevel, Module()->DecimalSeparator());
  SetDlgItemTextA(dialog, kSfrLevelEdit, level);
  Enable(dialog, kSfrLevelEdit, filter.UseSfrLevel);

  // An edit is titled as one, whatever title the table was made with.
  CZPluginTableView* view = table->GetView();
  if (Editing(table) || (view->DialogCaption() != kCreateTitle && view->DialogCaption() != kEditTitle))
    view->SetDialogCaption(kEditTitle);

  FillPatterns(dialog, table);

  Tick(dialog, kPlainClientsBox, (filter.ClientTypes & kClientsWithoutUnitedPosition) != 0);
  Tick(dialog, kStockClientsBox, (filter.ClientTypes & kUnitedClientsWithStockValues) != 0);
  Tick(dialog, kNoStockClientsBox, (filter.ClientTypes & kUnitedClientsWithoutStockValues) != 0);
  const bool everyType = (static_cast<uint32_t>(Module()->Settings().ClientsType2) & kEveryClientType) == kEveryClientType;
  for (int box : {kPlainClientsBox, kStockClientsBox, kNoStockClientsBox}) Enable(dialog, box, everyType);

  Tick(dialog, kFromFileBox, table->GetFilterFromFile());
  SendDlgItemMessageA(dialog, kFilePathEdit, EM_LIMITTEXT, kPathBufferSize - 1, 0);
  SetDlgItemTextA(dialog, kFilePathEdit, filter.FilterFilePath.c_str());
  for (int button : {kBrowseButton, kReloadButton}) Enable(dialog, button, table->GetFilterFromFile());

  if (filter.PositionType >= kOnlyFutures && filter.PositionType <= kFuturesAndOptions)
    CheckRadioButton(dialog, kOnlyFuturesRadio, kFuturesAndOptionsRadio, kPositionRadioBase + filter.PositionType);
}

void OnFilterCommand(HWND dialog, const FilterControl& control, bool fromBox) {
  ChooseHostFilter(dialog, control.box, control.title, control.items, control.filter, fromBox);
}

void OnNotificationChosen(HWND dialog, TRiskTableFilter& filter) {
  if (Selection(dialog, kNotificationList) < 0) return;
  const int type = SelectedData(dialog, kNotificationList);
  const int ml2Param = Module()->Settings().ML2Param;
  if (type == kMl2Notification && (ml2Param == -1 || ml2Param == 0)) {
    ShowMessageBox(dialog, "Для установки данного фильтра необходимо настроить параметры соответствующего оповещения",
                "Ошибка", MB_OK | MB_ICONSTOP);
    SelectByData(dialog, kNotificationList, filter.PendingNotificationType);
    return;
  }
  filter.PendingNotificationType = type;
}

void BrowseFilterFile(HWND dialog) {
  char path[kPathBufferSize] = {};
  if (BrowseForFile(dialog, path, sizeof path)) SetDlgItemTextA(dialog, kFilePathEdit, path);
}

// The file goes into the table's own client filter; an edit shows it through its copy.
void ReloadFilterFile(HWND dialog, CVantrelFutRiskParamsTable* table, const FilterControl& clients) {
  char path[kPathBufferSize] = {};
  GetDlgItemTextA(dialog, kFilePathEdit, path, sizeof path);
  const EClientFilterRead result = Module()->ReadClientFilterFile(path, table);
  g_filterReloaded = true;
  if (clients.filter != table->GetClientFilter()) HostCall<55>(clients.filter, table->GetClientFilter());
  Tick(dialog, clients.box, HostCall<53>(clients.filter) != 0);
  TellClientFilterFailure(dialog, result, path);
  g_filterFailureTold = result == EClientFilterRead::kRead ? std::string() : std::string(path);
}

// True when the message is answered here and goes no further.
bool OnCommand(HWND dialog, CVantrelFutRiskParamsTable* table, int id, int code, const FilterControl controls[3]) {
  TRiskTableFilter& filter = table->Filter();
  if (id == kSfrLevelEdit) {
    if (code == EN_UPDATE)
      Module()->ValidateDecimalDlgItem(dialog, kSfrLevelEdit, code, kSfrFractionDigits, kSfrIntegerDigits, 1, 0);
    else if (code == EN_CHANGE)
      filter.PendingSfrLevel = Module()->GetDlgItemDouble(dialog, kSfrLevelEdit);
    return false;
  }
  if (id == kNotificationList && code == CBN_SELCHANGE) OnNotificationChosen(dialog, filter);
  if (id == kPatternList && code == CBN_SELCHANGE) {
    if (PatternChosen(dialog)) table->SetPatternIndex(SelectedData(dialog, kPatternList));
    // The SDK's own test of OK decides now.
    table->GetView()->UpdateTableDialogButtons();
  }
  if (code != BN_CLICKED) return false;
  for (int n = 0; n < 3; ++n)
    if (id == controls[n].box || id == controls[n].button) OnFilterCommand(dialog, controls[n], id == controls[n].box);
  switch (id) {
    case kSfrBox:
      filter.PendingUseSfrLevel = Ticked(dialog, kSfrBox);
      Enable(dialog, kSfrLevelEdit, filter.PendingUseSfrLevel);
      break;
    case kMarginCallBox:
      filter.PendingUseMarginCallCondition = Ticked(dialog, kMarginCallBox);
      Enable(dialog, kNotificationList, filter.PendingUseMarginCallCondition);
      break;
    case kFromFileBox:
      for (int button : {kBrowseButton, kReloadButton}) Enable(dialog, button, Ticked(dialog, kFromFileBox));
      break;
    case kBrowseButton: BrowseFilterFile(dialog); break;
    case kReloadButton: ReloadFilterFile(dialog, table, controls[0]); break;
    // A table is never confirmed without a closing pattern, even by an OK
    // that did not come from the disabled button.
    case IDOK: return !PatternChosen(dialog);
  }
  return false;
}
}  // namespace

bool CVantrelFutRiskParamsTable::OnTableDialogApply(HWND dialog) {
  if (dialog != g_filterDialog) return true;
  uint32_t types = 0;
  if (Ticked(dialog, kPlainClientsBox)) types |= kClientsWithoutUnitedPosition;
  if (Ticked(dialog, kStockClientsBox)) types |= kUnitedClientsWithStockValues;
  if (Ticked(dialog, kNoStockClientsBox)) types |= kUnitedClientsWithoutStockValues;
  filter_.ClientTypes = types;
  filterFromFile_ = Ticked(dialog, kFromFileBox);
  char path[kPathBufferSize] = {};
  GetDlgItemTextA(dialog, kFilePathEdit, path, sizeof path);
  filter_.FilterFilePath = path;
  if (Ticked(dialog, kFuturesAndOptionsRadio)) filter_.PositionType = kFuturesAndOptions;
  else if (Ticked(dialog, kOnlyFuturesRadio)) filter_.PositionType = kOnlyFutures;
  else if (Ticked(dialog, kOnlyOptionsRadio)) filter_.PositionType = kOnlyOptions;
  filter_.TakePendingConditions();
  return true;
}

bool CVantrelFutRiskParamsTable::EditWithFilters() {
  if (GetView() == nullptr) return false;
  // The dialog's reload reads the file into the table's own client filter:
  // a cancelled edit puts the filter back.
  host::FilterSelection kept = {};
  HostCall<55>(&kept, &filters_.first);
  HostCall<55>(&g_editFilters.client, &filters_.first);
  HostCall<55>(&g_editFilters.account, &filters_.second);
  HostCall<55>(&g_editFilters.firm, &firmFilter_);
  const bool wasFromFile = filterFromFile_;
  const std::string oldPath = filter_.FilterFilePath;
  g_filterReloaded = false;
  g_filterFailureTold.clear();
  const bool confirmed = EditTable();
  // The table went, or the host was done with the plug-in, while the dialog
  // was open: nothing is read or shown for it any more.
  if (WindowGone() || PluginIsDone()) {
    HostCall<54>(&kept);
    return false;
  }
  if (confirmed) {
    HostCall<55>(&filters_.first, &g_editFilters.client);
    HostCall<55>(&filters_.second, &g_editFilters.account);
    HostCall<55>(&firmFilter_, &g_editFilters.firm);
    // A filter file newly chosen decides the rows now, not at the next start.
    EClientFilterRead result = EClientFilterRead::kRead;
    if (filterFromFile_ && (!wasFromFile || filter_.FilterFilePath != oldPath))
      result = Module()->ReadClientFilterFile(filter_.FilterFilePath, this);
    FillRows();
    if (filter_.FilterFilePath != g_filterFailureTold) TellClientFilterFailure(GetHwnd(), result, filter_.FilterFilePath);
  } else {
    HostCall<55>(&filters_.first, &kept);
    // A recalculation while the dialog was open showed the reloaded clients.
    if (g_filterReloaded) FillRows();
  }
  HostCall<54>(&kept);
  return confirmed;
}

INT_PTR CALLBACK RiskTableDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(g_pTableBeingCreated);
  if (table != nullptr && table->GetView() != nullptr && Module() != nullptr) {
    FilterControl controls[3];
    FilterControls(table, controls);
    if (message == WM_INITDIALOG) {
      g_filterDialog = dialog;
      InitDialog(dialog, table, controls);
    }
    if (message == WM_DESTROY && dialog == g_filterDialog) g_filterDialog = nullptr;
    if (message == WM_COMMAND && OnCommand(dialog, table, LOWORD(wParam), HIWORD(wParam), controls)) return TRUE;
  }
  const INT_PTR result = TableSettingsDlgProc(dialog, message, wParam, lParam);
  // The SDK enables OK by the columns alone; without a closing pattern it stays disabled.
  if (dialog == g_filterDialog && (message == WM_INITDIALOG || message == WM_COMMAND) && !PatternChosen(dialog))
    Enable(dialog, IDOK, false);
  return result;
}
