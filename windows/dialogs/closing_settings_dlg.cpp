#include "windows/dialogs/closing_settings_dlg.h"

#include "module/vantrel_module.h"
#include "sdk/confirmation.h"
#include "sdk/host_call.h"
#include "sdk/search_list_box.h"
#include "windows/dialogs/closing_pattern_dlg.h"
#include "windows/dialogs/closing_settings_form.h"
#include "windows/dialogs/closing_settings_lists.h"
#include "windows/dialogs/edit_schedule_dlg.h"
#include "windows/dialogs/list_box_entries.h"

#include <commctrl.h>

namespace {
constexpr UINT kTemplate = 113;
constexpr uint32_t kDialogKind = 210605;
constexpr int kUpIcon = 20108, kDownIcon = 20109;
constexpr int kSpreadFractionDigits = 2, kSpreadIntegerDigits = 10;
// The host keeps this much of an order's comment; a longer comment would
// never match the orders it marks.
constexpr int kCommentLength = 34;
constexpr char kAttention[] = "Внимание";
constexpr char kUsedByTableQuestion[] =
    "Данный шаблон используется в одной или более таблиц риск-параметров. Продолжить?";

struct ScheduleColumn {
  const char* title;
  int width;
};
constexpr ScheduleColumn kScheduleColumns[] = {{"Время закрытия", 100}, {"Шаблон", 150}, {"Все клиенты", 100}};
}  // namespace

CVantrelClosingSettingsDlg::CVantrelClosingSettingsDlg(const TClosingSettings& closing)
    : CZPluginDialog("Настройки закрытия позиций", kTemplate, kDialogKind),
      m_closing(closing),
      m_instruments(ReadClosingInstruments()) {}

int CVantrelClosingSettingsDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  SetUpButtonIcons();
  SendMessageA(Item(kClosingCommentEdit), EM_LIMITTEXT, kCommentLength, 0);
  CDialogItemControls controls(GetDialogWindow());
  FillClosingSettingsControls(m_closing, controls);
  FillInstrumentLists();
  FillPatterns();
  SetUpScheduleList();
  CreateSearchListBox(Item(kClosingAvailableList));
  UpdateButtons();
  return result;
}

INT_PTR CVantrelClosingSettingsDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) DestroySearchListBox(Item(kClosingAvailableList));
  return CZPluginDialog::DialogProc(message, wParam, lParam);
}

void CVantrelClosingSettingsDlg::SetUpButtonIcons() {
  auto resources = static_cast<HINSTANCE>(HostCall<25>(host::kResourceModule));
  if (resources == nullptr) return;
  const struct { int button, icon; } icons[] = {{kClosingUpButton, kUpIcon}, {kClosingDownButton, kDownIcon}};
  for (const auto& each : icons) {
    // Shared: the icons stay the host module's.
    HANDLE icon = LoadImageA(resources, MAKEINTRESOURCEA(each.icon), IMAGE_ICON, 16, 16, LR_SHARED);
    SendMessageA(Item(each.button), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }
}

void CVantrelClosingSettingsDlg::SetUpScheduleList() {
  HWND list = Item(kClosingScheduleList);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  int index = 0;
  for (const ScheduleColumn& column : kScheduleColumns) {
    LVCOLUMNA header = {};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = const_cast<char*>(column.title);
    header.cx = column.width;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&header));
  }
  FillScheduleList(m_closing, list);
}

void CVantrelClosingSettingsDlg::FillInstrumentLists() {
  m_instruments.Fill(m_closing);
  WriteListBoxEntries(Item(kClosingAvailableList), m_instruments.Available());
  WriteListBoxEntries(Item(kClosingUsedList), m_instruments.Used());
  CDialogItemControls controls(GetDialogWindow());
  ShowInstrumentNotes(m_instruments, controls);
}

// Commands that fill the lists afresh from the copy first keep what the
// user put in the used list.
void CVantrelClosingSettingsDlg::KeepUsedList() {
  m_instruments.Take(ReadListBoxEntries(Item(kClosingUsedList)), m_closing);
}

void CVantrelClosingSettingsDlg::UpdateButtons() {
  CDialogItemControls controls(GetDialogWindow());
  UpdateClosingButtons(ReadListBoxEntries(Item(kClosingAvailableList)), ReadListBoxEntries(Item(kClosingUsedList)),
                       controls);
}

int CVantrelClosingSettingsDlg::OnCommandId(int id, int code, int third) {
  HWND window = GetDialogWindow();
  if (code == LBN_DBLCLK && (id == kClosingAvailableList || id == kClosingUsedList)) {
    MoveInstruments(id == kClosingAvailableList ? kClosingAddButton : kClosingRemoveButton);
    UpdateButtons();
  } else if (id == kClosingSpreadEdit) {
    g_pPluginModule->ValidateDecimalDlgItem(window, id, code, kSpreadFractionDigits, kSpreadIntegerDigits, 0, 0);
  } else if (code == EN_CHANGE) {
    // The comment, or the search text of the available list, which shows
    // fewer or more items.
    UpdateButtons();
  } else if (code == LBN_SELCHANGE && (id == kClosingAvailableList || id == kClosingUsedList)) {
    UpdateButtons();
  } else if (code == BN_CLICKED && id != IDOK && id != IDCANCEL) {
    OnClick(id);
    UpdateButtons();
  }
  return CZPluginDialog::OnCommandId(id, code, third);
}

void CVantrelClosingSettingsDlg::OnClick(int id) {
  CDialogItemControls controls(GetDialogWindow());
  switch (id) {
    case kClosingAddButton:
    case kClosingAddAllButton:
    case kClosingRemoveButton:
    case kClosingClearButton:
    case kClosingUpButton:
    case kClosingDownButton:
      MoveInstruments(id);
      break;
    case kClosingBaseAssetsBox:
      m_closing.UseBaseActive = controls.Checked(kClosingBaseAssetsBox);
      m_closing.SecsForClosing.clear();
      m_closing.BaseActiveForClosing.clear();
      EnableSecurityControls(m_closing, controls);
      FillInstrumentLists();
      break;
    case kClosingNamesBox:
      KeepUsedList();
      m_closing.ShowSecNamesInDlg = controls.Checked(kClosingNamesBox);
      FillInstrumentLists();
      break;
    case kClosingActualizeButton:
      KeepUsedList();
      m_instruments.Actualize(ReadPositionSecurityCodes(), m_closing);
      WriteListBoxEntries(Item(kClosingUsedList), m_instruments.Used());
      ShowInstrumentNotes(m_instruments, controls);
      break;
    case kClosingAutoCloseBox:
      m_closing.UseAutoClose = controls.Checked(kClosingAutoCloseBox);
      break;
    case kClosingAddPatternButton:
      AddPattern();
      break;
    case kClosingEditPatternButton:
      EditPattern();
      break;
    case kClosingDeletePatternButton:
      DeletePattern();
      break;
    case kClosingDefaultPatternButton:
      MakeDefaultPattern();
      break;
    case kClosingAddEntryButton:
      EditEntry(true);
      break;
    case kClosingEditEntryButton:
      EditEntry(false);
      break;
    case kClosingDeleteEntryButton:
      DeleteEntry();
      break;
    default:
      break;
  }
}

void CVantrelClosingSettingsDlg::MoveInstruments(int id) {
  TListEntries used = ReadListBoxEntries(Item(kClosingUsedList));
  if (id == kClosingAddButton || id == kClosingAddAllButton)
    CopyEntries(ReadListBoxEntries(Item(kClosingAvailableList)), id == kClosingAddAllButton, used);
  else if (id == kClosingRemoveButton)
    RemoveSelectedEntries(used);
  else if (id == kClosingClearButton)
    used.clear();
  else
    MoveSelectedEntries(used, id == kClosingUpButton ? -1 : 1);
  WriteListBoxEntries(Item(kClosingUsedList), used);
}

void CVantrelClosingSettingsDlg::MakeDefaultPattern() {
  const int index = SelectedListBoxData(Item(kClosingPatternList));
  if (index < 0) return;
  m_closing.DefaultPattern = index;
  FillPatterns();
}

void CVantrelClosingSettingsDlg::FillPatterns() {
  FillPatternList(GetDialogWindow(), kClosingPatternList, m_closing, false);
}

void CVantrelClosingSettingsDlg::AddPattern() {
  TClosingPattern pattern;
  pattern.PatternName = NewPatternName(m_closing);
  CVantrelClosingPatternDlg dialog(pattern);
  if (dialog.DoModal(GetDialogWindow()) == IDOK) ::AddPattern(m_closing, dialog.Pattern());
  FillPatterns();
}

void CVantrelClosingSettingsDlg::EditPattern() {
  const int index = SelectedListBoxData(Item(kClosingPatternList));
  if (index < 0 || index >= static_cast<int>(m_closing.Patterns.size())) return;
  CVantrelClosingPatternDlg dialog(*m_closing.Patterns[index]);
  if (dialog.DoModal(GetDialogWindow()) == IDOK) *m_closing.Patterns[index] = dialog.Pattern();
  FillPatterns();
  FillScheduleList(m_closing, Item(kClosingScheduleList));
}

void CVantrelClosingSettingsDlg::DeletePattern() {
  const int index = SelectedListBoxData(Item(kClosingPatternList));
  if (index < 0 || index >= static_cast<int>(m_closing.Patterns.size())) return;
  if (!Confirm(PatternDeletionQuestion(m_closing, index))) return;
  if (g_pModule != nullptr && g_pModule->IsPatternUsedByTable(index) && !Confirm(kUsedByTableQuestion)) return;
  ::DeletePattern(m_closing, index);
  FillPatterns();
  FillScheduleList(m_closing, Item(kClosingScheduleList));
}

bool CVantrelClosingSettingsDlg::Confirm(const std::string& question) {
  return UserConfirms(GetDialogWindow(), question.c_str(), kAttention, MB_OKCANCEL | MB_ICONEXCLAMATION);
}

int CVantrelClosingSettingsDlg::SelectedEntry() const {
  HWND list = Item(kClosingScheduleList);
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
  if (item.iItem < 0 || !SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  const int index = static_cast<int>(item.lParam);
  return index < static_cast<int>(m_closing.AutoCloseSchedule.size()) ? index : -1;
}

void CVantrelClosingSettingsDlg::EditEntry(bool add) {
  const int index = add ? -1 : SelectedEntry();
  if (!add && index < 0) return;
  CVantrelEditScheduleDlg dialog(m_closing, add ? nullptr : &m_closing.AutoCloseSchedule[index]);
  if (dialog.DoModal(GetDialogWindow()) != IDOK) return;
  const TScheduleEntry& entry = dialog.Entry();
  if (add)
    m_closing.AddAutoCloseEntry(entry.Minutes, entry.PatternIndex, entry.AllClients);
  else
    m_closing.AutoCloseSchedule[index] = entry;
  FillScheduleList(m_closing, Item(kClosingScheduleList));
}

void CVantrelClosingSettingsDlg::DeleteEntry() {
  const int index = SelectedEntry();
  if (index < 0) return;
  m_closing.AutoCloseSchedule.erase(m_closing.AutoCloseSchedule.begin() + index);
  FillScheduleList(m_closing, Item(kClosingScheduleList));
}

int CVantrelClosingSettingsDlg::OnOK() {
  KeepUsedList();
  const CDialogItemControls controls(GetDialogWindow());
  TakeClosingSettingsControls(controls, m_closing);
  return CZPluginDialog::OnOK();
}
