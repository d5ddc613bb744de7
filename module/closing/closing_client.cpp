#include "module/closing/closing_client.h"

#include "module/closing/order_line.h"
#include "module/risk/client_risk_record.h"

bool TClosingClient::Includes(const TClosingClient& other) const {
  if (firm != other.firm) return false;
  return account == other.account || (united && other.united && clientCode == other.clientCode);
}

TClosingClient ClosingClientOf(const TClientRiskRecord& client) {
  return {client.firm, client.account, client.clientCode, client.united};
}

TClosingClient ClosingClientOf(const TOrderLine& line) {
  return {line.Firm, line.Account, line.ClientCode, line.United};
}
