#include "host/standin/exchange.h"

#include "host/standin/plugin_library.h"
#include "sdk/host_record_fields.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {
using Fields = std::vector<std::pair<std::string, std::string>>;

// The roles of a form's fields, in the order the plug-in decides them: the
// first flag of this list that a field carries names its value.
constexpr uint32_t kRoles[] = {host::record::form_field::kFirstText, host::record::form_field::kClassCode, host::record::form_field::kSecurityCode,
                               host::record::form_field::kAccount,    host::record::form_field::kPrice,     host::record::form_field::kQuantity,
                               host::record::form_field::kDirection,  host::record::form_field::kLimitOrder, host::record::form_field::kComment};

uint32_t RoleOf(uint32_t flags) {
  for (uint32_t role : kRoles)
    if ((flags & role) != 0) return role;
  return 0;
}

// The host keeps its order times as local time.
uint64_t Now() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  FILETIME time;
  SystemTimeToFileTime(&local, &time);
  return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

bool WholeNumber(const std::string& text, int64_t* value) {
  char* end = nullptr;
  *value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0';
}

bool RealNumber(const std::string& text, double* value) {
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && std::isfinite(*value);
}

}  // namespace

bool ParseTransactionText(const std::string& text, Fields* fields) {
  fields->clear();
  size_t at = 0;
  while (at < text.size()) {
    const size_t equals = text.find('=', at);
    if (equals == std::string::npos || equals == at) return false;
    const size_t end = text.find("[]", equals + 1);
    if (end == std::string::npos) return false;
    const std::string name = text.substr(at, equals - at);
    if (name.find_first_of("[]|") != std::string::npos) return false;
    fields->emplace_back(name, text.substr(equals + 1, end - equals - 1));
    at = end + 2;
    if (at < text.size() && text[at] == '|') ++at;
  }
  return !fields->empty();
}

int OrderExchange::Transaction(int classIndex, int formIndex, const std::string& text, std::string* error,
                          int32_t* id) {
  m_transactions.push_back({text});
  ExchangeTransaction& transaction = m_transactions.back();
  const FormSpec* form = m_records.FormFields(classIndex, formIndex);
  if (form == nullptr) return Refuse(transaction, "Нет формы транзакции", error);
  if (m_refusing) return Refuse(transaction, "Транзакции не принимаются", error);
  Fields fields;
  if (!ParseTransactionText(text, &fields)) return Refuse(transaction, "Неверный формат транзакции", error);
  std::string reason;
  const int32_t newId = m_nextTransactionId;
  bool taken = true;
  if (fields.size() == 1 && fields[0].first == "OrderNum")
    taken = WithdrawByNumber(fields[0].second, &reason);
  else if (!form->fields.empty())  // a form without fields (a text message's) takes the text as it is
    taken = NewOrder(classIndex, *form, fields, newId, &reason);
  if (!taken) return Refuse(transaction, reason, error);
  ++m_nextTransactionId;
  transaction.accepted = true;
  transaction.id = newId;
  if (id != nullptr) *id = newId;
  return 1;
}

int OrderExchange::Refuse(ExchangeTransaction& transaction, const std::string& reason, std::string* error) {
  transaction.error = reason;
  if (error != nullptr) *error = reason;
  return 0;
}

bool OrderExchange::NewOrder(int classIndex, const FormSpec& form, const Fields& fields, int32_t id,
                        std::string* reason) {
  std::map<uint32_t, std::string> values;
  for (const auto& field : fields) {
    const FormFieldSpec* formField = nullptr;
    for (const FormFieldSpec& candidate : form.fields)
      if (candidate.name == field.first) formField = &candidate;
    if (formField == nullptr) return *reason = "Поле не из формы транзакции: " + field.first, false;
    if (const uint32_t role = RoleOf(formField->flags)) values[role] = field.second;
  }
  using namespace host::record::form_field;
  for (uint32_t role : {kAccount, kClassCode, kSecurityCode, kDirection, kPrice, kQuantity})
    if (values.count(role) == 0) return *reason = "Не хватает полей заявки", false;
  const uint8_t* classRecord = m_records.Record(host::record::kClassKind, host::record::kClassSize, classIndex);
  if (classRecord == nullptr || host::record::FixedText(classRecord, host::record::kClassCode, host::record::kClassCodeCapacity) != values[kClassCode])
    return *reason = "Класс не совпадает с формой: " + values[kClassCode], false;
  const int securityIndex = m_records.FindSecurity(values[kSecurityCode], values[kClassCode]);
  if (securityIndex < 0) return *reason = "Неизвестный инструмент: " + values[kSecurityCode], false;
  const std::string& operation = values[kDirection];
  if (operation != "B" && operation != "S") return *reason = "Неверное направление: " + operation, false;
  double price = 0.0;
  if (!RealNumber(values[kPrice], &price) || price <= 0.0) return *reason = "Неверная цена: " + values[kPrice], false;
  int64_t quantity = 0;
  if (!WholeNumber(values[kQuantity], &quantity) || quantity <= 0)
    return *reason = "Неверное количество: " + values[kQuantity], false;
  if (values.count(kLimitOrder) != 0 && values[kLimitOrder] != "L")
    return *reason = "Принимаются только лимитные заявки", false;

  const uint8_t* security = m_records.Record(host::record::kSecurityKind, host::record::kSecuritySize, securityIndex);
  int16_t decimals = 0;
  std::memcpy(&decimals, security + host::record::kSecurityPriceDecimals, sizeof decimals);
  OrderSpec order;
  order.key = static_cast<int32_t>(m_orders.size()) + 1;
  order.number = m_nextOrderNumber++;
  order.flags = host_data::order::kActive | host_data::order::kLimitType |
                (operation == "S" ? host_data::order::kSell : 0u);
  order.comment = values[kComment];
  order.account = values[kAccount];
  const auto firm = m_accountFirms.find(order.account);
  if (firm != m_accountFirms.end()) order.firm = firm->second;
  order.clientCode = values[kFirstText];
  order.exchangeCode = m_exchangeCode;
  order.securityIndex = securityIndex;
  order.price = std::llround(price * std::pow(10.0, decimals));
  order.quantity = order.balance = quantity;
  order.volume = price * static_cast<double>(quantity) * 100.0;
  order.transactionId = static_cast<uint32_t>(id);
  order.expiry = 0;
  order.orderTime = Now();
  m_orders.push_back(order);
  Answer(order);
  return true;
}

bool OrderExchange::WithdrawByNumber(const std::string& number, std::string* reason) {
  int64_t wanted = 0;
  if (!WholeNumber(number, &wanted)) return *reason = "Неверный номер заявки: " + number, false;
  for (size_t n = 0; n < m_orders.size(); ++n)
    if (m_orders[n].number == wanted) {
      if (Withdraw(static_cast<int>(n) + 1)) return true;
      return *reason = "Заявка " + number + " уже не активна", false;
    }
  return *reason = "Заявка " + number + " не найдена", false;
}

bool OrderExchange::Fill(int n, int64_t quantity) {
  if (n < 1 || n > static_cast<int>(m_orders.size())) return false;
  OrderSpec& order = m_orders[n - 1];
  if ((order.flags & host_data::order::kActive) == 0 || quantity <= 0) return false;
  order.balance -= quantity < order.balance ? quantity : order.balance;
  if (order.balance == 0) order.flags &= ~host_data::order::kActive;
  Answer(order);
  return true;
}

bool OrderExchange::Withdraw(int n) {
  if (n < 1 || n > static_cast<int>(m_orders.size())) return false;
  OrderSpec& order = m_orders[n - 1];
  if ((order.flags & host_data::order::kActive) == 0) return false;
  order.flags = (order.flags & ~host_data::order::kActive) | host_data::order::kWithdrawn;
  order.withdrawalTime = Now();
  Answer(order);
  return true;
}

void OrderExchange::FillByMarket() {
  for (size_t n = 0; n < m_orders.size(); ++n) {
    const OrderSpec& order = m_orders[n];
    double last = 0.0;
    if ((order.flags & host_data::order::kActive) == 0 || !m_market.Parameter(order.securityIndex, "last", &last))
      continue;
    const uint8_t* security =
        m_records.Record(host::record::kSecurityKind, host::record::kSecuritySize, order.securityIndex);
    int16_t decimals = 0;
    std::memcpy(&decimals, security + host::record::kSecurityPriceDecimals, sizeof decimals);
    const int64_t market = std::llround(last * std::pow(10.0, decimals));
    const bool sell = (order.flags & host_data::order::kSell) != 0;
    if (sell ? market >= order.price : market <= order.price) Fill(static_cast<int>(n) + 1, order.balance);
  }
}

int OrderExchange::Deliver(PluginLibrary& plugin) {
  int delivered = 0;
  for (int pass = 0; pass < 2; ++pass) {
    // An answer may make the plug-in send more; those are delivered too.
    for (size_t next = 0; next < m_pending.size(); ++next) {
      const PushedRecord record = m_pending[next];
      PushRecord(plugin, record);
      ++delivered;
    }
    m_pending.clear();
    if (pass == 0) FillByMarket();
  }
  return delivered;
}

void OrderExchange::NoteAccount(const std::string& account, const std::string& firm) {
  m_accountFirms[account] = firm;
}

void OrderExchange::Clear() {
  m_transactions.clear();
  m_orders.clear();
  m_pending.clear();
  m_accountFirms.clear();
  m_refusing = false;
  m_nextTransactionId = 1;
  m_nextOrderNumber = 1000001;
}
