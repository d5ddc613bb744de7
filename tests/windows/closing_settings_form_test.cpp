// The closing settings dialog's logic without a window: what its controls
// show and OK keeps, the instrument lists and what they keep unseen, the
// moves between the lists and the edits of the pattern list.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/fake_dialog_controls.h"
#include "windows/dialogs/closing_settings_form.h"

namespace {

enum : int {
  kBaseAssets = 1226, kAdd = 1147, kAddAll = 1148, kRemove = 1149, kClear = 1150, kUp = 1145, kDown = 1146,
  kNames = 1156, kActualize = 1157, kNotTraded = 1158, kHidden = 1159, kSpread = 1118, kComment = 1119,
  kActiveOrders = 1102, kByComment = 1120, kAutoClose = 1199,
};

// Host securities: index, code, short name, base asset, traded.
const std::vector<TClosingInstrument> kMarket = {
    {0, "RIZ6", "RTS-12.26", "RTS", true}, {1, "RIH7", "RTS-3.27", "RTS", true},
    {3, "SiZ6", "Si-12.26", "Si", false},  {4, "GDZ6", "", "GOLD", true},
    {7, "BRZ6", "RTS-12.26", "BR", true},  {9, "LGZ6", "LONG", "", true},
};

std::vector<std::string> Shown(const TListEntries& entries) {
  std::vector<std::string> shown;
  for (const TListEntry& entry : entries) shown.push_back(entry.text + "=" + std::to_string(entry.data));
  return shown;
}

TListEntries Entries(const std::string& selection, const std::vector<std::string>& texts) {
  TListEntries entries;
  for (size_t n = 0; n < texts.size(); ++n)
    entries.push_back({texts[n], static_cast<int>(n), n < selection.size() && selection[n] == '1'});
  return entries;
}

std::string Selection(const TListEntries& entries) {
  std::string ones;
  for (const TListEntry& entry : entries) ones += entry.selected ? '1' : '0';
  return ones;
}

TClosingSettings Distinct() {
  TClosingSettings closing;
  closing.ConsiderActiveOrders = true, closing.Spread = 1.25, closing.Comment = "4711";
  closing.FilterOrdersByComment = true, closing.UseBaseActive = true, closing.ShowSecNamesInDlg = false;
  closing.UseAutoClose = true;
  return closing;
}

TClosingSettings Patterns(const std::vector<const char*>& names, int defaultPattern) {
  TClosingSettings closing;
  for (const char* name : names) {
    closing.Patterns.push_back(std::make_unique<TClosingPattern>());
    closing.Patterns.back()->PatternName = name;
  }
  closing.DefaultPattern = defaultPattern;
  return closing;
}

// By base assets, names and actualizing do not apply.
TEST(ClosingSettingsForm, ShowsTheSettingsAndOkKeepsWhatTheControlsHold) {
  FakeDialogControls controls;
  FillClosingSettingsControls(Distinct(), controls);
  EXPECT_EQ(controls.Text(kSpread) + "|" + controls.Text(kComment), "1.25|4711");
  EXPECT_EQ(controls.checked, (std::set<int>{kActiveOrders, kByComment, kBaseAssets, kAutoClose}));
  EXPECT_FALSE(controls.Enabled(kNames) || controls.Enabled(kActualize));
  FillClosingSettingsControls(TClosingSettings(), controls);
  EXPECT_TRUE(controls.Enabled(kNames) && controls.Enabled(kActualize));
  controls.texts = {{kSpread, "0.5"}, {kComment, std::string(1100, '7')}};
  controls.checked = {kNames, kByComment};
  TClosingSettings kept = Distinct();
  TakeClosingSettingsControls(controls, kept);
  EXPECT_DOUBLE_EQ(kept.Spread, 0.5);
  EXPECT_EQ(kept.Comment, std::string(1023, '7'));
  EXPECT_EQ(std::vector<bool>({kept.ConsiderActiveOrders, kept.FilterOrdersByComment, kept.UseBaseActive,
                               kept.ShowSecNamesInDlg, kept.UseAutoClose}),
            std::vector<bool>({false, true, false, true, false}));
}

TEST(ClosingSettingsForm, ButtonsTakeAClickOnlyWithSomethingToActOn) {
  const struct {
    std::string available, used;  // selection of three items; "-" for an empty list
    std::string comment;
    std::string enabled;  // 1120, add, add all, remove, clear, up, down
  } cases[] = {
      {"-", "-", "", "0000000"},      {"000", "000", "x", "1010100"}, {"010", "100", "", "0111101"},
      {"000", "001", "", "0011110"}, {"000", "011", "", "0011110"},  {"000", "101", "", "0011100"},
      {"000", "010", "", "0011111"},
  };
  for (const auto& c : cases) {
    auto list = [](const std::string& selection) {
      return selection == "-" ? TListEntries() : Entries(selection, {"A", "B", "C"});
    };
    FakeDialogControls controls;
    controls.texts[kComment] = c.comment;
    UpdateClosingButtons(list(c.available), list(c.used), controls);
    std::string enabled;
    for (int id : {kByComment, kAdd, kAddAll, kRemove, kClear, kUp, kDown}) enabled += controls.Enabled(id) ? '1' : '0';
    EXPECT_EQ(enabled, c.enabled) << c.available << " " << c.used << " " << c.comment;
  }
}

// The chosen instruments the host does not list are counted and kept after
// the shown ones, whatever the user did with the list.
TEST(ClosingSettingsForm, InstrumentListsShowTheHostsAndKeepTheUnseen) {
  struct Case {
    const char* what;
    bool baseAssets, names;
    StringList chosen;
    std::vector<std::string> available, used;
    std::string notes;  // 1158 | 1159
    StringList kept;    // after OK with the used list as shown
  };
  const std::string notTraded = "Имеются инструменты, торговля по которым не производится!";
  const Case cases[] = {
      {"codes", false, false, {"RIH7", "OLD1", "RIZ6", "RIH7", "OLD1"},
       {"RIZ6=0", "RIH7=1", "SiZ6=3", "GDZ6=4", "BRZ6=7", "LGZ6=9"}, {"RIH7=1", "RIZ6=0"},
       "|Сохраняются, но не показаны (нет в терминале): 1", {"RIH7", "RIZ6", "OLD1"}},
      {"short names: one line per name in each list, a code where there is no name", false, true, {"GDZ6", "SiZ6", "BRZ6"},
       {"RTS-12.26=0", "RTS-3.27=1", "Si-12.26=3", "GDZ6=4", "LONG=9"}, {"GDZ6=4", "Si-12.26=3", "RTS-12.26=7"},
       notTraded + "|", {"GDZ6", "SiZ6", "BRZ6"}},
      {"base assets in byte order, none for a security without one", true, false, {"Si", "OIL", "GOLD", "GAS"},
       {"BR=0", "GOLD=1", "RTS=2", "Si=3"}, {"Si=3", "GOLD=1"},
       "|Сохраняются, но не показаны (нет в терминале): 2", {"Si", "GOLD", "OIL", "GAS"}},
  };
  for (const Case& c : cases) {
    TClosingSettings closing;
    closing.UseBaseActive = c.baseAssets, closing.ShowSecNamesInDlg = c.names;
    (c.baseAssets ? closing.BaseActiveForClosing : closing.SecsForClosing) = c.chosen;
    CClosingInstrumentLists lists(kMarket);
    lists.Fill(closing);
    EXPECT_EQ(Shown(lists.Available()), c.available) << c.what;
    EXPECT_EQ(Shown(lists.Used()), c.used) << c.what;
    FakeDialogControls controls;
    ShowInstrumentNotes(lists, controls);
    EXPECT_EQ(controls.Text(kNotTraded) + "|" + controls.Text(kHidden), c.notes) << c.what;
    TClosingSettings kept = closing;
    lists.Take(lists.Used(), kept);
    EXPECT_EQ(c.baseAssets ? kept.BaseActiveForClosing : kept.SecsForClosing, c.kept) << c.what;
  }
}

TEST(ClosingSettingsForm, ItemsMoveBetweenAndWithinTheLists) {
  auto up = [](TListEntries& e) { MoveSelectedEntries(e, -1); };
  auto down = [](TListEntries& e) { MoveSelectedEntries(e, 1); };
  const struct {
    std::string selection;  // of A, B, C, D
    std::function<void(TListEntries&)> move;
    std::vector<std::string> shown;
    std::string after;
  } cases[] = {
      {"0110", up, {"B=1", "C=2", "A=0", "D=3"}, "1100"},
      {"1101", up, {"A=0", "B=1", "D=3", "C=2"}, "1110"},  // a block at the top stays
      {"1010", down, {"B=1", "A=0", "D=3", "C=2"}, "0101"},
      {"0011", down, {"A=0", "B=1", "C=2", "D=3"}, "0011"},
      {"1001", RemoveSelectedEntries, {"B=1", "C=2"}, "00"},
      // New items come selected; a text already there is not added again.
      {"1", [](TListEntries& e) { CopyEntries(Entries("0110", {"X", "B", "Y", "Z"}), false, e); },
       {"A=0", "B=1", "C=2", "D=3", "Y=2"}, "00001"},
      {"", [](TListEntries& e) { CopyEntries(Entries("", {"X", "B"}), true, e); },
       {"A=0", "B=1", "C=2", "D=3", "X=0"}, "00001"},
  };
  for (const auto& c : cases) {
    TListEntries entries = Entries(c.selection, {"A", "B", "C", "D"});
    c.move(entries);
    EXPECT_EQ(Shown(entries), c.shown) << c.selection;
    EXPECT_EQ(Selection(entries), c.after) << c.selection;
  }
}

TEST(ClosingSettingsForm, ANewPatternIsNamedAfterThoseThereAre) {
  TClosingSettings deletedOnly = Patterns({"Основной"}, -1);
  deletedOnly.Patterns[0]->Deleted = true;
  TClosingSettings gap = Patterns({"Основной", "Шаблон 1", "Шаблон 3"}, 0);
  gap.Patterns[1]->Deleted = true;
  TClosingSettings none;
  const struct { const char* what; const TClosingSettings* closing; const char* name; } cases[] = {
      {"none", &none, "Основной"},
      {"only a deleted one", &deletedOnly, "Основной"},
      {"1 taken by a deleted pattern, 3 by a live one", &gap, "Шаблон 2"},
  };
  for (const auto& c : cases) EXPECT_EQ(NewPatternName(*c.closing), c.name) << c.what;
  AddPattern(deletedOnly, TClosingPattern());
  EXPECT_EQ(deletedOnly.DefaultPattern, 1) << "the first live pattern is the default";
  AddPattern(gap, TClosingPattern());
  EXPECT_EQ(gap.DefaultPattern, 0);
  EXPECT_EQ(gap.Patterns.size(), 4u);
}

// The default passes on cyclically; entries of the pattern name none.
TEST(ClosingSettingsForm, ADeletedPatternStaysInPlaceAndTheDefaultMovesOn) {
  const struct {
    int defaultPattern, deleted;
    const char* question;
    int defaultAfter;
  } cases[] = {
      {1, 1, "Вы собираетесь удалить основной шаблон. Продолжить?", 3},
      {3, 3, "Вы собираетесь удалить основной шаблон. Продолжить?", 0},
      {0, 3, "Вы действительно хотите удалить шаблон \"Г\"?", 0},
  };
  for (const auto& c : cases) {
    TClosingSettings closing = Patterns({"А", "Б", "В", "Г"}, c.defaultPattern);
    closing.Patterns[2]->Deleted = true;
    closing.AddAutoCloseEntry(600, c.deleted, 1);
    closing.AddAutoCloseEntry(700, 0, 1);
    EXPECT_EQ(PatternDeletionQuestion(closing, c.deleted), c.question);
    DeletePattern(closing, c.deleted);
    EXPECT_TRUE(closing.Patterns[c.deleted]->Deleted && closing.Patterns.size() == 4u);
    EXPECT_EQ(closing.DefaultPattern, c.defaultAfter) << c.deleted;
    EXPECT_EQ(closing.AutoCloseSchedule[0].PatternIndex, -1);
    EXPECT_EQ(closing.AutoCloseSchedule[1].PatternIndex, 0);
  }
  TClosingSettings last = Patterns({"А"}, 0);
  DeletePattern(last, 0);
  EXPECT_EQ(last.DefaultPattern, -1) << "no live pattern left";
}

}  // namespace
