// Numbers shown to the user and read back from what the user typed, with the
// separators of the user's regional settings.
#include "sdk/plugin_module.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr size_t kWorkSize = 1024;
char g_formatDoubleText[kWorkSize];
char g_formatScaledText[kWorkSize];

// printf keeps at most this many fraction digits meaningful; larger requests
// only make longer texts.
constexpr int kMaxPrecision = 340;

int ClampPrecision(int precision) {
  return precision < 0 ? 0 : (precision > kMaxPrecision ? kMaxPrecision : precision);
}
}  // namespace

void CZenkPluginModule::GroupDigits(char* out, size_t size, char* in, bool localeDecimal,
                                    bool groupDigits) {
  if (out == nullptr || size == 0) return;
  if (in == nullptr) {
    out[0] = 0;
    return;
  }
  char* point = std::strchr(in, '.');
  if (point != nullptr && localeDecimal) *point = m_decimalSeparator[0];
  size_t written = 0;
  auto put = [&](char c) {
    if (written + 1 < size) out[written++] = c;
  };
  if (!groupDigits) {
    for (const char* c = in; *c; ++c) put(*c);
  } else {
    const size_t integerLength = point ? static_cast<size_t>(point - in) : std::strlen(in);
    for (size_t i = 0; i < integerLength; ++i) {
      put(in[i]);
      const size_t remaining = integerLength - i;
      if (in[i] != '-' && remaining > 1 && remaining % 3 == 1 && m_thousandsSeparator[0] != 0)
        put(m_thousandsSeparator[0]);
    }
    for (const char* c = in + integerLength; *c; ++c) put(*c);
  }
  out[written] = 0;
}

char* CZenkPluginModule::FormatDouble(char* buffer, size_t size, double value, int precision,
                                      bool localeDecimal, bool groupDigits) {
  if (buffer == nullptr) {
    buffer = g_formatDoubleText;
    size = sizeof g_formatDoubleText;
  }
  char work[kWorkSize];
  std::snprintf(work, sizeof work, "%.*f", ClampPrecision(precision), value);
  GroupDigits(buffer, size, work, localeDecimal, groupDigits);
  return buffer;
}

char* CZenkPluginModule::FormatRatio(char* buffer, size_t size, double numerator, int denominator) {
  return FormatDouble(buffer, size, numerator / denominator, denominator, true, true);
}

char* CZenkPluginModule::FormatScaled(char* buffer, size_t size, double value, int precision,
                                      bool localeDecimal, bool groupDigits) {
  if (buffer == nullptr) {
    buffer = g_formatScaledText;
    size = sizeof g_formatScaledText;
  }
  const double scaled = value / std::pow(10.0, precision);
  return FormatDouble(buffer, size, scaled, precision, localeDecimal, groupDigits);
}

double CZenkPluginModule::ParseNumber(char* text) {
  if (text == nullptr) return 0.0;
  char* out = text;
  for (char* c = text; *c; ++c) {
    char ch = *c;
    if (ch == m_thousandsSeparator[0]) ch = ' ';
    if (ch == ' ' || ch == '\n') continue;
    if (ch == m_decimalSeparator[0]) ch = '.';
    *out++ = ch;
  }
  *out = 0;
  return std::atof(text);
}

double CZenkPluginModule::GetDlgItemDouble(HWND dialog, int controlId) {
  char text[100] = {};
  GetDlgItemTextA(dialog, controlId, text, sizeof text);
  return ParseNumber(text);
}
