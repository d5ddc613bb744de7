#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace DL {

// The order of section names and keys: byte by byte, each byte taken as a
// signed char with only a to z folded to upper case, a proper prefix first.
// So names differing only in ASCII case are equal, and bytes 128..255 (the
// Cyrillic letters of code page 1251) sort before every ASCII character.
struct TNoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

using TIniSection = std::map<std::string, std::string, TNoCaseLess>;

// The broker's settings text in INI form, parsed once into sorted sections
// of key/value pairs. Lines end at CR or LF; "[name]" starts a section (a
// blank, the comment character or a line end inside the brackets makes the
// header bad, and keys are dropped until the next good header); "key=value"
// sets a key (the last occurrence wins, the value runs to the comment
// character and keeps its trailing blanks); a section given twice keeps the
// keys of its last occurrence. Names and keys keep the letter case of their
// first occurrence.
//
// Reads never run concurrently: IsInCachedList and AllLimitKinds fill
// memos.
class TIniFile {
 public:
  enum { kSourceFile = 1, kSourceText = 2 };

  TIniFile();
  // Parses the source at once; see Parse. The flag has no effect.
  TIniFile(const char* source, int mode, char commentChar, int flag);

  // Mode 1: source names a file, read whole up to its first NUL byte; false
  // when it cannot be read (the reader is then empty). Any other mode: source
  // is the text itself. A null source is an empty text.
  bool Parse(const char* source, int mode, char commentChar, int flag);

  static int CompareNoCase(std::string_view a, std::string_view b);

  // Section and key arguments match in any ASCII case.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The numeric reads return the default when the value is absent or empty.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;
  char ReadChar(std::string_view section, std::string_view key, char defaultValue) const;
  TIniSection ReadSection(std::string_view section) const;

  // The first upper-cased section name that starts with prefix and ends with
  // suffix; with an empty suffix the whole name must equal prefix. "" when
  // none matches.
  std::string FindSection(std::string prefix, std::string suffix) const;
  bool SectionExists(std::string_view name) const;

  // Whether item is one of the comma-list items memoised under key; the
  // list text is split only the first time a key is asked. Null texts are
  // empty.
  bool IsInCachedList(const char* key, const char* listText, const char* item);
  // Every LIMITKINDS value of every section, merged and ascending.
  std::vector<int> AllLimitKinds();

  // Section names in the reader's order: upper-cased and as written.
  const std::vector<std::string>& GetUpperSectionNames() const { return upperNames_; }
  const std::vector<std::string>& GetSectionNames() const { return names_; }

  // Profile-style buffer reads. Each writes at most capacity characters
  // (nothing at all at capacity 0 or with a null buffer), terminates what it
  // writes, and cuts what does not fit: a string is cut to capacity - 1
  // characters, a list keeps the whole entries that fit.
  std::size_t ReadSectionNames(char* buffer, std::size_t capacity) const;
  std::size_t ReadStringToBuffer(const char* section, const char* key, char* buffer,
                                 std::size_t capacity, const char* defaultValue) const;
  std::size_t ReadSectionText(const char* section, char* buffer, std::size_t capacity) const;

 private:
  // Names, keys and values are all slices of text_, the copy of the source.
  struct TSlice {
    std::uint32_t offset;
    std::uint32_t length;
  };
  struct TEntry {
    TSlice key;
    TSlice value;
  };
  struct TSectionSpan {
    TSlice name;
    std::uint32_t firstEntry;
    std::uint32_t entryCount;
  };
  class TParser;

  std::string_view View(TSlice slice) const {
    return std::string_view(text_.data() + slice.offset, slice.length);
  }
  void Clear();
  bool LoadFile(const char* path);
  const TSectionSpan* FindSpan(std::string_view section) const;
  const TEntry* FindEntry(std::string_view section, std::string_view key) const;

  std::string text_;
  std::vector<TEntry> entries_;
  std::vector<TSectionSpan> sections_;  // sorted, one per name
  std::vector<std::string> upperNames_;
  std::vector<std::string> names_;
  std::map<std::string, std::vector<std::string>> listMemo_;
  std::vector<int> limitKinds_;
};

}  // namespace DL
