// The exchange behind the stand-in host: it takes the plug-in's order and
// withdrawal transactions (host function 48), gives each a transaction id and
// answers with order records (code 32973) that the host delivers through
// callback entry 22. An order is accepted active; a limit order fills when
// the security's last price reaches it; scenario steps and tests fill part of
// an order or withdraw it.
#pragma once

#include "host/standin/host_records.h"
#include "host/standin/market_model.h"
#include "host/standin/record_store.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class PluginLibrary;

// One transaction as the plug-in sent it, and what the exchange answered.
struct ExchangeTransaction {
  std::string text;
  bool accepted = false;
  int32_t id = -1;          // -1 when refused
  std::string error = {};   // the text written to the plug-in's buffer
};

class OrderExchange {
 public:
  OrderExchange(RecordStore& records, MarketModel& market) : m_records(records), m_market(market) {}

  // Host function 48 with an order flag: 1 and the transaction id when the
  // transaction is taken, else 0 and the reason in `error`.
  int Transaction(int classIndex, int formIndex, const std::string& text, std::string* error, int32_t* id);

  // The n-th order taken (from 1) fills `quantity` lots more; all that is
  // left executes the order. False for an order that is not active.
  bool Fill(int n, int64_t quantity);
  // The n-th order is withdrawn by the exchange; false when not active.
  bool Withdraw(int n);
  // While refusing, every transaction is answered with an error text.
  void SetRefusing(bool refusing) { m_refusing = refusing; }
  void SetExchangeCode(const std::string& code) { m_exchangeCode = code; }
  // The firm of a trading account, as the host's limit and position records
  // name it; an order's record carries it.
  void NoteAccount(const std::string& account, const std::string& firm);

  // Fills the active orders whose price the market reached, then hands every
  // answer not yet delivered to the plug-in, in order; how many.
  int Deliver(PluginLibrary& plugin);

  const std::vector<ExchangeTransaction>& Transactions() const { return m_transactions; }
  const std::vector<OrderSpec>& Orders() const { return m_orders; }
  void Clear();

 private:
  int Refuse(ExchangeTransaction& transaction, const std::string& reason, std::string* error);
  bool NewOrder(int classIndex, const FormSpec& form, const std::vector<std::pair<std::string, std::string>>& fields,
                int32_t id, std::string* reason);
  bool WithdrawByNumber(const std::string& number, std::string* reason);
  void FillByMarket();
  void Answer(const OrderSpec& order) { m_pending.push_back(BuildOrder(order)); }

  RecordStore& m_records;
  MarketModel& m_market;
  std::vector<ExchangeTransaction> m_transactions;
  std::vector<OrderSpec> m_orders;
  std::vector<PushedRecord> m_pending;
  std::map<std::string, std::string> m_accountFirms;
  std::string m_exchangeCode = "EXCH";
  bool m_refusing = false;
  int32_t m_nextTransactionId = 1;
  int64_t m_nextOrderNumber = 1000001;
};

// "NAME=VALUE[]|NAME=VALUE[]": the fields in order; false when the text is
// not so written (a field without "=", a value without "[]", an empty name).
bool ParseTransactionText(const std::string& text, std::vector<std::pair<std::string, std::string>>* fields);
