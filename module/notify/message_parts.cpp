#include "module/notify/message_parts.h"

#include "module/notify/sms_text.h"

std::vector<std::string> SplitIntoParts(const std::string& text, std::size_t partLength) {
  if (text.empty()) return {std::string()};
  std::vector<std::string> parts;
  for (std::size_t start = 0; start < text.size(); start += partLength)
    parts.push_back(text.substr(start, partLength));
  return parts;
}

std::vector<std::string> TraderMessageParts(const std::string& text) {
  return SplitIntoParts(text, kTraderMessagePartLength);
}

std::vector<std::string> SmsParts(const std::string& text) {
  return SplitIntoParts(SanitizeMessageText(text), kSmsPartLength);
}
