#pragma once

#include "module/settings/comma_lists.h"

#include <functional>
#include <string>
#include <vector>

class TTransportSettings;

// One e-mail as the mail library takes it.
struct TEmailMessage {
  std::string To;
  std::string Copies;       // joined with ", "
  std::string BlindCopies;  // joined with ", "
};

// The e-mails of a margin call to the client's addresses: one per address,
// with the copy addresses as copies or blind copies, or, with separate
// e-mails, each copy address getting a message of its own after each
// client's message. Empty addresses get nothing.
std::vector<TEmailMessage> PlanEmailMessages(const StringList& addresses,
                                             const TTransportSettings& transport);

// The mail log's account of one message ("cc" also for blind copies).
std::string RecipientLogText(const TEmailMessage& message);

struct TFailedRecipient {
  std::string Address;
  std::string Error;  // the mail library's text
};

// Sends every message in order, collecting each recipient whose message the
// mail library refused; send returns false and fills its error text then.
typedef std::function<bool(const TEmailMessage& message, std::string* error)> TEmailSender;
std::vector<TFailedRecipient> SendEmailMessages(const std::vector<TEmailMessage>& messages,
                                                const TEmailSender& send);

// One message box text for all failed recipients: an address and its error
// per line.
std::string FailedRecipientsText(const std::vector<TFailedRecipient>& failures);
