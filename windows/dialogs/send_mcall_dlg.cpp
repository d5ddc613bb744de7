#include "windows/dialogs/send_mcall_dlg.h"

#include "windows/dialogs/rich_edit_library.h"

#include <richedit.h>

#include <vector>

namespace {
constexpr UINT kTemplate = 106;
constexpr uint32_t kDialogKind = 210605;
constexpr int kTextControl = 1048;
}  // namespace

CVantrelSendMCallDlg::CVantrelSendMCallDlg(const std::string& clientText, const std::string& text)
    : CZPluginDialog(("Отправка маржин-колла клиенту " + clientText).c_str(), kTemplate, kDialogKind),
      m_clientText(clientText),
      m_text(text) {
  LoadRichEditLibrary();
}

int CVantrelSendMCallDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  // The control's own limit is 32 KB; a template may fill more.
  SendItemMessage(kTextControl, EM_EXLIMITTEXT, 0, kTextCapacity);
  SetDlgItemTextA(GetDialogWindow(), kTextControl, m_text.c_str());
  return result;
}

int CVantrelSendMCallDlg::OnOK() {
  HWND control = GetDlgItem(GetDialogWindow(), kTextControl);
  std::vector<char> text(kTextCapacity + 1, 0);
  GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  m_text = text.data();
  return CZPluginDialog::OnOK();
}
