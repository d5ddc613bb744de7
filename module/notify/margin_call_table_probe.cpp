#include "module/notify/margin_call_table_probe.h"

#include "module/notify/odbc_diagnostics.h"

#include <sqlext.h>

namespace {

// COLUMN_NAME in the result set of SQLColumns.
const SQLUSMALLINT kColumnNameColumn = 4;

void Probe(SQLHSTMT statement, const std::string& table, CVantrelLog& log,
           EMarginCallTableLayout* layout) {
  SQLRETURN result = SQLColumns(statement, nullptr, 0, nullptr, 0,
                                reinterpret_cast<SQLCHAR*>(const_cast<char*>(table.c_str())),
                                SQL_NTS, nullptr, 0);
  if (!SQL_SUCCEEDED(result)) {
    if (result == SQL_ERROR) LogOdbcDiagnostics(log, "SQLColumns", statement, SQL_HANDLE_STMT);
    return;
  }
  char name[256] = {};
  SQLLEN nameLength = 0;
  SQLBindCol(statement, kColumnNameColumn, SQL_C_CHAR, name, sizeof(name), &nameLength);
  *layout = EMarginCallTableLayout::kBasic;
  while (SQL_SUCCEEDED(SQLFetch(statement))) {
    if (nameLength == SQL_NULL_DATA) continue;
    if (lstrcmpiA(name, "EMAILS") == 0) {
      *layout = EMarginCallTableLayout::kWithFirmAndEmails;
      break;
    }
    if (lstrcmpiA(name, "FIRMID") == 0) *layout = EMarginCallTableLayout::kWithFirm;
  }
}

}  // namespace

void ProbeMarginCallTable(SQLHDBC connection, const std::string& table, CVantrelLog& log,
                          EMarginCallTableLayout* layout) {
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement))) return;
  Probe(statement, table, log, layout);
  SQLFreeHandle(SQL_HANDLE_STMT, statement);
}
