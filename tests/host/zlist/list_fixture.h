// A top-level window holding one list, with rows backed by plain records.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/zlist/zlist_readback.h"
#include "sdk/zlist_api.h"

namespace zlist_test {

struct Record {
  std::string name;
  int count;
  double price;
};

// Commands the list sent to its parent, and what the parent answers.
struct ParentLog {
  std::vector<ZListCommandRecord> commands;
  LRESULT answer = 1;
  LRESULT numericAnswer = 1;
};

class ListFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Columns: 0 row number, 1 name (text), 2 count (int), 3 price (double).
  void BuildColumns();
  void Add(Record& record) { ASSERT_GE(InsLineWithData(list_, &record), 1); }
  std::string Text(int line, int column);
  COLORREF Back(int line, int column);
  void Pump();

  static int __stdcall CellData(void* context, int line, void* data, int column, char* text, int size, void* value);
  static int __stdcall RowNumber(void* context, int line, void* data, int column, char* text, int size, void* value);
  static INT_PTR __stdcall SortValue(void* context, void* data, int column, char* text, int size, void* value);
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND parent_ = nullptr;
  HWND list_ = nullptr;
  static ParentLog log_;
};

}  // namespace zlist_test
