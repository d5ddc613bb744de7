#include "windows/dialogs/dialog_controls.h"

#include <vector>

namespace {
constexpr int kTextCapacity = 10239;
}

std::string CDialogItemControls::Text(int id) const {
  std::vector<char> text(kTextCapacity + 1);
  GetDlgItemTextA(m_dialog, id, text.data(), static_cast<int>(text.size()));
  return text.data();
}

void CDialogItemControls::SetText(int id, const std::string& text) {
  SetDlgItemTextA(m_dialog, id, text.c_str());
}

bool CDialogItemControls::Checked(int id) const {
  return IsDlgButtonChecked(m_dialog, id) == BST_CHECKED;
}

void CDialogItemControls::SetChecked(int id, bool checked) {
  CheckDlgButton(m_dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CDialogItemControls::Enable(int id, bool enabled) {
  EnableWindow(GetDlgItem(m_dialog, id), enabled);
}
