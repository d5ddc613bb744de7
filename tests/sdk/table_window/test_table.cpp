#include "test_table.h"

#include <cstdio>

#include "support/table_environment.h"

namespace table_test {

static TableSchema& TestSchema() {
  static TableSchema schema = {
      {kNumber, TableColumnInfo(kNumber, "№", true, 1, 4)},
      {kClient, TableColumnInfo(kClient, "К", false, "Клиент", true, 3, 12)},
      {kCount, TableColumnInfo(kCount, "Кол-во", true, 1, 8)}, {kAmount, TableColumnInfo(kAmount, "Сумма", true, 2, 10)},
      {kDate, TableColumnInfo(kDate, "Дата", true, 8, 10)},    {kTime, TableColumnInfo(kTime, "Время", true, 7, 8)},
      {kVolume, TableColumnInfo(kVolume, "Объём", true, 4, 10)},
      {kNote, TableColumnInfo(kNote, "Примечание", false, 6, 16)},
  };
  return schema;
}

TestTable::TestTable()
    : CTablePlugin(&TestSchema(), "Тестовая таблица", "Создание таблицы", 101, nullptr, kTestTableKind, nullptr,
                   FALSE) {}

double TestTable::GetCellText(int, int position, void* row, char* text, int* textFlag) {
  text[0] = 0;
  *textFlag = 0;
  seenCurrentTable = g_pCurrentTable;
  const auto* r = static_cast<TestRow*>(row);
  const int id = r && GetView() ? GetView()->ColumnIdAt(position) : -1;
  if (id == kClient || id == kNote) {
    *textFlag = 1;
    snprintf(text, 1024, "%s", (id == kClient ? r->client : r->note).c_str());
    return 0.0;
  }
  if (id < kCount || id > kVolume) return 0.0;
  const double values[] = {0, 0, r->count, r->amount, r->date, r->time, r->volume};
  snprintf(text, 1024, id == kAmount ? "%.2f" : "%.0f", values[id]);
  return values[id];
}

int TestTable::CompareRows(void* first, void* second) {
  const auto *a = static_cast<TestRow*>(first), *b = static_cast<TestRow*>(second);
  return a && b ? a->client.compare(b->client) : (a != nullptr) - (b != nullptr);
}

bool TestTable::FillRows() {
  for (TestRow* row : source) UpsertRow(row, -1, kRowInsert, nullptr);
  return true;
}

TestTable* OpenTestTable(TableEnvironment& env, std::vector<TestRow*> rows) {
  auto* table = new TestTable;
  table->source = std::move(rows);
  return env.Open(table);
}

}  // namespace table_test
