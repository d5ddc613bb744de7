#include "windows/dialogs/general_settings_form.h"

#include "module/settings/profile_section.h"
#include "windows/dialogs/control_bindings.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

const char kRecalcIntervalRefusal[] =
    "Период расчета риск-параметров должен быть от 0 до 2147483 сек.";

namespace {
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr int kNoMailLogLevel = -1;

// Each box stands for one kind of client in the bit set of kinds.
struct TClientKindBox {
  int id;
  int bit;
};
const TClientKindBox kClientKindBoxes[] = {
    {kClientsWithoutUnitedBox, 1},
    {kClientsUnitedWithSpotBox, 4},
    {kClientsUnitedWithoutSpotBox, 2},
};

struct TColorBinding {
  int id;
  std::uint32_t TModuleSettings::*field;
};
const TColorBinding kColors[] = {
    {kNormalColorChooser, &TModuleSettings::NormalColor},
    {kWarningColorChooser, &TModuleSettings::WarningColor},
    {kCriticalColorChooser, &TModuleSettings::CriticalColor},
};

const TCheckBinding<TModuleSettings> kChecks[] = {
    {kUseTotalAssetsBox, &TModuleSettings::UseTotalAssets},
    {kFilterFromFileBox, &TModuleSettings::NeedReadFilterFromFile},
};

// OK keeps no more of a text, which info.ini then gives back whole.
constexpr std::size_t kKeptTextLength = 510;
static_assert(kKeptTextLength <= kProfileValueLength);

const TTextBinding<TModuleSettings> kTexts[] = {
    {kFilterFileEdit, &TModuleSettings::FilterFileName, kKeptTextLength},
    {kLogFileNameEdit, &TModuleSettings::LogFileName, kKeptTextLength},
};

const TRadioGroupBinding<TModuleSettings> kVarMargin = {
    &TModuleSettings::UseVarMargin,
    {{kAnyVarMarginRadio, 1}, {kNegativeVarMarginRadio, 2}, {kPositiveVarMarginRadio, 3}, {kNoVarMarginRadio, 4}},
    4};

const TSelectionBinding<TModuleSettings> kMailLogLevel = {kMailLogLevelCombo, &TModuleSettings::MailLogLevel};

const std::vector<TControlItem> kMailLogLevels = {
    {"Не логировать", 0},
    {"Базовое логирование", 1},
    {"Логирование адресов получателей", 2},
};

// The colour chooser exchanges its colour as its text, a decimal number.
void FillColor(const TColorBinding& binding, const TModuleSettings& settings, IDialogControls& controls) {
  controls.SetText(binding.id, std::to_string(settings.*binding.field));
}

void TakeColor(const TColorBinding& binding, const IDialogControls& controls, TModuleSettings& settings) {
  settings.*binding.field = static_cast<std::uint32_t>(std::atol(controls.Text(binding.id).c_str()));
}

// The timer takes its period in milliseconds as a positive 32-bit number.
bool TimerCanRun(double milliseconds) { return milliseconds >= 0.0 && milliseconds <= INT_MAX; }
}  // namespace

void FillGeneralSettingsControls(const TModuleSettings& settings, IDialogControls& controls) {
  controls.SetText(kRecalcIntervalEdit, std::to_string(settings.RecalcRiskParamsInterval / 1000));
  for (const TClientKindBox& box : kClientKindBoxes)
    controls.SetChecked(box.id, (settings.ClientsType2 & box.bit) != 0);
  for (const TColorBinding& color : kColors) FillColor(color, settings, controls);
  FillAll(kChecks, settings, controls);
  Fill(kVarMargin, settings, controls);
  FillAll(kTexts, settings, controls);
  EnableFilterFileButtons(controls);
  controls.SetItems(kMailLogLevelCombo, kMailLogLevels);
  Fill(kMailLogLevel, settings, controls);
}

void EnableFilterFileButtons(IDialogControls& controls) {
  const bool fromFile = controls.Checked(kFilterFromFileBox);
  controls.Enable(kFilterFileBrowse, fromFile);
  controls.Enable(kFilterReloadButton, fromFile);
}

bool TakeGeneralSettingsControls(const IDialogControls& controls, TModuleSettings& settings) {
  const double interval = controls.Number(kRecalcIntervalEdit) * kMillisecondsPerSecond;
  if (!TimerCanRun(interval)) return false;
  settings.RecalcRiskParamsInterval = static_cast<int>(interval);
  settings.ClientsType2 = 0;
  for (const TClientKindBox& box : kClientKindBoxes)
    if (controls.Checked(box.id)) settings.ClientsType2 |= box.bit;
  for (const TColorBinding& color : kColors) TakeColor(color, controls, settings);
  TakeAll(kChecks, controls, settings);
  Take(kVarMargin, controls, settings);
  TakeAll(kTexts, controls, settings);
  // A level the list does not offer is not kept: nothing chosen logs nothing.
  settings.MailLogLevel = controls.SelectedItemData(kMailLogLevelCombo).value_or(kNoMailLogLevel);
  return true;
}
