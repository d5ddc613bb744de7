// Parsing of the settings text: one pass over the text that records every
// name, key and value as a slice of it, then a sort of each section's keys
// and of the sections.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "dl/store/ini_file.h"
#include "dl/store/no_case_order.h"
#include "dl/store/text_lists.h"

namespace DL {

class TIniFile::TParser {
 public:
  TParser(TIniFile& ini, char commentChar) : ini_(ini), text_(ini.text_.c_str()) {
    // The text ends with its NUL terminator, so every scan stops there.
    for (char c : {'\r', '\n', '\0'}) lineEnd_[Byte(c)] = true;
    scan_[Byte('[')] = kBracket;
    scan_[Byte('=')] = kEquals;
    // The comment character wins over "[" and "=".
    for (char c : {'\r', '\n', '\0', commentChar}) {
      scan_[Byte(c)] = kStop;
      valueEnd_[Byte(c)] = true;
    }
    nameEnd_[Byte(']')] = kBracket;
    // Blanks, line ends and the comment character inside the brackets make a
    // header bad; the comment character wins even over "]".
    for (char c : {' ', '\t', '\r', '\n', '\0', commentChar}) nameEnd_[Byte(c)] = kStop;
  }

  void Run() {
    std::size_t pos = 0;
    for (;;) {
      while (IsBlankOrLineEnd(text_[pos])) ++pos;
      if (text_[pos] == '\0') break;
      pos = ParseLine(pos);
    }
    StorePending();
    MergeSections();
  }

 private:
  enum : unsigned char { kPlain = 0, kStop, kBracket, kEquals };

  static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
  static bool IsBlankOrLineEnd(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }
  static unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

  // Parses the line that starts (after its blanks) at pos; returns the
  // position of its end.
  std::size_t ParseLine(std::size_t lineStart) {
    std::size_t pos = lineStart;
    while (scan_[Byte(text_[pos])] == kPlain) ++pos;
    switch (scan_[Byte(text_[pos])]) {
      case kBracket:
        StorePending();
        if (pos == lineStart) pos = ParseHeaderName(pos + 1);
        break;
      case kEquals:
        pos = ParseKeyLine(lineStart, pos);
        break;
      default:  // a comment or a line with neither "[" nor "="
        break;
    }
    while (!lineEnd_[Byte(text_[pos])]) ++pos;
    return pos;
  }

  std::size_t ParseHeaderName(std::size_t nameStart) {
    std::size_t pos = nameStart;
    while (nameEnd_[Byte(text_[pos])] == kPlain) ++pos;
    if (nameEnd_[Byte(text_[pos])] == kBracket && pos > nameStart) {
      current_ = Slice(nameStart, pos);
      inSection_ = true;
    }
    return pos;
  }

  std::size_t ParseKeyLine(std::size_t lineStart, std::size_t equals) {
    std::size_t keyEnd = equals;
    while (keyEnd > lineStart && IsBlank(text_[keyEnd - 1])) --keyEnd;
    std::size_t valueStart = equals + 1;
    while (IsBlank(text_[valueStart])) ++valueStart;
    std::size_t valueEnd = valueStart;
    while (!valueEnd_[Byte(text_[valueEnd])]) ++valueEnd;
    // Keys outside a good section are dropped at the next header anyway.
    if (inSection_ && keyEnd > lineStart) {
      ini_.entries_.push_back(TEntry{Slice(lineStart, keyEnd), Slice(valueStart, valueEnd)});
    }
    return valueEnd;
  }

  TSlice Slice(std::size_t begin, std::size_t end) const {
    return TSlice{static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)};
  }

  bool KeyLess(const TEntry& a, const TEntry& b) const {
    return CompareNoCaseInline(ini_.View(a.key), ini_.View(b.key)) < 0;
  }

  // Closes the current section: its keys sorted, a repeated key holding the
  // spelling of its first and the value of its last occurrence.
  void StorePending() {
    if (!inSection_) return;
    inSection_ = false;
    std::vector<TEntry>& entries = ini_.entries_;
    auto first = entries.begin() + static_cast<std::ptrdiff_t>(pendingStart_);
    auto less = [this](const TEntry& a, const TEntry& b) { return KeyLess(a, b); };
    if (entries.end() - first <= kInsertionSortLimit) {
      InsertionSort(first, entries.end(), less);
    } else {
      std::stable_sort(first, entries.end(), less);
    }
    auto kept = first;
    for (auto it = first; it != entries.end(); ++it) {
      if (kept != first && !KeyLess(*(kept - 1), *it)) {
        (kept - 1)->value = it->value;
      } else {
        *kept++ = *it;
      }
    }
    entries.erase(kept, entries.end());
    ini_.sections_.push_back(TSectionSpan{current_, static_cast<std::uint32_t>(pendingStart_),
                                          static_cast<std::uint32_t>(entries.size() - pendingStart_)});
    pendingStart_ = entries.size();
  }

  // Sections in name order; a repeated section keeps the spelling of its
  // first and the keys of its last occurrence.
  void MergeSections() {
    std::vector<TSectionSpan>& sections = ini_.sections_;
    auto less = [this](const TSectionSpan& a, const TSectionSpan& b) {
      return CompareNoCaseInline(ini_.View(a.name), ini_.View(b.name)) < 0;
    };
    std::stable_sort(sections.begin(), sections.end(), less);
    auto kept = sections.begin();
    for (auto it = sections.begin(); it != sections.end(); ++it) {
      if (kept != sections.begin() && !less(*(kept - 1), *it)) {
        (kept - 1)->firstEntry = it->firstEntry;
        (kept - 1)->entryCount = it->entryCount;
      } else {
        *kept++ = *it;
      }
    }
    sections.erase(kept, sections.end());
  }

  // Sections hold a handful of keys: a stable insertion sort beats
  // stable_sort's buffer allocation there.
  static constexpr std::ptrdiff_t kInsertionSortLimit = 24;
  template <class Iterator, class Less>
  static void InsertionSort(Iterator first, Iterator last, Less less) {
    for (Iterator it = first; it != last; ++it) {
      auto moving = *it;
      Iterator hole = it;
      for (; hole != first && less(moving, *(hole - 1)); --hole) *hole = *(hole - 1);
      *hole = moving;
    }
  }

  TIniFile& ini_;
  const char* text_;
  bool lineEnd_[256] = {};
  unsigned char scan_[256] = {};
  bool valueEnd_[256] = {};
  unsigned char nameEnd_[256] = {};
  bool inSection_ = false;
  TSlice current_{0, 0};
  std::size_t pendingStart_ = 0;
};

void TIniFile::Clear() {
  text_.clear();
  entries_.clear();
  sections_.clear();
  upperNames_.clear();
  names_.clear();
  listMemo_.clear();
  limitKinds_.clear();
}

bool TIniFile::LoadFile(const char* path) {
  // Binary: the grammar itself takes CR, LF and CR LF as line ends.
  std::FILE* file = path != nullptr ? std::fopen(path, "rb") : nullptr;
  if (file == nullptr) return false;
  char chunk[65536];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text_.append(chunk, count);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    text_.clear();
    return false;
  }
  std::size_t nul = text_.find('\0');
  if (nul != std::string::npos) text_.resize(nul);
  return true;
}

bool TIniFile::Parse(const char* source, int mode, char commentChar, int /*flag*/) {
  Clear();
  if (mode == kSourceFile) {
    if (!LoadFile(source)) return false;
  } else if (source != nullptr) {
    text_.assign(source);
  }
  // Slices hold 32-bit offsets; only a native build could read a larger file.
  if (text_.size() >= std::numeric_limits<std::uint32_t>::max()) {
    Clear();
    return false;
  }
  TParser(*this, commentChar).Run();

  names_.reserve(sections_.size());
  upperNames_.reserve(sections_.size());
  for (const TSectionSpan& section : sections_) {
    names_.emplace_back(View(section.name));
    upperNames_.push_back(ToUpperCopy(View(section.name)));
  }
  return true;
}

}  // namespace DL
