// Client filter files: the clients a risk table shows (section
// "AllowedClients") or leaves out ("ExcludedClients"), one entry a line as
// "client code, firm=" or "client code=" for the code in every known firm.
#include "module/host_data/client_filter_file.h"
#include "module/vantrel_module.h"
#include "sdk/modal_loops.h"

#include "windows/tables/risk_params_table.h"

#include <cstring>
#include <vector>

const char kClientFilterPathRefusal[] =
    "Путь к файлу фильтра длиннее 259 символов: фильтр из этого файла не читается.";

bool ClientFilterPathFits(const std::string& path) { return path.size() < MAX_PATH; }

void TellClientFilterFailure(HWND owner, EClientFilterRead result, const std::string& path) {
  std::string text;
  if (result == EClientFilterRead::kPathTooLong)
    text = kClientFilterPathRefusal;
  else if (result == EClientFilterRead::kUnreadable)
    text = (path.empty() ? std::string("Файл фильтра клиентов не указан.")
                         : "Файл фильтра клиентов не открывается:\n" + path) +
           "\n\nФильтр клиентов пуст: в таблице показываются все клиенты.";
  if (!text.empty()) ShowMessageBox(owner, text.c_str(), "Внимание", MB_OK | MB_ICONEXCLAMATION);
}

namespace {
constexpr char kAllowedClients[] = "AllowedClients";
constexpr char kExcludedClients[] = "ExcludedClients";
constexpr size_t kMaxEntry = 255;
constexpr uint32_t kAllowMode = 0, kExcludeMode = 1;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The tables an operation on "table" reaches: that risk table, or every risk
// table that keeps no filter file of its own.
std::vector<CVantrelFutRiskParamsTable*> FilterTargets(const std::list<CTablePlugin*>& tables,
                                                       CTablePlugin* table) {
  std::vector<CVantrelFutRiskParamsTable*> targets;
  if (auto* one = dynamic_cast<CVantrelFutRiskParamsTable*>(table)) {
    targets.push_back(one);
    return targets;
  }
  for (CTablePlugin* plugin : tables) {
    auto* risk = dynamic_cast<CVantrelFutRiskParamsTable*>(plugin);
    if (risk != nullptr && !risk->GetFilterFromFile()) targets.push_back(risk);
  }
  return targets;
}
}  // namespace

void CVantrelModule::AddClientToFilter(const std::string& text, CTablePlugin* table) {
  const uint32_t item = m_clientsFilter.Add(text);
  for (CVantrelFutRiskParamsTable* target : FilterTargets(m_tables, table))
    CallHost<160>(item, target->GetClientFilter());
}

EClientFilterRead CVantrelModule::ReadClientFilterFile(const std::string& path, CTablePlugin* table) {
  if (!ClientFilterPathFits(path)) {
    TraceLog(0, "ERROR: the client filter file is not read, its path is %u characters long (at most %d): \"%.64s...\".",
             static_cast<unsigned>(path.size()), MAX_PATH - 1, path.c_str());
    return EClientFilterRead::kPathTooLong;
  }
  const std::vector<CVantrelFutRiskParamsTable*> targets = FilterTargets(m_tables, table);
  for (CVantrelFutRiskParamsTable* target : targets) CallHost<54>(target->GetClientFilter());

  // "AllowedClients" wins wherever it stands; "ExcludedClients" only in a
  // file without it.
  char names[2048] = {};
  GetPrivateProfileSectionNamesA(names, sizeof names, path.c_str());
  const char* section = kAllowedClients;
  for (const char* name = names; *name != 0; name += std::strlen(name) + 1) {
    if (lstrcmpiA(name, kAllowedClients) == 0) {
      section = kAllowedClients;
      break;
    }
    if (lstrcmpiA(name, kExcludedClients) == 0) section = kExcludedClients;
  }

  // The filters stay empty, as a table whose file is gone must not keep
  // clients it no longer names; what it shows now is said in the log,
  // whatever its level: a restored table tells no one else.
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes) ||
      (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || attributes.nFileSizeHigh != 0) {
    TraceLog(0, "ERROR: the client filter file \"%s\" can not be opened: the client filter is empty, every client is shown.",
             path.c_str());
    return EClientFilterRead::kUnreadable;
  }
  // An empty file reads as no entries: the filters stay empty, in allow mode.
  const size_t size = attributes.nFileSizeLow;
  std::vector<char> entries(size + 2, '\0');
  GetPrivateProfileSectionA(section, entries.data(), static_cast<DWORD>(size), path.c_str());

  for (const char* entry = entries.data(); *entry != 0; entry += std::strlen(entry) + 1) {
    std::string line(entry, std::min(std::strlen(entry), kMaxEntry));
    // The entry ends in "=" (a key without a value); blanks around it go too.
    while (!line.empty() && (line.back() == '=' || line.back() == ' ')) line.pop_back();
    const size_t comma = line.find(',');
    if (comma != std::string::npos) {
      AddClientToFilter(Trimmed(line.substr(0, comma)) + " (" + Trimmed(line.substr(comma + 1)) + ")",
                        table);
    } else {
      const std::string code = Trimmed(line);
      if (code.empty()) continue;
      for (const auto& firm : m_firmsFilter.Items()) AddClientToFilter(code + " (" + firm.first + ")", table);
    }
  }
  const uint32_t mode = section == kExcludedClients ? kExcludeMode : kAllowMode;
  for (CVantrelFutRiskParamsTable* target : targets) target->SetClientFilterMode(mode);
  return EClientFilterRead::kRead;
}
