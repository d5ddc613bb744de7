// CRiskRecalculation: one pass over every client that recomputes its
// derivatives-market values and risk parameters from the host's records and
// quotes. A timer run skips clients whose host data changed in the last two
// seconds and asks the host for a client's identity and broker settings only
// once; a full run (a firm's settings arrived) asks again for every client.
#pragma once

#include "module/host_data/client_book.h"
#include "module/host_data/firm_settings_text.h"
#include "module/host_data/host_item_list.h"
#include "module/recalc/firm_default_configs.h"
#include "module/recalc/pass_market_facts.h"
#include "module/risk/client_code_rules.h"
#include "module/settings/calc_settings.h"
#include "module/settings/module_settings.h"

#include <cstdint>
#include <functional>
#include <string>

class CRiskRecalculation {
 public:
  CRiskRecalculation(CClientBook& clients, const CClientCodeRules& rules,
                     const TModuleSettings& settings, const TCalcSettings& calc,
                     CHostItemList& clientsFilter, CFirmSettingsText& firmText,
                     CFirmDefaultConfigs& defaultConfigs);

  // afterTimerRun: called for each client a timer run recalculated; false
  // ends the run there (the host stopped the plug-in or is done with it).
  void Run(bool fullRun, int64_t now,
           const std::function<bool(TClientRiskRecord&)>& afterTimerRun = nullptr);

 private:
  bool PassesClientTypeFilter(const TClientRiskRecord& record) const;
  void Identify(TClientRiskRecord& record);
  void TakeBrokerSettings(TClientRiskRecord& record);
  void TakeSecondFirm(TClientRiskRecord& record) const;
  void ApplyLimits(TClientRiskRecord& record) const;
  double ApplyPositions(TClientRiskRecord& record);
  void ApplyUnitedValues(TClientRiskRecord& record, const TSpotRecord& spot) const;
  void ComputeParameters(TClientRiskRecord& record, const TSpotRecord& spot,
                         double leverageNumerator) const;

  CClientBook& m_clients;
  const CClientCodeRules& m_rules;
  const TModuleSettings& m_settings;
  const TCalcSettings& m_calc;
  CHostItemList& m_clientsFilter;
  CFirmSettingsText& m_firmText;
  CFirmDefaultConfigs& m_defaultConfigs;
  bool m_fullRun = false;
  CPassMarketFacts m_market;

  // The broker settings of the last firm asked in this pass: clients are
  // ordered by firm, so each firm's text is fetched once.
  std::string m_cachedFirm;
  const TFirmDefaultConfig* m_cachedConfig = nullptr;
};
