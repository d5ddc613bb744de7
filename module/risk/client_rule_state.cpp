#include "module/risk/client_rule_state.h"

bool DecideClientRuleState(TClientRiskRecord& record, const CClientCodeRules& rules) {
  if (record.ExclusionMark == kRuleUndecided)
    record.ExclusionMark =
        rules.IsClientExcluded(record.firm, record.account) ? kRuleExcluded : kRuleIncluded;
  return record.ExclusionMark == kRuleIncluded;
}
