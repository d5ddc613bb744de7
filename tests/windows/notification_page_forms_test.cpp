// The pages of the notification settings as their controls show the
// settings and what OK keeps, without a window.
#include "windows/dialogs/notification_page_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/fake_dialog_controls.h"

namespace {

// Settings whose page fields all differ from the constructed ones.
TModuleSettings Distinct() {
  TModuleSettings s;
  s.SendLowFundsMsg = false;
  s.UseLFSchedule = true;
  s.ParseScheduleTextAt(1, "9:30, 14:05", 0);
  s.LowFundsTopic = "Остаток";
  s.LowFundsBody = "строка 1\nстрока 2\n";
  s.SFRWarningLevel = 0.85;
  s.SFRCriticalLevel = 0.6;
  s.SendSFRCriticalMsg = false;
  s.DontSendSFRifCLGO = true;
  s.ValCLGOforSFR = 1.25;
  s.UseSFRCritSchedule = true;
  s.ParseScheduleTextAt(2, "10:00", 0);
  s.SFRWarningLevel_fp = 0.9;
  s.ParseScheduleTextAt(9, "11:15", 0);
  s.CLGOLevel = 1.5;
  s.CLGOLimitType = 2;
  s.CLGOUseVMAI = true;
  s.ECLGOLevel = 0.75;
  s.ECLGOFile = "C:\\bodies\\eclgo.txt";
  s.MLLevel = 3;
  s.UseMLSchedule = false;
  s.ParseScheduleTextAt(5, "18:45", 0);
  s.ML2Param = 22;
  s.ML2Level = 0.35;
  s.ML2LevelQual = 0.2;
  s.ConsiderQualClient = false;
  s.UPParam = 18;
  s.UPLevel = 12.5;
  s.OnlyUnitedPos = true;
  s.AlwaysAllowManualSending = true;
  return s;
}

const TNotificationPage& Page(int id) {
  const TNotificationPage* page = FindNotificationPage(id);
  EXPECT_NE(page, nullptr) << id;
  return *page;
}

// The controls as "text|x|-|=data": a text where one is shown, a list's
// selected data, else a box ticked (x) or not (-); "~" marks a control that
// takes no input.
std::string Snapshot(const FakeDialogControls& controls, const std::vector<int>& ids) {
  std::string shown;
  for (int id : ids) {
    if (id != ids.front()) shown += "|";
    if (controls.items.count(id))
      shown += "=" + std::to_string(controls.SelectedItemData(id).value_or(-1));
    else
      shown += controls.texts.count(id) ? controls.Text(id) : controls.Checked(id) ? "x" : "-";
    if (!controls.Enabled(id)) shown += "~";
  }
  return shown;
}

TEST(NotificationPageForms, EachPageShowsItsSettings) {
  const struct {
    int page;
    std::vector<int> ids;
    const char* shown;
  } rows[] = {
      {124, {1209}, "x"},
      {107, {1014, 1061, 1059, 1015, 1016, 1206, 1098}, "-|x|09:30, 14:05|Остаток|строка 1\r\nстрока 2\r\n|-|-~"},
      {108, {1021, 1022, 1017, 1018, 1191, 1192, 1057, 1060, 1058}, "0.85|0.6|x|-|x|1.25|-|x|10:00"},
      {126, {1021, 1022, 1191, 1192, 1058}, "0.9|0.5|-|1~|11:15~"},
      {109, {1050, 1053, 1073, 1074, 1081}, "1.5|x|-|x|x"},
      {111, {1077, 1206, 1097, 1075, 1098}, "0.75|x|C:\\bodies\\eclgo.txt|~|-"},
      // A schedule not used still shows, so that OK keeps it.
      {110, {1069, 1071, 1072}, "3|-|18:45~"},
      {117, {1175, 1174, 1176, 1177, 1178}, "=22|35|-|20~|x"},
      {112, {1093, 1090, 1092, 1094, 1091, 1088}, "=18|12.5|x|x|~|"},
  };
  const TModuleSettings settings = Distinct();
  for (const auto& row : rows) {
    FakeDialogControls controls;
    FillNotificationPage(Page(row.page), settings, controls);
    EXPECT_EQ(Snapshot(controls, row.ids), row.shown) << "page " << row.page;
  }
}

// One edit on a page and the field OK keeps from it.
struct KeptRow {
  int page;
  std::function<void(FakeDialogControls&)> edit;
  std::function<std::string(const TModuleSettings&)> field;
  std::string expected;
};

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

TEST(NotificationPageForms, OkKeepsWhatThePageHolds) {
  const KeptRow rows[] = {
      {124, [](FakeDialogControls& c) { c.SetChecked(1209, false); },
       [](const TModuleSettings& s) { return std::to_string(s.AlwaysAllowManualSending); }, "0"},
      {107, [](FakeDialogControls& c) { c.SetText(1016, "a\r\nb\r\n"); },
       [](const TModuleSettings& s) { return s.LowFundsBody + "|" + s.LowFundsFile; }, "a\nb\n|"},
      {108, [](FakeDialogControls& c) { c.SetText(1058, "9:00,16:30"); },
       [](const TModuleSettings& s) { return s.FormatNotifSchedule(2) + " " + s.FormatNotifSchedule(9); },
       "09:00, 16:30 11:15"},
      {126, [](FakeDialogControls& c) { c.SetChecked(1191, true), c.SetText(1192, "2"); },
       [](const TModuleSettings& s) { return std::to_string(s.DontSendSFRifCLGO_fp) + Number(s.ValCLGOforSFR_fp); },
       "12"},
      {109, [](FakeDialogControls& c) { c.SetChecked(1074, false); },
       [](const TModuleSettings& s) { return std::to_string(s.CLGOLimitType); }, "2"},
      {109, [](FakeDialogControls& c) { c.SetChecked(1074, false), c.SetChecked(1073, true); },
       [](const TModuleSettings& s) { return std::to_string(s.CLGOLimitType); }, "1"},
      {111, [](FakeDialogControls& c) { c.SetChecked(1206, false), c.SetText(1075, "тело"); },
       [](const TModuleSettings& s) { return s.ECLGOBody + "|" + s.ECLGOFile; }, "тело|"},
      // The schedule of a page whose box is cleared stays as it was.
      {110, [](FakeDialogControls&) {},
       [](const TModuleSettings& s) { return s.FormatNotifSchedule(5) + " " + std::to_string(s.UseMLSchedule); },
       "18:45 0"},
      {117, [](FakeDialogControls& c) { c.SetText(1174, "50"), c.SetText(1177, "12.5"); },
       [](const TModuleSettings& s) { return Number(s.ML2Level) + " " + Number(s.ML2LevelQual); }, "0.5 0.125"},
      {117, [](FakeDialogControls& c) { c.SelectItemData(1175, 23); },
       [](const TModuleSettings& s) { return std::to_string(s.ML2Param); }, "23"},
      {112, [](FakeDialogControls& c) { c.SelectItemData(1093, 20), c.SetText(1090, "-3"); },
       [](const TModuleSettings& s) { return std::to_string(s.UPParam) + " " + Number(s.UPLevel); }, "20 -3"},
  };
  for (const KeptRow& row : rows) {
    TModuleSettings settings = Distinct();
    FakeDialogControls controls;
    const TNotificationPage& page = Page(row.page);
    FillNotificationPage(page, settings, controls);
    row.edit(controls);
    ASSERT_TRUE(TakeNotificationPage(page, controls, settings)) << row.page;
    EXPECT_EQ(row.field(settings), row.expected) << "page " << row.page;
  }
}

// The parser decides: a bad item refuses the page and keeps the schedule; an
// empty text with the box cleared empties it.
TEST(NotificationPageForms, ABadScheduleRefusesThePage) {
  const struct {
    const char* typed;
    bool kept;
    const char* schedule;
  } rows[] = {
      {"25:00", false, "09:30, 14:05"}, {"9:60", false, "09:30, 14:05"}, {"9:30,,14:00", false, "09:30, 14:05"},
      {"0930", false, "09:30, 14:05"},  {"", true, ""},                   {"9:30, 24:00", true, "09:30, 24:00"},
  };
  for (const auto& row : rows) {
    TModuleSettings settings = Distinct();
    FakeDialogControls controls;
    FillNotificationPage(Page(107), settings, controls);
    controls.SetChecked(1061, false);
    controls.SetText(1059, row.typed);
    EXPECT_EQ(TakeNotificationPage(Page(107), controls, settings), row.kept) << row.typed;
    EXPECT_EQ(settings.FormatNotifSchedule(1), row.schedule) << row.typed;
  }
}

// A stored column that is not offered: the arbitrary parameter shows and
// keeps the first one; the margin level shows none and keeps -1.
TEST(NotificationPageForms, AColumnNotOfferedIsShownAndKeptByKind) {
  TModuleSettings settings = Distinct();
  settings.UPParam = 2;
  settings.ML2Param = 18;
  FakeDialogControls up, ml2;
  FillNotificationPage(Page(112), settings, up);
  FillNotificationPage(Page(117), settings, ml2);
  EXPECT_EQ(up.ItemTexts(1093).front(), "Cash leverage=24");
  EXPECT_EQ(ml2.ItemTexts(1175),
            (std::vector<std::string>{"Единый уровень маржи=22", "Модиф. единый уровень маржи=23"}));
  ASSERT_TRUE(TakeNotificationPage(Page(112), up, settings));
  ASSERT_TRUE(TakeNotificationPage(Page(117), ml2, settings));
  EXPECT_EQ(settings.UPParam, 24);
  EXPECT_EQ(settings.ML2Param, -1);
}

// A subject's edit takes no more than info.ini gives back, a body file's no
// more than OK keeps; the body, kept in a file of its own, has no limit of ours.
TEST(NotificationPageForms, EachTemplateEditTakesNoMoreThanIsKept) {
  int templates = 0;
  for (const TNotificationPage& page : NotificationPages())
    for (const TTemplateForm& form : page.templates) {
      FakeDialogControls controls;
      FillTemplateForm(form, Distinct(), controls);
      EXPECT_EQ(controls.limits, (std::map<int, std::size_t>{{form.topicEdit, 511}, {1097, 259}}))
          << page.templateId << "/" << form.subPage;
      ++templates;
    }
  EXPECT_EQ(templates, 11);
}

TEST(NotificationPageForms, TheArbitraryParameterOffersValueColumnsOnly) {
  std::vector<int> offered;
  for (const TControlItem& item : ArbitraryParamColumns()) offered.push_back(item.data);
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(offered, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 24}));
}

}  // namespace
