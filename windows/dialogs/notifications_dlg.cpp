#include "windows/dialogs/notifications_dlg.h"

#include <commctrl.h>

#include "sdk/modal_loops.h"
#include "windows/dialogs/notification_page_windows.h"
#include "windows/dialogs/rich_edit_library.h"

namespace {
constexpr UINT kTemplate = 118;
constexpr uint32_t kDialogKind = 210605;
constexpr int kPageGap = 5;
constexpr int kGeneralPage = 124;

// Captions of the page tree in the string table.
enum : int32_t {
  kLiquidityCoefCaption = 1,
  kExpectedLiquidityCoefCaption = 2,
  kNegativeFundsCaption = 3,
  kFundsSufficiencyCaption = 4,
  kCompositeCriterionCaption = 5,
  kMarginLevelCaption = 6,
  kArbitraryParamCaption = 7,
  kMarginCallKindsCaption = 8,
  kGeneralCaption = 20,
  kFundsSufficiencyFpCaption = 23,
};
}  // namespace

// Page 107's body is a rich edit.
CVantrelNotificationsDlg::CVantrelNotificationsDlg(const TModuleSettings& live)
    : CZPluginDialog("Настройки оповещений", kTemplate, kDialogKind), m_settings(live) {
  LoadRichEditLibrary();
}

void CVantrelNotificationsDlg::BuildTree() {
  TreeItemList& items = m_tree.Items();
  items.Clear();
  TreeItem general(kGeneralCaption, "", kGeneralPage);
  general.selected = true;
  items.Add(general);
  TreeItem kinds(kMarginCallKindsCaption, "", 0);
  kinds.expanded = true;
  const int32_t children[][2] = {{kNegativeFundsCaption, 107},         {kFundsSufficiencyCaption, 108},
                                 {kFundsSufficiencyFpCaption, 126},    {kLiquidityCoefCaption, 109},
                                 {kExpectedLiquidityCoefCaption, 111}, {kCompositeCriterionCaption, 110},
                                 {kMarginLevelCaption, 117},           {kArbitraryParamCaption, 112}};
  for (const auto& child : children) kinds.AddChild(TreeItem(child[0], "", child[1]));
  items.Add(kinds);
}

int CVantrelNotificationsDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  HWND dialog = GetDialogWindow();
  HWND tree = GetDlgItem(dialog, kNotificationTree);
  if (tree == nullptr) return result;
  CheckDlgButton(dialog, kConsiderFiltersBox, m_settings.ConsiderFilters ? BST_CHECKED : BST_UNCHECKED);
  BuildTree();
  m_tree.Attach(tree);
  m_tree.InsertAll();
  SetFocus(tree);
  return FALSE;
}

void CVantrelNotificationsDlg::OnNotify(WPARAM, LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->idFrom != kNotificationTree) return;
  m_tree.OnTreeNotify(header->code, header);
  if (header->code == TVN_SELCHANGEDA)
    ShowPage(static_cast<int>(reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.lParam));
}

// A page is made once and hidden while another is shown, so what the user
// typed stays until OK or Cancel.
void CVantrelNotificationsDlg::ShowPage(int templateId) {
  HWND dialog = GetDialogWindow();
  if (m_shownPage != nullptr) ::ShowWindow(m_shownPage, SW_HIDE);
  m_shownPage = nullptr;
  const TNotificationPage* page = FindNotificationPage(templateId);
  if (page == nullptr) return;
  HWND window = GetDlgItem(dialog, templateId);
  if (window == nullptr) {
    window = CreateNotificationPage(dialog, *page, m_settings);
    if (window == nullptr) return;
    HWND tree = GetDlgItem(dialog, kNotificationTree);
    RECT treeRect;
    GetWindowRect(tree, &treeRect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&treeRect), 2);
    SetWindowPos(window, tree, treeRect.right + kPageGap, treeRect.top - kPageGap, 0, 0, SWP_NOSIZE);
  }
  ::ShowWindow(window, SW_SHOW);
  m_shownPage = window;
}

// Pages never shown keep their settings. A refused page stops OK with the
// dialog open; the pages before it are in the copy, which Cancel drops.
int CVantrelNotificationsDlg::OnOK() {
  HWND dialog = GetDialogWindow();
  for (const TNotificationPage& page : NotificationPages()) {
    HWND window = GetDlgItem(dialog, page.templateId);
    if (window == nullptr || SaveNotificationPage(window, page, m_settings)) continue;
    ShowMessageBox(dialog, page.scheduleRefusal, "Ошибка", MB_OK | MB_ICONSTOP);
    return 1;
  }
  m_settings.ConsiderFilters = IsDlgButtonChecked(dialog, kConsiderFiltersBox) == BST_CHECKED;
  return CZPluginDialog::OnOK();
}
