// The journal over real databases: a SQLite file through the SQLite ODBC
// driver and a PostgreSQL cluster through psqlODBC, both reached through
// Wine's ODBC32 and unixODBC. with_databases.sh prepares both, names them in
// the odbc.ini it gives unixODBC, and starts the cluster; the rows are read
// back with the databases' own command-line clients.
#include "module/log/vantrel_log.h"
#include "module/notify/margin_call_database.h"
#include "module/settings/module_settings.h"
#include "module/settings/transport_settings.h"
#include "module/notify/database_shell.h"
#include "module/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TEngine {
  const char* dsn;
  const char* client;  // runs the SQL file q.sql, one row a line, columns split by "|"
};

const TEngine kSqlite = {"VanTrelLite", "sqlite3 -bail mc.db < q.sql"};
const TEngine kPostgres = {"VanTrelPg", "psql -X -A -t -q -v ON_ERROR_STOP=1 -f q.sql"};

class CRecordingOwner : public IMarginCallDatabaseOwner {
 public:
  std::string DecodeDatabasePassword(const std::string& stored) override {
    return stored == "stored:pg" ? Env("VANTREL_PG_PASSWORD") : stored;
  }
  void ShowDatabaseError(const char* text, const char* caption) override {
    shown.push_back(std::string(caption) + ": " + text);
  }
  std::vector<std::string> shown;
};

const char kBasicColumns[] =
    "MCType integer, TDate integer, MCTime integer, MCLevel double precision, "
    "Margin double precision, CCode varchar(12), MsgText varchar(255), MsgText2 varchar(255), "
    "MsgText3 varchar(255), MsgText4 varchar(255)";

class MarginCallDatabaseTest : public testing::TestWithParam<TEngine> {
 protected:
  MarginCallDatabaseTest() : log(folder.Path(), moduleSettings), database(transport, log, owner) {
    moduleSettings.TraceLogLevel = 2;
    transport.NeedSaveToDB = true, transport.DSN = GetParam().dsn;
    transport.DBLogin = "vantrel", transport.DBPassword = "stored:pg";
  }

  std::string Sql(const std::string& sql) {
    WriteFileBytes(DbFolder() + "/q.sql", sql + ";\n");
    return RunUnix(GetParam().client);
  }
  // Creates MCalls afresh with the basic columns but SubjText, and more.
  void CreateTable(const std::string& moreColumns) {
    ASSERT_EQ(Sql("drop table if exists MCalls; create table MCalls (" + std::string(kBasicColumns) +
                  moreColumns + ")"),
              "");
  }
  std::string Log() { return ReadFileBytes(folder.File("VantrelFM.log")); }
  // PostgreSQL sessions of the journal's database but the asking one.
  std::string OpenSessions() {
    return Sql("select count(*) from pg_stat_activity where datname = 'mc' and "
               "backend_type = 'client backend' and pid <> pg_backend_pid()");
  }

  // Sent at 00:00:07.
  TMarginCallRow Row() {
    return {9, 20261207, {0, 0, 0, 0, 0, 0, 7, 0}, 0.5, -12.25, "C01",
            "Уровень достаточности средств ниже 0,5", "Margin call", "MC0001", {"a@x.ru", "b@y.ru"}};
  }

  CTempFolder folder;
  TModuleSettings moduleSettings;
  TTransportSettings transport;
  CVantrelLog log;
  CRecordingOwner owner;
  CMarginCallDatabase database;
};

const std::string kRowColumns =
    "select MCType, TDate, MCTime, MCLevel, Margin, CCode, MsgText, MsgText2, MsgText3, "
    "MsgText4, SubjText";
const std::string kRowValues =
    "9|20261207|7|0.5|-12.25|C01|Уровень достаточности средств ниже 0,5||||Margin call";

TEST_P(MarginCallDatabaseTest, StoresTheColumnsTheTableHas) {
  struct Case {
    std::string columns;
    EMarginCallTableLayout layout;
    std::string extraSelect, extraValues;
  } cases[] = {
      {", SubjText text", EMarginCallTableLayout::kBasic, "", ""},
      {", SubjText text, FIRMID varchar(12), MsgText5 varchar(255)",
       EMarginCallTableLayout::kWithFirm, ", FirmID, MsgText5", "|MC0001|"},
      {", SubjText text, firmid varchar(12), MsgText5 varchar(255), eMails varchar(255)",
       EMarginCallTableLayout::kWithFirmAndEmails, ", FirmID, MsgText5, Emails",
       "|MC0001||a@x.ru, b@y.ru, "},
  };
  for (const Case& c : cases) {
    CreateTable(c.columns);
    ASSERT_TRUE(database.Connect()) << Log();
    EXPECT_EQ(database.Layout(), c.layout) << c.columns;
    EXPECT_TRUE(database.Save(Row()));
    EXPECT_EQ(Sql(kRowColumns + c.extraSelect + " from MCalls"), kRowValues + c.extraValues + "\n");
    database.Disconnect();
  }
  EXPECT_TRUE(owner.shown.empty());
  EXPECT_NE(Log().find("Connected to database."), std::string::npos);
  EXPECT_NE(Log().find("Saving margin call to database done (type: 9, clientcode: C01, "),
            std::string::npos);
  EXPECT_NE(Log().find("Disconnected from database."), std::string::npos);
}

TEST_P(MarginCallDatabaseTest, RefusedRowStopsStoringUntilTheNextConnection) {
  CreateTable("");  // no SubjText
  ASSERT_TRUE(database.Connect()) << Log();
  EXPECT_FALSE(database.Save(Row()));
  EXPECT_FALSE(database.Connected());
  EXPECT_FALSE(database.WritesOn());
  EXPECT_TRUE(database.Save(Row())) << "nothing to store while writes are off";
  std::string log = Log();
  EXPECT_NE(log.find("The driver reported the following diagnostics while running SQLExecDirect"),
            std::string::npos) << log;
  EXPECT_NE(log.find("SQL ERROR: "), std::string::npos) << log;
  CharLowerA(&log[0]);
  EXPECT_NE(log.find("subjtext"), std::string::npos) << "the driver's own text";
  EXPECT_NE(log.find("error: can not save margin call to database."), std::string::npos);
  ASSERT_EQ(owner.shown.size(), 1u);
  EXPECT_EQ(owner.shown[0],
            "Ошибка: Произошла ошибка при сохранении margin call'а в базу данных. Последующие "
            "margin call'ы сохраняться не будут.");
  if (GetParam().dsn == kPostgres.dsn) {
    EXPECT_EQ(OpenSessions(), "0\n") << "the refused session is closed";
  }

  database.EnableWrites();  // changed settings, not connected yet
  EXPECT_FALSE(database.Save(Row()));
  EXPECT_FALSE(database.WritesOn());
  EXPECT_NE(Log().find("ERROR: not connected to database."), std::string::npos);

  ASSERT_EQ(Sql("alter table MCalls add column SubjText text"), "");
  transport.NeedSaveToDB = false;
  database.ConnectIfNeeded();
  EXPECT_FALSE(database.Connected()) << "no journal wanted";
  transport.NeedSaveToDB = true;
  database.ConnectIfNeeded();
  EXPECT_TRUE(database.WritesOn());
  EXPECT_TRUE(database.Save(Row()));
  EXPECT_EQ(Sql("select count(*) from MCalls"), "1\n");
}

// A gap in the journal can be accounted for: each call left out of it, the
// refused one and those while storing is off, is logged with what its row
// would have held; a stored row is not.
TEST_P(MarginCallDatabaseTest, EachCallLeftOutWhileStoringIsOffIsLogged) {
  CreateTable("");  // no SubjText
  ASSERT_TRUE(database.Connect()) << Log();
  EXPECT_FALSE(database.Save(Row()));
  TMarginCallRow second = Row();
  second.kind = 2, second.clientCode = "C02", second.level = 1, second.value = 0.75;
  EXPECT_TRUE(database.Save(Row()));
  EXPECT_TRUE(database.Save(second));
  ASSERT_EQ(Sql("alter table MCalls add column SubjText text"), "");
  database.ConnectIfNeeded();
  EXPECT_TRUE(database.Save(second));
  EXPECT_EQ(LogMessages(Log(), "ERROR: margin call not saved"),
            "ERROR: margin call not saved to database (type: 9, clientcode: C01, level: 0.500000, "
            "value: -12.250000).\n"
            "ERROR: margin call not saved to database (type: 9, clientcode: C01, level: 0.500000, "
            "value: -12.250000).\n"
            "ERROR: margin call not saved to database (type: 2, clientcode: C02, level: 1.000000, "
            "value: 0.750000).\n");
  EXPECT_EQ(Sql("select CCode from MCalls"), "C02\n");
}

TEST_P(MarginCallDatabaseTest, ConnectsOnlyWithTheDecodedPassword) {
  if (GetParam().dsn == kSqlite.dsn) GTEST_SKIP() << "SQLite has no passwords";
  CreateTable(", SubjText text");
  transport.DBPassword = "Wrong-Pass-4711";
  database.ConnectIfNeeded();
  EXPECT_FALSE(database.Connected());
  EXPECT_FALSE(database.WritesOn());
  EXPECT_EQ(owner.shown, std::vector<std::string>{"Vantrel FM: Невозможно подключиться к базе "
                                                  "данных. Последующие margin call'ы "
                                                  "сохраняться не будут."});
  EXPECT_NE(Log().find("SQL ERROR: "), std::string::npos) << Log();
  EXPECT_NE(Log().find("ERROR: Can not connect to database."), std::string::npos);
  EXPECT_EQ(Log().find("Wrong-Pass-4711"), std::string::npos) << Log();

  transport.DBPassword = "stored:pg";
  database.ConnectIfNeeded();
  EXPECT_TRUE(database.Connected());
  EXPECT_EQ(Log().find(Env("VANTREL_PG_PASSWORD")), std::string::npos);
  ASSERT_TRUE(database.Connect());
  EXPECT_EQ(OpenSessions(), "1\n") << "a new connection replaces the old one";
}

INSTANTIATE_TEST_SUITE_P(Engines, MarginCallDatabaseTest, testing::Values(kSqlite, kPostgres),
                         [](const testing::TestParamInfo<TEngine>& info) {
                           return std::string(info.param.dsn);
                         });

}  // namespace
