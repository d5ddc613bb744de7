#include "test_table.h"

#include <cstdio>

namespace table_test {

int TestTable::destroyed = 0;

TableSchema& TestSchema() {
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

TestTable::~TestTable() { ++destroyed; }

bool TestTable::AcceptsRecord(void* row) { return row && !static_cast<TestRow*>(row)->hidden; }

double TestTable::GetCellText(int, int position, void* row, char* text, int* textFlag) {
  text[0] = 0;
  *textFlag = 0;
  seenCurrentTable = g_pCurrentTable;
  auto* r = static_cast<TestRow*>(row);
  CZPluginTableView* view = GetView();
  if (!r || !view) return 0.0;
  switch (view->ColumnIdAt(position)) {
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
    case kDate: {
      int d = ClampToInt32(r->date);
      if (d > 0) snprintf(text, 1024, "%02d.%02d.%04d", d % 100, d / 100 % 100, d / 10000);
      return r->date;
    }
    case kTime: {
      int t = ClampToInt32(r->time);
      if (t >= 0) snprintf(text, 1024, "%02d:%02d:%02d", t / 10000, t / 100 % 100, t % 100);
      return r->time;
    }
    case kVolume:
      snprintf(text, 1024, "%.0f", r->volume);
      return r->volume;
  }
  return 0.0;
}

double TestTable::GetCellValue(int mode, int position, void* row, char* text, int, int* textFlag) {
  return GetCellText(mode, position, row, text, textFlag);
}

int TestTable::CompareRows(void* first, void* second) {
  if (first == second) return 0;
  if (!first) return -1;
  if (!second) return 1;
  return static_cast<TestRow*>(first)->client.compare(static_cast<TestRow*>(second)->client);
}

bool TestTable::FillRows() {
  for (TestRow* row : source) UpsertRow(row, -1, kRowInsert, nullptr);
  return true;
}

void TestTable::OnContextMenu(HMENU, int x, int y) {
  ++contextMenus;
  lastMenuColumn = x;
  lastMenuRow = y;
}

}  // namespace table_test
