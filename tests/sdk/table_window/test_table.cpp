#include "test_table.h"

#include <cstdio>

#include "support/table_environment.h"

namespace table_test {

int TestTable::destroyed = 0;

static TableSchema& TestSchema() {
  static TableSchema schema = {
      {kNumber, TableColumnInfo(kNumber, "№", true, 1, 4)},
      {kClient, TableColumnInfo(kClient, "К", false, "Клиент", true, 3, 12)},
      {kCount, TableColumnInfo(kCount, "Кол-во", true, 1, 8)},
      {kAmount, TableColumnInfo(kAmount, "Сумма", true, 2, 10)},
      {kDate, TableColumnInfo(kDate, "Дата", true, 8, 10)},
      {kTime, TableColumnInfo(kTime, "Время", true, 7, 8)},
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
  if (!r || !GetView()) return 0.0;
  const int date = ClampToInt32(r->date), time = ClampToInt32(r->time);
  switch (GetView()->ColumnIdAt(position)) {
    case kClient:
      *textFlag = 1;
      snprintf(text, 1024, "%s", r->client.c_str());
      return 0.0;
    case kNote:
      *textFlag = 1;
      snprintf(text, 1024, "%s", r->note.c_str());
      return 0.0;
    case kCount:
      snprintf(text, 1024, "%d", ClampToInt32(r->count));
      return r->count;
    case kAmount:
      snprintf(text, 1024, "%.2f", r->amount);
      return r->amount;
    case kDate:
      if (date > 0) snprintf(text, 1024, "%02d.%02d.%04d", date % 100, date / 100 % 100, date / 10000);
      return r->date;
    case kTime:
      if (time >= 0) snprintf(text, 1024, "%02d:%02d:%02d", time / 10000, time / 100 % 100, time % 100);
      return r->time;
    case kVolume:
      snprintf(text, 1024, "%.0f", r->volume);
      return r->volume;
  }
  return 0.0;
}

int TestTable::CompareRows(void* first, void* second) {
  if (first == second) return 0;
  if (!first || !second) return first ? 1 : -1;
  return static_cast<TestRow*>(first)->client.compare(static_cast<TestRow*>(second)->client);
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
