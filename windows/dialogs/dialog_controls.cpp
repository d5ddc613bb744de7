#include "windows/dialogs/dialog_controls.h"

#include "module/trimmed_number.h"
#include "sdk/plugin_module.h"

#include <richedit.h>

#include <algorithm>
#include <vector>

namespace {
constexpr std::size_t kFirstTextBuffer = 1024;
// A control that gives no length yet fills every buffer it is given does
// not grow the buffer for ever: past this it is read no further.
constexpr std::size_t kMostUntoldText = std::size_t{1} << 24;
}

// Read through a buffer of the length the control tells, grown until the
// text fits: some controls (the colour chooser) answer WM_GETTEXT but not
// WM_GETTEXTLENGTH, and a rich edit counts its line ends its own way. A
// told length is read whole, however long (a body set from its file).
std::string CDialogItemControls::Text(int id) const {
  const auto told = static_cast<std::size_t>(SendDlgItemMessageA(m_dialog, id, WM_GETTEXTLENGTH, 0, 0));
  const std::size_t most = std::max(kMostUntoldText, told + 2);
  std::vector<char> text(std::max(kFirstTextBuffer, told + 2));
  for (;;) {
    const UINT length = GetDlgItemTextA(m_dialog, id, text.data(), static_cast<int>(text.size()));
    if (length + 1 < text.size() || text.size() >= most) return std::string(text.data(), length);
    text.resize(std::min(text.size() * 2, most));
  }
}

void CDialogItemControls::SetText(int id, const std::string& text) {
  SetDlgItemTextA(m_dialog, id, text.c_str());
}

void CDialogItemControls::LimitText(int id, std::size_t length) {
  SendDlgItemMessageA(m_dialog, id, EM_LIMITTEXT, length, 0);
}

bool CDialogItemControls::Checked(int id) const {
  return IsDlgButtonChecked(m_dialog, id) == BST_CHECKED;
}

void CDialogItemControls::SetChecked(int id, bool checked) {
  CheckDlgButton(m_dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

// A rich edit keeps the window's colour when disabled; it takes the grey a
// disabled plain edit shows, so a body taken from a file looks as the others.
void CDialogItemControls::Enable(int id, bool enabled) {
  HWND control = GetDlgItem(m_dialog, id);
  EnableWindow(control, enabled);
  char name[32] = {};
  GetClassNameA(control, name, sizeof name);
  if (lstrcmpiA(name, RICHEDIT_CLASSA) == 0)
    SendMessageA(control, EM_SETBKGNDCOLOR, enabled ? TRUE : FALSE, static_cast<LPARAM>(GetSysColor(COLOR_3DFACE)));
}

double CDialogItemControls::Number(int id) const { return g_pPluginModule->GetDlgItemDouble(m_dialog, id); }

void CDialogItemControls::SetNumber(int id, double value, int decimals) {
  char text[1024];
  if (decimals < 0) {
    FormatTrimmedDouble(text, sizeof text, value, g_pPluginModule->DecimalSeparator());
    SetText(id, text);
    return;
  }
  SetText(id, g_pPluginModule->FormatDouble(text, sizeof text, value, decimals, true, false));
}

void CDialogItemControls::SetItems(int id, const std::vector<TControlItem>& items) {
  SendDlgItemMessageA(m_dialog, id, CB_RESETCONTENT, 0, 0);
  for (const TControlItem& item : items) {
    const LRESULT index =
        SendDlgItemMessageA(m_dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
    SendDlgItemMessageA(m_dialog, id, CB_SETITEMDATA, static_cast<WPARAM>(index), item.data);
  }
}

void CDialogItemControls::SelectItemData(int id, int data) {
  const int count = static_cast<int>(SendDlgItemMessageA(m_dialog, id, CB_GETCOUNT, 0, 0));
  int found = -1;
  for (int index = 0; index < count && found < 0; ++index)
    if (static_cast<int>(SendDlgItemMessageA(m_dialog, id, CB_GETITEMDATA, index, 0)) == data) found = index;
  SendDlgItemMessageA(m_dialog, id, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

std::optional<int> CDialogItemControls::SelectedItemData(int id) const {
  const LRESULT index = SendDlgItemMessageA(m_dialog, id, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return std::nullopt;
  return static_cast<int>(SendDlgItemMessageA(m_dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}
