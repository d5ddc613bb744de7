// The general and calculation settings as their dialogs' controls show them,
// what OK keeps and what it refuses, without a window.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/fake_dialog_controls.h"
#include "windows/dialogs/calc_settings_form.h"
#include "windows/dialogs/general_settings_form.h"

namespace {

enum : int {
  kInterval = 1010, kWithoutUnited = 1159, kUnitedWithSpot = 1160, kUnitedWithoutSpot = 1161, kTotalAssets = 1055,
  kAnyVm = 1163, kNegativeVm = 1164, kPositiveVm = 1165, kNoVm = 1166, kNormal = 1023, kWarning = 1024,
  kCritical = 1025, kFromFile = 1096, kFilterFile = 1097, kBrowse = 1098, kReload = 1099, kMailLog = 1188,
  kLogFile = 1189, kBidOffer = 1046, kTheoretical = 1047,
};

// Settings whose every shown field differs from the defaults.
TModuleSettings Distinct() {
  TModuleSettings settings;
  settings.RecalcRiskParamsInterval = 25999;
  settings.ClientsType2 = 4;
  settings.NormalColor = 16777215, settings.WarningColor = 0x00A0B0, settings.CriticalColor = 0x102030;
  settings.UseTotalAssets = true;
  settings.UseVarMargin = 3;
  settings.NeedReadFilterFromFile = true;
  settings.FilterFileName = "C:\\фильтры\\clients.ini";
  settings.MailLogLevel = 2;
  settings.LogFileName = "журнал.log";
  return settings;
}

TEST(GeneralSettingsForm, ShowsTheSettings) {
  TModuleSettings otherwise = Distinct();
  otherwise.RecalcRiskParamsInterval = -1500, otherwise.ClientsType2 = 3, otherwise.UseVarMargin = 7;
  otherwise.NeedReadFilterFromFile = false, otherwise.MailLogLevel = 5, otherwise.UseTotalAssets = false;
  struct Case {
    const char* what;
    TModuleSettings settings;
    std::string interval;
    std::set<int> checked;
    std::optional<int> mailLog;
    bool fileButtons;
  };
  const Case cases[] = {
      {"distinct", Distinct(), "25", {kUnitedWithSpot, kTotalAssets, kPositiveVm, kFromFile}, 2, true},
      {"out of range", otherwise, "-1", {kWithoutUnited, kUnitedWithoutSpot}, std::nullopt, false},
  };
  for (const Case& c : cases) {
    FakeDialogControls controls;
    FillGeneralSettingsControls(c.settings, controls);
    EXPECT_EQ(controls.Text(kInterval), c.interval) << c.what;
    EXPECT_EQ(controls.checked, c.checked) << c.what;
    EXPECT_EQ(controls.SelectedItemData(kMailLog), c.mailLog) << c.what;
    EXPECT_EQ(controls.Enabled(kBrowse) && controls.Enabled(kReload), c.fileButtons) << c.what;
    EXPECT_EQ(controls.Enabled(kBrowse) || controls.Enabled(kReload), c.fileButtons) << c.what;
    EXPECT_EQ(controls.Text(kNormal) + " " + controls.Text(kWarning) + " " + controls.Text(kCritical),
              "16777215 41136 1056816")
        << c.what;
    EXPECT_EQ(controls.Text(kFilterFile) + "|" + controls.Text(kLogFile), "C:\\фильтры\\clients.ini|журнал.log");
    EXPECT_EQ(controls.ItemTexts(kMailLog),
              (std::vector<std::string>{"Не логировать=0", "Базовое логирование=1", "Логирование адресов получателей=2"}));
  }
}

TEST(GeneralSettingsForm, OkKeepsWhatTheControlsHold) {
  struct Case {
    const char* interval;
    std::set<int> checked;
    int mailLog;  // selected item; -1 none
    int keptInterval, keptKinds, keptVarMargin, keptMailLog;
  };
  const Case cases[] = {
      {"12", {kWithoutUnited, kUnitedWithoutSpot, kNegativeVm, kTotalAssets, kFromFile}, 1, 12000, 3, 2, 1},
      {"0", {kUnitedWithSpot, kAnyVm}, 0, 0, 4, 1, 0},
      {"2147483", {kNoVm}, 2, 2147483000, 0, 4, 2},
      {"", {}, -1, 0, 0, 4, -1},
  };
  for (const Case& c : cases) {
    FakeDialogControls controls;
    FillGeneralSettingsControls(Distinct(), controls);
    controls.texts[kInterval] = c.interval;
    controls.checked = c.checked;
    controls.SelectItemData(kMailLog, c.mailLog);
    controls.texts[kNormal] = "255", controls.texts[kWarning] = "65280", controls.texts[kCritical] = "16711680";
    controls.texts[kFilterFile] = "other.ini", controls.texts[kLogFile] = "";
    TModuleSettings kept = Distinct();
    ASSERT_TRUE(TakeGeneralSettingsControls(controls, kept)) << c.interval;
    EXPECT_EQ(kept.RecalcRiskParamsInterval, c.keptInterval) << c.interval;
    EXPECT_EQ(kept.ClientsType2, c.keptKinds) << c.interval;
    EXPECT_EQ(kept.UseVarMargin, c.keptVarMargin) << c.interval;
    EXPECT_EQ(kept.MailLogLevel, c.keptMailLog) << c.interval;
    EXPECT_EQ(kept.UseTotalAssets, c.checked.count(kTotalAssets) > 0) << c.interval;
    EXPECT_EQ(kept.NeedReadFilterFromFile, c.checked.count(kFromFile) > 0) << c.interval;
    EXPECT_EQ(std::vector<uint32_t>({kept.NormalColor, kept.WarningColor, kept.CriticalColor}),
              std::vector<uint32_t>({0x0000FF, 0x00FF00, 0xFF0000}));
    EXPECT_EQ(kept.FilterFileName + "|" + kept.LogFileName, "other.ini|");
  }
}

// A period the timer cannot run leaves every setting as it was.
TEST(GeneralSettingsForm, RefusesAPeriodBelowZeroOrTooLong) {
  for (const char* interval : {"-1", "2147484", "9999999999"}) {
    FakeDialogControls controls;
    FillGeneralSettingsControls(Distinct(), controls);
    controls.texts[kInterval] = interval;
    controls.checked.clear();
    TModuleSettings kept = Distinct();
    EXPECT_FALSE(TakeGeneralSettingsControls(controls, kept)) << interval;
    EXPECT_EQ(kept.RecalcRiskParamsInterval, 25999) << interval;
    EXPECT_EQ(kept.ClientsType2, 4) << interval;
  }
}

TEST(GeneralSettingsForm, TheFileButtonsFollowTheFilterFromFileBox) {
  FakeDialogControls controls;
  FillGeneralSettingsControls(Distinct(), controls);
  for (bool fromFile : {false, true}) {
    controls.SetChecked(kFromFile, fromFile);
    EnableFilterFileButtons(controls);
    EXPECT_EQ(controls.Enabled(kBrowse), fromFile);
    EXPECT_EQ(controls.Enabled(kReload), fromFile);
  }
}

TEST(CalcSettingsForm, ShowsAndKeepsTheOptionValue) {
  struct Case {
    int stored;
    int shown;           // the button ticked
    std::set<int> then;  // the buttons ticked at OK
    int kept;
  };
  const Case cases[] = {
      {1, kBidOffer, {kTheoretical}, 2},
      {2, kTheoretical, {kBidOffer}, 1},
      {0, kTheoretical, {}, 0},
  };
  for (const Case& c : cases) {
    TCalcSettings settings;
    settings.OptValueParam = c.stored;
    FakeDialogControls controls;
    FillCalcSettingsControls(settings, controls);
    EXPECT_EQ(controls.checked, std::set<int>({c.shown})) << c.stored;
    controls.checked = c.then;
    TakeCalcSettingsControls(controls, settings);
    EXPECT_EQ(settings.OptValueParam, c.kept) << c.stored;
  }
}

}  // namespace
