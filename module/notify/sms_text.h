#pragma once

#include <cstdint>
#include <string>

// The text as an SMS can carry it: control characters (codes 1 to 31) and "|",
// which separates the fields of the transaction, become blanks, and every run
// of blanks becomes one. Cyrillic letters stay.
std::string SanitizeMessageText(const std::string& text);

// The text of the host transaction that sends one SMS part to a UID.
std::string SmsTransactionText(int uid, const std::string& part);

// Whether a transaction-form record of the host (172 bytes) is the SMS form:
// its flag word (offset 136) has 0x200 and its value at offset 168 is set.
bool IsSmsTransactionForm(const std::uint8_t* form);
