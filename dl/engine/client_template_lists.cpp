#include "dl/engine/client_template_lists.h"

#include "dl/store/ini_file.h"
#include "dl/store/section_index.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

const std::string kPrefix = "CL";
const std::string kSuffix = "_CLIENT_TEMPLATE";

}  // namespace

void TClientTemplateLists::Read(const TIniFile& ini) {
  templates_.clear();
  for (const std::string& name : ini.GetUpperSectionNames()) {
    if (!IsFamilyName(name, kPrefix, kSuffix)) continue;
    templates_.push_back(
        TTemplate{name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size()),
                  ini.ReadString(name, "CLIENTS", "")});
  }
}

void TClientTemplateLists::AppendTo(TClientTemplateList& list) const {
  for (const TTemplate& entry : templates_) {
    for (std::string& client : SplitCommaList(entry.Clients))
      list.emplace_back(std::move(client), entry.Name);
  }
}

}  // namespace DL
