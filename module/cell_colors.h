// Row colours of the two tables: the risk table by the client's funds
// sufficiency against the warning and critical levels, the closing-orders
// table by the order's state.
#pragma once

#include <windows.h>
#include <cstdint>

// The colour record handed with a row: flags, then the text colour (first
// value) and the background (third value) among five values. A value with the
// high bit set stands for a Windows system colour.
struct TRowColors {
  uint32_t flags = 0;
  uint32_t values[5] = {};
  uint32_t TextColor() const { return values[0]; }
  uint32_t Background() const { return values[2]; }
};

constexpr uint32_t kRowColorFlags = 3;
constexpr uint32_t kSystemColor = 0x80000000;
constexpr uint32_t kWindowBackground = kSystemColor + COLOR_WINDOW;
constexpr uint32_t kWindowText = kSystemColor + COLOR_WINDOWTEXT;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;

// The colours and funds-sufficiency levels of the module's settings.
struct TRiskColorSettings {
  uint32_t NormalColor = kWindowBackground;
  uint32_t WarningColor = 0;
  uint32_t CriticalColor = 0;
  double SFRWarningLevel = 0.0;
  double SFRCriticalLevel = 0.0;
  double SFRWarningLevel_fp = 0.0;
  double SFRCriticalLevel_fp = 0.0;
};

// A client's funds sufficiency level and its level for open positions.
struct TFundsSufficiency {
  double sfr = 0.0;
  double sfrOpenPositions = 0.0;
};

// Nothing for a null client.
void GetRiskCellColors(const TRiskColorSettings& settings, const TFundsSufficiency* client,
                       TRowColors* colors);

// The order row is a host order record: red text while active, window text
// once withdrawn, blue otherwise. A null row leaves the record zeroed.
void GetOrderRowColors(const void* orderRow, TRowColors* colors);
