#include "module/recalc/firm_default_configs.h"

#include "dl/engine/settings_facade.h"

const TFirmDefaultConfig& CFirmDefaultConfigs::Of(const std::string& firm, std::string_view text) {
  auto found = m_firms.find(firm);
  if (found != m_firms.end() && found->second.text == text) return found->second.config;
  Entry& entry = m_firms[firm];
  entry.text.assign(text);
  DL::TSettingsFacade facade(entry.text.c_str(), 2, true);
  entry.config.boardTag = facade.GetPortfolioRiskConfig("", nullptr).BOARDTAG;
  entry.config.currency = facade.GetPortfolioRiskConfig("", nullptr).CURRENCY;
  ++m_textsRead;
  return entry.config;
}
