#include "module/notify/sms_text.h"

#include <cstring>

namespace {

const std::size_t kFormFlagsOffset = 136;
const std::size_t kFormValueOffset = 168;
const std::uint32_t kSmsFormFlag = 0x200;

std::uint32_t WordAt(const std::uint8_t* record, std::size_t offset) {
  std::uint32_t word;
  std::memcpy(&word, record + offset, sizeof word);
  return word;
}

}  // namespace

std::string SanitizeMessageText(const std::string& text) {
  std::string clean;
  for (char c : text) {
    const unsigned char code = static_cast<unsigned char>(c);
    if ((code >= 1 && code <= 31) || c == '|') c = ' ';
    if (c == ' ' && !clean.empty() && clean.back() == ' ') continue;
    clean += c;
  }
  return clean;
}

std::string SmsTransactionText(int uid, const std::string& part) {
  return "UID=" + std::to_string(uid) + "[]|Message=" + part + "[]";
}

bool IsSmsTransactionForm(const std::uint8_t* form) {
  return form != nullptr && (WordAt(form, kFormFlagsOffset) & kSmsFormFlag) != 0 &&
         WordAt(form, kFormValueOffset) != 0;
}
