#include "module/notify/margin_call_row.h"
#include "module/notify/odbc_diagnostics.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// Sent at 09:05:03.
TMarginCallRow SampleRow() {
  return {2, 20261206, {0, 0, 0, 0, 9, 5, 3, 0}, 0.5, 1234.56789, "C1", "Hi", "S", "F1",
          {"a@x.ru", "b@y.ru"}};
}

const std::string kValues = "2, 20261206, 90503, 0.5000, 1234.5679, 'C1', 'Hi', '', '', '', 'S'";

TEST(MarginCallStatementTest, EachLayoutNamesItsColumnsAndValues) {
  struct Case {
    EMarginCallTableLayout layout;
    std::string statement;
  } cases[] = {
      {EMarginCallTableLayout::kBasic,
       "insert into MCalls ( MCType, TDate, MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, "
       "MsgText3, MsgText4, SubjText) values (" + kValues + ")"},
      {EMarginCallTableLayout::kWithFirm,
       "insert into MCalls (MCType, TDate, MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, "
       "MsgText3, MsgText4, SubjText, FirmID, MsgText5) values (" + kValues + ", 'F1', '')"},
      {EMarginCallTableLayout::kWithFirmAndEmails,
       "insert into MCalls (MCType, TDate, MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, "
       "MsgText3, MsgText4, SubjText, FirmID, MsgText5, Emails) values (" + kValues +
           ", 'F1', '', 'a@x.ru, b@y.ru, ')"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MarginCallInsertStatement("MCalls", c.layout, SampleRow()), c.statement);
}

// The part of the row's statement after "values (".
std::string ValuesOf(const TMarginCallRow& row,
                     EMarginCallTableLayout layout = EMarginCallTableLayout::kBasic) {
  std::string statement = MarginCallInsertStatement("T", layout, row);
  return statement.substr(statement.find("values (") + 8);
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

TEST(MarginCallStatementTest, BodyGoesInSlicesOf255Characters) {
  const std::string a(255, 'a'), b(255, 'b'), c(255, 'c'), d(255, 'd');
  struct Case {
    std::string body;
    std::string texts;  // MsgText to MsgText4, SubjText, FirmID, MsgText5
  } cases[] = {
      {"", "'', '', '', '', 'S', 'F1', ''"},
      {a, "'" + a + "', '', '', '', 'S', 'F1', ''"},
      {a + "b", "'" + a + "', 'b', '', '', 'S', 'F1', ''"},
      {a + b + c + d, "'" + a + "', '" + b + "', '" + c + "', '" + d + "', 'S', 'F1', ''"},
      {a + b + c + d + std::string(80, 'e'),
       "'" + a + "', '" + b + "', '" + c + "', '" + d + "', 'S', 'F1', '" + std::string(80, 'e') + "'"},
      {a + b + c + d + std::string(300, 'e'),
       "'" + a + "', '" + b + "', '" + c + "', '" + d + "', 'S', 'F1', '" + std::string(255, 'e') + "'"},
  };
  for (const Case& k : cases) {
    TMarginCallRow row = SampleRow();
    row.body = k.body;
    EXPECT_EQ(ValuesOf(row, EMarginCallTableLayout::kWithFirm),
              "2, 20261206, 90503, 0.5000, 1234.5679, 'C1', " + k.texts + ")")
        << k.body.size();
  }
}

// The values as written under a comma locale: times without leading zeros,
// numbers with a point, quotes inside texts doubled.
TEST(MarginCallStatementTest, ValuesOfChangedRows) {
  struct Case {
    void (*change)(TMarginCallRow&);
    const char* values;
  } cases[] = {
      {[](TMarginCallRow& r) { r.localTime = {0, 0, 0, 0, 0, 0, 7, 0}; }, "2, 20261206, 7, "},
      {[](TMarginCallRow& r) { r.localTime = {0, 0, 0, 0, 0, 10, 0, 0}; }, "2, 20261206, 1000, "},
      {[](TMarginCallRow& r) { r.localTime = {0, 0, 0, 0, 23, 0, 1, 0}; }, "2, 20261206, 230001, "},
      {[](TMarginCallRow& r) { r.value = -1234567.25; }, "2, 20261206, 90503, 0.5000, -1234567.2500, "},
      {[](TMarginCallRow& r) { r.clientCode = "O'Neil", r.body = "it's '; drop", r.subject = "'"; },
       "2, 20261206, 90503, 0.5000, 1234.5679, 'O''Neil', 'it''s ''; drop', '', '', '', '''')"},
  };
  std::string saved = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "Russian_Russia.1251"), nullptr);
  for (const Case& c : cases) {
    TMarginCallRow row = SampleRow();
    c.change(row);
    EXPECT_PRED2(StartsWith, ValuesOf(row), c.values);
  }
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(MarginCallStatementTest, EmailsStopOnceTheyPass250Characters) {
  const std::string address = "abcdefghij@example.r";  // 20 characters, 22 with ", "
  TMarginCallRow row = SampleRow();
  row.emails.assign(30, address);
  std::string joined;
  for (int i = 0; i < 12; ++i) joined += address + ", ";  // 264 characters
  std::string values = ValuesOf(row, EMarginCallTableLayout::kWithFirmAndEmails);
  EXPECT_EQ(values.substr(values.rfind(", '") + 3), joined.substr(0, 251) + "')");
}

TEST(OdbcDiagnosticsTest, PasswordIsNeverRepeated) {
  struct Case {
    const char *text, *secret, *shown;
  } cases[] = {{"password \"pw1\" rejected for pw1", "pw1", "password \"***\" rejected for ***"},
               {"no such table", "pw1", "no such table"},
               {"login failed", "", "login failed"},
               {"aaaa", "aa", "******"}};
  for (const Case& c : cases) EXPECT_EQ(WithoutSecret(c.text, c.secret), c.shown);
}

}  // namespace
