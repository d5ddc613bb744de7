#include "dl/store/margin_restriction_cache.h"

#include <algorithm>

#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {

namespace {

const char kPrefix[] = "CL";
const char kTemplateSuffix[] = "_MARGIN_TEMPLATE";
const char kOwnSuffix[] = "_MARGIN";
const char kGeneralClient[] = "<GENERAL>";
const char kLimitKindInfix[] = "_LIMITKIND_";

void AppendNewKinds(const std::vector<int>& kinds, std::vector<int>& into) {
  for (int kind : kinds)
    if (std::find(into.begin(), into.end(), kind) == into.end()) into.push_back(kind);
}

}  // namespace

TCacheOfClientMarginRestrictions::TCacheOfClientMarginRestrictions(TIniFile* ini)
    : AIniSettingCacheMaster(ini), Resolver(ini), LimitKindIndex(*ini) {
  DefaultRecord = ReadMarginRestrictionsDefaults(*ini);
}

std::string TCacheOfClientMarginRestrictions::ResolveSection(const std::string& client,
                                                             double leverage) {
  std::string section = Resolver.FilterByLeverage(client, kPrefix, kTemplateSuffix, leverage);
  if (section.empty()) section = Resolver.FindExplicitSection(client, kPrefix, kOwnSuffix);
  if (section.empty()) section = Resolver.FindTemplateSection(client, kPrefix, kTemplateSuffix);
  if (section.empty()) section = Resolver.FindMaskSection(client, kPrefix, kOwnSuffix, 1);
  if (section.empty()) section = Resolver.FindExplicitSection(kGeneralClient, kPrefix, kOwnSuffix);
  return section;
}

TCacheOfClientMarginRestrictions::TRecordPtr TCacheOfClientMarginRestrictions::Load(
    const TIniCacheItemID& id) {
  const std::string section = ResolveSection(id.GetClient(), id.GetLeverage());
  if (section.empty()) return DefaultRecord;
  // A mask keeps the letter case of the client code; the section is the same.
  const std::string upperSection = ToUpperCopy(section);
  TRecordPtr& item = SectionMemo[upperSection];
  if (!item) item = LoadSection(upperSection, id.GetLeverage());
  return item;
}

TCacheOfClientMarginRestrictions::TRecordPtr TCacheOfClientMarginRestrictions::LoadSection(
    const std::string& section, double leverage) const {
  const TMarginRestrictionRecord& brokerGeneral = DefaultRecord->Records.at(0);
  const TMarginSectionParser parser(*Ini, brokerGeneral);
  auto item = std::make_shared<TClientMarginRestrictions>();
  TMarginRestrictionRecord& general = item->Records[0];
  parser.ParseMarginSection(section, general, general, true);

  const std::string limitKindPrefix = section + kLimitKindInfix;
  for (const std::string& name : LimitKindIndex.NamesWithPrefix(limitKindPrefix)) {
    const int kind = TextToInt(std::string_view(name).substr(limitKindPrefix.size()));
    if (kind <= 0 || item->Records.count(kind) != 0) continue;
    TMarginRestrictionRecord record;
    parser.ParseMarginSection(name, record, item->Records.at(0), false);
    item->Records.emplace(kind, std::move(record));
  }
  for (const auto& entry : item->Records) AppendNewKinds(entry.second.LimitKinds, item->LimitKinds);
  item->Leverage = leverage;
  return item;
}

}  // namespace DL
