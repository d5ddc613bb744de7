// The colour-select control in a window of the test, driven with the
// messages its button, its palette and the dialog send: the colour it shows
// and answers as its text, the palette it opens, the colour a click chooses
// and the command that tells the dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sdk/choose_color_ctrl.h"
#include "sdk/color_select_ctrl.h"
#include "sdk/window_classes.h"
#include "sdk/window_helpers.h"
#include "support/dialog_driver.h"
#include "support/window_capture.h"
#include "support/window_text.h"

namespace {
constexpr int kControlId = 1023;
constexpr char kDialogClass[] = "ColorSelectTestDialog";

// The commands the control's dialog received, as "id code colour"; with
// g_closeOnChoice the dialog closes the control when told of a colour.
std::vector<std::string> g_commands;
bool g_closeOnChoice = false;

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    g_commands.push_back(std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)) + " " +
                         std::to_string(lParam));
    if (g_closeOnChoice) DestroyWindow(GetDlgItem(window, LOWORD(wParam)));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class ColorSelectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_commands.clear();
    g_closeOnChoice = false;
    WNDCLASSA dialogClass = {};
    dialogClass.lpfnWndProc = DialogProc;
    dialogClass.hInstance = GetModuleHandleA(nullptr);
    dialogClass.lpszClassName = kDialogClass;
    RegisterClassA(&dialogClass);
    ASSERT_TRUE(RegisterColorSelectClass(GetModuleHandleA(nullptr)));
    dialog = CreateWindowExA(WS_EX_TOOLWINDOW, kDialogClass, "Цвета", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40,
                             300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    select = CreateWindowExA(0, kColorSelectClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 120, 24, dialog,
                             reinterpret_cast<HMENU>(kControlId), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(select, nullptr);
    chooserWindow = GetWindow(select, GW_CHILD);
    chooser = dynamic_cast<CChooseColorCtrl*>(CWndCtrl::FromWindow(chooserWindow));
    ASSERT_NE(chooser, nullptr);
  }
  void TearDown() override {
    DestroyWindow(dialog);
    UnregisterPluginWindowClasses();
    UnregisterClassA(kDialogClass, GetModuleHandleA(nullptr));
  }
  // The click on "..." as the button reports it.
  HWND OpenPalette() {
    SendMessageA(chooserWindow, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(chooser->GetButtonWindow()));
    return chooser->GetPopupWindow();
  }
  static void Click(HWND window, int x, int y) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  static POINT CellCentre(int index) {
    const int edge = CColorPopup::Edge();
    return {edge + (index % 8) * 18 + 9, edge + (index / 8) * 18 + 9};
  }

  HWND dialog = nullptr, select = nullptr, chooserWindow = nullptr;
  CChooseColorCtrl* chooser = nullptr;
};

TEST_F(ColorSelectTest, ShowsItsColourAndAnswersItAsItsText) {
  EXPECT_EQ(WindowText(select), "255") << "red until the dialog sets it";
  RECT inner, outer;
  GetClientRect(chooserWindow, &inner);
  GetClientRect(select, &outer);
  const RECT filled = RectIn(chooserWindow, select);
  EXPECT_EQ(std::vector<LONG>({filled.left, filled.top, filled.right, filled.bottom}),
            std::vector<LONG>({0, 0, outer.right, outer.bottom}))
      << "the chooser fills the control";
  EXPECT_EQ(DrawnPixel(chooserWindow, 3, 3), RGB(255, 0, 0));
  const RECT button = RectIn(chooser->GetButtonWindow(), chooserWindow);
  EXPECT_EQ(std::vector<LONG>({button.left, button.top, button.right, button.bottom}),
            std::vector<LONG>({inner.right - inner.bottom, 0, inner.right, inner.bottom}))
      << "a square at the right end";
  EXPECT_EQ(WindowText(chooser->GetButtonWindow()), "...");
  // The dots fit the small square whole.
  RECT face;
  GetClientRect(chooser->GetButtonWindow(), &face);
  int dotsWidth = 0, dotsHeight = 0;
  MeasureText(reinterpret_cast<HFONT>(SendMessageA(chooser->GetButtonWindow(), WM_GETFONT, 0, 0)), "...", &dotsWidth,
              &dotsHeight);
  EXPECT_LE(dotsHeight, face.bottom);
  EXPECT_LE(dotsWidth, face.right);

  SetWindowTextA(select, "16777215");
  EXPECT_EQ(WindowText(select), "16777215");
  SetWindowTextA(select, "1193046");  // 0x123456
  EXPECT_EQ(DrawnPixel(chooserWindow, 3, 3), COLORREF(0x123456));
  char shortBuffer[4] = "xyz";
  EXPECT_EQ(SendMessageA(select, WM_GETTEXT, sizeof shortBuffer, reinterpret_cast<LPARAM>(shortBuffer)), 3);
  EXPECT_STREQ(shortBuffer, "119");
  EXPECT_TRUE(g_commands.empty()) << "setting the colour is not the user's choice";
}

TEST_F(ColorSelectTest, PaletteOpensBelowTheControlAndAClickOnACellChoosesItsColour) {
  const HWND popup = OpenPalette();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(OpenPalette(), popup) << "a second click opens no second palette";
  RECT control, below;
  GetWindowRect(chooserWindow, &control);
  GetWindowRect(popup, &below);
  const int edge = CColorPopup::Edge();
  EXPECT_EQ(std::vector<LONG>({below.left, below.top, below.right - below.left, below.bottom - below.top}),
            std::vector<LONG>({control.left, control.bottom, edge * 2 + 144, edge * 6 + 115}));
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_EQ(chooser->Popup().GetPressedIndex(), 16) << "red, the current colour, is shown pressed";

  // Each cell is drawn in its colour.
  for (int index : {0, 13, 16, 35, 39}) {
    const POINT centre = CellCentre(index);
    EXPECT_EQ(DrawnPixel(popup, centre.x, centre.y), CColorPopup::Colors()[index].color) << index;
  }

  const POINT blue = CellCentre(13);
  Click(popup, blue.x, blue.y);
  EXPECT_FALSE(IsWindow(popup)) << "a choice closes the palette";
  EXPECT_EQ(chooser->GetPopupWindow(), nullptr);
  EXPECT_EQ(WindowText(select), "16711680");
  EXPECT_EQ(DrawnPixel(chooserWindow, 3, 3), RGB(0, 0, 255));
  EXPECT_EQ(g_commands, std::vector<std::string>({"1023 0 16711680"}));
}

TEST_F(ColorSelectTest, AClickOutsideClosesThePaletteAndKeepsTheColour) {
  SetWindowTextA(select, "1193046");
  const HWND popup = OpenPalette();
  EXPECT_EQ(chooser->Popup().GetPressedIndex(), CColorPopup::kNoCell) << "a colour outside the list";
  Click(popup, -5, 10);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(WindowText(select), "1193046");
  EXPECT_TRUE(g_commands.empty());
  // Inside the palette but on no cell: it stays open.
  const HWND again = OpenPalette();
  Click(again, CColorPopup::Edge() + 5, CColorPopup::Edge() + 91);  // below the last row
  EXPECT_TRUE(IsWindow(again));
  EXPECT_TRUE(g_commands.empty());
}

// The cells begin one edge in from the palette's border: the edge is counted
// off before the division, and the margins around the cells hit nothing.
TEST_F(ColorSelectTest, HitTestCountsTheEdges) {
  const HWND popup = OpenPalette();
  const CColorPopup& palette = chooser->Popup();
  const int e = CColorPopup::Edge();
  RECT client;
  GetClientRect(popup, &client);
  const int width = client.right, height = client.bottom;
  ASSERT_GT(e, 0);
  const struct { int x, y, hit; } cases[] = {
      {e, e, 0},          {e + 17, e + 17, 0},  {e - 1, e, -1},       {e, e - 1, -1},
      {e + 18, e, 1},     {e + 143, e, 7},      {e + 144, e, -1},     {e, e + 18, 8},
      {e + 143, e + 89, 39}, {e, e + 90, -1},   {10, height - e - 1, -2}, {width - 11, height - e - 25, -2},
      {9, height - e - 1, -1}, {-1, 5, -1},     {width, 5, -1},       {5, height, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(palette.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;

  // The right edge of the first cell is still the first colour.
  Click(popup, e + 17, e + 17);
  EXPECT_EQ(WindowText(select), "0");
}

TEST_F(ColorSelectTest, PointerOverACellRaisesIt) {
  const HWND popup = OpenPalette();
  const POINT cell = CellCentre(5);
  SendMessageA(popup, WM_MOUSEMOVE, 0, MAKELPARAM(cell.x, cell.y));
  EXPECT_EQ(chooser->Popup().GetHoverIndex(), 5);
  SendMessageA(popup, WM_MOUSEMOVE, 0, MAKELPARAM(20, chooser->Popup().GetOtherColorsRect().top + 3));
  EXPECT_EQ(chooser->Popup().GetHoverIndex(), CColorPopup::kOtherColorsCell);
  SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
  EXPECT_EQ(chooser->Popup().GetPressedIndex(), 5);
}

// The system colour dialog starts from the current colour: taken as it
// stands, it is chosen and reported; cancelled, the palette stays open.
TEST_F(ColorSelectTest, OtherColoursRunTheSystemDialogFromTheCurrentColour) {
  SetWindowTextA(select, "1193046");
  HWND popup = OpenPalette();
  const RECT other = chooser->Popup().GetOtherColorsRect();
  const int x = (other.left + other.right) / 2, y = (other.top + other.bottom) / 2;
  {
    DialogDriver cancel([](HWND colours) { DialogDriver::Press(colours, IDCANCEL); });
    Click(popup, x, y);
    EXPECT_TRUE(cancel.Ran());
  }
  EXPECT_TRUE(IsWindow(popup));
  EXPECT_TRUE(g_commands.empty());
  SetWindowTextA(select, "3355443");  // 0x333333
  DestroyWindow(popup);
  popup = OpenPalette();
  DialogDriver ok([](HWND colours) { DialogDriver::Press(colours, IDOK); });
  Click(popup, x, y);
  EXPECT_TRUE(ok.Ran());
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(WindowText(select), "3355443");
  EXPECT_EQ(g_commands, std::vector<std::string>({"1023 0 3355443"}));
}

TEST_F(ColorSelectTest, DestroyedWindowsLeaveNoBindingBehind) {
  const size_t before = CWndCtrl::BoundWindows().size();
  const HWND popup = OpenPalette();
  EXPECT_EQ(CWndCtrl::BoundWindows().size(), before + 1);
  EXPECT_EQ(CWndCtrl::FromWindow(popup), &chooser->Popup());
  Click(popup, -5, -5);
  EXPECT_EQ(CWndCtrl::FromWindow(popup), nullptr) << "a closed palette is unbound";
  const HWND reopened = OpenPalette();
  DestroyWindow(select);
  EXPECT_FALSE(IsWindow(reopened)) << "the palette goes with its control";
  EXPECT_EQ(CWndCtrl::FromWindow(chooserWindow), nullptr);
  EXPECT_EQ(CWndCtrl::FromWindow(reopened), nullptr);
  EXPECT_EQ(CWndCtrl::BoundWindows().size(), before - 1);
}

TEST_F(ColorSelectTest, ADialogMayCloseTheControlWhenToldOfTheColour) {
  const size_t before = CWndCtrl::BoundWindows().size();
  g_closeOnChoice = true;
  const HWND popup = OpenPalette();
  const POINT white = CellCentre(39);
  Click(popup, white.x, white.y);
  EXPECT_EQ(g_commands, std::vector<std::string>({"1023 0 16777215"}));
  EXPECT_FALSE(IsWindow(select));
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(CWndCtrl::BoundWindows().size(), before - 1);
}

TEST(ColorPalette, FortyNamedColoursInRowsOfEight) {
  const std::vector<TNamedColor>& colors = CColorPopup::Colors();
  ASSERT_EQ(colors.size(), 40u);
  EXPECT_EQ(colors[0].name + "=" + std::to_string(colors[0].color), "Black=0");
  EXPECT_EQ(colors[9].name + "=" + std::to_string(colors[9].color), "Orange=2124031");  // 0x2068FF
  EXPECT_EQ(colors[35].name, "Pale green ") << "with its trailing blank";
  EXPECT_EQ(colors[39].name + "=" + std::to_string(colors[39].color), "White=16777215");
}

// The control's class and the framework's are undone together, and a second
// registration of the control's class is no failure.
TEST(ColorSelectClass, RegisteredOnceAndUndoneWithTheOtherClasses) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  ASSERT_TRUE(RegisterColorSelectClass(instance));
  EXPECT_TRUE(RegisterColorSelectClass(instance));
  WNDCLASSA info;
  ASSERT_TRUE(GetClassInfoA(instance, kColorSelectClass, &info));
  EXPECT_EQ(info.style, UINT(CS_GLOBALCLASS | CS_DBLCLKS));
  EXPECT_EQ(info.lpfnWndProc, ColorCtrlWndProc);
  HWND select = CreateWindowExA(0, kColorSelectClass, "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, instance, nullptr);
  EXPECT_TRUE(GetClassInfoA(instance, "WndColorCtrl", &info)) << "the framework's class, with the first chooser";
  DestroyWindow(select);
  UnregisterPluginWindowClasses();
  EXPECT_FALSE(GetClassInfoA(instance, kColorSelectClass, &info));
  EXPECT_FALSE(GetClassInfoA(instance, "WndColorCtrl", &info));
}

}  // namespace
