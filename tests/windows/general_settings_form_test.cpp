// The general and calculation settings as their dialogs' controls show them,
// what OK keeps and what it refuses, without a window.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "support/fake_dialog_controls.h"
#include "windows/dialogs/calc_settings_form.h"
#include "windows/dialogs/general_settings_form.h"

namespace {

// Settings whose every shown field differs from the defaults.
TModuleSettings Distinct() {
  TModuleSettings settings;
  settings.RecalcRiskParamsInterval = 25999, settings.ClientsType2 = 4, settings.UseTotalAssets = true;
  settings.NormalColor = 16777215, settings.WarningColor = 0x00A0B0, settings.CriticalColor = 0x102030;
  settings.UseVarMargin = 3, settings.NeedReadFilterFromFile = true, settings.FilterFileName = "фильтр.ini";
  settings.MailLogLevel = 2, settings.LogFileName = "журнал.log";
  return settings;
}

// The period, the ticked controls, the colours, the files, the mail log
// level selected and whether the filter file buttons take input.
std::string Shown(const FakeDialogControls& controls) {
  std::string shown = controls.Text(1010) + "|";
  for (int id : controls.checked) shown += std::to_string(id) + " ";
  for (int id : {1023, 1024, 1025, 1097, 1189}) shown += "|" + controls.Text(id);
  const auto mailLog = controls.SelectedItemData(1188);
  shown += "|" + (mailLog ? std::to_string(*mailLog) : "none");
  return shown + "|" + std::to_string(controls.Enabled(1098)) + std::to_string(controls.Enabled(1099));
}

TEST(GeneralSettingsForm, ShowsTheSettingsInSeconds) {
  TModuleSettings outOfRange = Distinct();
  outOfRange.RecalcRiskParamsInterval = -1500, outOfRange.ClientsType2 = 3, outOfRange.UseVarMargin = 7;
  outOfRange.NeedReadFilterFromFile = false, outOfRange.MailLogLevel = 5, outOfRange.UseTotalAssets = false;
  FakeDialogControls distinct, other;
  FillGeneralSettingsControls(Distinct(), distinct);
  FillGeneralSettingsControls(outOfRange, other);
  EXPECT_EQ(Shown(distinct), "25|1055 1096 1160 1165 |16777215|41136|1056816|фильтр.ini|журнал.log|2|11");
  EXPECT_EQ(Shown(other), "-1|1159 1161 |16777215|41136|1056816|фильтр.ini|журнал.log|none|00");
  EXPECT_EQ(distinct.ItemTexts(1188), (std::vector<std::string>{"Не логировать=0", "Базовое логирование=1",
                                                               "Логирование адресов получателей=2"}));
}

// OK stores milliseconds, the client kinds' bits, the colours' numbers; no
// variation margin button means none, no mail log item logs nothing.
TEST(GeneralSettingsForm, OkKeepsWhatTheControlsHoldAndRefusesAPeriodTheTimerCannotRun) {
  struct Case {
    const char* interval;
    std::set<int> checked;
    int mailLog;       // the item selected
    const char* kept;  // period, kinds, variation margin, mail log, colours; "refused"
  };
  const Case cases[] = {
      {"12", {1159, 1161, 1164}, 1, "12000 3 2 1 255 65280 16711680"},
      {"2147483", {1160, 1163}, 0, "2147483000 4 1 0 255 65280 16711680"},
      {"", {}, -1, "0 0 4 -1 255 65280 16711680"},
      {"-1", {}, 1, "refused"},
      {"2147484", {}, 1, "refused"},
  };
  for (const Case& c : cases) {
    FakeDialogControls controls;
    FillGeneralSettingsControls(Distinct(), controls);
    controls.texts[1010] = c.interval, controls.checked = c.checked;
    controls.SelectItemData(1188, c.mailLog);
    controls.texts[1023] = "255", controls.texts[1024] = "65280", controls.texts[1025] = "16711680";
    TModuleSettings s = Distinct();
    const bool kept = TakeGeneralSettingsControls(controls, s);
    char text[128];
    std::snprintf(text, sizeof text, "%d %d %d %d %u %u %u", s.RecalcRiskParamsInterval, s.ClientsType2,
                  s.UseVarMargin, s.MailLogLevel, s.NormalColor, s.WarningColor, s.CriticalColor);
    EXPECT_EQ(kept ? text : "refused", std::string(c.kept)) << c.interval;
    if (!kept) {
      EXPECT_EQ(s.RecalcRiskParamsInterval, 25999) << "left as it was";
    }
  }
}

// The files' edits take no more than OK keeps, which info.ini gives back
// whole; a longer text put in by hand is kept as far as that.
TEST(GeneralSettingsForm, TheFileEditsTakeNoMoreThanOkKeeps) {
  FakeDialogControls controls;
  FillGeneralSettingsControls(Distinct(), controls);
  EXPECT_EQ(controls.limits, (std::map<int, std::size_t>{{1097, 510}, {1189, 510}}));
  controls.texts[1097] = std::string(600, 'p'), controls.texts[1189] = std::string(3000, 'l');
  TModuleSettings s = Distinct();
  ASSERT_TRUE(TakeGeneralSettingsControls(controls, s));
  EXPECT_EQ(s.FilterFileName, std::string(510, 'p'));
  EXPECT_EQ(s.LogFileName, std::string(510, 'l'));
}

TEST(CalcSettingsForm, ShowsAndKeepsTheOptionValue) {
  const struct { int stored, shown, ticked, kept; } cases[] = {{1, 1046, 1047, 2}, {2, 1047, 1046, 1}, {0, 1047, 0, 0}};
  for (const auto& c : cases) {
    TCalcSettings settings;
    settings.OptValueParam = c.stored;
    FakeDialogControls controls;
    FillCalcSettingsControls(settings, controls);
    EXPECT_EQ(controls.checked, std::set<int>({c.shown})) << c.stored;
    controls.checked = {c.ticked};  // 0: none
    TakeCalcSettingsControls(controls, settings);
    EXPECT_EQ(settings.OptValueParam, c.kept) << c.stored;
  }
}

}  // namespace
