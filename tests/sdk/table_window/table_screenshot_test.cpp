// A filled table on screen, saved as a picture under the build tree so that a
// person can look at what the list shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_environment.h"

namespace table_test {
namespace {

// The window's pixels as the screen shows them, bottom-up 24-bit rows.
struct Capture {
  int width = 0, height = 0, stride = 0;
  std::vector<uint8_t> pixels;

  };

Capture CaptureWindow(HWND window) {
  Capture capture;
  RECT r;
  GetWindowRect(window, &r);
  capture.width = r.right - r.left;
  capture.height = r.bottom - r.top;
  capture.stride = (capture.width * 3 + 3) & ~3;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, capture.width, capture.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = capture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  capture.pixels.resize(static_cast<size_t>(capture.stride) * capture.height);
  GetDIBits(memory, bitmap, 0, capture.height, capture.pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}

bool SaveBitmap(const Capture& capture, const std::string& path) {
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = capture.width;
  info.biHeight = capture.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(capture.pixels.size());
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
            fwrite(capture.pixels.data(), capture.pixels.size(), 1, out) == 1;
  return fclose(out) == 0 && ok;
}

// build/screenshots, beside the folder of the test executables.
std::string ScreenshotFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder = folder.substr(0, folder.find_last_of("\\/"));
  folder = folder.substr(0, folder.find_last_of("\\/")) + "\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

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
