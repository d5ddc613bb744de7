#include "module/notify/email_messages.h"

#include "module/settings/transport_settings.h"

namespace {

StringList NonEmpty(const StringList& addresses) {
  StringList kept;
  for (const std::string& address : addresses)
    if (!address.empty()) kept.push_back(address);
  return kept;
}

}  // namespace

std::vector<TEmailMessage> PlanEmailMessages(const StringList& addresses,
                                             const TTransportSettings& transport) {
  const StringList copies = NonEmpty(transport.CopyEmails);
  const std::string joined = JoinWithComma(copies);
  std::vector<TEmailMessage> messages;
  for (const std::string& address : NonEmpty(addresses)) {
    if (copies.empty() || transport.SendSeparateEmails) {
      messages.push_back({address, "", ""});
      for (const std::string& copy : copies) messages.push_back({copy, "", ""});
    } else if (transport.UseBlindCopy) {
      messages.push_back({address, "", joined});
    } else {
      messages.push_back({address, joined, ""});
    }
  }
  return messages;
}

std::string RecipientLogText(const TEmailMessage& message) {
  const std::string& copies = message.Copies.empty() ? message.BlindCopies : message.Copies;
  return "Recipient's address: " + message.To + (copies.empty() ? "" : ", cc: " + copies);
}

std::vector<TFailedRecipient> SendEmailMessages(const std::vector<TEmailMessage>& messages,
                                                const TEmailSender& send) {
  std::vector<TFailedRecipient> failures;
  for (const TEmailMessage& message : messages) {
    std::string error;
    if (!send(message, &error)) failures.push_back({message.To, error});
  }
  return failures;
}

std::string FailedRecipientsText(const std::vector<TFailedRecipient>& failures) {
  std::string text;
  for (const TFailedRecipient& failure : failures)
    text += failure.Address + ": " + failure.Error + "\n";
  return text;
}
