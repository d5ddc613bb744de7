// What the closing-orders tables show and do through the module: the host's
// answers to the plug-in's closing orders, the filter handles, and the
// withdrawal of an order.
#include "module/vantrel_module.h"

#include "module/market_records.h"
#include "sdk/host_call.h"

#include <cstdio>

std::vector<ClosingOrderRecord*> CVantrelModule::ClosingOrderRows() const {
  std::vector<ClosingOrderRecord*> rows;
  for (const auto& record : m_closingOrders.Records()) rows.push_back(record.get());
  return rows;
}

TOrdersFilterLists CVantrelModule::OrdersFilterLists() {
  return {m_clientsFilter.Handle(), m_accountsFilter.Handle(), m_firmsFilter.Handle()};
}

void CVantrelModule::WithdrawClosingOrder(const uint8_t* security, double orderNumber) {
  SendOrderNumTransaction(security, orderNumber);
}
