// What the cells of a risk table show: read from the table and from the
// stand-in list as it draws them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "risk_table_environment.h"
#include "sdk/numeric.h"

namespace windows_test {
namespace {

class RiskTableCellsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    client_ = MakeClient("SPBFUT000", "7654321", "C-001");
    client_->dayStartLimit = 123456789;  // hundredths
    client_->openPositionLimit = -50;
    client_->currentNetPosition = 1000;
    client_->plannedNetPosition = -123456;
    client_->currentDebt = 250;
    client_->sfr = 1.23456;
    client_->sfrOpenPositions = kValueNotSet;
    client_->clgo = 2.5;
    client_->eclgo = kValueNotSet;
    client_->marginLevel = 0.5;
    client_->modifiedMarginLevel = 0.0123;
    client_->cashLeverage = kValueNotSet;
    env_.Module().records = {client_.get()};
    table_ = env_.CreateRiskTable();
    ASSERT_NE(table_, nullptr);
    line_ = LineOf(table_, client_.get());
    ASSERT_EQ(line_, 1);
  }
  void TearDown() override { env_.Pump(); }

  int PositionOf(int id) { return table_->GetView()->IndexOfColumn(id); }

  struct Cell {
    std::string text;
    int textFlag;
    double value;
  };
  Cell Read(int position, const TClientRiskRecord* record) {
    char text[1024];
    std::strcpy(text, "untouched");
    int flag = 7;
    const double value = table_->GetCellText(0, position, const_cast<TClientRiskRecord*>(record), text, &flag);
    return {text, flag, value};
  }

  RiskTableEnvironment env_;
  std::unique_ptr<TClientRiskRecord> client_;
  CVantrelFutRiskParamsTable* table_ = nullptr;
  int line_ = -1;
};

struct CellCase {
  int id;
  const char* text;
  int textFlag;
  double value;
};

TEST_F(RiskTableCellsTest, EveryColumnShowsItsTextAndValue) {
  const CellCase cases[] = {
      {0, "", 0, 0.0},
      {1, "SPBFUT000", 1, 0.0},
      {2, "C-001", 1, 0.0},
      {3, "7654321", 1, 0.0},
      {4, "1 234 567,89", 0, 1234567.89},  // amounts: hundredths shown with 2 decimals, grouped
      {5, "-0,50", 0, -0.5},
      {6, "10,00", 0, 10.0},
      {7, "0,00", 0, 0.0},
      {8, "-1 234,56", 0, -1234.56},
      {17, "2,50", 0, 2.5},
      {18, "1,2346", 0, 1.23456},           // ratios: 4 decimals
      {19, "", 0, 0.0},                     // not set: empty, value 0
      {20, "2,5000", 0, 2.5},
      {21, "", 0, 0.0},
      {22, "0,5000", 0, 0.5},
      {23, "1,2300", 0, 0.0123},            // shown as a percentage, valued as kept
      {24, "", 0, kValueNotSet},            // not set: empty, but the value stays
  };
  for (const CellCase& c : cases) {
    SCOPED_TRACE(c.id);
    const int position = PositionOf(c.id);
    ASSERT_EQ(table_->GetView()->ColumnIdAt(position), c.id);
    const Cell cell = Read(position, client_.get());
    EXPECT_EQ(cell.text, c.text);
    EXPECT_EQ(cell.textFlag, c.textFlag);
    EXPECT_NEAR(cell.value, c.value, 1e-9 * (1 + std::fabs(c.value)));
    char text[1024] = "untouched";
    int flag = 7;
    EXPECT_EQ(table_->GetCellValue(1, position, client_.get(), text, 0, &flag), cell.value);
    EXPECT_EQ(std::string(text), c.text);
    EXPECT_EQ(flag, c.textFlag);
  }
}

TEST_F(RiskTableCellsTest, TheListDrawsTheCellTexts) {
  EXPECT_EQ(CellText(table_, line_, PositionOf(1)), "SPBFUT000");
  EXPECT_EQ(CellText(table_, line_, PositionOf(2)), "C-001");
  EXPECT_EQ(CellText(table_, line_, PositionOf(3)), "7654321");
  EXPECT_EQ(CellText(table_, line_, PositionOf(4)), "1 234 567,89");
  EXPECT_EQ(CellText(table_, line_, PositionOf(18)), "1,2346");
  EXPECT_EQ(CellText(table_, line_, PositionOf(19)), "");
  EXPECT_EQ(CellText(table_, line_, PositionOf(23)), "1,2300");
  EXPECT_EQ(CellText(table_, line_, PositionOf(24)), "");
}

TEST_F(RiskTableCellsTest, AnUnusedMarginLevelShowsAlways) {
  client_->marginLevel = 0.0;
  EXPECT_EQ(Read(PositionOf(22), client_.get()).text, "0,0000");
  client_->sfr = kValueNotSet + 1e-8;
  EXPECT_EQ(Read(PositionOf(18), client_.get()).text, "") << "1e30 is matched within a tolerance";
}

TEST_F(RiskTableCellsTest, APositionOutsideTheLayoutGivesAnEmptyCell) {
  const int columns = table_->GetView()->GetColumnCount();
  ASSERT_EQ(columns, 24);
  for (int position : {-1, columns, 1000}) {
    SCOPED_TRACE(position);
    const Cell cell = Read(position, client_.get());
    EXPECT_EQ(cell.text, "");
    EXPECT_EQ(cell.textFlag, 0);
    EXPECT_EQ(cell.value, 0.0);
  }
}

TEST_F(RiskTableCellsTest, AColumnTheSchemaNoLongerHasGivesAnEmptyCell) {
  const int position = PositionOf(20);
  ASSERT_EQ(Read(position, client_.get()).value, 2.5);
  env_.Schemas().risk.erase(20);
  const Cell cell = Read(position, client_.get());
  EXPECT_EQ(cell.text, "");
  EXPECT_EQ(cell.textFlag, 0);
  EXPECT_EQ(cell.value, 0.0);
  table_->UpdateRowColors(kRiskTableKind, client_.get());
  EXPECT_EQ(CellText(table_, line_, position), "");
  EXPECT_EQ(CellText(table_, line_, PositionOf(22)), "0,5000") << "its neighbours still draw";
}

TEST_F(RiskTableCellsTest, NullTextPointersAreNotWritten) {
  int flag = 7;
  EXPECT_EQ(table_->GetCellText(0, PositionOf(20), client_.get(), nullptr, &flag), 2.5);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(table_->GetCellText(0, PositionOf(1), client_.get(), nullptr, &flag), 0.0);
  EXPECT_EQ(flag, 1);
  char text[1024] = "untouched";
  EXPECT_EQ(table_->GetCellText(0, PositionOf(4), client_.get(), text, nullptr), 1234567.89);
  EXPECT_STREQ(text, "1 234 567,89");
  EXPECT_EQ(table_->GetCellValue(0, PositionOf(18), client_.get(), nullptr, 0, nullptr), 1.23456);
}

TEST_F(RiskTableCellsTest, ANullRecordLeavesTheBufferAndFlag) {
  for (int id : {1, 4, 24}) {
    const Cell cell = Read(PositionOf(id), nullptr);
    EXPECT_EQ(cell.text, "untouched") << id;
    EXPECT_EQ(cell.textFlag, 7) << id;
    EXPECT_EQ(cell.value, 0.0) << id;
  }
}

TEST_F(RiskTableCellsTest, LongCodesAreShownWhole) {
  auto wide = MakeClient("FIRM-WITH-A-VERY-LONG-CODE-12345", "ACCOUNT-ALSO-LONG-ABCDEFGHIJKLMN", "CLIENT-LONG");
  EXPECT_EQ(Read(PositionOf(1), wide.get()).text, "FIRM-WITH-A-VERY-LONG-CODE-12345");
  EXPECT_EQ(Read(PositionOf(3), wide.get()).text, "ACCOUNT-ALSO-LONG-ABCDEFGHIJKLMN");
}

}  // namespace
}  // namespace windows_test
