// The SDK's input helpers on the controls of a real dialog inside the
// stand-in host: the edit filters hearing their edits' own notifications as
// a plug-in dialog passes them on, the date pickers' packed dates, and list
// and combo extents fitted to the widest item text.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "controls_dialog.h"
#include "sdk/edit_filters.h"
#include "sdk/packed_dates.h"
#include "sdk/window_helpers.h"

namespace {

enum : int {
  kLettersEdit = 1201,
  kNoLatinEdit = 1202,
  kIntegerEdit = 1203,
  kDecimalEdit = 1204,
  kDatePicker = 1211,       // DTS_SHOWNONE
  kPlainDatePicker = 1212,  // without "none"
  kList = 1221,
  kCombo = 1222,
};
constexpr int kIntegerDigits = 3;
constexpr int kFractionDigits = 2;

bool InitDateClasses() {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES};
  return InitCommonControlsEx(&classes) != FALSE;
}

// The text and the selection of an edit: "text @caret", or "@start-end".
std::string TextAndCaret(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return WindowText(edit) + " @" + std::to_string(start) + (start == end ? "" : "-" + std::to_string(end));
}

// Width of the text in the control's font, measured on its own device context.
int MeasuredWidth(HWND control, const std::string& text) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size.cx;
}

class InputHelpersTest : public ::testing::Test {
 protected:
  InputHelpersTest() {
    env_.Module().SetLocaleSeparators(' ', ',');
    dialog_->onCommand = [this](int id, int code) { Filter(id, code); };
  }

  // As a plug-in dialog passes its edits' commands on: every code goes to
  // the filter, which acts on EN_UPDATE only.
  void Filter(int id, int code) {
    if (!filtering_) return;
    HWND dialog = dialog_->Window();
    if (code == EN_UPDATE && GetFocus() != GetDlgItem(dialog, id)) lostFocus_ = true;
    switch (id) {
      case kLettersEdit:
        ValidateLettersDlgItem(dialog, id, code);
        break;
      case kNoLatinEdit:
        ValidateNoLatinDlgItem(dialog, id, code);
        break;
      case kIntegerEdit:
        env_.Module().ValidateIntegerDlgItem(dialog, id, code, kIntegerDigits);
        break;
      case kDecimalEdit:
        env_.Module().ValidateDecimalDlgItem(dialog, id, code, kFractionDigits, 10, 0, 0);
        break;
      default:
        break;
    }
  }

  // Puts the start text into the edit unfiltered and undoable no further.
  void Prepare(HWND edit, const char* text) {
    filtering_ = false;
    SetWindowTextA(edit, text);
    SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    filtering_ = true;
  }

  HWND Item(int id) const { return dialog_->Item(id); }

  TableEnvironment env_;
  const bool dateClasses_ = InitDateClasses();
  std::unique_ptr<ControlsDialog> dialog_ = std::make_unique<ControlsDialog>(env_, kInputDialog);
  bool filtering_ = true;
  bool lostFocus_ = false;
};

// Input into a focused edit: typed letter by letter (WM_CHAR) or pasted at
// once (EM_REPLACESEL, undoable as a paste is).
struct Input {
  int edit;
  const char* start;
  int caret;
  bool paste;
  const char* input;
  const char* expected;  // text and caret after the filter
  int signals;           // rejections the host was asked to signal
};

TEST_F(InputHelpersTest, FiltersUndoTheKeystrokeThatBreaksTheirRuleAndPutTheCaretBeforeIt) {
  // The caret point after a refused keystroke lies behind it; the caret goes
  // one character back from there, so a refused letter leaves it where it
  // was and a refused two-letter paste one past its start.
  const Input inputs[] = {
      {kLettersEdit, "", 0, false, "Ab-Вяz", "Ab-Вяz @6", 0},
      {kLettersEdit, "Ab", 2, false, "1", "Ab @2", 0},
      {kLettersEdit, "Abc", 1, false, " ", "Abc @1", 0},
      {kLettersEdit, "Ab", 2, false, "ё", "Ab @2", 0},  // 184: below the letters 192 to 255
      {kLettersEdit, "Ab", 2, false, ".", "Ab @2", 0},
      {kLettersEdit, "Ab", 1, true, "xЮ", "AxЮb @3", 0},
      {kLettersEdit, "Ab", 0, true, "z9", "Ab @1", 0},
      {kNoLatinEdit, "", 0, false, "Цена 5,5%", "Цена 5,5% @9", 0},
      {kNoLatinEdit, "Цена 5", 6, false, "q", "Цена 5 @6", 0},
      {kNoLatinEdit, "12", 1, false, "Я", "1Я2 @2", 0},
      {kNoLatinEdit, "12", 0, false, "Z", "12 @0", 0},
      {kNoLatinEdit, "12", 2, true, " №-ё", "12 №-ё @6", 0},
      {kIntegerEdit, "", 0, false, "123", "123 @3", 0},
      {kIntegerEdit, "123", 3, false, "4", "123 @3", 1},  // a fourth digit
      {kIntegerEdit, "12", 1, false, "x", "12 @1", 1},
      {kIntegerEdit, "12", 0, false, "-", "12 @0", 1},
      {kIntegerEdit, "1", 1, true, "23", "123 @3", 0},
      {kIntegerEdit, "1", 1, true, "234", "1 @1", 1},  // the caret cannot stay past the text
      // A digit typed into a full fraction drops the digit after it, or
      // itself at the end; a refused letter is taken out.
      {kDecimalEdit, "12,34", 5, false, "5", "12,34 @5", 0},
      {kDecimalEdit, "12,34", 3, false, "9", "12,94 @4", 0},
      {kDecimalEdit, "12", 2, false, "x", "12 @2", 0},
      {kDecimalEdit, "-5", 2, false, ",5", "-5,5 @4", 0},
      {kDecimalEdit, "-12,34", 6, false, "5", "-12,34 @6", 0},  // the caret counts the "-", the copy not
  };
  for (const Input& input : inputs) {
    SCOPED_TRACE(std::string(input.start) + " + " + input.input);
    HWND edit = Item(input.edit);
    // The filters read the caret of a focused edit only: when another
    // program on the screen took the focus meanwhile, the input runs again.
    for (int attempt = 0; attempt < 5; ++attempt) {
      Prepare(edit, input.start);
      SetForegroundWindow(dialog_->Window());
      SetFocus(edit);
      SendMessageA(edit, EM_SETSEL, input.caret, input.caret);
      env_.Host().Log().Clear();
      lostFocus_ = GetFocus() != edit;
      if (input.paste)
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(input.input));
      else
        TypeText(edit, input.input);
      if (!lostFocus_) break;
    }
    EXPECT_EQ(TextAndCaret(edit), input.expected);
    EXPECT_EQ(env_.Host().Log().Count(41), input.signals);
    if (input.edit == kIntegerEdit) {
      EXPECT_GT(env_.Host().Log().Count(42), 0) << "the host judges the digits";
    }
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0)) << "every keystroke leaves the undo buffer empty";
  }
}

TEST_F(InputHelpersTest, FiltersActOnTheUpdateNotificationOnly) {
  const struct {
    int edit;
    const char* start;
    const char* refused;
  } cases[] = {{kLettersEdit, "Ab", "1"}, {kNoLatinEdit, "12", "q"}, {kIntegerEdit, "12", "x"}};
  for (const auto& c : cases) {
    HWND edit = Item(c.edit);
    Prepare(edit, c.start);
    filtering_ = false;
    SendMessageA(edit, EM_SETSEL, 2, 2);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(c.refused));
    filtering_ = true;
    const std::string typed = std::string(c.start) + c.refused;
    for (int code : {EN_CHANGE, EN_SETFOCUS, EN_KILLFOCUS, EN_MAXTEXT}) Filter(c.edit, code);
    EXPECT_EQ(WindowText(edit), typed) << c.edit << ": other notifications leave the text";
    EXPECT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0)) << c.edit;
    Filter(c.edit, EN_UPDATE);
    EXPECT_EQ(WindowText(edit), c.start) << c.edit;
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0)) << c.edit;
  }
}

// A text set while another edit has the focus cannot be undone; the caret
// of the other edit says nothing about this one, which keeps its caret at
// its start.
TEST_F(InputHelpersTest, AnEditWithoutTheFocusTakesNoCaretFromTheFocusedOne) {
  const struct {
    int edit;
    const char* text;
  } cases[] = {{kLettersEdit, "Ab1"}, {kNoLatinEdit, "12q"}};
  for (const auto& c : cases) {
    HWND focused = Item(c.edit == kLettersEdit ? kNoLatinEdit : kLettersEdit);
    Prepare(focused, c.edit == kLettersEdit ? "1234567890" : "Abcdefghij");
    SetForegroundWindow(dialog_->Window());
    SetFocus(focused);
    SendMessageA(focused, EM_SETSEL, 10, 10);
    SetWindowTextA(Item(c.edit), c.text);
    EXPECT_EQ(TextAndCaret(Item(c.edit)), std::string(c.text) + " @0");
  }
}

TEST_F(InputHelpersTest, DatePickersTakeAndGivePackedDates) {
  ASSERT_TRUE(dateClasses_);
  HWND dialog = dialog_->Window();
  // In order: each row starts from what the one before left.
  const struct {
    int picker;
    long set, got;
    DWORD state;  // DTM_GETSYSTEMTIME's answer
  } rows[] = {
      {kDatePicker, 20240105, 20240105, GDT_VALID},
      {kDatePicker, 0, 0, GDT_NONE},
      {kDatePicker, 19991231, 19991231, GDT_VALID},
      {kDatePicker, 20240229, 20240229, GDT_VALID},
      {kDatePicker, 20230229, 20240229, GDT_VALID},  // no such day: the picker keeps its date
      {kPlainDatePicker, 20240105, 20240105, GDT_VALID},
      {kPlainDatePicker, 0, 20240105, GDT_VALID},  // no "none" to show
      {kPlainDatePicker, 20991231, 20991231, GDT_VALID},
  };
  for (const auto& row : rows) {
    SetDlgItemDate(dialog, row.picker, row.set);
    SYSTEMTIME shown = {};
    EXPECT_EQ(SendMessageA(Item(row.picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), LRESULT(row.state))
        << row.set;
    EXPECT_EQ(GetDlgItemDate(dialog, row.picker), row.got) << row.set;
  }
  EXPECT_EQ(GetDlgItemDate(dialog, kLettersEdit), 0) << "not a date picker";
  EXPECT_EQ(GetDlgItemDate(dialog, 9999), 0) << "no such control";

  // The date comes with the time of day of the moment it was set.
  SYSTEMTIME before, shown = {};
  GetSystemTime(&before);
  SetDlgItemDate(dialog, kDatePicker, 20240105);
  SendMessageA(Item(kDatePicker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  const int seconds = (shown.wHour * 60 + shown.wMinute) * 60 + shown.wSecond;
  const int beforeSeconds = (before.wHour * 60 + before.wMinute) * 60 + before.wSecond;
  EXPECT_LE((seconds - beforeSeconds + 86400) % 86400, 2);
}

TEST_F(InputHelpersTest, ExtentsFitTheWidestItemText) {
  HWND list = Item(kList), combo = Item(kCombo);
  const std::vector<std::string> texts = {"Газпром", "Сбербанк России, привилегированные", "x", ""};
  for (const std::string& text : texts) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  auto extent = [&] { return static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)); };
  const int gazprom = MeasuredWidth(list, texts[0]) + 2, widest = MeasuredWidth(list, texts[1]) + 2;
  ASSERT_GT(widest, gazprom);

  // One item at a time: the extent only grows.
  const struct {
    int item;
    int extent;
  } fits[] = {{2, MeasuredWidth(list, "x") + 2}, {0, gazprom}, {2, gazprom}, {3, gazprom},
              {1, widest}, {0, widest}, {7, widest}};
  for (const auto& fit : fits) {
    FitListBoxExtent(list, fit.item);
    EXPECT_EQ(extent(), fit.extent) << "item " << fit.item;
  }

  // Every item: the widest one, whether the extent was wider or narrower.
  for (int start : {5000, 0}) {
    SendMessageA(list, LB_SETHORIZONTALEXTENT, start, 0);
    FitListBoxExtentAll(list);
    EXPECT_EQ(extent(), widest) << "from " << start;
    SendMessageA(combo, CB_SETHORIZONTALEXTENT, start, 0);
    FitComboBoxExtent(combo);
    EXPECT_EQ(SendMessageA(combo, CB_GETHORIZONTALEXTENT, 0, 0), MeasuredWidth(combo, texts[1]) + 2) << "from " << start;
  }
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  FitListBoxExtentAll(list);
  EXPECT_EQ(extent(), 2) << "an empty list";
}

}  // namespace
