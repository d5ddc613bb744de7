#include "host/standin/scenario.h"

#include "host/standin/standin_host.h"

#include <cstdlib>

namespace {
class ScenarioFile {
 public:
  explicit ScenarioFile(std::string path) : m_path(std::move(path)) {}
  bool HasSection(const std::string& section) const {
    char names[64] = {};
    return GetPrivateProfileSectionA(section.c_str(), names, sizeof names, m_path.c_str()) > 0;
  }
  std::string Text(const std::string& section, const char* key, const char* fallback = "") const {
    char value[1024] = {};
    GetPrivateProfileStringA(section.c_str(), key, fallback, value, sizeof value, m_path.c_str());
    return value;
  }
  // Numbers may be written in hexadecimal with 0x.
  uint32_t Number(const std::string& section, const char* key, uint32_t fallback = 0) const {
    const std::string text = Text(section, key);
    return text.empty() ? fallback : static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
  }

 private:
  std::string m_path;
};

template <typename Each>
void ForEachNumbered(const ScenarioFile& file, const char* prefix, Each each) {
  for (int n = 1;; ++n) {
    const std::string section = prefix + std::to_string(n);
    if (!file.HasSection(section)) return;
    each(section);
  }
}
}  // namespace

bool LoadScenario(const std::string& path, StandInHost& host, ScenarioHost* hostSettings) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  ScenarioFile file(path);
  if (hostSettings != nullptr) {
    const std::string version = file.Text("Host", "Version", "7.0");
    hostSettings->versionMajor = std::atoi(version.c_str());
    const size_t point = version.find('.');
    hostSettings->versionMinor = point == std::string::npos ? 0 : std::atoi(version.c_str() + point + 1);
  }
  if (const uint32_t date = file.Number("Host", "Date")) host.SetDate(static_cast<int>(date));

  ForEachNumbered(file, "Class", [&](const std::string& section) {
    ClassSpec spec;
    spec.code = file.Text(section, "Code");
    spec.flags = file.Number(section, "Flags");
    spec.flags2 = file.Number(section, "Flags2");
    host.Records().AddClass(spec);
  });
  ForEachNumbered(file, "Form", [&](const std::string& section) {
    FormSpec spec;
    spec.flags = file.Number(section, "Flags");
    spec.flagByte = static_cast<uint8_t>(file.Number(section, "FlagByte", 1));
    spec.value = static_cast<int32_t>(file.Number(section, "Value", 1));
    host.Records().AddForm(host.Records().FindClass(file.Text(section, "Class")), spec);
  });
  ForEachNumbered(file, "Security", [&](const std::string& section) {
    SecuritySpec spec;
    spec.classCode = file.Text(section, "Class");
    spec.code = file.Text(section, "Code");
    host.Records().AddSecurity(spec);
  });
  ForEachNumbered(file, "Option", [&](const std::string& section) {
    host.SetOption(static_cast<int>(file.Number(section, "Category")),
                   static_cast<int>(file.Number(section, "Id")), file.Number(section, "Value"));
  });
  return true;
}
