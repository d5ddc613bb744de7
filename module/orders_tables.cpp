// What the closing-orders tables show and do through the module: the host's
// answers to the plug-in's closing orders, the filter handles, and the
// withdrawal of an order.
#include "module/vantrel_module.h"

#include "module/market_records.h"
#include "sdk/host_call.h"

#include <cstdio>

namespace {
// The form the host withdraws orders with.
constexpr uint32_t kWithdrawalFormMask = 0x1;
constexpr int kOrderTransaction = 1;
constexpr int kErrorTextSize = 1024;
}  // namespace

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

int32_t CVantrelModule::SendOrderNumTransaction(const uint8_t* security, double orderNumber) {
  const int classIndex = SecurityClassIndexOf(security);
  const int formIndex = FindTransactionForm(classIndex, kWithdrawalFormMask);
  char text[256];
  std::snprintf(text, sizeof text, "OrderNum=%.0f[]", orderNumber);
  char error[kErrorTextSize] = {};
  int32_t transactionId = -1;
  CallHost<48>(classIndex, formIndex, text, kOrderTransaction, error, &transactionId);
  TraceLog(2, "Sending transaction: %s", text);
  if (error[0] != 0) TraceLog(2, "ERROR: %s", error);
  return transactionId;
}
