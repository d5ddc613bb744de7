#include "dl/store/comm_scale.h"

#include <algorithm>
#include <cmath>

#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {

namespace {

const char kTemplatePrefix[] = "CL";
const char kTemplateSuffix[] = "_COMMISSIONSCALE_TEMPLATE";
const char kScaleSuffix[] = "_COMMISSIONSCALE";

// A row keyed "NAN" has no place in an ordered map (it would compare equal
// to every volume and corrupt the order), so it is left out.
void AddRate(TCommScale& scale, double volume, double rate) {
  if (!std::isnan(volume)) scale.Rates[volume] = rate;
}

}  // namespace

TCommScaleReader::TCommScaleReader(const TIniFile* ini, TSectionIndex* index)
    : Ini(ini), Index(index) {}

std::unique_ptr<TCommScale> TCommScaleReader::ReadCommScaleSection(const std::string& name) const {
  const auto section = Ini->ReadSection(name);
  if (section.empty()) return nullptr;
  auto scale = std::make_unique<TCommScale>();
  for (const auto& entry : section) {
    const std::string key = ToUpperCopy(entry.first);
    const double value = TextToDouble(entry.second);
    if (key == "MINVALUE")
      scale->MinValue = value * 100;
    else if (key == "MAXVALUE")
      scale->MaxValue = value * 100;
    else if (key == "MINVOLUME")
      scale->MinVolume = value * 100;
    else if (key == "TRADECOMMISSION")
      scale->TradeCommission = value * 100;
    else if (key != "CLIENTS")
      AddRate(*scale, TextToDouble(key) * 100, value);
  }
  return scale;
}

std::unique_ptr<TCommScale> TCommScaleReader::FindExplicitCommScale(
    const std::string& client) const {
  return ReadCommScaleSection(kTemplatePrefix + client + kScaleSuffix);
}

std::unique_ptr<TCommScale> TCommScaleReader::FindTemplateCommScale(
    const std::string& client) const {
  if (client.find(',') == std::string::npos) {
    const std::string name = Index->FirstTemplateListing(kTemplatePrefix, kTemplateSuffix, client);
    return name.empty() ? nullptr : ReadCommScaleSection(name);
  }
  // A code with a comma can only match as a run of list items, which the
  // index of single items does not know: test the joined lists as they stand.
  const std::string needle = "," + client + ",";
  for (const std::string& name : Ini->GetUpperSectionNames()) {
    if (!IsFamilyName(name, kTemplatePrefix, kTemplateSuffix)) continue;
    std::string clients = Ini->ReadString(name, "CLIENTS", "");
    if (clients.empty()) continue;
    RemoveSpaces(clients);
    if (("," + clients + ",").find(needle) != std::string::npos) return ReadCommScaleSection(name);
  }
  return nullptr;
}

std::unique_ptr<TCommScale> TCommScaleReader::FindMaskCommScale(const std::string& client,
                                                                int mode) const {
  if (mode != 1 && mode != 2) return nullptr;
  const std::string upperClient = ToUpperCopy(client);
  const std::size_t longest =
      std::min(client.size(), Index->LongestMaskStem(kTemplatePrefix, kScaleSuffix));
  for (std::size_t step = 0; step <= longest; ++step) {
    const std::size_t n = mode == 1 ? longest - step : step;
    if (Index->IsMaskStem(kTemplatePrefix, kScaleSuffix, upperClient.substr(0, n)))
      return ReadCommScaleSection(kTemplatePrefix + client.substr(0, n) + "*" + kScaleSuffix);
  }
  return nullptr;
}

std::unique_ptr<TCommScale> TCommScaleReader::ReadGeneralCommScale() const {
  return ReadCommScaleSection("COMMISSIONSCALE");
}

std::unique_ptr<TCommScale> ReadCommScaleDefaults(const TIniFile& ini) {
  std::unique_ptr<TCommScale> scale = TCommScaleReader(&ini, nullptr).ReadGeneralCommScale();
  return scale ? std::move(scale) : std::make_unique<TCommScale>();
}

TCacheOfCommScales::TCacheOfCommScales(TIniFile* ini) : AIniSettingCacheMaster(ini), Index(*ini) {
  DefaultRecord = ReadCommScaleDefaults(*ini);
}

TCacheOfCommScales::TRecordPtr TCacheOfCommScales::Load(const TIniCacheItemID& id) {
  const TCommScaleReader reader(Ini, &Index);
  const std::string& client = id.GetClient();
  std::unique_ptr<TCommScale> scale = reader.FindExplicitCommScale(client);
  if (!scale) scale = reader.FindTemplateCommScale(client);
  if (!scale) scale = reader.FindMaskCommScale(client, 1);
  if (!scale) {
    const std::string& tradingPoint = id.GetTradingPoint();
    const std::string boardName = tradingPoint.empty()
                                      ? "BD" + id.GetBoard() + kScaleSuffix
                                      : "TP" + tradingPoint + "_BD" + id.GetBoard() + kScaleSuffix;
    scale = reader.ReadCommScaleSection(boardName);
  }
  if (!scale) return DefaultRecord;
  return TRecordPtr(std::move(scale));
}

}  // namespace DL
