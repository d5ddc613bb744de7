// A table of test rows with a column of each value type, and its rows.
#pragma once

#include <string>

#include "sdk/table_plugin.h"

namespace table_test {

enum ColumnId {
  kNumber = 0,
  kClient = 1,   // text
  kCount = 2,    // integer
  kAmount = 3,   // double
  kDate = 4,     // YYYYMMDD
  kTime = 5,     // HHMMSS
  kVolume = 6,   // double sorted as a 64-bit integer
  kNote = 7,     // text, not shown in a new table
};

enum : uint32_t { kTestTableKind = 310001 };

struct TestRow {
  std::string client;
  double count = 0;
  double amount = 0;
  double date = 0;
  double time = 0;
  double volume = 0;
  std::string note;
  bool hidden = false;  // the table's filter refuses hidden rows
};

TableSchema& TestSchema();

class TestTable : public CTablePlugin {
 public:
  TestTable();
  ~TestTable() override;

  bool AcceptsRecord(void* row) override;
  double GetCellText(int mode, int position, void* row, char* text, int* textFlag) override;
  double GetCellValue(int mode, int position, void* row, char* text, int titleFlag, int* textFlag) override;
  int CompareRows(void* first, void* second) override;
  bool FillRows() override;
  void OnContextMenu(HMENU menu, int x, int y) override;

  // Rows FillRows inserts (the table does not own them).
  std::vector<TestRow*> source;
  CTablePlugin* seenCurrentTable = nullptr;  // g_pCurrentTable during the last GetCellText
  int contextMenus = 0;
  int lastMenuColumn = -2;
  int lastMenuRow = -2;

  static int destroyed;  // destructors run, over all test tables
};

}  // namespace table_test
