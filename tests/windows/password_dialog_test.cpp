// The password dialog and the stored forms it makes, with the stand-in
// PS.dll beside the test: what a stored password turns back into, and what
// the user is told when the typed passwords cannot be kept.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "support/focus_watch.h"
#include "support/table_environment.h"
#include "windows/dialogs/get_pass_dlg.h"

namespace {

std::string Enciphered(const char* password) {
  return CVantrelGetPassDlg(IDS_MAIL_PASSWORD_LABEL, password).EncodePassword(true);
}

// The library called directly with the class name and the mail label turns
// the dialog's stored form back; the database label or a damaged form do not,
// and then nothing is left held.
TEST(PasswordForms, StoredFormsTurnBackOnlyUnderTheirOwnLabel) {
  TableEnvironment env;
  const std::string stored = Enciphered("s3cret#");
  EXPECT_EQ(stored.find("s3cret"), std::string::npos);
  EXPECT_EQ(GetModuleHandleA("PS.dll"), nullptr) << "the library is loaded only while it works";
  const CPsLibrary library;
  std::string direct;
  EXPECT_EQ(TransformPassword(library.Functions(), "ZENK_Application", "KestrelPostOfficeKey", stored, &direct), 2);
  EXPECT_EQ(direct, "s3cret#");
  for (const auto& other : {std::make_pair(IDS_DB_PASSWORD_LABEL, stored),
                            std::make_pair(IDS_MAIL_PASSWORD_LABEL, stored.substr(0, stored.size() - 2))}) {
    CVantrelGetPassDlg held(other.first, other.second);
    EXPECT_FALSE(held.CheckPassword());
    EXPECT_EQ(held.GetPasswordText(), other.second);
    EXPECT_EQ(held.DecodePassword(), "");
    EXPECT_EQ(held.GetPasswordText(), "");
  }
}

// A library that fails on all but "$ok": it was handed a clean 1025-byte
// buffer, and is asked why only after a failure.
std::vector<std::string> g_calls;
int __stdcall Transform(const char* className, const char* label, const char* text, int length, char* buffer,
                        int* size) {
  const bool clean = *size == 1025 && std::string(buffer, 1025) == std::string(1025, '\0');
  g_calls.push_back(std::string(className) + "|" + label + "|" + std::string(text, length) + (clean ? "" : "|dirty"));
  return std::string(text, length) == "$ok";
}
int __stdcall LastError(int* result, char* buffer, int size) {
  g_calls.push_back("fn_1 " + std::to_string(*result) + " " + std::to_string(size) + (*buffer ? " dirty" : ""));
  return 1;
}

TEST(PasswordForms, AFailureLeavesNothingAndOnlyAFailureAsksTheLibraryWhy) {
  TableEnvironment env;
  CVantrelGetPassDlg held(IDS_DB_PASSWORD_LABEL, "pw", TPsFunctions{Transform, LastError});
  EXPECT_EQ(held.EncodePassword(true), "");
  EXPECT_EQ(held.GetPasswordText(), "");
  CVantrelGetPassDlg(IDS_DB_PASSWORD_LABEL, "ok", TPsFunctions{Transform, LastError}).EncodePassword(true);
  const std::string call = "ZENK_Application|KestrelRecordKeeperSalt|";
  EXPECT_EQ(g_calls, (std::vector<std::string>{call + "$pw", "fn_1 0 1025", call + "$ok"}));
}

constexpr char kEmpty[] = "Пароль не может быть пустым!", kMismatch[] = "Введенные пароли не совпадают!";
constexpr char kEncipher[] = "Текущий пароль будет зашифрован.\nРасшифровать пароль можно будет только на этом "
                             "компьютере, только под текущим пользователем\n\nПродолжить?";

// The held password ("" none, "old" in clear, "#old" enciphered), what the
// user types and ticks (-1: as the dialog set it), the answers to the message
// boxes; then the tick at the start, the boxes' texts, whether the dialog
// stayed open, and the password its stored form turns back into, enciphered
// or not.
struct EntryCase {
  const char* held; std::string first, second; int tick; std::vector<int> answers;
  bool tickedAtStart; std::vector<std::string> texts; bool stayedOpen, enciphered; std::string password;
};

TEST(PasswordDialog, KeepsWhatTheUserConfirmedAndRefusesTheRest) {
  TableEnvironment env;
  // Enciphered, 600 characters are too long for the library; 1024 are what an edit holds.
  const std::string old = Enciphered("old"), tooLong(600, 'x'), longest(1024, 'y');
  const EntryCase cases[] = {
      {"", "a#b$", "a#b$", 1, {}, false, {}, false, true, "a#b$"},
      {"", longest, longest, 0, {}, false, {}, false, false, longest},
      {"#old", "new", "new", 0, {}, true, {}, false, false, "new"},
      {"old", "", "", -1, {IDOK}, false, {kEmpty}, true, false, "old"},
      {"#old", "", "", -1, {IDOK}, true, {kEmpty}, true, true, "old"},
      {"", "", "", 1, {IDOK}, false, {kEmpty}, true, false, ""},
      {"old", "", "", 1, {IDYES}, false, {kEncipher}, false, true, "old"},
      {"old", "", "", 1, {IDNO, IDOK}, false, {kEncipher, kEmpty}, true, false, "old"},
      {"#old", "", "", 0, {IDYES}, true,
       {"Текущий пароль будет расшифрован, и будет храниться в открытом виде.\n\nПродолжить?"}, false, false, "old"},
      {"old", "a", "b", 1, {IDOK}, false, {kMismatch}, true, false, "old"},
      {"old", "a", "", 1, {IDOK}, false, {kMismatch}, true, false, "old"},
      {"old", "#a", "#a", 0, {IDOK}, false, {"Пароль не может начинаться с символа '#'"}, true, false, "old"},
      {"old", "$a", "$a", 0, {IDOK}, false, {"Пароль не может начинаться с символа '$'"}, true, false, "old"},
      {"#old", tooLong, tooLong, 1, {IDOK}, true,
       {"Не удалось преобразовать пароль для хранения.\nСохраненный пароль не изменен."}, true, true, "old"},
  };
  FocusWatch focus;
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.first.substr(0, 9) + " held " + c.held);
    CVantrelGetPassDlg dialog(IDS_MAIL_PASSWORD_LABEL, c.held[0] == '#' ? old : c.held);
    std::vector<std::string> texts;
    // Each driver answers one box and arms the next; a box not expected is
    // cancelled, so it shows in the texts instead of waiting for an answer.
    std::vector<std::unique_ptr<DialogDriver>> boxes;
    std::function<void()> armNext = [&] {
      const size_t index = boxes.size();
      boxes.emplace_back(new DialogDriver([&, index](HWND box) {
        texts.push_back(boxes[index]->Text());
        armNext();
        DialogDriver::Press(box, index < c.answers.size() ? c.answers[index] : IDCANCEL);
      }));
    };
    bool tickedAtStart = false, stayedOpen = false, focusOnPassword = false;
    DialogDriver entry([&](HWND window) {
      tickedAtStart = IsDlgButtonChecked(window, 1222) == BST_CHECKED;
      focusOnPassword = FocusWatch::Last() == GetDlgItem(window, 1220);
      SetDlgItemTextA(window, 1220, c.first.c_str());
      SetDlgItemTextA(window, 1221, c.second.c_str());
      if (c.tick >= 0) CheckDlgButton(window, 1222, c.tick);
      armNext();
      DialogDriver::Press(window, IDOK);
      boxes.clear();
      stayedOpen = IsWindowVisible(window);
      if (stayedOpen) DialogDriver::Press(window, IDCANCEL);
    });
    const INT_PTR result = dialog.DoModal(nullptr);
    EXPECT_EQ(result, stayedOpen ? 2 : 1);
    EXPECT_TRUE(focusOnPassword);
    EXPECT_EQ(tickedAtStart, c.tickedAtStart);
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(stayedOpen, c.stayedOpen);
    CVantrelGetPassDlg stored(IDS_MAIL_PASSWORD_LABEL, dialog.GetPasswordText());
    EXPECT_EQ(stored.CheckPassword(), c.enciphered);
    EXPECT_EQ(stored.DecodePassword(), c.password);
  }
}

}  // namespace
