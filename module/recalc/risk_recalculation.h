// CRiskRecalculation: one pass over every client that recomputes its
// derivatives-market values and risk parameters from the host's records and
// quotes. A timer run skips clients whose host data changed in the last two
// seconds and asks the host for a client's identity and broker settings only
// once; a full run (a firm's settings arrived) asks again for every client.
#pragma once

#include "module/host_data/client_book.h"
#include "module/host_data/host_item_list.h"
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
                     CHostItemList& clientsFilter);

  // afterTimerRun: called for each client a timer run recalculated.
  void Run(bool fullRun, int64_t now,
           const std::function<void(TClientRiskRecord&)>& afterTimerRun = nullptr);

 private:
  bool PassesClientTypeFilter(const TClientRiskRecord& record) const;
  void Identify(TClientRiskRecord& record);
  void TakeBrokerSettings(TClientRiskRecord& record);
  void TakeSecondFirm(TClientRiskRecord& record) const;
  void ApplyLimits(TClientRiskRecord& record) const;
  double ApplyPositions(TClientRiskRecord& record) const;
  void ApplyUnitedValues(TClientRiskRecord& record) const;
  void ComputeParameters(TClientRiskRecord& record, double leverageNumerator) const;

  CClientBook& m_clients;
  const CClientCodeRules& m_rules;
  const TModuleSettings& m_settings;
  const TCalcSettings& m_calc;
  CHostItemList& m_clientsFilter;
  bool m_fullRun = false;

  // The broker settings of the last firm asked in this pass: clients are
  // ordered by firm, so each firm's text is fetched and read once.
  std::string m_cachedFirm;
  std::string m_cachedBoardTag;
  std::string m_cachedCurrency;
  bool m_cacheFilled = false;
};
