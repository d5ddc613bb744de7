#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "dl/store/client_section_resolver.h"
#include "dl/store/margin_restrictions.h"
#include "dl/store/margin_section_parser.h"
#include "dl/store/setting_cache_master.h"

namespace DL {

class TIniFile;

// Margin restrictions per (client, leverage). A client resolves to a template
// chosen by its leverage, its own section, a template listing it, a mask, the
// general margin section [CL<GENERAL>_MARGIN], else the broker-wide item.
//
// What an item holds depends only on the section it was read from, so items
// are kept per section and shared by every (client, leverage) that resolves
// to it: a new leverage loads again only when it leads to another section,
// alternating leverages load nothing new, and each item is destroyed once.
class TCacheOfClientMarginRestrictions : public AIniSettingCacheMaster<TClientMarginRestrictions> {
 public:
  explicit TCacheOfClientMarginRestrictions(TIniFile* ini);

  // The section a client and leverage resolve to; "" for the broker-wide item.
  std::string ResolveSection(const std::string& client, double leverage);
  std::size_t LoadedSectionCount() const { return SectionMemo.size(); }

 protected:
  TRecordPtr Load(const TIniCacheItemID& id) override;

 private:
  TRecordPtr LoadSection(const std::string& section, double leverage) const;

  // Upper-cased section name -> the item read from it.
  std::unordered_map<std::string, TRecordPtr> SectionMemo;
  TClientSectionResolver Resolver;
  TSectionIndex LimitKindIndex;
};

}  // namespace DL
