// Each kind of binding between a control and a record's field: what Fill
// shows and what Take stores.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/fake_dialog_controls.h"
#include "windows/dialogs/control_bindings.h"

namespace {

struct TRecord {
  std::string name;
  bool flag = false;
  int count = 0;
  double level = 0.0;
  int choice = 0;
  int mode = 0;
};

enum : int { kName = 10, kFlag = 11, kCount = 12, kLevel = 13, kChoice = 14, kModeA = 15, kModeB = 16 };

const TTextBinding<TRecord> kNameBinding = {kName, &TRecord::name};
const TCheckBinding<TRecord> kFlagBinding = {kFlag, &TRecord::flag};
const TCheckBinding<TRecord, int> kCountBinding = {kCount, &TRecord::count};
const TNumberBinding<TRecord> kLevelBinding = {kLevel, &TRecord::level, 2, 100.0};
const TSelectionBinding<TRecord> kChoiceBinding = {kChoice, &TRecord::choice};
const TRadioGroupBinding<TRecord> kModeBinding = {&TRecord::mode, {{kModeA, 1}, {kModeB, 2}}, 9};

void FillRecord(const TRecord& record, FakeDialogControls& controls) {
  controls.SetItems(kChoice, {{"один", 1}, {"два", 2}});
  Fill(kNameBinding, record, controls);
  Fill(kFlagBinding, record, controls);
  Fill(kCountBinding, record, controls);
  Fill(kLevelBinding, record, controls);
  Fill(kChoiceBinding, record, controls);
  Fill(kModeBinding, record, controls);
}

void TakeRecord(const FakeDialogControls& controls, TRecord& record) {
  Take(kNameBinding, controls, record);
  Take(kFlagBinding, controls, record);
  Take(kCountBinding, controls, record);
  Take(kLevelBinding, controls, record);
  Take(kChoiceBinding, controls, record);
  Take(kModeBinding, controls, record);
}

TEST(ControlBindings, FillShowsEachField) {
  const struct {
    TRecord record;
    std::string level;
    std::set<int> checked;
    int selected;  // -1 none
  } cases[] = {
      {{"а", true, 3, 0.375, 2, 1}, "37.50", {kFlag, kCount, kModeA}, 2},
      {{"", false, 0, 1.5, 1, 2}, "150.00", {kModeB}, 1},
      {{"б", false, -4, 0.0, 7, 5}, "0.00", {}, -1},  // no item 7, no radio for 5
  };
  for (const auto& c : cases) {
    FakeDialogControls controls;
    FillRecord(c.record, controls);
    EXPECT_EQ(controls.Text(kName), c.record.name);
    EXPECT_EQ(controls.Text(kLevel), c.level);
    EXPECT_EQ(controls.checked, c.checked) << c.level;
    EXPECT_EQ(controls.SelectedItemData(kChoice).value_or(-1), c.selected) << c.level;
  }
}

TEST(ControlBindings, TakeStoresWhatTheControlsHold) {
  TRecord record{"а", false, 5, 0.5, 2, 1};
  FakeDialogControls controls;
  FillRecord(record, controls);
  controls.texts[kName] = "новое";
  controls.texts[kLevel] = "12.5";
  controls.checked = {kFlag, kModeB};
  controls.SelectItemData(kChoice, 1);
  TakeRecord(controls, record);
  EXPECT_EQ(record.name, "новое");
  EXPECT_TRUE(record.flag);
  EXPECT_EQ(record.count, 0) << "an unticked box stores 0";
  EXPECT_DOUBLE_EQ(record.level, 0.125);
  EXPECT_EQ(record.choice, 1);
  EXPECT_EQ(record.mode, 2);

  controls.checked = {kCount};
  controls.SetItems(kChoice, {});
  TakeRecord(controls, record);
  EXPECT_EQ(record.count, 1) << "a ticked box stores 1";
  EXPECT_EQ(record.choice, 1) << "nothing selected keeps the field";
  EXPECT_EQ(record.mode, 9) << "no radio ticked";
}

}  // namespace
