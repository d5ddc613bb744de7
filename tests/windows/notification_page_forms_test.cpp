// The pages of the notification settings as their controls show the
// settings and what OK keeps, without a window.
#include "windows/dialogs/notification_page_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
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
  s.SFRTopic2 = "Критический";
  s.UseSFRTemplate2 = true;
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

// What a control shows: its text, "[x]"/"[ ]" for a box, the selected data
// for a list, "off" when it takes no input.
enum Shown { kText, kBox, kChoice, kInput };

struct ShownRow {
  int page;
  Shown what;
  int id;
  std::string expected;
};

std::string ShownBy(const FakeDialogControls& controls, Shown what, int id) {
  switch (what) {
    case kText:
      return controls.Text(id);
    case kBox:
      return controls.Checked(id) ? "[x]" : "[ ]";
    case kChoice: {
      const auto data = controls.SelectedItemData(id);
      return data ? std::to_string(*data) : "none";
    }
    case kInput:
      return controls.Enabled(id) ? "on" : "off";
  }
  return "";
}

const TNotificationPage& Page(int id) {
  const TNotificationPage* page = FindNotificationPage(id);
  EXPECT_NE(page, nullptr) << id;
  return *page;
}

TEST(NotificationPageForms, EachPageShowsItsSettings) {
  const ShownRow rows[] = {
      {124, kBox, 1209, "[x]"},
      {107, kBox, 1014, "[ ]"},
      {107, kBox, 1061, "[x]"},
      {107, kText, 1059, "09:30, 14:05"},
      {107, kInput, 1059, "on"},
      {107, kText, 1015, "Остаток"},
      {107, kText, 1016, "строка 1\r\nстрока 2\r\n"},
      {107, kBox, 1206, "[ ]"},
      {107, kInput, 1016, "on"},
      {107, kInput, 1098, "off"},
      {108, kText, 1021, "0.85"},
      {108, kText, 1022, "0.6"},
      {108, kBox, 1017, "[x]"},
      {108, kBox, 1018, "[ ]"},
      {108, kBox, 1191, "[x]"},
      {108, kText, 1192, "1.25"},
      {108, kInput, 1192, "on"},
      {108, kBox, 1057, "[ ]"},
      {108, kBox, 1060, "[x]"},
      {108, kText, 1058, "10:00"},
      {108, kInput, 1058, "on"},
      {126, kText, 1021, "0.9"},
      {126, kText, 1022, "0.5"},
      {126, kBox, 1191, "[ ]"},
      {126, kInput, 1192, "off"},
      {126, kText, 1058, "11:15"},
      {126, kInput, 1058, "off"},
      {109, kText, 1050, "1.5"},
      {109, kBox, 1073, "[ ]"},
      {109, kBox, 1074, "[x]"},
      {109, kBox, 1081, "[x]"},
      {109, kBox, 1053, "[x]"},
      {111, kText, 1077, "0.75"},
      {111, kBox, 1206, "[x]"},
      {111, kText, 1097, "C:\\bodies\\eclgo.txt"},
      {111, kInput, 1075, "off"},
      {111, kInput, 1097, "on"},
      {111, kInput, 1098, "on"},
      // A schedule not used still shows, so that OK keeps it.
      {110, kText, 1069, "3"},
      {110, kBox, 1071, "[ ]"},
      {110, kText, 1072, "18:45"},
      {110, kInput, 1072, "off"},
      {117, kChoice, 1175, "22"},
      {117, kText, 1174, "35"},
      {117, kText, 1177, "20"},
      {117, kInput, 1177, "off"},
      {117, kBox, 1178, "[x]"},
      {112, kChoice, 1093, "18"},
      {112, kText, 1090, "12.5"},
      {112, kBox, 1092, "[x]"},
      {112, kBox, 1094, "[x]"},
      {112, kText, 1091, ""},
      {112, kInput, 1091, "off"},
      {112, kInput, 1088, "on"},
  };
  const TModuleSettings settings = Distinct();
  for (const ShownRow& row : rows) {
    FakeDialogControls controls;
    FillNotificationPage(Page(row.page), settings, controls);
    EXPECT_EQ(ShownBy(controls, row.what, row.id), row.expected) << "page " << row.page << ", control " << row.id;
  }
}

TEST(NotificationPageForms, TemplateSubPagesShowTheirTemplate) {
  const ShownRow rows[] = {
      {119, kText, 1185, ""},
      {119, kInput, 1185, "on"},
      {120, kBox, 1201, "[x]"},
      {120, kText, 1185, "Критический"},
      {120, kInput, 1186, "on"},
      {1120, kBox, 1201, "[ ]"},
      {1120, kInput, 1185, "off"},
      {1120, kInput, 1206, "off"},
      {1120, kText, 1201, "Задавать отдельный текст шаблона для квалифицированных клиентов"},
  };
  const TModuleSettings settings = Distinct();
  for (const ShownRow& row : rows) {
    // 1120: the second template of the margin level's page.
    const TNotificationPage& page = Page(row.page == 1120 ? 117 : 108);
    const TTemplateForm* form = FindTemplateForm(page, row.page % 1000);
    ASSERT_NE(form, nullptr);
    FakeDialogControls controls;
    FillTemplateForm(*form, settings, controls);
    EXPECT_EQ(ShownBy(controls, row.what, row.id), row.expected) << "sub-page " << row.page << ", control " << row.id;
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
      {107, [](FakeDialogControls& c) { c.SetChecked(1014, true); },
       [](const TModuleSettings& s) { return std::to_string(s.SendLowFundsMsg); }, "1"},
      {108, [](FakeDialogControls& c) { c.SetText(1021, "0.95"); },
       [](const TModuleSettings& s) { return Number(s.SFRWarningLevel) + " " + Number(s.SFRCriticalLevel); },
       "0.95 0.6"},
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
      {"25:00", false, "09:30, 14:05"},
      {"9:60", false, "09:30, 14:05"},
      {"9:30,,14:00", false, "09:30, 14:05"},
      {"0930", false, "09:30, 14:05"},
      {"", true, ""},
      {"9:30, 24:00", true, "09:30, 24:00"},
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

TEST(NotificationPageForms, TheArbitraryParameterOffersValueColumnsOnly) {
  std::vector<int> offered;
  for (const TControlItem& item : ArbitraryParamColumns()) offered.push_back(item.data);
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(offered, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 24}));
}

// A body taken from a file is read from it on OK, with the file's line rules;
// the second template's own flag is kept with it.
TEST(NotificationPageForms, ABodyFromAFileIsReadOnOk) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + "notif_body_test.txt";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("Уважаемый клиент\r\n\r\nуровень {0}\r\n", file);
  std::fclose(file);
  TModuleSettings settings = Distinct();
  const TTemplateForm& second = *FindTemplateForm(Page(117), 120);
  FakeDialogControls controls;
  FillTemplateForm(second, settings, controls);
  controls.SetChecked(1201, true);
  controls.SetChecked(1206, true);
  controls.SetText(1097, path);
  controls.SetText(1186, "typed and dropped");
  TakeTemplateForm(second, controls, settings);
  std::remove(path.c_str());
  EXPECT_TRUE(settings.UseML2Template2);
  EXPECT_EQ(settings.ML2File2, path);
  EXPECT_EQ(settings.ML2Body2, "Уважаемый клиент\nуровень {0}\n");
}

}  // namespace
