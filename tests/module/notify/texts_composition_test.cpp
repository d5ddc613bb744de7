#include "module/notify/margin_call_text.h"

#include <gtest/gtest.h>

namespace {

// C1 of firm F1 has UIDs under the firm and e-mails under the code alone;
// C2 has only an empty record under the firm.
const TAddressMap kAddresses = {{{"C1", "F1"}, {"C1", {7, 8}, {}}},
                                {{"C1", ""}, {"C1", {1}, {"a@x.ru", "b@y.ru"}}},
                                {{"C2", "F1"}, {"C2", {}, {}}}};

TEST(MarginCallTextTest, ExpandsEveryPlaceholder) {
  struct Case {
    double value;
    const char *client, *pattern, *text;
  } cases[] = {
      {1, "C1", "", ""},
      {1, "C1", "no placeholders", "no placeholders"},
      {1, "C1", "%cc on %cd at %ct", "C1 on 14.03.2025 at 09:05:07"},
      {-1234.5678, "C1", "%.2val|%.0Aval|%val|%Aval", "-1234,57|1235|-1234,5678|1234,5678"},
      {-1234.5678, "C1", "%.val %.Aval", "-1235 1235"},
      {-2.5, "C1", "%.10val", "-2,5000000000"},
      {0.5, "C1", "%.16val|%.99999999999999999999Aval", "0,500000000000000|0,500000000000000"},
      {-3, "C1", "%.2xyz %.2Ax %.2Aval %.2", "%.2xyz %.2Ax 3,00 %.2"},
      {-3, "C1", "%VAL %Val %CC %q %UIDS %.2A", "%VAL %Val %CC %q %UIDS %.2A"},
      {1e30, "C1", "%val %.2Aval %Aval %.val %cc", "- - - - C1"},
      {1, "C1", "%em / %UIDs", "a@x.ru, b@y.ru / 7, 8"},
      {1, "C2", "[%em|%UIDs]", "[|]"},
      {1, "C9", "%em %UIDs", "%em %UIDs"},
      {1, "%ct/%val", "%cc", "09:05:07/1,0000"},
  };
  for (const Case& c : cases) {
    const TMarginCallTextInputs inputs{c.value, "F1", c.client, 20250314, 9, 5, 7, ',', &kAddresses};
    EXPECT_EQ(ComposeMarginCallText(c.pattern, inputs), c.text) << c.pattern;
  }
}

}  // namespace
