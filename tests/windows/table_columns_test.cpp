// The column schemas of the two tables as the module builds them, and the
// first layout of a new orders table.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/table_environment.h"
#include "windows/tables/table_columns.h"

namespace {

std::vector<int> Ids(const TableSchema& schema, bool visibleOnly = false) {
  std::vector<int> ids;
  for (const auto& entry : schema)
    if (!visibleOnly || entry.second.visible) ids.push_back(entry.first);
  return ids;
}

std::vector<int> Range(int first, int last, std::vector<int> without) {
  std::vector<int> ids;
  for (int id = first; id <= last; ++id)
    if (std::find(without.begin(), without.end(), id) == without.end()) ids.push_back(id);
  return ids;
}

struct ColumnCase {
  const TableSchema* schema;
  int id;
  const char* title;
  bool visible;
  uint32_t type;
  uint32_t width;
};

TEST(TableColumns, AreTheColumnsOfBothTablesWithTheirTitlesTypesAndWidths) {
  TTableColumnSchemas schemas;
  EXPECT_TRUE(BuildTableColumns(schemas));
  EXPECT_EQ(Ids(schemas.risk), Range(0, 24, {11}));
  EXPECT_EQ(Ids(schemas.risk, true), Ids(schemas.risk)) << "a new risk table shows every column";
  EXPECT_EQ(Ids(schemas.orders), Range(0, 35, {11, 23}));
  EXPECT_EQ(Ids(schemas.orders, true), (std::vector<int>{0, 1, 2, 3, 4, 7, 8, 9, 10, 12, 13, 18, 33}));
  const TableSchema* risk = &schemas.risk;
  const TableSchema* orders = &schemas.orders;
  const ColumnCase cases[] = {
      {risk, 0, "", true, 1, 5},
      {risk, 1, "Фирма", true, 6, 13},
      {risk, 3, "Торговый счёт", true, 6, 13},
      {risk, 4, "Лимит откр. поз. на начало дня", true, 2, 10},
      {risk, 12, "Вариац. маржа. по итогам промклиринга", true, 2, 10},
      {risk, 19, "Достаточность средств(под открытые позиции)", true, 2, 10},
      {risk, 24, "Cash leverage", true, 2, 10},
      {orders, 0, "", true, 1, 5},
      {orders, 1, "Номер", true, 2, 10},
      {orders, 2, "Время", true, 7, 10},
      {orders, 5, "Трейдер", false, 6, 10},
      {orders, 26, "Дата", false, 8, 10},
      {orders, 33, "Код биржи", true, 6, 10},
      {orders, 34, "Время активации ", false, 7, 10},  // with its trailing blank
  };
  for (const ColumnCase& c : cases) {
    SCOPED_TRACE(c.id);
    const auto found = c.schema->find(c.id);
    ASSERT_NE(found, c.schema->end());
    const TableColumnInfo& info = found->second;
    EXPECT_EQ(info.identifier, c.id);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.visible, c.visible);
    EXPECT_EQ(info.valueType, c.type);
    EXPECT_EQ(info.width, c.width);
    EXPECT_EQ(info.shortTitle, "");
  }
  for (int id : Range(4, 24, {11})) EXPECT_EQ(schemas.risk[id].valueType, 2u) << id;
}

TEST(TableColumns, BuildingAgainRefillsTheSameMaps) {
  TTableColumnSchemas schemas;
  BuildTableColumns(schemas);
  schemas.risk[1].title = "changed";
  schemas.risk[11] = TableColumnInfo(11, "stray", true, 2, 10);
  schemas.orders[99] = TableColumnInfo(99, "stray", true, 2, 10);
  EXPECT_TRUE(BuildTableColumns(schemas));
  EXPECT_EQ(Ids(schemas.risk), Range(0, 24, {11})) << "entries of an earlier build are removed";
  EXPECT_EQ(Ids(schemas.orders), Range(0, 35, {11, 23}));
  EXPECT_EQ(schemas.risk[1].title, "Фирма");
}

TEST(TableColumns, ANewOrdersTableOpensWithItsThirteenVisibleColumns) {
  TableEnvironment env;
  CTablePlugin* table = env.Open(new CTablePlugin(&env.Schemas().orders, "Таблица", "Создание таблицы", 101,
                                                  TableSettingsDlgProc, 310002, nullptr, FALSE));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(ColumnIds(table), (std::vector<int>{0, 1, 2, 3, 4, 7, 8, 9, 10, 12, 13, 18, 33}));
  const std::vector<std::string> titles = HeaderTitles(table);
  ASSERT_EQ(titles.size(), 13u);
  EXPECT_EQ(titles[1], "Номер");
  EXPECT_EQ(titles[12], "Код биржи");
}

}  // namespace
