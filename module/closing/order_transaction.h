// The transaction strings of closing orders: an order built over the fields
// of the host's transaction form, and the withdrawal of an order by number.
#pragma once

#include <cstdint>
#include <string>

struct TOrderTransactionValues {
  std::string firstText;  // the firm that accounts for the client
  std::string account;
  std::string classCode;
  std::string securityCode;
  bool buy = false;
  double price = 0.0;
  int priceDecimals = 0;
  double quantity = 0.0;
  std::string comment;
};

// The host refuses a transaction of more characters than this.
constexpr size_t kMaxTransactionLength = 1023;

// Every field of the form (a host transaction form record) as
// "NAME=value[]|", in the form's order. False, with text left partly built,
// when the whole would not fit: a cut transaction would be a wrong order.
bool BuildOrderTransaction(const uint8_t* form, const TOrderTransactionValues& values, std::string& text);

// "OrderNum=<number>[]".
std::string BuildWithdrawalTransaction(double orderNumber);
