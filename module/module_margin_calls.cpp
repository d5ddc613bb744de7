// The margin calls the risk tables' commands send by hand, and the texts
// they show the user before sending.
#include "module/vantrel_module.h"

bool CVantrelModule::SendMarginCall(int kind, TClientRiskRecord* record, double level,
                                    std::string text, bool compose) {
  return record == nullptr || m_marginCalls.SendManually(kind, *record, level, text, compose);
}

std::string CVantrelModule::ComposeMarginCallText(const std::string& pattern, double value,
                                                  const char* firm, const char* clientCode) const {
  return m_marginCalls.ComposeText(pattern, value, firm, clientCode);
}
