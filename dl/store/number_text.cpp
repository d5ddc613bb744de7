#include "dl/store/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>

namespace DL {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Skips white space and an optional sign; returns whether the sign was "-".
bool SkipSpaceAndSign(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  return negative;
}

// The exponent digits after "e" or "p", saturated far beyond any double.
long long ReadExponent(std::string_view text, std::size_t pos) {
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  long long value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    if (value < 100000000) value = value * 10 + (text[pos] - '0');
  }
  return negative ? -value : value;
}

// Whether a number that does not fit a double is too large (rather than too
// small): compares the position of its first significant digit, moved by
// its exponent, with the units position. Hexadecimal digits count four bits.
bool IsOverflow(std::string_view number, bool hex) {
  const char exponentMark = hex ? 'p' : 'e';
  long long integerDigits = 0, leadingFractionZeros = 0;
  bool seenPoint = false, seenSignificant = false;
  std::size_t pos = 0;
  for (; pos < number.size(); ++pos) {
    char c = number[pos];
    if (c == '.') {
      seenPoint = true;
    } else if ((c | 0x20) == exponentMark) {
      break;
    } else if (!seenSignificant && c == '0') {
      if (seenPoint) ++leadingFractionZeros;
    } else {
      seenSignificant = true;
      if (!seenPoint) ++integerDigits;
    }
  }
  long long exponent = pos < number.size() ? ReadExponent(number, pos + 1) : 0;
  long long digitWeight = hex ? 4 : 1;
  long long magnitude = integerDigits > 0 ? (integerDigits - 1) * digitWeight
                                     : -(leadingFractionZeros + 1) * digitWeight;
  return magnitude + exponent > 0;
}

}  // namespace

int TextToInt(std::string_view text) {
  std::size_t pos = 0;
  bool negative = SkipSpaceAndSign(text, pos);
  long long value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

double TextToDouble(std::string_view text) {
  std::size_t pos = 0;
  bool negative = SkipSpaceAndSign(text, pos);
  if (pos >= text.size()) return 0.0;

  bool hex = text.size() - pos > 2 && text[pos] == '0' && (text[pos + 1] | 0x20) == 'x' &&
             (IsHexDigit(text[pos + 2]) ||
              (text[pos + 2] == '.' && text.size() - pos > 3 && IsHexDigit(text[pos + 3])));
  if (hex) pos += 2;
  // from_chars accepts its own "-"; after our sign only a number may follow.
  if (text[pos] == '-' || text[pos] == '+') return 0.0;

  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  double value = 0.0;
  auto result = std::from_chars(first, last, value,
                                hex ? std::chars_format::hex : std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = IsOverflow(std::string_view(first, static_cast<std::size_t>(result.ptr - first)), hex)
                ? HUGE_VAL
                : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

}  // namespace DL
