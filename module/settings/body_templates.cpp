#include "module/settings/body_templates.h"
#include "module/settings/module_settings.h"
#include "module/settings/profile_section.h"
#include "module/settings/settings_paths.h"
#include "module/settings/text_file_lines.h"

#include <cstdio>

namespace {

struct BodyTemplateName {
  int Kind;
  const char* Key;
  const char* FileName;
};

const BodyTemplateName kBodyTemplateNames[] = {
    {1, "LowFundsBody", "LowFundsBody"},
    {2, "SFRBody", "SFRBody"},
    {9, "SFRBody_fp", "SFRBodyFP"},
    {3, "CLGOBody", "CLGOBody"},
    {4, "ECLGOBody", "ECLGOBody"},
    {5, "MLBody", "MLBody"},
    {6, "UPBody", "UPBody"},
    {7, "ML2Body", "ML2Body"},
    {102, "SFRBody2", "SFRBody2"},
    {109, "SFRBody2_fp", "SFRBody2FP"},
    {107, "ML2Body2", "ML2Body2"},
};

const BodyTemplateName* FindBodyTemplate(int kind) {
  for (const BodyTemplateName& name : kBodyTemplateNames)
    if (name.Kind == kind) return &name;
  return nullptr;
}

}  // namespace

const char* BodyTemplateKey(int kind) {
  const BodyTemplateName* name = FindBodyTemplate(kind);
  return name == nullptr ? nullptr : name->Key;
}

const char* BodyTemplateFileName(int kind) {
  const BodyTemplateName* name = FindBodyTemplate(kind);
  return name == nullptr ? nullptr : name->FileName;
}

std::string ReadBodyTemplateFile(const std::string& fullPath, bool* opened) {
  std::string body;
  const bool read = ForEachTextFileLine(fullPath, [&body](const std::string& line) {
    if (!line.empty()) body += line + '\n';
  });
  if (opened != nullptr) *opened = read;
  return body;
}

// Only a file that info.ini names is missed: a folder without the keys
// (before the first save) has no body files either.
void TModuleSettings::ReadBodyTemplates(const std::string& iniPath, int kind) {
  const BodyTemplateName* name = FindBodyTemplate(kind);
  if (name == nullptr) return;
  const CProfileSection ini(iniPath, "Vantrel");
  const std::string fileName = ini.ReadString(name->Key, name->FileName);
  const bool named = !ini.ReadString(name->Key, "").empty();
  const std::string path = JoinPath(FolderOfPath(iniPath), fileName);
  bool opened = false;
  *BodyOfKind(kind) = ReadBodyTemplateFile(path, &opened);
  if (named && !opened)
    UnreadableBodyFiles[kind] = path;
  else
    UnreadableBodyFiles.erase(kind);
}

bool TModuleSettings::WriteBodyTemplate(int kind, const std::string& iniPath) const {
  const BodyTemplateName* name = FindBodyTemplate(kind);
  if (name == nullptr) return false;
  // The key is reset to the fixed name, so a name changed by hand in
  // info.ini lasts only until the next save.
  CProfileSection(iniPath, "Vantrel").WriteString(name->Key, name->FileName);
  FILE* file = std::fopen(JoinPath(FolderOfPath(iniPath), name->FileName).c_str(), "wt");
  if (file == nullptr) return false;
  std::fputs(BodyOfKind(kind)->c_str(), file);
  std::fclose(file);
  return true;
}
