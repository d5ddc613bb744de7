// A filled table on screen, saved as a picture under the build tree so that a
// person can look at what the list shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/window_capture.h"
#include "test_environment.h"

namespace table_test {
namespace {

TEST(TableScreenshot, AFilledTableIsDrawnAndSaved) {
  TestEnvironment env(true);
  const char* names[] = {"Иванов И.И.", "Петров П.П.", "Сидоров С.С.", "ООО Ромашка", "АО Вектор",
                         "Смирнова А.А.", "Кузнецов К.К.", "ЗАО Альфа", "Попов П.П.", "Орлова О.О."};
  std::vector<TestRow> rows;
  for (int i = 0; i < 10; ++i)
    rows.push_back({names[i], 10.0 * (i + 1), 1000.5 * (i - 3), 20240100.0 + i + 1, 93000.0 + i * 100,
                    1e6 * i, ""});
  std::vector<TestRow*> source;
  for (TestRow& row : rows) source.push_back(&row);
  TestTable* table = env.CreateTable(source);
  ASSERT_NE(table, nullptr);
  const COLORREF warning = RGB(255, 205, 205), danger = RGB(200, 0, 0);
  TableRowColours colours = {0x01, {0, 0, warning, 0, 0}};
  table->UpsertRow(&rows[2], -1, kRowUpdate, &colours);
  TableRowColours red = {0x02, {danger, 0, 0, 0, 0}};
  table->UpsertRow(&rows[0], -1, kRowUpdate, &red);
  ZListSortField sort = {3, 0};  // Сумма, descending
  ListSetSortFields(ListOf(table), 1, &sort);
  table->GetView()->SetSelection(GetDefaultIndex(ListOf(table), &rows[5]), 1);
  table->MaximizeFrame();
  RedrawWindow(env.MainFrame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  env.Pump();
  Sleep(200);
  env.Pump();

  // The warning row's count cell is drawn in its colour.
  HWND list = ListOf(table);
  int line = GetDefaultIndex(list, &rows[2]);
  int x = GetColumnWidth(list, 0) + GetColumnWidth(list, 1) + 5;
  int y = line * env.LineHeight() + env.LineHeight() / 2;
  RECT listArea;
  GetClientRect(list, &listArea);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, listArea.right, listArea.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  EXPECT_EQ(GetPixel(memory, x, y), warning);
  EXPECT_EQ(GetPixel(memory, x, (GetDefaultIndex(list, &rows[1]) * env.LineHeight()) + 3), GetSysColor(COLOR_WINDOW));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  // What the screen shows of the host, for a person to look at.
  Capture capture = CaptureWindow(env.MainFrame());
  ASSERT_GT(capture.width, 0);
  std::string path = ScreenshotFolder() + "\\table_window.bmp";
  ASSERT_TRUE(SaveBitmap(capture, path)) << path;
  printf("screenshot: %s\n", path.c_str());
}

}  // namespace
}  // namespace table_test
