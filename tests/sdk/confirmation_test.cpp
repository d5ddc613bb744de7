// The plug-in's yes/no and OK/cancel question, the system's box driven with
// messages: yes only for the affirmative button really pressed; a quit of the
// host's loop or an owner gone is a no, and the quit stays queued. A child
// window given as the owner may go while the box stays: the button pressed
// after still answers.
#include <gtest/gtest.h>

#include <string>

#include "sdk/confirmation.h"
#include "support/table_environment.h"

namespace {

struct QuestionCase {
  const char* name;
  UINT type;
  // A button id; 0: the host quits; -1: the owner is destroyed; -2: the
  // child window asked from is destroyed, then OK is pressed.
  int pressed;
  bool confirmed;
};

const QuestionCase kQuestions[] = {
    {"OkPressed", MB_OKCANCEL, IDOK, true},
    {"CancelPressed", MB_OKCANCEL, IDCANCEL, false},
    {"YesPressed", MB_YESNO, IDYES, true},
    {"NoPressed", MB_YESNO, IDNO, false},
    {"QuitWhileAskingOkCancel", MB_OKCANCEL, 0, false},
    {"QuitWhileAskingYesNo", MB_YESNO, 0, false},
    {"OwnerDestroyedWhileAsking", MB_OKCANCEL, -1, false},
    {"ChildOwnerDestroyedThenOkPressed", MB_OKCANCEL, -2, true},
};

class QuestionTest : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(QuestionTest, OnlyTheAffirmativeButtonPressedConfirms) {
  TableEnvironment env;
  const QuestionCase& c = GetParam();
  HWND owner = CreateWindowExA(0, "STATIC", "владелец", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  HWND child = CreateWindowExA(0, "STATIC", "таблица", WS_CHILD | WS_VISIBLE, 0, 0, 100, 50, owner, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  DialogDriver answer([&](HWND box) {
    if (c.pressed > 0) DialogDriver::Press(box, c.pressed);
    if (c.pressed == 0) DialogDriver::Quit(box);
    if (c.pressed == -1) DestroyWindow(owner);
    if (c.pressed == -2) {
      DestroyWindow(child);
      ASSERT_TRUE(IsWindow(box)) << "the box stays";
      DialogDriver::Press(box, IDOK);
    }
  });
  const bool confirmed =
      UserConfirms(c.pressed == -2 ? child : owner, "Продолжить?", "Внимание", c.type | MB_ICONQUESTION);
  const bool quitLeft = DialogDriver::TakeQuit();
  ASSERT_TRUE(answer.Ran());
  EXPECT_EQ(answer.Text(), "Продолжить?");
  EXPECT_EQ(confirmed, c.confirmed);
  EXPECT_EQ(quitLeft, c.pressed == 0) << "the quit is the host's to read";
  if (IsWindow(owner)) DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(Answers, QuestionTest, ::testing::ValuesIn(kQuestions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
