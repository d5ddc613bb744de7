#include "windows/dialogs/schedule_entry_form.h"

#include "windows/dialogs/closing_settings_lists.h"
#include "windows/dialogs/control_bindings.h"

#include <optional>

const char kScheduleTimeRefusal[] = "Неверное время закрытия.\nУкажите время от 00:00 до 23:59 в виде ЧЧ:ММ.";

namespace {

constexpr int kNoTime = -1;
constexpr int kHoursPerDay = 24;
constexpr int kMinutesPerHour = 60;

const TSelectionBinding<TScheduleEntry> kPattern = {kSchedulePatternCombo, &TScheduleEntry::PatternIndex};
const TCheckBinding<TScheduleEntry, int> kAllClients = {kScheduleAllClientsBox, &TScheduleEntry::AllClients};

bool OnlyBlanks(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  return *text == '\0';
}

// Minutes after midnight of "hour:minute", blanks around the numbers allowed.
std::optional<int> ParseTimeOfDay(const std::string& text) {
  int hour = 0;
  int minute = 0;
  const char* end = nullptr;
  if (!ScanHourMinute(text.c_str(), &hour, &minute, &end) || !OnlyBlanks(end)) return std::nullopt;
  if (hour < 0 || hour >= kHoursPerDay || minute < 0 || minute >= kMinutesPerHour) return std::nullopt;
  return hour * kMinutesPerHour + minute;
}

}  // namespace

TScheduleEntry AutoCloseEntryToEdit(const TScheduleEntry* entry) {
  TScheduleEntry copy;
  if (entry != nullptr) {
    copy = *entry;
  } else {
    copy.Minutes = kNoTime;
    copy.AllClients = 1;
  }
  copy.LastFiring = 0;
  return copy;
}

void FillScheduleEntryControls(const TClosingSettings& closing, const TScheduleEntry& entry,
                               IDialogControls& controls) {
  controls.SetItems(kSchedulePatternCombo, PatternItems(closing));
  controls.SetText(kScheduleTimeEdit, entry.Minutes >= 0 ? FormatHourMinute(entry.Minutes) : std::string());
  Fill(kPattern, entry, controls);
  Fill(kAllClients, entry, controls);
}

bool TakeScheduleEntryControls(const IDialogControls& controls, TScheduleEntry& entry) {
  const std::optional<int> minutes = ParseTimeOfDay(controls.Text(kScheduleTimeEdit));
  if (!minutes) return false;
  entry.Minutes = *minutes;
  Take(kPattern, controls, entry);
  Take(kAllClients, controls, entry);
  return true;
}
