#include "windows/dialogs/get_pass_dlg.h"

#include "sdk/confirmation.h"
#include "sdk/modal_loops.h"
#include "sdk/window_helpers.h"

#include <vector>

namespace {
constexpr UINT kTemplate = 125;
constexpr uint32_t kDialogKind = 210605;
constexpr int kPassword = 1220, kConfirmation = 1221, kEncipher = 1222;
// What the user may type into each password edit.
constexpr int kPasswordCapacity = 1024;

constexpr char kErrorCaption[] = "Ошибка!";
constexpr char kWarningCaption[] = "Предупреждение!";
constexpr char kEncipherQuestion[] =
    "Текущий пароль будет зашифрован.\nРасшифровать пароль можно будет только на этом компьютере, "
    "только под текущим пользователем\n\nПродолжить?";
constexpr char kDecipherQuestion[] =
    "Текущий пароль будет расшифрован, и будет храниться в открытом виде.\n\nПродолжить?";
constexpr char kEmpty[] = "Пароль не может быть пустым!";
constexpr char kMismatch[] = "Введенные пароли не совпадают!";
constexpr char kStartsWithHash[] = "Пароль не может начинаться с символа '#'";
constexpr char kStartsWithDollar[] = "Пароль не может начинаться с символа '$'";
constexpr char kNotTransformed[] =
    "Не удалось преобразовать пароль для хранения.\nСохраненный пароль не изменен.";
}  // namespace

CVantrelGetPassDlg::CVantrelGetPassDlg(UINT labelId, const std::string& stored)
    : CVantrelGetPassDlg(labelId, stored, TPsFunctions()) {}

CVantrelGetPassDlg::CVantrelGetPassDlg(UINT labelId, const std::string& stored,
                                       const TPsFunctions& functions)
    : CZPluginDialog("Изменение пароля", kTemplate, kDialogKind), m_held(stored), m_functions(functions) {
  LoadStringA(GetModuleInstanceHandle(), labelId, m_label, sizeof m_label);
}

int CVantrelGetPassDlg::TransformHeld(const std::string& input) {
  if (m_functions.transform != nullptr)
    return TransformPassword(m_functions, m_className, m_label, input, &m_held);
  const CPsLibrary library;
  return TransformPassword(library.Functions(), m_className, m_label, input, &m_held);
}

std::string CVantrelGetPassDlg::DecodePassword() {
  TransformHeld(m_held);
  return m_held;
}

std::string CVantrelGetPassDlg::EncodePassword(bool encipher) {
  TransformHeld(encipher ? "$" + m_held : m_held);
  return m_held;
}

bool CVantrelGetPassDlg::CheckPassword() {
  const std::string held = m_held;
  const bool enciphered = TransformHeld(held) == PS_ENCIPHERED;
  m_held = held;
  return enciphered;
}

int CVantrelGetPassDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  HWND dialog = GetDialogWindow();
  CenterWindowInWorkArea(dialog);
  SendItemMessage(kPassword, EM_LIMITTEXT, kPasswordCapacity, 0);
  SendItemMessage(kConfirmation, EM_LIMITTEXT, kPasswordCapacity, 0);
  SetFocus(GetDlgItem(dialog, kPassword));
  CheckDlgButton(dialog, kEncipher, CheckPassword() ? BST_CHECKED : BST_UNCHECKED);
  return result;
}

std::string CVantrelGetPassDlg::ItemText(int id) const {
  std::vector<char> text(kPasswordCapacity + 1);
  GetDlgItemTextA(GetDialogWindow(), id, text.data(), static_cast<int>(text.size()));
  return text.data();
}

int CVantrelGetPassDlg::OnOK() {
  const std::string password = ItemText(kPassword);
  const std::string confirmation = ItemText(kConfirmation);
  const bool encipher = IsDlgButtonChecked(GetDialogWindow(), kEncipher) == BST_CHECKED;
  if (password.empty() && confirmation.empty()) return ChangeHeldForm(encipher);
  if (password != confirmation) return Refuse(kMismatch);
  if (password[0] == '#') return Refuse(kStartsWithHash);
  if (password[0] == '$') return Refuse(kStartsWithDollar);
  return Store(password, encipher);
}

int CVantrelGetPassDlg::ChangeHeldForm(bool encipher) {
  if (!m_held.empty()) {
    const bool enciphered = CheckPassword();
    const char* question = nullptr;
    if (!enciphered && encipher) question = kEncipherQuestion;
    if (enciphered && !encipher) question = kDecipherQuestion;
    if (question != nullptr &&
        UserConfirms(GetDialogWindow(), question, kWarningCaption, MB_YESNO | MB_ICONEXCLAMATION))
      return Store(m_held, encipher);
  }
  return Refuse(kEmpty);
}

int CVantrelGetPassDlg::Store(const std::string& password, bool encipher) {
  const std::string stored = m_held;
  m_held = password;
  if (TransformHeld(encipher ? "$" + m_held : m_held) == 0) {
    m_held = stored;
    return Refuse(kNotTransformed);
  }
  EndDialog(1);
  return 1;
}

int CVantrelGetPassDlg::Refuse(const char* text) {
  ShowMessageBox(GetDialogWindow(), text, kErrorCaption, MB_OK | MB_ICONSTOP);
  return 1;
}
