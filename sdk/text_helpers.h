// Small in-place text operations on zero-terminated texts.
#pragma once

#include <string>

void TrimBlanks(char* text);
void TrimLeftBlanks(char* text);
void TrimRightBlanks(char* text);
// Trailing blanks, carriage returns, line feeds and dots.
void TrimRightBlanksDots(char* text);
void RemoveBlanksAndNewlines(char* text);
void ReplaceChar(char* text, char from, char to);
// Replaces the first occurrence; true when there was one.
bool ReplaceFirst(std::string& text, const char* what, const char* replacement);
// True when an element of the list (split at the separator, blanks and line
// feeds removed, cut to 511 characters) equals the item without regard to case.
bool IsInList(const char* item, char separator, const char* list);
