#include "module/closing/order_line.h"

#include "module/market_records.h"
#include "module/risk/client_risk_record.h"
#include "sdk/host_record_fields.h"

namespace {
template <size_t N>
void CopyText(char (&target)[N], const char* text, size_t capacity = N) {
  lstrcpynA(target, text != nullptr ? text : "", static_cast<int>(capacity < N ? capacity : N));
}
}  // namespace

TOrderLine MakeOrderLine(const TClientRiskRecord& client, const uint8_t* security, bool buy,
                         double price, double quantity, double positionMargin) {
  using namespace host::record;
  TOrderLine line;
  CopyText(line.Firm, client.firm);
  CopyText(line.SecondFirm, client.secondFirm);
  CopyText(line.Account, client.account);
  CopyText(line.ClientCode, client.clientCode);
  CopyText(line.SecCode, SecurityCodeOf(security), kSecurityCodeCapacity);
  const uint8_t* classRecord = GetClassInfoByIndex(SecurityClassIndexOf(security));
  if (classRecord != nullptr) CopyText(line.ClassCode, ClassCodeOf(classRecord), kClassCodeCapacity);
  CopyText(line.BaseAsset, reinterpret_cast<const char*>(security + kSecurityBaseAsset),
           kSecurityBaseAssetCapacity);
  line.IsBuy = buy ? 1 : 0;
  line.Price = price;
  line.Quantity = quantity;
  line.PositionMargin = positionMargin;
  line.State = kLinePrepared;
  line.United = client.united;
  return line;
}
