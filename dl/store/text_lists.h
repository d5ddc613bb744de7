#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace DL {

// Upper-casing folds the ASCII letters only: the Cyrillic letters of code
// page 1251 stay as they are.
void MakeUpper(std::string& text);
std::string ToUpperCopy(std::string_view text);
// Removes every space character; TABs stay.
void RemoveSpaces(std::string& text);

std::string DoubleToString(double x);  // six digits after the point, always "."
std::string IntToString(int x);
double ParseDouble(std::string_view text);

// Comma lists: items are separated by commas, spaces inside them are
// dropped, empty items are kept ("a,,b" has three items); an empty text has
// none.
std::vector<std::string> SplitCommaList(std::string_view text);
std::vector<int> SplitToInts(std::string_view text, int emptyItemValue);
std::vector<double> SplitToDoubles(std::string_view text);
std::vector<double> SplitToDoublesOrUnset(std::string_view text);

// The broker's list of five numbers; an omitted tail takes the defaults
// 1, 1, -1, -1, -1. Only digits and "." are kept from each field.
std::vector<double> ParseNumberList(std::string_view text);

// The next "_"-separated token of a key, searching from position from - 1
// (from is at least 1); a token that starts with "(" runs to the next ")"
// and excludes both brackets. On success the token is text[start..end], both
// included (end = start - 1 for an empty bracketed token).
bool ParseKeySuffix(std::string_view text, std::size_t from, std::size_t& start,
                    std::size_t& end);

}  // namespace DL
