// The column schemas of the two tables as the module builds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "windows/tables/table_columns.h"

namespace {

std::vector<int> Ids(const TableSchema& schema) {
  std::vector<int> ids;
  for (const auto& entry : schema) ids.push_back(entry.first);
  return ids;
}

std::vector<int> VisibleIds(const TableSchema& schema) {
  std::vector<int> ids;
  for (const auto& entry : schema)
    if (entry.second.visible) ids.push_back(entry.first);
  return ids;
}

std::vector<int> Range(int first, int last, std::vector<int> without) {
  std::vector<int> ids;
  for (int id = first; id <= last; ++id)
    if (std::find(without.begin(), without.end(), id) == without.end()) ids.push_back(id);
  return ids;
}

struct ColumnCase {
  int id;
  const char* title;
  bool visible;
  uint32_t type;
  uint32_t width;
};

void ExpectColumn(const TableSchema& schema, const ColumnCase& expected) {
  SCOPED_TRACE(expected.id);
  const auto found = schema.find(expected.id);
  ASSERT_NE(found, schema.end());
  const TableColumnInfo& info = found->second;
  EXPECT_EQ(info.identifier, expected.id);
  EXPECT_EQ(info.title, expected.title);
  EXPECT_EQ(info.visible, expected.visible);
  EXPECT_EQ(info.valueType, expected.type);
  EXPECT_EQ(info.width, expected.width);
  EXPECT_EQ(info.shortTitle, "");
  EXPECT_FALSE(info.shortTitleFlag);
}

TEST(RiskColumns, AreTheTwentyFourColumnsWithoutEleven) {
  TTableColumnSchemas schemas;
  EXPECT_TRUE(BuildTableColumns(schemas));
  EXPECT_EQ(Ids(schemas.risk), Range(0, 24, {11}));
  EXPECT_EQ(VisibleIds(schemas.risk), Ids(schemas.risk)) << "a new risk table shows every column";
  EXPECT_EQ(schemas.risk.count(11), 0u);
}

TEST(RiskColumns, CarryTheirTitlesTypesAndWidths) {
  TTableColumnSchemas schemas;
  BuildTableColumns(schemas);
  const ColumnCase cases[] = {
      {0, "", true, 1, 5},
      {1, "Фирма", true, 6, 13},
      {2, "Код клиента", true, 6, 13},
      {3, "Торговый счёт", true, 6, 13},
      {4, "Лимит откр. поз. на начало дня", true, 2, 10},
      {7, "Тек. чист. поз.(под открытые позиции)", true, 2, 10},
      {12, "Вариац. маржа. по итогам промклиринга", true, 2, 10},
      {17, "Текущая задолженность", true, 2, 10},
      {18, "Достаточность средств", true, 2, 10},
      {19, "Достаточность средств(под открытые позиции)", true, 2, 10},
      {23, "Модиф. единый уровень маржи", true, 2, 10},
      {24, "Cash leverage", true, 2, 10},
  };
  for (const ColumnCase& c : cases) ExpectColumn(schemas.risk, c);
  for (int id : Range(4, 24, {11})) EXPECT_EQ(schemas.risk[id].valueType, 2u) << id;
}

TEST(OrdersColumns, AreTheThirtyFourColumnsWithoutElevenAndTwentyThree) {
  TTableColumnSchemas schemas;
  BuildTableColumns(schemas);
  EXPECT_EQ(Ids(schemas.orders), Range(0, 35, {11, 23}));
  EXPECT_EQ(schemas.orders.count(11), 0u);
  EXPECT_EQ(schemas.orders.count(23), 0u);
  EXPECT_EQ(VisibleIds(schemas.orders), (std::vector<int>{0, 1, 2, 3, 4, 7, 8, 9, 10, 12, 13, 18, 33}));
}

TEST(OrdersColumns, CarryTheirTitlesTypesAndWidths) {
  TTableColumnSchemas schemas;
  BuildTableColumns(schemas);
  const ColumnCase cases[] = {
      {0, "", true, 1, 5},
      {1, "Номер", true, 2, 10},
      {2, "Время", true, 7, 10},
      {5, "Трейдер", false, 6, 10},
      {15, "Купонный %", false, 2, 10},
      {18, "Состояние", true, 6, 10},
      {24, "Код клиента", false, 6, 10},
      {26, "Дата", false, 8, 10},
      {31, "Снята (время)", false, 7, 10},
      {33, "Код биржи", true, 6, 10},
      {34, "Время активации ", false, 7, 10},
      {35, "Заявка маркет-мейкера", false, 6, 10},
  };
  for (const ColumnCase& c : cases) ExpectColumn(schemas.orders, c);
  EXPECT_EQ(schemas.orders[34].title.back(), ' ') << "the activation time title keeps its trailing blank";
}

TEST(TableColumns, BuildingAgainRefillsTheSameMaps) {
  TTableColumnSchemas schemas;
  BuildTableColumns(schemas);
  schemas.risk[1].title = "changed";
  schemas.risk[11] = TableColumnInfo(11, "stray", true, 2, 10);
  schemas.orders[99] = TableColumnInfo(99, "stray", true, 2, 10);
  EXPECT_TRUE(BuildTableColumns(schemas));
  EXPECT_EQ(schemas.risk.size(), 24u);
  EXPECT_EQ(schemas.orders.size(), 34u);
  EXPECT_EQ(schemas.risk.count(11), 0u) << "entries of an earlier build are removed";
  EXPECT_EQ(schemas.orders.count(99), 0u);
  EXPECT_EQ(schemas.risk[1].title, "Фирма");
}

TEST(TableColumns, EachSchemaBuildsAlone) {
  TableSchema risk, orders;
  BuildRiskColumns(risk);
  BuildOrdersColumns(orders);
  EXPECT_EQ(risk.size(), 24u);
  EXPECT_EQ(orders.size(), 34u);
  EXPECT_EQ(risk[2].title, "Код клиента");
  EXPECT_EQ(orders[24].title, "Код клиента");
  EXPECT_TRUE(TableColumnInfo::IsTextType(risk[3]));
  EXPECT_FALSE(TableColumnInfo::IsTextType(orders[26]));
}

}  // namespace
