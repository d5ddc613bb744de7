#include "module/notify/address_file.h"
#include "module/settings/text_file_lines.h"

#include <cerrno>
#include <climits>
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

// A UID is a whole number of 32 bits and nothing else.
bool ParseUid(const std::string& text, int* uid) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  if (*end != 0 || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
  *uid = static_cast<int>(number);
  return true;
}

// Where a line stands, for the errors found in it.
struct TLinePlace {
  const std::string& path;
  int number;
  std::vector<std::string>* errors;
};

// A UID that is not a number is left out: taken as 0 it would send the
// client's margin calls to whoever has UID 0.
void AddValue(const std::string& value, EAddressFileKind kind, const TLinePlace& place,
              TAddressRecord& record) {
  if (kind == EAddressFileKind::kEmails) {
    record.Emails.push_back(value);
    return;
  }
  int uid = 0;
  if (ParseUid(value, &uid))
    record.Uids.push_back(uid);
  else if (place.errors != nullptr)
    place.errors->push_back("ERROR: UID \"" + value + "\" in line " +
                            std::to_string(place.number) + " of \"" + place.path +
                            "\" is not a number, skipped.");
}

void ReadLine(const std::string& line, EAddressFileKind kind, const TLinePlace& place,
              TAddressMap& map) {
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
  TAddressRecord& record =
      map.emplace(TAddressKey(code, firm), TAddressRecord{code, {}, {}}).first->second;
  for (std::string::size_type start = equals + 1; start < line.size();) {
    const std::string::size_type comma = line.find(',', start);
    AddValue(Stripped(line.substr(start, comma - start)), kind, place, record);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

}  // namespace

bool ReadAddressFile(const std::string& path, EAddressFileKind kind, TAddressMap& map,
                     std::vector<std::string>* errors) {
  int number = 0;
  return ForEachTextFileLine(path, [&](const std::string& line) {
    ReadLine(line, kind, TLinePlace{path, ++number, errors}, map);
  });
}

bool ReloadAddressFile(const std::string& path, EAddressFileKind kind, TAddressMap& map,
                       std::vector<std::string>* errors) {
  for (TAddressMap::value_type& entry : map) {
    if (kind == EAddressFileKind::kUids)
      entry.second.Uids.clear();
    else
      entry.second.Emails.clear();
  }
  return ReadAddressFile(path, kind, map, errors);
}
