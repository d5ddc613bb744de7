#pragma once

#include "module/notify/margin_call_row.h"

#include <windows.h>

#include <sql.h>

#include <string>

class CVantrelLog;
class TTransportSettings;

// What the database channel needs from the module around it.
class IMarginCallDatabaseOwner {
 public:
  // The usable password for the stored form of DBPassword; empty when it
  // cannot be turned back.
  virtual std::string DecodeDatabasePassword(const std::string& storedPassword) = 0;
  // Tells the user that the database failed (an error message box).
  virtual void ShowDatabaseError(const char* text, const char* caption) = 0;

 protected:
  ~IMarginCallDatabaseOwner() = default;
};

// The margin-call journal in an ODBC data source: connects to the DSN of the
// transport settings with DBLogin and DBPassword, chooses the row layout from
// the columns of DBTable and stores one row per margin call. A refused row
// stops the storing until the next connection; the other channels of the
// margin call do not depend on it.
class CMarginCallDatabase {
 public:
  // The settings are read at every connection.
  CMarginCallDatabase(const TTransportSettings& settings, CVantrelLog& log,
                      IMarginCallDatabaseOwner& owner);
  ~CMarginCallDatabase();
  CMarginCallDatabase(const CMarginCallDatabase&) = delete;
  CMarginCallDatabase& operator=(const CMarginCallDatabase&) = delete;

  // Connects (closing an open connection first) and probes the table; on
  // failure tells the user. True when connected. Does not touch the writes
  // switch.
  bool Connect();
  // When NeedSaveToDB is on and nothing is connected: connects, and the
  // writes switch becomes the result.
  void ConnectIfNeeded();
  // Stores the row when writes are on (true at once when they are off). A
  // failure tells the user, drops the connection, turns writes off and gives
  // false. A row that is not stored is logged with an "ERROR:" line.
  bool Save(const TMarginCallRow& row);
  void Disconnect();

  bool Connected() const { return m_connected; }
  bool WritesOn() const { return m_writesOn; }
  // The database settings changed: storing may go on with the next connection.
  void EnableWrites() { m_writesOn = true; }
  EMarginCallTableLayout Layout() const { return m_layout; }

 private:
  bool Store(const TMarginCallRow& row);
  void LogLeftOut(const TMarginCallRow& row);
  void FreeHandles();
  void CloseConnection();

  const TTransportSettings& m_settings;
  CVantrelLog& m_log;
  IMarginCallDatabaseOwner& m_owner;
  SQLHENV m_environment = SQL_NULL_HENV;
  SQLHDBC m_connection = SQL_NULL_HDBC;
  bool m_connected = false;
  bool m_writesOn = true;
  EMarginCallTableLayout m_layout = EMarginCallTableLayout::kBasic;
};
