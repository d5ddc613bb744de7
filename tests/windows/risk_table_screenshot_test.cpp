// A filled risk table on screen, saved as a picture under the build tree so
// that a person can look at it; and the first layout of a new orders table.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "risk_table_environment.h"
#include "support/window_capture.h"
#include "sdk/numeric.h"

namespace windows_test {
namespace {

// The list's own drawing of one pixel.
COLORREF DrawnPixel(HWND list, int x, int y) {
  RECT area;
  GetClientRect(list, &area);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const COLORREF pixel = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixel;
}

TEST(RiskTableScreenshot, AFilledRiskTableIsDrawnInItsColoursAndSaved) {
  RiskTableEnvironment env(true);
  const COLORREF normal = RGB(255, 255, 255), warning = RGB(255, 235, 150), critical = RGB(255, 160, 160);
  TRiskColorSettings& colours = env.Module().colours;
  colours.NormalColor = normal;
  colours.WarningColor = warning;
  colours.CriticalColor = critical;
  colours.SFRWarningLevel = colours.SFRWarningLevel_fp = 1.5;
  colours.SFRCriticalLevel = colours.SFRCriticalLevel_fp = 1.0;
  const char* accounts[] = {"SPBFUT00A01", "SPBFUT00A02", "SPBFUT00B11", "SPBFUT00C07", "SPBFUT00D42",
                            "SPBFUT00E13", "SPBFUT00F55", "SPBFUT00G08"};
  const double sfr[] = {2.75, 1.32, 0.84, kValueNotSet, 3.1, 1.05, 1.49, 5.0};
  std::vector<std::unique_ptr<TClientRiskRecord>> clients;
  for (int i = 0; i < 8; ++i) {
    clients.push_back(MakeClient(i < 5 ? "MC0001200000" : "MC0002300000", accounts[i],
                                 ("C" + std::to_string(1000 + i * 37)).c_str()));
    TClientRiskRecord& c = *clients.back();
    c.dayStartLimit = 150000000.0 + i * 12345678;
    c.openPositionLimit = c.dayStartLimit - i * 3456789;
    c.currentNetPosition = 42000000.0 * (i % 3);
    c.plannedNetPosition = c.openPositionLimit - c.currentNetPosition - 5000000.0 * i;
    c.variationMargin = (i % 2 ? -1 : 1) * 1234567.0 * i;
    c.totalAssets = c.openPositionLimit + 987654.0;
    c.sfr = sfr[i];
    c.sfrOpenPositions = sfr[i] == kValueNotSet ? kValueNotSet : sfr[i] + 0.2;
    c.clgo = 1.0 + 0.1 * i;
    c.marginLevel = 0.05 * i;
    c.modifiedMarginLevel = 0.0123 * i;
    c.cashLeverage = i % 3 == 0 ? kValueNotSet : 1.5 * i;
    env.Module().records.push_back(&c);
  }
  CVantrelFutRiskParamsTable* table = env.CreateRiskTable();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(GetNRows(ListOf(table)), 9);
  table->MaximizeFrame();
  RedrawWindow(env.MainFrame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  env.Pump();
  Sleep(200);
  env.Pump();

  // A cell of the firm column, away from its text, in the row's colour.
  HWND list = ListOf(table);
  const int x = GetColumnWidth(list, 0) + GetColumnWidth(list, 1) - 3;
  auto rowY = [&](TClientRiskRecord* c) { return LineOf(table, c) * env.LineHeight() + env.LineHeight() / 2; };
  EXPECT_EQ(DrawnPixel(list, x, rowY(clients[0].get())), normal);
  EXPECT_EQ(DrawnPixel(list, x, rowY(clients[1].get())), warning);
  EXPECT_EQ(DrawnPixel(list, x, rowY(clients[2].get())), critical);

  Capture capture = CaptureWindow(env.MainFrame());
  ASSERT_GT(capture.width, 0);
  const std::string path = ScreenshotFolder() + "\\risk_table.bmp";
  ASSERT_TRUE(SaveBitmap(capture, path)) << path;
  printf("screenshot: %s\n", path.c_str());

  // The ratio columns, at the right end of the list.
  for (int page = 0; page < 10; ++page) SendMessageA(list, WM_HSCROLL, SB_PAGERIGHT, 0);
  RedrawWindow(env.MainFrame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  env.Pump();
  const std::string rightPath = ScreenshotFolder() + "\\risk_table_ratios.bmp";
  ASSERT_TRUE(SaveBitmap(CaptureWindow(env.MainFrame()), rightPath)) << rightPath;
}

TEST(OrdersColumnsLayout, ANewOrdersTableOpensWithItsThirteenVisibleColumns) {
  RiskTableEnvironment env;
  CTablePlugin* table = env.CreatePlainTable(&env.Schemas().orders);
  ASSERT_NE(table, nullptr);
  std::vector<int> ids;
  for (const ColumnRef& column : table->GetView()->Columns()) ids.push_back(column.identifier);
  EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 4, 7, 8, 9, 10, 12, 13, 18, 33}));
  const std::vector<std::string> titles = HeaderTitles(table);
  ASSERT_EQ(titles.size(), 13u);
  EXPECT_EQ(titles[1], "Номер");
  EXPECT_EQ(titles[12], "Код биржи");
}

}  // namespace
}  // namespace windows_test
