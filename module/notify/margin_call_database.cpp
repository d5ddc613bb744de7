#include "module/notify/margin_call_database.h"

#include "module/log/vantrel_log.h"
#include "module/notify/margin_call_table_probe.h"
#include "module/notify/odbc_diagnostics.h"
#include "module/settings/transport_settings.h"

#include <sqlext.h>

namespace {

SQLCHAR* OdbcText(const std::string& text) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

// Overwrites a password before its memory is released.
void Wipe(std::string& secret) {
  SecureZeroMemory(&secret[0], secret.size());
  secret.clear();
}

}  // namespace

CMarginCallDatabase::CMarginCallDatabase(const TTransportSettings& settings, CVantrelLog& log,
                                         IMarginCallDatabaseOwner& owner)
    : m_settings(settings), m_log(log), m_owner(owner) {}

CMarginCallDatabase::~CMarginCallDatabase() { CloseConnection(); }

bool CMarginCallDatabase::Connect() {
  CloseConnection();  // a new connection replaces the old session
  bool ready = SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_environment)) &&
               SQL_SUCCEEDED(SQLSetEnvAttr(m_environment, SQL_ATTR_ODBC_VERSION,
                                           reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) &&
               SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_environment, &m_connection));
  if (ready) {
    std::string password = m_owner.DecodeDatabasePassword(m_settings.DBPassword);
    m_connected = SQL_SUCCEEDED(SQLConnect(m_connection, OdbcText(m_settings.DSN), SQL_NTS,
                                           OdbcText(m_settings.DBLogin), SQL_NTS,
                                           OdbcText(password), SQL_NTS));
    if (!m_connected)
      LogOdbcDiagnostics(m_log, "SQLConnect", m_connection, SQL_HANDLE_DBC, password);
    Wipe(password);
  }
  if (!m_connected) {
    FreeHandles();
    m_owner.ShowDatabaseError(
        "Невозможно подключиться к базе данных. Последующие margin call'ы сохраняться не будут.",
        "Vantrel FM");
    m_log.TraceLog(1, "ERROR: Can not connect to database.");
    return false;
  }
  ProbeMarginCallTable(m_connection, m_settings.GetDBTable(), m_log, &m_layout);
  m_log.TraceLog(1, "Connected to database.");
  return true;
}

void CMarginCallDatabase::ConnectIfNeeded() {
  if (m_settings.NeedSaveToDB && !m_connected) m_writesOn = Connect();
}

bool CMarginCallDatabase::Save(const TMarginCallRow& row) {
  if (!m_writesOn) {
    LogLeftOut(row);
    return true;
  }
  if (!m_connected) {
    m_log.TraceLog(2, "ERROR: not connected to database.");
    m_writesOn = false;
    LogLeftOut(row);
    return false;
  }
  if (Store(row)) return true;
  m_owner.ShowDatabaseError(
      "Произошла ошибка при сохранении margin call'а в базу данных. Последующие margin call'ы "
      "сохраняться не будут.",
      "Ошибка");
  m_log.TraceLog(2, "ERROR: Can not save margin call to database.");
  m_writesOn = false;
  LogLeftOut(row);
  return false;
}

// Every call missing from the journal is named, so that a gap in it can be
// accounted for.
void CMarginCallDatabase::LogLeftOut(const TMarginCallRow& row) {
  m_log.TraceLog(2,
                 "ERROR: margin call not saved to database (type: %d, clientcode: %s, level: %f, "
                 "value: %f).",
                 row.kind, row.clientCode.c_str(), row.level, row.value);
}

bool CMarginCallDatabase::Store(const TMarginCallRow& row) {
  SQLHSTMT statement = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &statement))) {
    CloseConnection();
    m_log.TraceLog(2, "ERROR: SQLAllocHandle failed.");
    return false;
  }
  std::string sql = MarginCallInsertStatement(m_settings.GetDBTable(), m_layout, row);
  if (!SQL_SUCCEEDED(SQLExecDirect(statement, OdbcText(sql), SQL_NTS))) {
    LogOdbcDiagnostics(m_log, "SQLExecDirect", statement, SQL_HANDLE_STMT);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    CloseConnection();
    return false;
  }
  SQLFreeHandle(SQL_HANDLE_STMT, statement);
  m_log.TraceLog(2, "Saving margin call to database done (type: %d, clientcode: %s, level: %f, value: %f)",
                 row.kind, row.clientCode.c_str(), row.level, row.value);
  return true;
}

void CMarginCallDatabase::Disconnect() {
  if (!m_connected) return;
  CloseConnection();
  m_log.TraceLog(1, "Disconnected from database.");
}

// A connected handle cannot be freed: the driver would keep the session.
void CMarginCallDatabase::CloseConnection() {
  if (m_connected) SQLDisconnect(m_connection);
  m_connected = false;
  FreeHandles();
}

void CMarginCallDatabase::FreeHandles() {
  if (m_connection != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, m_connection);
  if (m_environment != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, m_environment);
  m_connection = SQL_NULL_HDBC;
  m_environment = SQL_NULL_HENV;
}
