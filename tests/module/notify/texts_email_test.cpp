#include "module/notify/email_messages.h"
#include "module/settings/transport_settings.h"

#include <gtest/gtest.h>

namespace {

// Messages written "to|cc|bcc".
std::vector<std::string> Planned(const StringList& addresses, const StringList& copies,
                                 bool blind, bool separate) {
  TTransportSettings transport;
  transport.CopyEmails = copies;
  transport.UseBlindCopy = blind;
  transport.SendSeparateEmails = separate;
  std::vector<std::string> lines;
  for (const TEmailMessage& m : PlanEmailMessages(addresses, transport))
    lines.push_back(m.To + "|" + m.Copies + "|" + m.BlindCopies);
  return lines;
}

TEST(EmailMessagesTest, CopiesGoAsTheSettingsSay) {
  typedef std::vector<std::string> Lines;
  EXPECT_EQ(Planned({"a", "", "b"}, {}, false, false), (Lines{"a||", "b||"}));
  EXPECT_EQ(Planned({"a"}, {"c", "", "d"}, false, false), (Lines{"a|c, d|"}));
  EXPECT_EQ(Planned({"a"}, {"c", "d"}, true, false), (Lines{"a||c, d"}));
  EXPECT_EQ(Planned({"a", "b"}, {"c", "", "d"}, true, true),
            (Lines{"a||", "c||", "d||", "b||", "c||", "d||"}));
  EXPECT_EQ(Planned({""}, {"c"}, false, true), Lines{});
  EXPECT_EQ(Planned({"a"}, {""}, false, false), (Lines{"a||"}));
}

TEST(EmailMessagesTest, LogSaysCcForEitherKindOfCopy) {
  EXPECT_EQ(RecipientLogText({"a", "", ""}), "Recipient's address: a");
  EXPECT_EQ(RecipientLogText({"a", "c, d", ""}), "Recipient's address: a, cc: c, d");
  EXPECT_EQ(RecipientLogText({"a", "", "c, d"}), "Recipient's address: a, cc: c, d");
}

TEST(EmailMessagesTest, EveryRefusedRecipientIsReported) {
  std::vector<std::string> tried;
  const std::vector<TFailedRecipient> failures = SendEmailMessages(
      {{"a", "", ""}, {"b", "", ""}, {"c", "", ""}, {"d", "", ""}},
      [&](const TEmailMessage& m, std::string* error) {
        tried.push_back(m.To);
        if (m.To == "a" || m.To == "c") *error = "550 no such user " + m.To;
        return error->empty();
      });
  EXPECT_EQ(tried, (std::vector<std::string>{"a", "b", "c", "d"}));
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[1].Address, "c");
  EXPECT_EQ(FailedRecipientsText(failures), "a: 550 no such user a\nc: 550 no such user c\n");
}

}  // namespace
