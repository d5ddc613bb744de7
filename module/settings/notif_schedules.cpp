#include "module/settings/module_settings.h"
#include "module/settings/profile_section.h"

namespace {

const char* ScheduleKey(int kind) {
  switch (kind) {
    case 1:
      return "LFSchedule";
    case 2:
      return "SFRSchedule";
    case 9:
      return "SFRSchedule_fp";
    case 3:
      return "CLGOSchedule";
    case 4:
      return "ECLGOSchedule";
    case 5:
      return "MLSchedule";
    case 6:
      return "UPSchedule";
    case 7:
      return "ML2Schedule";
    default:
      return nullptr;
  }
}

ScheduleList TModuleSettings::*const kSchedules[] = {
    &TModuleSettings::LFSchedule,   &TModuleSettings::SFRSchedule,   &TModuleSettings::SFRSchedule_fp,
    &TModuleSettings::CLGOSchedule, &TModuleSettings::ECLGOSchedule, &TModuleSettings::MLSchedule,
    &TModuleSettings::UPSchedule,   &TModuleSettings::ML2Schedule,
};

}  // namespace

void KeepFiringMarks(TModuleSettings& edited, const TModuleSettings& live) {
  for (ScheduleList TModuleSettings::*schedule : kSchedules) KeepFiringMarks(edited.*schedule, live.*schedule);
}

bool TModuleSettings::ParseScheduleText(int kind, const std::string& text) {
  return ParseScheduleTextAt(kind, text, LocalMinutesNow());
}

bool TModuleSettings::ParseScheduleTextAt(int kind, const std::string& text, int nowMinutes) {
  ScheduleList* schedule = ScheduleOfKind(kind);
  return schedule != nullptr && ParseScheduleList(text, nowMinutes, *schedule);
}

std::string TModuleSettings::FormatNotifSchedule(int kind) const {
  const ScheduleList* schedule = ScheduleOfKind(kind);
  return schedule == nullptr ? std::string() : FormatScheduleList(*schedule);
}

bool TModuleSettings::ReadNotifSchedules(int kind, const std::string& iniPath) {
  const char* key = ScheduleKey(kind);
  if (key == nullptr) return false;
  // A schedule may be longer than the usual value buffer; cutting it would
  // turn its last time of day into a wrong one.
  std::string text = CProfileSection(iniPath, "Vantrel").ReadWholeString(key, "");
  return ParseScheduleText(kind, text);
}

bool TModuleSettings::WriteNotifSchedule(int kind, const std::string& iniPath) const {
  const char* key = ScheduleKey(kind);
  if (key == nullptr) return false;
  CProfileSection(iniPath, "Vantrel").WriteString(key, FormatNotifSchedule(kind));
  return true;
}
