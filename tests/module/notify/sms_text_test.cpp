#include "module/notify/message_parts.h"
#include "module/notify/sms_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(SmsTextTest, CleaningLeavesOneBlankForEveryRunOfSeparators) {
  const std::pair<std::string, std::string> cases[] = {
      {"a|b\r\n  c", "a b c"}, {"\x01x\x1fy\t", " x y "}, {"  ", " "},
      {"\x20\x7e\x7f\x80\xff \xc0\xff", "\x20\x7e\x7f\x80\xff \xc0\xff"}};
  for (const auto& c : cases) EXPECT_EQ(SanitizeMessageText(c.first), c.second) << c.first;
}

TEST(SmsTextTest, TextsAreCutIntoTheHostsLengths) {
  typedef std::vector<std::string> Parts;
  const std::string text = std::string(798, 'a') + "|bc" + std::string(1000, 'd');
  EXPECT_EQ(TraderMessageParts(text), (Parts{std::string(798, 'a') + "|",
                                             "bc" + std::string(797, 'd'), std::string(203, 'd')}));
  EXPECT_EQ(SmsParts(text), (Parts{std::string(479, 'a'),
                                   std::string(319, 'a') + " bc" + std::string(157, 'd'),
                                   std::string(479, 'd'), std::string(364, 'd')}));
  EXPECT_EQ(TraderMessageParts(""), Parts{""});
  EXPECT_EQ(SmsParts(""), Parts{""});
  EXPECT_EQ(SmsParts(std::string(479, 'x')), Parts{std::string(479, 'x')});
  EXPECT_EQ(SmsTransactionText(-42, "Маржин колл"), "UID=-42[]|Message=Маржин колл[]");
}

TEST(SmsTextTest, SmsFormNeedsItsFlagAndItsValue) {
  const std::uint32_t cases[][3] = {  // flag word, value, is the SMS form
      {0x200, 1, true}, {0xfffffdff, 1, false}, {0x201, 0, false}, {0x80000200, 0x100, true}};
  for (const auto& c : cases) {
    std::uint8_t form[172] = {};
    std::memcpy(form + 136, &c[0], 4);
    std::memcpy(form + 168, &c[1], 4);
    EXPECT_EQ(IsSmsTransactionForm(form), c[2] != 0) << c[0] << " " << c[1];
  }
  EXPECT_FALSE(IsSmsTransactionForm(nullptr));
}

}  // namespace
