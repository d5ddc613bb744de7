#pragma once

#include "module/notify/address_record.h"

#include <string>

// What a subject or body template is expanded with. The date and time are
// read once by the caller so every "%cd" and "%ct" of a text agree.
struct TMarginCallTextInputs {
  double Value = 0;  // 1e30 when not set
  std::string Firm;
  std::string ClientCode;
  int HostDate = 0;  // YYYYMMDD
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  char DecimalSeparator = '.';
  const TAddressMap* Addresses = nullptr;
};

// Precisions above this are written with this many decimals: a double has no
// more meaningful digits, and a user's "%.400val" must not flood the message.
const int kMaxValuePrecision = 15;

// The template with its placeholders replaced, in this order: %cc (client
// code), %.<n>val and %.<n>Aval (value, absolute value, n decimals), %Aval,
// %val (4 decimals), %ct (HH:MM:SS), %cd (DD.MM.YYYY), %em and %UIDs (the
// client's e-mails and UIDs joined by ", "). Each step runs over the text the
// previous one produced; anything else after "%" stays as it is.
std::string ComposeMarginCallText(const std::string& pattern, const TMarginCallTextInputs& inputs);
