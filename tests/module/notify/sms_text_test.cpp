#include "module/notify/message_parts.h"
#include "module/notify/sms_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(SmsTextTest, CleaningLeavesOneBlankForEveryRunOfSeparators) {
  struct Case {
    std::string text;
    std::string clean;
  } cases[] = {
      {"a|b\r\n  c", "a b c"},
      {"\x01x\x1fy\t", " x y "},
      {"  ", " "},
      {"\x20\x7e\x7f\x80\xff \xc0\xff", "\x20\x7e\x7f\x80\xff \xc0\xff"},
  };
  for (const Case& c : cases) EXPECT_EQ(SanitizeMessageText(c.text), c.clean) << c.text;
}

TEST(SmsTextTest, TextsAreCutIntoTheHostsLengths) {
  const std::string text = std::string(798, 'a') + "|bc" + std::string(1000, 'd');
  const std::vector<std::string> trader = {std::string(798, 'a') + "|", "bc" + std::string(797, 'd'),
                                           std::string(203, 'd')};
  const std::vector<std::string> sms = {
      std::string(479, 'a'), std::string(319, 'a') + " bc" + std::string(157, 'd'),
      std::string(479, 'd'), std::string(364, 'd')};
  EXPECT_EQ(TraderMessageParts(text), trader);
  EXPECT_EQ(SmsParts(text), sms);
  EXPECT_EQ(TraderMessageParts(""), std::vector<std::string>{""});
  EXPECT_EQ(SmsParts(""), std::vector<std::string>{""});
  EXPECT_EQ(SmsParts(std::string(479, 'x')), std::vector<std::string>{std::string(479, 'x')});
}

TEST(SmsTextTest, TransactionCarriesTheUidAndThePart) {
  EXPECT_EQ(SmsTransactionText(-42, "Маржин колл"), "UID=-42[]|Message=Маржин колл[]");
}

TEST(SmsTextTest, SmsFormNeedsItsFlagAndItsValue) {
  struct Case {
    std::uint32_t flags, value;
    bool sms;
  } cases[] = {{0x200, 1, true}, {0xfffffdff, 1, false}, {0x201, 0, false}, {0x80000200, 0x100, true}};
  for (const Case& c : cases) {
    std::uint8_t form[172] = {};
    std::memcpy(form + 136, &c.flags, 4);
    std::memcpy(form + 168, &c.value, 4);
    EXPECT_EQ(IsSmsTransactionForm(form), c.sms) << c.flags << " " << c.value;
  }
  EXPECT_FALSE(IsSmsTransactionForm(nullptr));
}

}  // namespace
