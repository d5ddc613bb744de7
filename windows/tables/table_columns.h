// The column schemas of the plug-in's two host tables: the clients' risk
// parameters and the closing orders. The module builds both once and hands
// each table window the schema of its kind; nothing changes them afterwards.
#pragma once

#include "sdk/table_column_info.h"

// Table kinds: the first member of each table, compared by the module's
// kind-addressed broadcasts.
enum TableKind : int { kRiskTableKind = 1, kOrdersTableKind = 2 };

// Column value types of the schemas.
enum ColumnValueType : uint32_t {
  kColumnInteger = 1,
  kColumnDouble = 2,
  kColumnText = 6,
  kColumnTimeOfDay = 7,
  kColumnDate = 8,
};

struct TTableColumnSchemas {
  TableSchema risk;
  TableSchema orders;
};

// Empties the map and fills it with the risk table's 24 columns (identifiers
// 0 to 24 without 11). The map object stays the same, so tables holding it
// keep a valid pointer.
void BuildRiskColumns(TableSchema& columns);
// The same for the closing-orders table's 34 columns (0 to 35 without 11, 23).
void BuildOrdersColumns(TableSchema& columns);
// Builds both schemas in place; true.
bool BuildTableColumns(TTableColumnSchemas& schemas);
// The title of a risk table column; empty for an identifier it does not have.
std::string RiskColumnTitle(int id);
