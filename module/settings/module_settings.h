#pragma once

#include "module/settings/schedule_entry.h"

#include <cstdint>
#include <map>
#include <string>

// General, notification and display settings of the module (section "Vantrel"
// of info.ini). Send flags are held inverted: a Send... field that is true
// means that kind of margin call is NOT sent. UseSFRTemplate2 and
// UseSFRTemplate2_fp mean what they say here; the file holds their opposite.
//
// Margin-call kinds: 1 low funds, 2 funds sufficiency (SFR), 9 SFR for open
// positions, 3 CLGO, 4 expected CLGO, 5 margin level, 6 arbitrary parameter,
// 7 modified margin level; 102, 109 and 107 are the second templates of 2, 9, 7.
class TModuleSettings {
 public:
  TModuleSettings();

  TModuleSettings& CopyFrom(const TModuleSettings& other);

  // info.ini path in; both return true.
  bool ReadGeneralSettings(const std::string& iniPath);
  bool WriteGeneralSettings(const std::string& iniPath) const;

  // Body templates: the key of the kind names a file in the folder of info.ini.
  // A named file that cannot be read leaves the body empty and its path in
  // UnreadableBodyFiles.
  void ReadBodyTemplates(const std::string& iniPath, int kind);
  // False when the body file cannot be created.
  bool WriteBodyTemplate(int kind, const std::string& iniPath) const;

  // Notification schedules of kinds 1..7 and 9.
  bool ReadNotifSchedules(int kind, const std::string& iniPath);
  bool WriteNotifSchedule(int kind, const std::string& iniPath) const;
  // Replaces the kind's schedule; false (schedule unchanged) on a bad text or kind.
  bool ParseScheduleText(int kind, const std::string& text);
  bool ParseScheduleTextAt(int kind, const std::string& text, int nowMinutes);
  std::string FormatNotifSchedule(int kind) const;

  // The body text or schedule of a kind; null for a kind that has none.
  std::string* BodyOfKind(int kind);
  const std::string* BodyOfKind(int kind) const;
  ScheduleList* ScheduleOfKind(int kind);
  const ScheduleList* ScheduleOfKind(int kind) const;

  int RecalcRiskParamsInterval;
  int ClientsType2;
  std::string LowFundsTopic, LowFundsBody, LowFundsFile;
  bool SendLowFundsMsg;
  std::string SFRTopic, SFRBody, SFRFile;
  bool UseSFRTemplate2;
  std::string SFRTopic2, SFRBody2, SFRFile2;
  double SFRWarningLevel;
  bool SendSFRWarningMsg;
  double SFRCriticalLevel;
  bool SendSFRCriticalMsg;
  bool DontSendSFRifCLGO;
  double ValCLGOforSFR;
  std::string SFRTopic_fp, SFRBody_fp, SFRFile_fp;
  bool UseSFRTemplate2_fp;
  std::string SFRTopic2_fp, SFRBody2_fp, SFRFile2_fp;
  double SFRWarningLevel_fp;
  bool SendSFRWarningMsg_fp;
  double SFRCriticalLevel_fp;
  bool SendSFRCriticalMsg_fp;
  bool DontSendSFRifCLGO_fp;
  double ValCLGOforSFR_fp;
  std::string CLGOTopic, CLGOBody, CLGOFile;
  bool SendCLGOMsg;
  double CLGOLevel;
  int CLGOLimitType;
  bool CLGOUseVMAI;
  std::string ECLGOTopic, ECLGOBody, ECLGOFile;
  bool SendECLGOMsg;
  double ECLGOLevel;
  std::string MLTopic, MLBody, MLFile;
  bool SendMLMsg;
  double MLLevel;
  int UPParam;
  std::string UPTopic, UPBody, UPFile;
  double UPLevel;
  bool OnlyUnitedPos;
  bool SendUPMsg;
  std::string ML2Topic, ML2Body, ML2File;
  bool UseML2Template2;
  std::string ML2Topic2, ML2Body2, ML2File2;
  bool SendML2Msg;
  double ML2Level;
  double ML2LevelQual;
  bool ConsiderQualClient;
  int ML2Param;
  ScheduleList SFRSchedule;
  ScheduleList SFRSchedule_fp;
  ScheduleList LFSchedule;
  ScheduleList CLGOSchedule, ECLGOSchedule, MLSchedule, UPSchedule, ML2Schedule;
  bool UseSFRWarnSchedule, UseSFRCritSchedule, UseSFRWarnSchedule_fp, UseSFRCritSchedule_fp,
      UseLFSchedule, UseCLGOSchedule, UseECLGOSchedule, UseMLSchedule, UseUPSchedule,
      UseML2Schedule;
  std::uint32_t NormalColor;
  std::uint32_t WarningColor;
  std::uint32_t CriticalColor;
  bool UseTotalAssets;
  int UseVarMargin;
  // Run-time switch of margin-call sending (menu); not stored in info.ini.
  bool NotificationsOn;
  bool NeedReadFilterFromFile;
  std::string FilterFileName;
  int TraceLogLevel;
  int MailLogLevel;
  std::string LogFileName;
  bool ConsiderFilters;
  bool AlwaysAllowManualSending;
  // The body files that info.ini names and that could not be read when the
  // settings were read, by template kind (full paths); not stored.
  std::map<int, std::string> UnreadableBodyFiles;

 private:
  void MigrateUPToML2();
};

// KeepFiringMarks of each of the eight margin-call schedules.
void KeepFiringMarks(TModuleSettings& edited, const TModuleSettings& live);
