#include "module/notify/address_file.h"
#include "module/settings/text_file_lines.h"

#include <cstdlib>

namespace {

// The files' keys were fixed-size fields in the programs that write them.
const std::size_t kKeyLength = 33;

std::string Stripped(const std::string& text) {
  const std::string::size_type first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Key(const std::string& text) { return Stripped(text.substr(0, kKeyLength)); }

void AddValue(const std::string& value, EAddressFileKind kind, TAddressRecord& record) {
  if (kind == EAddressFileKind::kUids)
    record.Uids.push_back(std::atoi(value.c_str()));
  else
    record.Emails.push_back(value);
}

void ReadLine(const std::string& line, EAddressFileKind kind, TAddressMap& map) {
  const std::string::size_type separator = line.find_first_of(",=");
  if (separator == std::string::npos) return;
  const std::string code = Key(line.substr(0, separator));
  std::string firm;
  std::string::size_type equals = separator;
  if (line[separator] == ',') {
    std::string::size_type start = separator + 1;
    if (start < line.size() && line[start] == ' ') ++start;
    equals = line.find('=', start);
    if (equals == std::string::npos) return;
    firm = Key(line.substr(start, equals - start));
  }
  TAddressRecord& record = map.emplace(code + firm, TAddressRecord{code, {}, {}}).first->second;
  for (std::string::size_type start = equals + 1; start < line.size();) {
    const std::string::size_type comma = line.find(',', start);
    AddValue(Stripped(line.substr(start, comma - start)), kind, record);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

}  // namespace

bool ReadAddressFile(const std::string& path, EAddressFileKind kind, TAddressMap& map) {
  return ForEachTextFileLine(path, [&](const std::string& line) { ReadLine(line, kind, map); });
}

bool ReloadAddressFile(const std::string& path, EAddressFileKind kind, TAddressMap& map) {
  for (TAddressMap::value_type& entry : map) {
    if (kind == EAddressFileKind::kUids)
      entry.second.Uids.clear();
    else
      entry.second.Emails.clear();
  }
  return ReadAddressFile(path, kind, map);
}
