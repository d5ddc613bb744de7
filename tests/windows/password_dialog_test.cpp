// The password dialog and the stored forms it makes, with the stand-in
// PS.dll beside the test: what a stored password turns back into, and what
// the user is told when the typed passwords cannot be kept.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/table_environment.h"
#include "windows/dialogs/get_pass_dlg.h"

namespace {

std::string Enciphered(const std::string& password) {
  return CVantrelGetPassDlg(IDS_MAIL_PASSWORD_LABEL, password).EncodePassword(true);
}

// The library itself, called as the host's own programs would, with the
// class name and the mail label that the dialog must pass.
std::string LibraryAnswer(const std::string& text) {
  const CPsLibrary library;
  std::string answer;
  TransformPassword(library.Functions(), "ZENK_Application", "KestrelPostOfficeKey", text, &answer);
  return answer;
}

TEST(PasswordForms, StoredFormsTurnBackOnlyUnderTheirOwnLabel) {
  TableEnvironment env;
  const std::string stored = Enciphered("s3cret#");
  EXPECT_EQ(stored.find("s3cret"), std::string::npos);
  EXPECT_EQ(LibraryAnswer(stored), "s3cret#");
  struct Case { UINT label; std::string held; bool enciphered; std::string decoded; };
  const Case cases[] = {
      {IDS_MAIL_PASSWORD_LABEL, stored, true, "s3cret#"},
      {IDS_DB_PASSWORD_LABEL, stored, false, ""},
      {IDS_MAIL_PASSWORD_LABEL, "plain", false, "plain"},
      {IDS_MAIL_PASSWORD_LABEL, stored.substr(0, stored.size() - 2), false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.held);
    CVantrelGetPassDlg held(c.label, c.held);
    EXPECT_EQ(held.CheckPassword(), c.enciphered);
    EXPECT_EQ(held.GetPasswordText(), c.held) << "checking leaves the held text";
    EXPECT_EQ(held.DecodePassword(), c.decoded);
    EXPECT_EQ(held.GetPasswordText(), c.decoded);
  }
}

// What the library was handed, and what it answers.
struct FakeLibrary {
  static int answer;
  static std::vector<std::string> calls;
  static int __stdcall Transform(const char* className, const char* label, const char* text, int length,
                                 char* buffer, int* size) {
    const bool clean = *size == 1025 && std::string(buffer, 1025) == std::string(1025, '\0');
    calls.push_back(std::string(className) + "|" + label + "|" + std::string(text, length) +
                    (clean ? "" : "|dirty buffer"));
    if (answer != 0) lstrcpyA(buffer, "answer");
    return answer;
  }
  static int __stdcall LastError(int* result, char* buffer, int size) {
    calls.push_back("fn_1 " + std::to_string(*result) + " " + std::to_string(size) + (*buffer ? " dirty" : ""));
    return 1;
  }
};
int FakeLibrary::answer;
std::vector<std::string> FakeLibrary::calls;

TEST(PasswordForms, TheLibraryGetsItsBufferAndIsAskedWhyWhenItFails) {
  TableEnvironment env;
  const TPsFunctions fake{FakeLibrary::Transform, FakeLibrary::LastError};
  const std::string call = "ZENK_Application|KestrelRecordKeeperSalt|";
  struct Case { int answer; bool encipher; std::string result; std::vector<std::string> calls; };
  const Case cases[] = {
      {1, true, "answer", {call + "$pw"}},
      {2, false, "answer", {call + "pw"}},
      {0, true, "", {call + "$pw", "fn_1 0 1025"}},
  };
  for (const Case& c : cases) {
    FakeLibrary::answer = c.answer;
    FakeLibrary::calls.clear();
    CVantrelGetPassDlg held(IDS_DB_PASSWORD_LABEL, "pw", fake);
    EXPECT_EQ(held.EncodePassword(c.encipher), c.result);
    EXPECT_EQ(held.GetPasswordText(), c.result);
    EXPECT_EQ(FakeLibrary::calls, c.calls);
  }
}

constexpr char kEmpty[] = "Пароль не может быть пустым!";
constexpr char kMismatch[] = "Введенные пароли не совпадают!";
constexpr char kEncipherQuestion[] =
    "Текущий пароль будет зашифрован.\nРасшифровать пароль можно будет только на этом компьютере, "
    "только под текущим пользователем\n\nПродолжить?";
constexpr char kDecipherQuestion[] =
    "Текущий пароль будет расшифрован, и будет храниться в открытом виде.\n\nПродолжить?";
constexpr char kNotTransformed[] =
    "Не удалось преобразовать пароль для хранения.\nСохраненный пароль не изменен.";

// Answers the message boxes one after another, keeping each one's text.
struct MessageBoxes {
  void ArmNext() {
    if (drivers.size() == answers.size()) return;
    const size_t index = drivers.size();
    drivers.emplace_back(new DialogDriver([this, index](HWND box) {
      texts.push_back(drivers[index]->Text());
      ArmNext();
      DialogDriver::Press(box, answers[index]);
    }));
  }
  std::vector<int> answers;
  std::vector<std::string> texts = {};
  std::vector<std::unique_ptr<DialogDriver>> drivers = {};
};

// The held password ("" none, "old" in clear, "#old" enciphered), what the
// user types and ticks (-1: the box as the dialog set it), the boxes' answers;
// then whether the box was ticked at the start, the texts shown, whether the
// dialog stayed open, and the password its stored form turns back into.
struct EntryCase {
  const char* held;
  std::string first, second;
  int tick;
  std::vector<int> answers;
  bool tickedAtStart;
  std::vector<std::string> texts;
  bool stayedOpen;
  const char* password;
  bool enciphered;
};

TEST(PasswordDialog, KeepsWhatTheUserConfirmedAndRefusesTheRest) {
  TableEnvironment env;
  const std::string old = Enciphered("old");
  const std::string tooLong(600, 'x');  // enciphered, longer than the library's buffer
  const EntryCase cases[] = {
      {"", "a#b$", "a#b$", 1, {}, false, {}, false, "a#b$", true},
      {"#old", "new", "new", 0, {}, true, {}, false, "new", false},
      {"old", "", "", -1, {IDOK}, false, {kEmpty}, true, "old", false},
      {"#old", "", "", -1, {IDOK}, true, {kEmpty}, true, "old", true},
      {"", "", "", 1, {IDOK}, false, {kEmpty}, true, "", false},
      {"old", "", "", 1, {IDYES}, false, {kEncipherQuestion}, false, "old", true},
      {"old", "", "", 1, {IDNO, IDOK}, false, {kEncipherQuestion, kEmpty}, true, "old", false},
      {"#old", "", "", 0, {IDYES}, true, {kDecipherQuestion}, false, "old", false},
      {"old", "a", "b", 1, {IDOK}, false, {kMismatch}, true, "old", false},
      {"old", "a", "", 1, {IDOK}, false, {kMismatch}, true, "old", false},
      {"old", "#a", "#a", 0, {IDOK}, false, {"Пароль не может начинаться с символа '#'"}, true, "old", false},
      {"old", "$a", "$a", 0, {IDOK}, false, {"Пароль не может начинаться с символа '$'"}, true, "old", false},
      {"#old", tooLong, tooLong, 1, {IDOK}, true, {kNotTransformed}, true, "old", true},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.first + " held " + c.held);
    CVantrelGetPassDlg dialog(IDS_MAIL_PASSWORD_LABEL, c.held[0] == '#' ? old : c.held);
    MessageBoxes boxes{c.answers};
    bool tickedAtStart = false, stayedOpen = false, focusOnPassword = false;
    DialogDriver entry([&](HWND window) {
      tickedAtStart = IsDlgButtonChecked(window, 1222) == BST_CHECKED;
      focusOnPassword = GetFocus() == GetDlgItem(window, 1220);
      SetDlgItemTextA(window, 1220, c.first.c_str());
      SetDlgItemTextA(window, 1221, c.second.c_str());
      if (c.tick >= 0) CheckDlgButton(window, 1222, c.tick);
      boxes.ArmNext();
      DialogDriver::Press(window, IDOK);
      stayedOpen = IsWindowVisible(window);
      if (stayedOpen) DialogDriver::Press(window, IDCANCEL);
    });
    const INT_PTR result = dialog.DoModal(nullptr);
    EXPECT_EQ(result, stayedOpen ? 2 : 1);
    EXPECT_TRUE(focusOnPassword);
    EXPECT_EQ(tickedAtStart, c.tickedAtStart);
    EXPECT_EQ(boxes.texts, c.texts);
    EXPECT_EQ(stayedOpen, c.stayedOpen);
    CVantrelGetPassDlg stored(IDS_MAIL_PASSWORD_LABEL, dialog.GetPasswordText());
    EXPECT_EQ(stored.CheckPassword(), c.enciphered);
    EXPECT_EQ(stored.DecodePassword(), c.password);
  }
}

}  // namespace
