#include "module/notify/email_messages.h"
#include "module/settings/transport_settings.h"

#include <gtest/gtest.h>

namespace {

// The messages written "to|cc|bcc;".
std::string Planned(const StringList& addresses, const StringList& copies, bool blind,
                    bool separate) {
  TTransportSettings transport;
  transport.CopyEmails = copies, transport.UseBlindCopy = blind, transport.SendSeparateEmails = separate;
  std::string lines;
  for (const TEmailMessage& m : PlanEmailMessages(addresses, transport))
    lines += m.To + "|" + m.Copies + "|" + m.BlindCopies + ";";
  return lines;
}

TEST(EmailMessagesTest, CopiesLogLinesAndRefusedRecipients) {
  EXPECT_EQ(Planned({"a", "", "b"}, {}, false, false), "a||;b||;");
  EXPECT_EQ(Planned({"a"}, {"c", "", "d"}, false, false), "a|c, d|;");
  EXPECT_EQ(Planned({"a"}, {"c", "d"}, true, false), "a||c, d;");
  EXPECT_EQ(Planned({"a", "b"}, {"c", "", "d"}, true, true), "a||;c||;d||;b||;c||;d||;");
  EXPECT_EQ(Planned({""}, {"c"}, false, true), "");
  EXPECT_EQ(Planned({"a"}, {""}, false, false), "a||;");
  EXPECT_EQ(RecipientLogText({"a", "", ""}), "Recipient's address: a");
  EXPECT_EQ(RecipientLogText({"a", "c, d", ""}), "Recipient's address: a, cc: c, d");
  EXPECT_EQ(RecipientLogText({"a", "", "c, d"}), "Recipient's address: a, cc: c, d");
  std::string tried;
  const std::vector<TFailedRecipient> failures = SendEmailMessages(
      {{"a", "", ""}, {"b", "", ""}, {"c", "", ""}, {"d", "", ""}},
      [&](const TEmailMessage& m, std::string* error) {
        tried += m.To;
        if (m.To == "a" || m.To == "c") *error = "550 no such user " + m.To;
        return error->empty();
      });
  EXPECT_EQ(tried, "abcd");
  EXPECT_EQ(FailedRecipientsText(failures), "a: 550 no such user a\nc: 550 no such user c\n");
}

}  // namespace
