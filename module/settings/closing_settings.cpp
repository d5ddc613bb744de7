#include "module/settings/closing_settings.h"
#include "module/settings/profile_section.h"

#include <cstdlib>
#include <functional>

namespace {

const char kSection[] = "Vantrel";
const char kAutoCloseSection[] = "Vantrel-AutoClose";
// Closing strings may be long (comments, lists of securities).
const std::size_t kClosingBufferSize = 10240;

std::string PatternSectionName(int position) { return "ClPattern" + std::to_string(position); }

std::string NumberedKey(const char* name, int n) { return name + std::to_string(n); }

// More patterns and schedule entries than anyone keeps.
constexpr int kPatternLimit = 1000;
constexpr int kScheduleLimit = 10000;

// How many numbered entries to read: as many as the file states, but no
// further than the first one it does not hold and than the limit.
int EntriesToRead(const char* countKey, int stated, int limit,
                  const std::function<bool(int)>& present, std::vector<std::string>* cuts) {
  int count = 0;
  while (count < stated && count < limit && present(count)) ++count;
  if (count < stated && cuts != nullptr)
    cuts->push_back(std::string(countKey) + "=" + std::to_string(stated) + ": " +
                    std::to_string(count) + (count < limit ? " found" : " is the limit"));
  return count;
}

}  // namespace

TClosingSettings::TClosingSettings()
    : ConsiderActiveOrders(false),
      Spread(0.0),
      FilterOrdersByComment(false),
      DefaultPattern(-1),
      UseBaseActive(false),
      ShowSecNamesInDlg(true),
      UseAutoClose(false) {}

TClosingSettings::TClosingSettings(const TClosingSettings& other) { *this = other; }

TClosingSettings& TClosingSettings::operator=(const TClosingSettings& other) {
  if (this == &other) return *this;
  ConsiderActiveOrders = other.ConsiderActiveOrders;
  Spread = other.Spread;
  Comment = other.Comment;
  FilterOrdersByComment = other.FilterOrdersByComment;
  DefaultPattern = other.DefaultPattern;
  UseBaseActive = other.UseBaseActive;
  ShowSecNamesInDlg = other.ShowSecNamesInDlg;
  AutoCloseSchedule = other.AutoCloseSchedule;
  UseAutoClose = other.UseAutoClose;
  SecsForClosing = other.SecsForClosing;
  BaseActiveForClosing = other.BaseActiveForClosing;
  Patterns.clear();
  for (const std::unique_ptr<TClosingPattern>& pattern : other.Patterns)
    Patterns.push_back(std::make_unique<TClosingPattern>(*pattern));
  return *this;
}

void TClosingSettings::AddAutoCloseEntry(int minutes, int patternIndex, int allClients) {
  TScheduleEntry entry;
  entry.Minutes = minutes;
  entry.PatternIndex = patternIndex;
  entry.AllClients = allClients;
  AutoCloseSchedule.push_back(entry);
}

int TClosingSettings::CountLivePatterns() const {
  int count = 0;
  for (const std::unique_ptr<TClosingPattern>& pattern : Patterns)
    if (!pattern->Deleted) ++count;
  return count;
}

int TClosingSettings::NextLivePattern(int index) const {
  int count = static_cast<int>(Patterns.size());
  for (int step = 1; step <= count; ++step) {
    int candidate = ((index + step) % count + count) % count;
    if (candidate == index) return -1;
    if (!Patterns[candidate]->Deleted) return candidate;
  }
  return -1;
}

bool TClosingSettings::ReadClosingSettings(const std::string& iniPath,
                                           std::vector<std::string>* cuts) {
  CProfileSection ini(iniPath, kSection, kClosingBufferSize);
  ConsiderActiveOrders = ini.ReadBool("ConsiderActiveOrders", false);
  SplitCommaList(ini.ReadWholeString("BaseActiveForClosing", ""), BaseActiveForClosing);
  SplitCommaList(ini.ReadWholeString("SecsForClosing", ""), SecsForClosing);
  FilterOrdersByComment = ini.ReadBool("FilterOrdersByComment", false);
  Spread = ini.ReadDouble("Spread", "0.0");
  Comment = ini.ReadString("Comment", "");

  Patterns.clear();
  const std::set<std::string> sections = CProfileSection::SectionNames(iniPath);
  const int patternCount = EntriesToRead(
      "NumPatterns", ini.ReadInt("NumPatterns", 0), kPatternLimit,
      [&](int n) { return sections.count("clpattern" + std::to_string(n + 1)) != 0; }, cuts);
  for (int position = 1; position <= patternCount; ++position) {
    std::unique_ptr<TClosingPattern> pattern = std::make_unique<TClosingPattern>();
    pattern->ReadClosingPattern(iniPath, PatternSectionName(position));
    Patterns.push_back(std::move(pattern));
  }
  // A default that names no pattern (hand edits, patterns lost) falls back
  // to the first pattern, or to none when there are none.
  DefaultPattern = ini.ReadInt("DefaultPattern", -1);
  if (DefaultPattern < 0 || DefaultPattern >= static_cast<int>(Patterns.size()))
    DefaultPattern = Patterns.empty() ? -1 : 0;

  UseBaseActive = ini.ReadBool("UseBaseActive", false);
  ShowSecNamesInDlg = ini.ReadBool("ShowSecNamesInDlg", true);
  UseAutoClose = ini.ReadBool("UseAutoClose", true);
  ReadAutoCloseSchedule(iniPath, cuts);
  return true;
}

bool TClosingSettings::WriteClosingSettings(const std::string& iniPath) const {
  CProfileSection ini(iniPath, kSection, kClosingBufferSize);
  // Empty lists are written as empty values, so a list the user cleared
  // stays cleared after a restart.
  ini.WriteString("BaseActiveForClosing", JoinWithComma(BaseActiveForClosing));
  ini.WriteString("SecsForClosing", JoinWithComma(SecsForClosing));
  ini.WriteDouble("Spread", Spread, "%.2f");
  ini.WriteBool("FilterOrdersByComment", FilterOrdersByComment);
  ini.WriteString("Comment", Comment);
  ini.WriteBool("ConsiderActiveOrders", ConsiderActiveOrders);
  ini.WriteInt("NumPatterns", static_cast<int>(Patterns.size()));
  for (std::size_t i = 0; i < Patterns.size(); ++i)
    Patterns[i]->WriteClosingPattern(iniPath, PatternSectionName(static_cast<int>(i) + 1));
  ini.WriteInt("DefaultPattern", DefaultPattern);
  ini.WriteBool("UseBaseActive", UseBaseActive);
  ini.WriteBool("ShowSecNamesInDlg", ShowSecNamesInDlg);
  ini.WriteBool("UseAutoClose", UseAutoClose);
  WriteAutoCloseSchedule(iniPath);
  return true;
}

void TClosingSettings::ReadAutoCloseSchedule(const std::string& iniPath,
                                             std::vector<std::string>* cuts) {
  CProfileSection ini(iniPath, kAutoCloseSection);
  ScheduleList schedule;
  const std::set<std::string> keys = ini.KeyNames();
  auto held = [&](const char* name, int n) { return keys.count(NumberedKey(name, n)) != 0; };
  const int count = EntriesToRead(
      "NumElementsInSchedule", ini.ReadInt("NumElementsInSchedule", 0), kScheduleLimit,
      [&](int n) { return held("time", n) || held("pattern", n) || held("allclients", n); },
      cuts);
  for (int n = 0; n < count; ++n) {
    TScheduleEntry entry;
    entry.Minutes = -1;  // never matches a time of day unless the time scans
    int hour = 0;
    int minute = 0;
    if (ScanHourMinute(ini.ReadString(NumberedKey("Time", n).c_str(), "0:0").c_str(), &hour,
                       &minute))
      entry.Minutes = hour * 60 + minute;
    entry.PatternIndex =
        std::atoi(ini.ReadString(NumberedKey("Pattern", n).c_str(), "0:0").c_str());
    entry.AllClients =
        std::atoi(ini.ReadString(NumberedKey("AllClients", n).c_str(), "0:0").c_str());
    schedule.push_back(entry);
  }
  AutoCloseSchedule.swap(schedule);
}

void TClosingSettings::WriteAutoCloseSchedule(const std::string& iniPath) const {
  CProfileSection ini(iniPath, kAutoCloseSection);
  ini.WriteInt("NumElementsInSchedule", static_cast<int>(AutoCloseSchedule.size()));
  for (std::size_t i = 0; i < AutoCloseSchedule.size(); ++i) {
    const TScheduleEntry& entry = AutoCloseSchedule[i];
    int n = static_cast<int>(i);
    ini.WriteString(NumberedKey("Time", n).c_str(), FormatHourMinute(entry.Minutes));
    ini.WriteInt(NumberedKey("Pattern", n).c_str(), entry.PatternIndex);
    ini.WriteInt(NumberedKey("AllClients", n).c_str(), entry.AllClients);
  }
}

std::string FormatAutoCloseSchedule(const TClosingSettings& closing) {
  return FormatScheduleList(closing.AutoCloseSchedule);
}
