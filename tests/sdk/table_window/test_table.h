// A table of test rows with a column of each value type.
#pragma once

#include <string>
#include <vector>

#include "sdk/table_plugin.h"

class TableEnvironment;

namespace table_test {

enum ColumnId {
  kNumber = 0,
  kClient = 1,  // text
  kCount = 2,   // integer
  kAmount = 3,  // double
  kDate = 4,    // YYYYMMDD
  kTime = 5,    // HHMMSS
  kVolume = 6,  // double sorted as a 64-bit integer
  kNote = 7,    // text, not shown in a new table
};

enum : uint32_t { kTestTableKind = 310001 };

struct TestRow {
  std::string client;
  double count = 0, amount = 0, date = 0, time = 0, volume = 0;
  std::string note = {};
  bool hidden = false;  // the table's filter refuses hidden rows
};

class TestTable : public CTablePlugin {
 public:
  TestTable();
  ~TestTable() override { ++destroyed; }

  bool AcceptsRecord(void* row) override { return row && !static_cast<TestRow*>(row)->hidden; }
  double GetCellText(int mode, int position, void* row, char* text, int* textFlag) override;
  double GetCellValue(int mode, int position, void* row, char* text, int, int* textFlag) override {
    return GetCellText(mode, position, row, text, textFlag);
  }
  int CompareRows(void* first, void* second) override;
  bool FillRows() override;
  void OnContextMenu(HMENU, int x, int y) override { menuAt = {x, y}; }

  std::vector<TestRow*> source;  // the rows FillRows inserts (not owned)
  CTablePlugin* seenCurrentTable = nullptr;  // g_pCurrentTable during the last GetCellText
  std::pair<int, int> menuAt = {-2, -2};     // column and row of the last context menu

  static inline int destroyed = 0;  // destructors run, over all test tables
};

// A test table over the rows, opened in the environment.
TestTable* OpenTestTable(TableEnvironment& env, std::vector<TestRow*> rows = {});

}  // namespace table_test
