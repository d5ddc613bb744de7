// Host functions 41, 42, 44 and 101: input validation, the date and options.
#include "host/standin/standin_host.h"

#include <cctype>
#include <string>

namespace {
StandInHost& Host() { return *StandInHost::Current(); }

void __stdcall SignalRejectedInput(int signal) {
  Host().Log().Record(41, std::to_string(signal));
  MessageBeep(MB_OK);
}

// Digits with at most one "." when the decimal point is allowed; at most
// fractionDigits after it and at most totalDigits - fractionDigits before it.
int __stdcall ValidateNumber(const char* text, int fractionDigits, int totalDigits,
                             int decimalPoint, int, int, int) {
  Host().Log().Record(42, text ? text : "");
  if (text == nullptr) return 0;
  int integerDigits = 0, fraction = 0;
  bool afterPoint = false;
  for (const char* c = text; *c; ++c) {
    if (*c == '.' && decimalPoint && !afterPoint) {
      afterPoint = true;
    } else if (std::isdigit(static_cast<unsigned char>(*c))) {
      ++(afterPoint ? fraction : integerDigits);
    } else {
      return 0;
    }
  }
  const int integerLimit = decimalPoint ? totalDigits - fractionDigits : totalDigits;
  return integerDigits <= integerLimit && fraction <= fractionDigits ? 1 : 0;
}

int __stdcall HostDate() { return Host().Date(); }

int __stdcall QueryOption(int category, int id, uint32_t* value) {
  Host().Log().Record(101, std::to_string(category) + "," + std::to_string(id));
  return Host().Option(category, id, value) ? 1 : 0;
}
}  // namespace

void InstallInputFunctions(StandInHost& host) {
  host.Install<41>(SignalRejectedInput);
  host.Install<42>(ValidateNumber);
  host.Install<44>(HostDate);
  host.Install<101>(QueryOption);
}
