#include "dl/store/ini_file.h"

#include <algorithm>
#include <cstring>

#include "dl/store/no_case_order.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

std::string_view OrEmpty(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

bool TNoCaseLess::operator()(std::string_view a, std::string_view b) const {
  return TIniFile::CompareNoCase(a, b) < 0;
}

int TIniFile::CompareNoCase(std::string_view a, std::string_view b) {
  return CompareNoCaseInline(a, b);
}

TIniFile::TIniFile() = default;

TIniFile::TIniFile(const char* source, int mode, char commentChar, int flag) {
  Parse(source, mode, commentChar, flag);
}

const TIniFile::TSectionSpan* TIniFile::FindSpan(std::string_view section) const {
  auto it = std::lower_bound(sections_.begin(), sections_.end(), section,
                             [this](const TSectionSpan& span, std::string_view name) {
                               return CompareNoCaseInline(View(span.name), name) < 0;
                             });
  if (it == sections_.end() || CompareNoCaseInline(View(it->name), section) != 0) return nullptr;
  return &*it;
}

const TIniFile::TEntry* TIniFile::FindEntry(std::string_view section, std::string_view key) const {
  const TSectionSpan* span = FindSpan(section);
  if (span == nullptr) return nullptr;
  const TEntry* first = entries_.data() + span->firstEntry;
  const TEntry* last = first + span->entryCount;
  const TEntry* it = std::lower_bound(first, last, key, [this](const TEntry& entry, std::string_view k) {
    return CompareNoCaseInline(View(entry.key), k) < 0;
  });
  if (it == last || CompareNoCaseInline(View(it->key), key) != 0) return nullptr;
  return it;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  const TEntry* entry = FindEntry(section, key);
  return std::string(entry != nullptr ? View(entry->value) : defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const TEntry* entry = FindEntry(section, key);
  if (entry == nullptr || entry->value.length == 0) return defaultValue;
  return TextToInt(View(entry->value));
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  const TEntry* entry = FindEntry(section, key);
  if (entry == nullptr || entry->value.length == 0) return defaultValue;
  return TextToInt(View(entry->value)) != 0;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key,
                           double defaultValue) const {
  const TEntry* entry = FindEntry(section, key);
  if (entry == nullptr || entry->value.length == 0) return defaultValue;
  return TextToDouble(View(entry->value));
}

char TIniFile::ReadChar(std::string_view section, std::string_view key, char defaultValue) const {
  const TEntry* entry = FindEntry(section, key);
  if (entry == nullptr || entry->value.length == 0) return defaultValue;
  return View(entry->value)[0];
}

TIniSection TIniFile::ReadSection(std::string_view section) const {
  TIniSection copy;
  const TSectionSpan* span = FindSpan(section);
  if (span == nullptr) return copy;
  for (std::uint32_t i = 0; i < span->entryCount; ++i) {
    const TEntry& entry = entries_[span->firstEntry + i];
    copy.emplace_hint(copy.end(), View(entry.key), View(entry.value));
  }
  return copy;
}

std::string TIniFile::FindSection(std::string prefix, std::string suffix) const {
  MakeUpper(prefix);
  MakeUpper(suffix);
  for (const std::string& name : upperNames_) {
    if (name.size() < prefix.size() + suffix.size()) continue;
    if (suffix.empty()) {
      if (name == prefix) return name;
    } else if (name.compare(0, prefix.size(), prefix) == 0 &&
               name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      return name;
    }
  }
  return std::string();
}

bool TIniFile::SectionExists(std::string_view name) const {
  std::string upper = ToUpperCopy(name);
  return std::find(upperNames_.begin(), upperNames_.end(), upper) != upperNames_.end();
}

bool TIniFile::IsInCachedList(const char* key, const char* listText, const char* item) {
  auto it = listMemo_.find(std::string(OrEmpty(key)));
  if (it == listMemo_.end()) {
    it = listMemo_.emplace(std::string(OrEmpty(key)), SplitCommaList(OrEmpty(listText))).first;
  }
  const std::vector<std::string>& items = it->second;
  return std::find(items.begin(), items.end(), OrEmpty(item)) != items.end();
}

std::vector<int> TIniFile::AllLimitKinds() {
  if (!limitKinds_.empty()) return limitKinds_;
  for (const TSectionSpan& section : sections_) {
    for (std::uint32_t i = 0; i < section.entryCount; ++i) {
      const TEntry& entry = entries_[section.firstEntry + i];
      if (CompareNoCase(View(entry.key), "LIMITKINDS") != 0) continue;
      std::vector<int> kinds = SplitToInts(View(entry.value), 0);
      std::sort(kinds.begin(), kinds.end());
      std::vector<int> merged;
      std::set_union(limitKinds_.begin(), limitKinds_.end(), kinds.begin(), kinds.end(),
                     std::back_inserter(merged));
      merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
      limitKinds_.swap(merged);
    }
  }
  return limitKinds_;
}

std::size_t TIniFile::ReadSectionNames(char* buffer, std::size_t capacity) const {
  if (buffer == nullptr || capacity == 0) return 0;
  std::size_t written = 0;
  for (const std::string& name : names_) {
    if (written + name.size() + 1 > capacity - 1) break;
    std::memcpy(buffer + written, name.c_str(), name.size() + 1);
    written += name.size() + 1;
  }
  buffer[written++] = '\0';
  return written;
}

std::size_t TIniFile::ReadStringToBuffer(const char* section, const char* key, char* buffer,
                                         std::size_t capacity, const char* defaultValue) const {
  if (buffer == nullptr || capacity == 0) return 0;
  std::string value = ReadString(OrEmpty(section), OrEmpty(key), OrEmpty(defaultValue));
  std::size_t length = std::min(value.size(), capacity - 1);
  std::memcpy(buffer, value.data(), length);
  buffer[length] = '\0';
  return length;
}

std::size_t TIniFile::ReadSectionText(const char* section, char* buffer,
                                      std::size_t capacity) const {
  const TSectionSpan* span = FindSpan(OrEmpty(section));
  if (buffer == nullptr || capacity == 0 || span == nullptr || span->entryCount == 0) return 0;
  std::size_t written = 0;
  for (std::uint32_t i = 0; i < span->entryCount; ++i) {
    const TEntry& entry = entries_[span->firstEntry + i];
    std::size_t length = entry.key.length + 1 + entry.value.length;
    if (written + length + 1 > capacity - 1) break;
    std::memcpy(buffer + written, View(entry.key).data(), entry.key.length);
    buffer[written + entry.key.length] = '=';
    std::memcpy(buffer + written + entry.key.length + 1, View(entry.value).data(),
                entry.value.length);
    buffer[written + length] = '\0';
    written += length + 1;
  }
  buffer[written++] = '\0';
  return written;
}

}  // namespace DL
