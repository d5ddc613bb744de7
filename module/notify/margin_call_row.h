#pragma once

#include "module/settings/comma_lists.h"

#include <windows.h>

#include <string>

// The three forms of the margin-call table that the module can write: the
// table's columns decide which one (see CMarginCallDatabase).
enum class EMarginCallTableLayout {
  kBasic = 0,              // no FirmID, no Emails column
  kWithFirm = 1,           // FirmID and MsgText5
  kWithFirmAndEmails = 2,  // FirmID, MsgText5 and Emails
};

// One margin call as it is stored.
struct TMarginCallRow {
  int kind = 0;         // risk parameter type number
  int hostDate = 0;     // YYYYMMDD, as the host gives it
  SYSTEMTIME localTime = {};
  double level = 0;
  double value = 0;
  std::string clientCode;
  std::string body;
  std::string subject;  // empty when the e-mail channel is off
  std::string firm;
  StringList emails;    // the client's e-mail addresses
};

// hour * 10000 + minute * 100 + second.
int MarginCallTime(const SYSTEMTIME& time);

// "%.4f" with a point whatever the C locale says.
std::string FourDecimals(double number);

// The text between single quotes, every quote inside doubled.
std::string QuotedSqlText(const std::string& text);

// The INSERT of one row into the table in the table's layout. The body goes
// in slices of 255 characters; what does not fit is not stored.
std::string MarginCallInsertStatement(const std::string& table, EMarginCallTableLayout layout,
                                      const TMarginCallRow& row);
