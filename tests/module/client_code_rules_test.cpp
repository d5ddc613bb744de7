// Client-code change rules read from firms' settings texts, and the
// decisions they give for clients.
#include "case_table.h"
#include "module/risk/client_code_rules.h"
#include "module/risk/client_rule_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

TEST(ClientCodeRules, MainSectionWithFirmLines) {
  CClientCodeRules rules;
  const std::string text =
      "[GENERAL]\r\nCHANGEFUTCLIENTCODES=1\r\n\r\n"
      "[ChangeFutClientCodes]\r\n  firm=MC0001\r\n1=SPBFUT00A1\r\n\r\n2=SPBFUT00A2\r\n"
      "Firm=MC0002\r\n3=SPBFUT00A1\r\n[OTHER]\r\n4=SPBFUT00Z9\r\n";
  EXPECT_TRUE(rules.ParseClientCodeChangeRules("MC0009", text));
  EXPECT_EQ(rules.FirmsWithRules(), Strings({"MC0009"}));
  EXPECT_TRUE(rules.SelfNamedFirms().empty());
  EXPECT_EQ(rules.ListingFirmsOf("SPBFUT00A1"), Strings({"MC0009", "MC0009"}));
  EXPECT_EQ(rules.FirmCodesOf("SPBFUT00A1"), Strings({"MC0001", "MC0002"}));
  EXPECT_EQ(rules.FirmCodesOf("SPBFUT00A2"), Strings({"MC0001"}));
  EXPECT_TRUE(rules.FirmCodesOf("SPBFUT00Z9").empty()) << "another section ends the rules";
  EXPECT_EQ(rules.SecondFirmOf("SPBFUT00A1"), "MC0001");
  EXPECT_EQ(rules.SecondFirmOf("SPBFUT00Z9"), "");
}

TEST(ClientCodeRules, FirmSections) {
  CClientCodeRules rules;
  const std::string text =
      "[CHANGEFUTCLIENTCODES_MC0001]\na=ACC1\nFIRM=MC0005\n"  // FIRM means nothing here
      "[changefutclientcodes_Mc0002]\nb=ACC1\nc= ACC2\n";
  EXPECT_TRUE(rules.ParseClientCodeChangeRules("MC0009", text));
  EXPECT_EQ(rules.FirmsWithRules(), Strings({"MC0009"})) << "listed once for its firm sections";
  EXPECT_EQ(rules.FirmCodesOf("ACC1"), Strings({"MC0001", "Mc0002"})) << "suffixes as written";
  EXPECT_EQ(rules.FirmCodesOf("MC0005"), Strings({"MC0001"}));
  EXPECT_EQ(rules.FirmCodesOf(" ACC2"), Strings({"Mc0002"})) << "the blank stays";
  EXPECT_TRUE(rules.FirmCodesOf("ACC2").empty());
}

TEST(ClientCodeRules, FirmsThatNameThemselves) {
  CClientCodeRules rules;
  rules.ParseClientCodeChangeRules("MC0001", "[CHANGEFUTCLIENTCODES]\nFIRM=MC0001\n1=ACC1\n");
  rules.ParseClientCodeChangeRules("MC0002", "[CHANGEFUTCLIENTCODES_MC0002]\n1=ACC2\n");
  rules.ParseClientCodeChangeRules("MC0003", "[CHANGEFUTCLIENTCODES]\nFIRM=mc0003\n1=ACC3\n");
  rules.ParseClientCodeChangeRules("MC0004", "[CHANGEFUTCLIENTCODES]\nFIRM\n1=ACC4\n");
  EXPECT_EQ(rules.SelfNamedFirms(), Strings({"MC0001", "MC0002"})) << "names match exactly";
  EXPECT_EQ(rules.FirmCodesOf("ACC4"), Strings({"FIRM"})) << "a FIRM line without = is the code";
  EXPECT_EQ(rules.FirmsWithRules(), Strings({"MC0001", "MC0002", "MC0003", "MC0004"}));
  // A suffix without its bracket takes the rest of the text.
  CClientCodeRules unclosed;
  EXPECT_TRUE(unclosed.ParseClientCodeChangeRules("MC0001", "[CHANGEFUTCLIENTCODES_MC0001"));
  EXPECT_EQ(unclosed.SelfNamedFirms(), Strings({"MC0001"}));
  CClientCodeRules last;
  EXPECT_TRUE(last.ParseClientCodeChangeRules("MC0001", "[changefutclientcodes]")) << "a header ends the text";
  CClientCodeRules other;
  other.ParseClientCodeChangeRules("MC0002", "[CHANGEFUTCLIENTCODES_MC0001\n1=ACC1\n");
  EXPECT_TRUE(other.FirmCodesOf("ACC1").empty());
  EXPECT_TRUE(other.SelfNamedFirms().empty());
  EXPECT_EQ(other.FirmsWithRules(), Strings({"MC0002"}));
}

TEST(ClientCodeRules, ATextWithoutRulesChangesNothing) {
  CClientCodeRules rules;
  for (const char* text : {"", "[GENERAL]\nCHANGEFUTCLIENTCODES=1", "[CHANGEFUTCLIENTCODESX]\n1=A"})
    EXPECT_FALSE(rules.ParseClientCodeChangeRules("MC0001", text)) << text;
  EXPECT_TRUE(rules.FirmsWithRules().empty());
  EXPECT_FALSE(rules.IsClientExcluded("MC0001", "A"));
}

TEST(ClientCodeRules, ExclusionOfClients) {
  CClientCodeRules rules;
  rules.ParseClientCodeChangeRules("MC0001", "[CHANGEFUTCLIENTCODES]\nFIRM=MC0002\n1=ACC1\n2=ACC2");
  rules.ParseClientCodeChangeRules("MC0003", "[CHANGEFUTCLIENTCODES]\nFIRM=MC0003\n1=ACC9\n");
  rules.ParseClientCodeChangeRules("MC0004", "[GENERAL]\nX=1\n");
  RunCaseTable("client_code_rules.txt", {{"Excluded", [&](const CaseRow& c) {
    EXPECT_EQ(rules.IsClientExcluded(c.Text(0), c.Text(1)), c[2] != 0); }}});
}

TEST(ClientCodeRules, LaterRulesCanChangeAnEarlierDecision) {
  CClientCodeRules rules;
  rules.ParseClientCodeChangeRules("MC0001", "[CHANGEFUTCLIENTCODES_MC0002]\n1=ACC1\n");
  EXPECT_TRUE(rules.IsClientExcluded("MC0001", "ACC7"));
  // A later text that names the firm includes the client: the module must
  // decide the client again, which the true result tells it.
  EXPECT_TRUE(rules.ParseClientCodeChangeRules("MC0001", "[CHANGEFUTCLIENTCODES_MC0001]\n"));
  EXPECT_FALSE(rules.IsClientExcluded("MC0001", "ACC7"));
  // And a firm's first rules exclude clients decided before them.
  EXPECT_FALSE(rules.IsClientExcluded("MC0005", "ACC8"));
  EXPECT_TRUE(rules.ParseClientCodeChangeRules("MC0005", "[CHANGEFUTCLIENTCODES_X]\n1=ACC1\n"));
  EXPECT_TRUE(rules.IsClientExcluded("MC0005", "ACC8"));
  rules.Clear();
  EXPECT_TRUE(rules.FirmsWithRules().empty() && rules.SelfNamedFirms().empty());
  EXPECT_TRUE(rules.ListingFirmsOf("ACC1").empty());
  EXPECT_FALSE(rules.IsClientExcluded("MC0005", "ACC8"));
}

TEST(ClientRuleState, DecidedOnceUntilTheRulesChange) {
  CClientCodeRules rules;
  TClientRiskRecord record("MC0001", "ACC7");
  EXPECT_TRUE(DecideClientRuleState(record, rules));
  EXPECT_EQ(record.ExclusionMark, kRuleIncluded);

  // The firm's rules arrive after the client was decided: kept as it was
  // until the module sets the state back, which the true result asks for.
  ASSERT_TRUE(rules.ParseClientCodeChangeRules("MC0001", "[CHANGEFUTCLIENTCODES_X]\n1=ACC1\n"));
  EXPECT_TRUE(DecideClientRuleState(record, rules));
  record.ExclusionMark = kRuleUndecided;
  EXPECT_FALSE(DecideClientRuleState(record, rules));
  EXPECT_EQ(record.ExclusionMark, kRuleExcluded);

  TClientRiskRecord listed("MC0001", "ACC1");
  EXPECT_TRUE(DecideClientRuleState(listed, rules));
  EXPECT_EQ(listed.ExclusionMark, kRuleIncluded);
}
}  // namespace
