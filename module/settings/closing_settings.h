#pragma once

#include "module/settings/closing_pattern.h"
#include "module/settings/comma_lists.h"
#include "module/settings/schedule_entry.h"

#include <memory>
#include <string>
#include <vector>

// Position-closing settings: the closing keys of section "Vantrel", one
// section "ClPattern"N per closing pattern and the auto-close schedule in
// section "Vantrel-AutoClose". The record owns its patterns; a copy holds
// copies of them, never the same objects.
class TClosingSettings {
 public:
  TClosingSettings();
  TClosingSettings(const TClosingSettings& other);
  TClosingSettings& operator=(const TClosingSettings& other);

  void AddAutoCloseEntry(int minutes, int patternIndex, int allClients);

  // Patterns whose deleted mark is clear.
  int CountLivePatterns() const;
  // The first live pattern after index, wrapping round to 0 after the last
  // one; -1 when the walk comes back to index without finding one.
  int NextLivePattern(int index) const;

  // info.ini path in; both return true. A count of patterns or schedule
  // entries is read no further than the file holds them (up to the first
  // one missing) and than a limit no real file reaches; a count cut short
  // is described in cuts, when given.
  bool ReadClosingSettings(const std::string& iniPath, std::vector<std::string>* cuts = nullptr);
  bool WriteClosingSettings(const std::string& iniPath) const;
  void ReadAutoCloseSchedule(const std::string& iniPath, std::vector<std::string>* cuts = nullptr);
  void WriteAutoCloseSchedule(const std::string& iniPath) const;

  bool ConsiderActiveOrders;
  double Spread;
  std::string Comment;
  bool FilterOrdersByComment;
  // Index into Patterns; -1 = none.
  int DefaultPattern;
  bool UseBaseActive;
  bool ShowSecNamesInDlg;
  ScheduleList AutoCloseSchedule;
  bool UseAutoClose;
  StringList SecsForClosing;
  StringList BaseActiveForClosing;
  std::vector<std::unique_ptr<TClosingPattern>> Patterns;
};

// The auto-close times as "HH:MM, HH:MM"; empty for an empty schedule.
std::string FormatAutoCloseSchedule(const TClosingSettings& closing);
