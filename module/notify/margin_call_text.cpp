#include "module/notify/margin_call_text.h"

#include "sdk/numeric.h"

#include <cctype>
#include <cstdarg>
#include <cmath>
#include <cstdio>

namespace {

const int kDefaultPrecision = 4;

// Every occurrence from left to right; what is inserted is not searched again.
std::string ReplaceAll(std::string text, const std::string& token, const std::string& with) {
  for (std::string::size_type at = text.find(token); at != std::string::npos;
       at = text.find(token, at + with.size()))
    text.replace(at, token.size(), with);
  return text;
}

std::string Printed(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

std::string Printed(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list copy;
  va_copy(copy, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? length : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], length + 1, format, arguments);
  va_end(arguments);
  return text;
}

std::string ValueText(const TMarginCallTextInputs& inputs, int precision, bool absolute) {
  if (DoubleEquals(inputs.Value, kValueNotSet)) return "-";
  if (precision > kMaxValuePrecision) precision = kMaxValuePrecision;
  std::string text =
      Printed("%.*f", precision, absolute ? std::fabs(inputs.Value) : inputs.Value);
  std::string::size_type point = text.find('.');
  if (point != std::string::npos) text[point] = inputs.DecimalSeparator;
  return text;
}

// "%." digits ["A"] "val"; a sequence that does not end in "val" is left and
// the search goes on after its "%.".
std::string ExpandPrecisionValues(std::string text, const TMarginCallTextInputs& inputs) {
  for (std::string::size_type at = text.find("%."); at != std::string::npos;) {
    std::string::size_type end = at + 2;
    int precision = 0;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) {
      if (precision <= kMaxValuePrecision) precision = precision * 10 + (text[end] - '0');
      ++end;
    }
    const bool absolute = text.compare(end, 1, "A") == 0;
    if (absolute) ++end;
    if (text.compare(end, 3, "val") != 0) {
      at = text.find("%.", at + 2);
      continue;
    }
    const std::string value = ValueText(inputs, precision, absolute);
    text.replace(at, end + 3 - at, value);
    at = text.find("%.", at + value.size());
  }
  return text;
}

std::string JoinedUids(const std::vector<int>& uids) {
  std::string text;
  for (int uid : uids) text += (text.empty() ? "" : ", ") + std::to_string(uid);
  return text;
}

}  // namespace

std::string ComposeMarginCallText(const std::string& pattern, const TMarginCallTextInputs& inputs) {
  std::string text = ReplaceAll(pattern, "%cc", inputs.ClientCode);
  text = ExpandPrecisionValues(text, inputs);
  text = ReplaceAll(text, "%Aval", ValueText(inputs, kDefaultPrecision, true));
  text = ReplaceAll(text, "%val", ValueText(inputs, kDefaultPrecision, false));
  text = ReplaceAll(text, "%ct", Printed("%02d:%02d:%02d", inputs.Hour, inputs.Minute, inputs.Second));
  text = ReplaceAll(text, "%cd",
                    Printed("%02d.%02d.%04d", inputs.HostDate % 100, inputs.HostDate / 100 % 100,
                            inputs.HostDate / 10000));
  if (inputs.Addresses == nullptr) return text;
  const TAddressRecord* emails = ChooseEmailRecord(*inputs.Addresses, inputs.ClientCode, inputs.Firm);
  if (emails != nullptr) text = ReplaceAll(text, "%em", JoinWithComma(emails->Emails));
  const TAddressRecord* uids = ChooseUidRecord(*inputs.Addresses, inputs.ClientCode, inputs.Firm);
  if (uids != nullptr) text = ReplaceAll(text, "%UIDs", JoinedUids(uids->Uids));
  return text;
}
