// The column schemas of the two tables as the module builds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "windows/tables/table_columns.h"

namespace {

std::vector<int> Ids(const TableSchema& schema, bool visibleOnly = false) {
  std::vector<int> ids;
  for (const auto& entry : schema)
    if (!visibleOnly || entry.second.visible) ids.push_back(entry.first);
  return ids;
}

// The ids from first to last but those left out.
std::vector<int> Range(int first, int last, std::vector<int> without) {
  std::vector<int> ids;
  for (int id = first; id <= last; ++id)
    if (std::count(without.begin(), without.end(), id) == 0) ids.push_back(id);
  return ids;
}

// A column as "title|visible|type|width|short title".
std::string Describe(const TableColumnInfo& info) {
  return info.title + "|" + std::to_string(info.visible) + "|" + std::to_string(info.valueType) + "|" +
         std::to_string(info.width) + "|" + info.shortTitle;
}

TEST(TableColumns, AreTheColumnsOfBothTablesWithTheirTitlesTypesAndWidths) {
  TTableColumnSchemas schemas;
  EXPECT_TRUE(BuildTableColumns(schemas));
  schemas.risk[1].title = "changed";
  schemas.orders[99] = TableColumnInfo(99, "stray", true, 2, 10);
  EXPECT_TRUE(BuildTableColumns(schemas)) << "building again refills the same maps";
  EXPECT_EQ(Ids(schemas.risk), Range(0, 24, {11}));
  EXPECT_EQ(Ids(schemas.risk, true), Ids(schemas.risk)) << "a new risk table shows every column";
  EXPECT_EQ(Ids(schemas.orders), Range(0, 35, {11, 23}));
  EXPECT_EQ(Ids(schemas.orders, true), (std::vector<int>{0, 1, 2, 3, 4, 7, 8, 9, 10, 12, 13, 18, 33}));
  for (int id : Range(4, 24, {11}))  // amounts and ratios: shown, of type 2, 10 characters wide
    EXPECT_EQ(Describe(schemas.risk[id]).substr(Describe(schemas.risk[id]).find('|')), "|1|2|10|") << id;
  const std::pair<int, const char*> risk[] = {
      {0, "|1|1|5|"}, {1, "Фирма|1|6|13|"}, {3, "Торговый счёт|1|6|13|"},
      {4, "Лимит откр. поз. на начало дня|1|2|10|"}, {19, "Достаточность средств(под открытые позиции)|1|2|10|"}};
  for (const auto& c : risk) EXPECT_EQ(Describe(schemas.risk[c.first]), c.second);
  const std::pair<int, const char*> orders[] = {
      {0, "|1|1|5|"}, {1, "Номер|1|2|10|"}, {2, "Время|1|7|10|"}, {5, "Трейдер|0|6|10|"}, {26, "Дата|0|8|10|"},
      {33, "Код биржи|1|6|10|"}, {34, "Время активации |0|7|10|"}};  // with its trailing blank
  for (const auto& c : orders) EXPECT_EQ(Describe(schemas.orders[c.first]), c.second);
  for (const auto& entry : schemas.orders) EXPECT_EQ(entry.second.identifier, entry.first);
}

}  // namespace
