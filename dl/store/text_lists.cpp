#include "dl/store/text_lists.h"

#include <charconv>

#include "dl/store/number_text.h"

namespace DL {
namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void MakeUpper(std::string& text) {
  for (char& c : text) c = UpperAscii(c);
}

std::string ToUpperCopy(std::string_view text) {
  std::string copy(text);
  MakeUpper(copy);
  return copy;
}

void RemoveSpaces(std::string& text) {
  std::string::size_type kept = 0;
  for (char c : text) {
    if (c != ' ') text[kept++] = c;
  }
  text.resize(kept);
}

std::string DoubleToString(double x) {
  // The largest double has 309 integer digits.
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

std::string IntToString(int x) { return std::to_string(x); }

double ParseDouble(std::string_view text) { return TextToDouble(text); }

std::vector<std::string> SplitCommaList(std::string_view text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  std::string item;
  for (std::size_t pos = 0; pos <= text.size(); ++pos) {
    if (pos == text.size() || text[pos] == ',') {
      items.push_back(item);
      item.clear();
    } else if (text[pos] != ' ') {
      item += text[pos];
    }
  }
  return items;
}

std::vector<int> SplitToInts(std::string_view text, int emptyItemValue) {
  std::vector<int> numbers;
  for (const std::string& item : SplitCommaList(text)) {
    numbers.push_back(item.empty() ? emptyItemValue : TextToInt(item));
  }
  return numbers;
}

std::vector<double> SplitToDoubles(std::string_view text) {
  std::vector<double> numbers;
  for (const std::string& item : SplitCommaList(text)) numbers.push_back(TextToDouble(item));
  return numbers;
}

std::vector<double> SplitToDoublesOrUnset(std::string_view text) {
  std::vector<double> numbers;
  for (const std::string& item : SplitCommaList(text)) {
    numbers.push_back(item.empty() ? -1.0 : TextToDouble(item));
  }
  return numbers;
}

std::vector<double> ParseNumberList(std::string_view text) {
  static const double kDefaults[] = {1.0, 1.0, -1.0, -1.0, -1.0};
  std::vector<double> numbers;
  std::string field;
  int fieldIndex = -1;
  for (std::size_t pos = 0; pos <= text.size(); ++pos) {
    if (pos == text.size() || text[pos] == ',') {
      ++fieldIndex;
      if (!field.empty()) {
        numbers.push_back(TextToDouble(field));
        field.clear();
      } else {
        for (int k = fieldIndex; k < 5; ++k) numbers.push_back(kDefaults[k]);
      }
    } else if ((text[pos] >= '0' && text[pos] <= '9') || text[pos] == '.') {
      field += text[pos];
    }
  }
  return numbers;
}

bool ParseKeySuffix(std::string_view text, std::size_t from, std::size_t& start,
                    std::size_t& end) {
  start = 0;
  end = 0;
  std::size_t i = from == 0 ? 0 : from - 1;
  while (i < text.size() && text[i] != '_') ++i;
  if (i >= text.size() || i + 1 == text.size()) return false;
  std::size_t j = i + 1;
  if (text[j] == '(' && j + 1 < text.size()) {
    std::size_t close = text.find(')', j + 1);
    if (close == std::string_view::npos) return false;
    start = j + 1;
    end = close - 1;
    return true;
  }
  start = j;
  std::size_t next = text.find('_', j + 1);
  end = next == std::string_view::npos ? text.size() - 1 : next - 1;
  return true;
}

}  // namespace DL
