#include "module/trimmed_number.h"

#include "sdk/text_helpers.h"

#include <cstdio>
#include <string>

void FormatTrimmedDouble(char* buffer, size_t size, double value, char decimalSeparator) {
  if (buffer == nullptr || size == 0) return;
  char text[512];
  std::snprintf(text, sizeof text, "%f", value);
  std::string trimmed = text;
  // Only the fraction loses its zeros; a text without a point (inf, nan) stays.
  if (trimmed.find('.') != std::string::npos) {
    while (!trimmed.empty() && trimmed.back() == '0') trimmed.pop_back();
    if (!trimmed.empty() && trimmed.back() == '.') trimmed.pop_back();
  }
  const size_t length = trimmed.size() < size - 1 ? trimmed.size() : size - 1;
  trimmed.copy(buffer, length);
  buffer[length] = '\0';
  ReplaceChar(buffer, '.', decimalSeparator);
}
