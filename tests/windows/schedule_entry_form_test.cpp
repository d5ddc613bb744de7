// An auto-close schedule entry as its dialog's controls show it and what OK
// keeps, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_dialog_controls.h"
#include "windows/dialogs/schedule_entry_form.h"

namespace {

enum : int { kTime = 1203, kPattern = 1204, kAllClients = 1205 };

// "Основной" (the default), "Шаблон 1" (deleted) and "Альфа".
TClosingSettings ThreePatterns() {
  TClosingSettings closing;
  for (const char* name : {"Основной", "Шаблон 1", "Альфа"}) {
    closing.Patterns.push_back(std::make_unique<TClosingPattern>());
    closing.Patterns.back()->PatternName = name;
  }
  closing.Patterns[1]->Deleted = true;
  closing.DefaultPattern = 0;
  return closing;
}

TScheduleEntry Entry(int minutes, int pattern, int allClients) {
  TScheduleEntry entry;
  entry.Minutes = minutes, entry.PatternIndex = pattern, entry.AllClients = allClients;
  return entry;
}

TEST(ScheduleEntryForm, ANewEntryHasNoTimeYetAndAnEditedOneHasNeverFired) {
  const TScheduleEntry fresh = AutoCloseEntryToEdit(nullptr);
  EXPECT_EQ(fresh.Minutes, -1);
  EXPECT_FALSE(fresh.Passed);
  EXPECT_EQ(fresh.LastFiring, 0);
  EXPECT_EQ(fresh.PatternIndex, 0);
  EXPECT_EQ(fresh.AllClients, 1);
  TScheduleEntry fired = Entry(600, 2, 0);
  fired.Passed = true, fired.LastFiring = 1700000000;
  const TScheduleEntry copy = AutoCloseEntryToEdit(&fired);
  EXPECT_EQ(copy.Minutes, 600);
  EXPECT_TRUE(copy.Passed);
  EXPECT_EQ(copy.LastFiring, 0);
  EXPECT_EQ(copy.PatternIndex, 2);
  EXPECT_EQ(copy.AllClients, 0);
}

TEST(ScheduleEntryForm, ShowsTheEntry) {
  const TClosingSettings closing = ThreePatterns();
  const struct {
    TScheduleEntry entry;
    const char* time;
    int pattern;  // selected; -1 none
    bool allClients;
  } cases[] = {
      {Entry(545, 2, 1), "09:05", 2, true},
      {Entry(0, 0, 0), "00:00", 0, false},  // midnight is a time, not an empty field
      {Entry(1439, 0, 2), "23:59", 0, true},
      {AutoCloseEntryToEdit(nullptr), "", 0, true},
      {Entry(720, 1, 0), "12:00", -1, false},  // a deleted pattern is not offered
  };
  for (const auto& c : cases) {
    FakeDialogControls controls;
    FillScheduleEntryControls(closing, c.entry, controls);
    EXPECT_EQ(controls.ItemTexts(kPattern), (std::vector<std::string>{"Основной [Основной]=0", "Альфа=2"}));
    EXPECT_EQ(controls.Text(kTime), c.time);
    EXPECT_EQ(controls.SelectedItemData(kPattern).value_or(-1), c.pattern) << c.time;
    EXPECT_EQ(controls.Checked(kAllClients), c.allClients) << c.time;
  }
}

// The time typed, the pattern chosen and the box; a refused time leaves the
// whole entry as it was (600 minutes, pattern 0, all clients 2).
TEST(ScheduleEntryForm, OkKeepsATimeOfDayAndRefusesAnythingElse) {
  const TClosingSettings closing = ThreePatterns();
  const struct {
    const char* typed;
    int minutes;  // -1: refused
  } cases[] = {
      {"9:5", 545},   {"09:05", 545}, {" 9: 05 ", 545}, {"00:00", 0},  {"0:0", 0},   {"23:59", 1439},
      {"25:99", -1},  {"9:75", -1},   {"24:00", -1},    {"-1:30", -1}, {"12:-5", -1}, {"", -1},
      {"9", -1},      {"9:", -1},     {":30", -1},      {"9.30", -1},  {"9:30x", -1}, {"12:30:15", -1},
      {"часы", -1},
  };
  for (const auto& c : cases) {
    TScheduleEntry entry = Entry(600, 0, 2);
    FakeDialogControls controls;
    FillScheduleEntryControls(closing, entry, controls);
    controls.texts[kTime] = c.typed;
    controls.SelectItemData(kPattern, 2);
    const bool kept = TakeScheduleEntryControls(controls, entry);
    EXPECT_EQ(kept, c.minutes >= 0) << c.typed;
    EXPECT_EQ(entry.Minutes, kept ? c.minutes : 600) << c.typed;
    EXPECT_EQ(entry.PatternIndex, kept ? 2 : 0) << c.typed;
    EXPECT_EQ(entry.AllClients, 2 - kept) << c.typed << ": a ticked box stores 1";
  }
}

TEST(ScheduleEntryForm, OkStoresTheBoxAndKeepsThePatternWhenNoneIsChosen) {
  TClosingSettings closing = ThreePatterns();
  TScheduleEntry entry = Entry(600, 1, 1);
  FakeDialogControls controls;
  FillScheduleEntryControls(closing, entry, controls);
  controls.SetChecked(kAllClients, false);
  ASSERT_TRUE(TakeScheduleEntryControls(controls, entry));
  EXPECT_EQ(entry.PatternIndex, 1);
  EXPECT_EQ(entry.AllClients, 0);
}

}  // namespace
