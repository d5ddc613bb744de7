#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dl/engine/settings_engine_records.h"

namespace DL {

class TIniFile;

// The CLIENTS lists of the client-template sections (CL<name>_CLIENT_TEMPLATE),
// kept as one text per template: a broker's text can list a hundred thousand
// clients, and the pairs are wanted only when someone asks for them.
class TClientTemplateLists {
 public:
  void Read(const TIniFile& ini);
  // Appends (client code, template name) for every client of every
  // template, in section order and list order.
  void AppendTo(TClientTemplateList& list) const;

 private:
  struct TTemplate {
    std::string Name;
    std::string Clients;
  };
  std::vector<TTemplate> templates_;
};

}  // namespace DL
