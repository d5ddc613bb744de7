// The host's UI information block: the fonts a plug-in's lists and dialogs
// are drawn with and the per-character widths its columns are measured in;
// and the report of the faces Wine draws the host's windows with.
#include "host/standin/standin_host.h"
#include "host/standin/window_fonts.h"

#include <gtest/gtest.h>

namespace {

HFONT FontField(const uint32_t* ui, int field) { return reinterpret_cast<HFONT>(static_cast<uintptr_t>(ui[field])); }

int TextWidth(HFONT font, const char* text) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  SIZE size = {};
  GetTextExtentPoint32A(screen, text, lstrlenA(text), &size);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return size.cx;
}

TEST(HostUiInfo, EveryPartOfAListAndEveryDialogGetsAFont) {
  StandInHost host;
  for (int field : {1, 2, 3, 4, 5})
    EXPECT_EQ(GetObjectType(FontField(host.UiInfo(), field)), static_cast<DWORD>(OBJ_FONT)) << field;
}

// Measured against this run's font, whatever face and size Wine gives it.
TEST(HostUiInfo, ColumnsMeasuredInCharactersHoldTheirText) {
  StandInHost host;
  const uint32_t* ui = host.UiInfo();
  for (const char* digits : {"0000000000", "1111111111", "4444444444", "8888888888"}) {
    const int drawn = TextWidth(FontField(ui, 4), digits);
    EXPECT_GE(static_cast<int>(10 * ui[16]), drawn) << "ten digits fit a ten-character number column: " << digits;
    EXPECT_LE(static_cast<int>(10 * ui[16]), 2 * drawn) << "and are not lost in it: " << digits;
  }
  int narrowest = 1000, widest = 0;
  for (const char* letter : {"а", "г", "ж", "и", "л", "м", "ш", "щ", "ы", "ю"}) {
    const int width = TextWidth(FontField(ui, 3), letter);
    narrowest = width < narrowest ? width : narrowest;
    widest = width > widest ? width : widest;
  }
  EXPECT_GE(static_cast<int>(ui[15]), narrowest) << "a text column's character is a letter of its font";
  EXPECT_LE(static_cast<int>(ui[15]), widest);
}

TEST(WindowFaces, AFaceNoMachineHasIsReportedMissing) {
  HFONT stranger = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Vantrel No Such Face");
  const std::vector<WindowFace> faces = ResolveWindowFaces(stranger);
  DeleteObject(stranger);
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(faces[1].role, "list font");
  EXPECT_EQ(faces[1].requested, "Vantrel No Such Face");
  EXPECT_FALSE(faces[1].present);
  std::string report;
  EXPECT_FALSE(ReportWindowFaces(faces, &report));
  EXPECT_NE(report.find("list font \"Vantrel No Such Face\": MISSING"), std::string::npos) << report;
}

}  // namespace
