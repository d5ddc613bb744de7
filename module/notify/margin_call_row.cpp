#include "module/notify/margin_call_row.h"

#include <clocale>
#include <cstdio>

namespace {

const std::size_t kBodySlice = 255;
// The Emails column holds 255 characters: the addresses stop once the text
// passes this length, cut one character after it.
const std::size_t kEmailsFull = 250;

std::string BodySlice(const std::string& body, int index) {
  std::size_t start = index * kBodySlice;
  return start < body.size() ? body.substr(start, kBodySlice) : std::string();
}

std::string EmailsText(const StringList& emails) {
  std::string text;
  for (const std::string& address : emails) {
    text += address + ", ";
    if (text.size() > kEmailsFull) {
      text.resize(kEmailsFull + 1);
      break;
    }
  }
  return text;
}

}  // namespace

int MarginCallTime(const SYSTEMTIME& time) {
  return time.wHour * 10000 + time.wMinute * 100 + time.wSecond;
}

std::string FourDecimals(double number) {
  char text[400];
  std::snprintf(text, sizeof(text), "%.*f", 4, number);
  std::string result = text;
  const std::string point = std::localeconv()->decimal_point;
  std::string::size_type at = result.find(point);
  if (point != "." && at != std::string::npos) result.replace(at, point.size(), ".");
  return result;
}

std::string QuotedSqlText(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

std::string MarginCallInsertStatement(const std::string& table, EMarginCallTableLayout layout,
                                      const TMarginCallRow& row) {
  static const char* const kColumns[] = {
      " ( MCType, TDate, MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, MsgText3, "
      "MsgText4, SubjText) values (",
      " (MCType, TDate, MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, MsgText3, "
      "MsgText4, SubjText, FirmID, MsgText5) values (",
      " (MCType, TDate, MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, MsgText3, "
      "MsgText4, SubjText, FirmID, MsgText5, Emails) values ("};
  std::string sql = "insert into " + table + kColumns[static_cast<int>(layout)];
  sql += std::to_string(row.kind) + ", " + std::to_string(row.hostDate) + ", " +
         std::to_string(MarginCallTime(row.localTime)) + ", " + FourDecimals(row.level) + ", " +
         FourDecimals(row.value) + ", ";
  sql += QuotedSqlText(row.clientCode);
  for (int slice = 0; slice < 4; ++slice) sql += ", " + QuotedSqlText(BodySlice(row.body, slice));
  sql += ", " + QuotedSqlText(row.subject);
  if (layout != EMarginCallTableLayout::kBasic)
    sql += ", " + QuotedSqlText(row.firm) + ", " + QuotedSqlText(BodySlice(row.body, 4));
  if (layout == EMarginCallTableLayout::kWithFirmAndEmails)
    sql += ", " + QuotedSqlText(EmailsText(row.emails));
  return sql + ")";
}
