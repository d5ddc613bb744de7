#include "module/settings/module_settings.h"
#include "module/settings/profile_section.h"

namespace {

const char kSection[] = "Vantrel";

// Schedules in the order they are read and written.
const int kScheduleKinds[] = {2, 9, 1, 3, 4, 5, 6, 7};

// The value of the old ClientsType key as a bit set of client kinds.
int ClientsTypeFromOldKey(int oldValue) {
  if (oldValue == 1) return 7;
  if (oldValue == 3) return 6;
  return 1;
}

}  // namespace

bool TModuleSettings::ReadGeneralSettings(const std::string& iniPath) {
  CProfileSection ini(iniPath, kSection);

  RecalcRiskParamsInterval = ini.ReadInt("RecalcRiskParamsInterval", 10000);
  int oldClientsType = ini.ReadInt("ClientsType", 1);
  if (oldClientsType == 0) {
    ClientsType2 = ini.ReadInt("ClientsType2", 7);
  } else {
    ClientsType2 = ClientsTypeFromOldKey(oldClientsType);
    ini.WriteString("ClientsType", "0");
  }

  LowFundsTopic = ini.ReadString("LowFundsTopic", "");
  ReadBodyTemplates(iniPath, 1);
  LowFundsFile = ini.ReadString("LowFundsFile", "");
  SendLowFundsMsg = !ini.ReadBool("SendLowFundsMsg", false);

  SFRTopic = ini.ReadString("SFRTopic", "");
  SFRTopic_fp = ini.ReadString("SFRTopic_fp", "");
  SFRFile = ini.ReadString("SFRFile", "");
  SFRFile_fp = ini.ReadString("SFRFile_fp", "");
  ReadBodyTemplates(iniPath, 2);
  ReadBodyTemplates(iniPath, 9);
  SendSFRWarningMsg = !ini.ReadBool("SendSFRWarningMsg", false);
  SendSFRWarningMsg_fp = !ini.ReadBool("SendSFRWarningMsg_fp", false);
  SFRWarningLevel = ini.ReadDouble("SFRWarningLevel", "0");
  SFRWarningLevel_fp = ini.ReadDouble("SFRWarningLevel_fp", "0");
  SendSFRCriticalMsg = !ini.ReadBool("SendSFRCriticalMsg", false);
  SendSFRCriticalMsg_fp = !ini.ReadBool("SendSFRCriticalMsg_fp", false);
  SFRCriticalLevel = ini.ReadDouble("SFRCriticalLevel", "0");
  SFRCriticalLevel_fp = ini.ReadDouble("SFRCriticalLevel_fp", "0");
  SFRTopic2 = ini.ReadString("SFRTopic2", "");
  SFRTopic2_fp = ini.ReadString("SFRTopic2_fp", "");
  ReadBodyTemplates(iniPath, 102);
  ReadBodyTemplates(iniPath, 109);
  SFRFile2 = ini.ReadString("SFRFile2", "");
  SFRFile2_fp = ini.ReadString("SFRFile2_fp", "");
  // Stored files hold 0 when the second template is in use.
  UseSFRTemplate2 = !ini.ReadBool("UseSFRTemplate2", false);
  UseSFRTemplate2_fp = !ini.ReadBool("UseSFRTemplate2_fp", false);

  NormalColor = ini.ReadColour("NormalColor", NormalColor);
  WarningColor = ini.ReadColour("WarningColor", WarningColor);
  CriticalColor = ini.ReadColour("CriticalColor", CriticalColor);

  CLGOTopic = ini.ReadString("CLGOTopic", "");
  ReadBodyTemplates(iniPath, 3);
  CLGOFile = ini.ReadString("CLGOFile", "");
  CLGOLevel = ini.ReadDouble("CLGOLevel", "0");
  SendCLGOMsg = !ini.ReadBool("SendCLGOMsg", false);
  CLGOLimitType = ini.ReadInt("CLGOLimitType", 1);
  CLGOUseVMAI = ini.ReadBool("CLGOUseVMAI", false);

  ECLGOTopic = ini.ReadString("ECLGOTopic", "");
  ReadBodyTemplates(iniPath, 4);
  ECLGOFile = ini.ReadString("ECLGOFile", "");
  ECLGOLevel = ini.ReadDouble("ECLGOLevel", "0");
  SendECLGOMsg = !ini.ReadBool("SendECLGOMsg", false);

  MLTopic = ini.ReadString("MLTopic", "");
  ReadBodyTemplates(iniPath, 5);
  MLFile = ini.ReadString("MLFile", "");
  MLLevel = ini.ReadDouble("MLLevel", "0");
  SendMLMsg = !ini.ReadBool("SendMLMsg", false);

  UPParam = ini.ReadInt("UPParam", 0);
  UPTopic = ini.ReadString("UPTopic", "");
  ReadBodyTemplates(iniPath, 6);
  UPFile = ini.ReadString("UPFile", "");
  UPLevel = ini.ReadDouble("UPLevel", "0");
  SendUPMsg = !ini.ReadBool("SendUPMsg", false);
  OnlyUnitedPos = ini.ReadBool("OnlyUnitedPos", false);

  ML2Topic = ini.ReadString("ML2Topic", "");
  ReadBodyTemplates(iniPath, 7);
  ML2File = ini.ReadString("ML2File", "");
  ML2Level = ini.ReadDouble("ML2Level", "1");
  ML2LevelQual = ini.ReadDouble("ML2LevelQual", "0.5");
  SendML2Msg = !ini.ReadBool("SendML2Msg", false);
  ConsiderQualClient = ini.ReadBool("ConsiderQualClient", false);
  ML2Param = ini.ReadInt("ML2Param", -1);
  ML2Topic2 = ini.ReadString("ML2Topic2", "");
  ReadBodyTemplates(iniPath, 107);
  ML2File2 = ini.ReadString("ML2File2", "");
  UseML2Template2 = ini.ReadBool("UseML2Template2", false);

  UseTotalAssets = ini.ReadBool("UseTotalAssets", false);
  // UsePositiveVarMargin above 1 marks a file whose UseVarMargin is current.
  int oldPositiveVarMargin = ini.ReadInt("UsePositiveVarMargin", 1);
  if (oldPositiveVarMargin > 1) {
    UseVarMargin = ini.ReadInt("UseVarMargin", 2);
  } else {
    UseVarMargin = oldPositiveVarMargin == 1 ? 1 : 2;
    ini.WriteString("UsePositiveVarMargin", "2");
  }

  UseSFRWarnSchedule = ini.ReadBool("UseSFRWarnSchedule", false);
  UseSFRWarnSchedule_fp = ini.ReadBool("UseSFRWarnSchedule_fp", false);
  UseSFRCritSchedule = ini.ReadBool("UseSFRCritSchedule", false);
  UseSFRCritSchedule_fp = ini.ReadBool("UseSFRCritSchedule_fp", false);
  UseLFSchedule = ini.ReadBool("UseLFSchedule", false);
  UseCLGOSchedule = ini.ReadBool("UseCLGOSchedule", false);
  UseECLGOSchedule = ini.ReadBool("UseECLGOSchedule", false);
  UseMLSchedule = ini.ReadBool("UseMLSchedule", false);
  UseUPSchedule = ini.ReadBool("UseUPSchedule", false);
  UseML2Schedule = ini.ReadBool("UseML2Schedule", false);
  for (int kind : kScheduleKinds) ReadNotifSchedules(kind, iniPath);

  NeedReadFilterFromFile = ini.ReadBool("NeedReadFilterFromFile", false);
  FilterFileName = ini.ReadString("FilterFileName", "");
  MigrateUPToML2();

  TraceLogLevel = ini.ReadInt("TraceLogLevel", 0);
  MailLogLevel = ini.ReadInt("MailLogLevel", 0);
  LogFileName = ini.ReadString("LogFileName", "VantrelFM.log");
  ConsiderFilters = ini.ReadBool("ConsiderFilters", true);
  DontSendSFRifCLGO = ini.ReadBool("DontSendSFRifCLGO", false);
  DontSendSFRifCLGO_fp = ini.ReadBool("DontSendSFRifCLGO_fp", false);
  ValCLGOforSFR = ini.ReadDouble("ValCLGOforSFR", "1");
  ValCLGOforSFR_fp = ini.ReadDouble("ValCLGOforSFR_fp", "1");
  AlwaysAllowManualSending = ini.ReadBool("AlwaysAllowManualSending", false);
  return true;
}

// Margin levels (risk-table columns 22 and 23) watched as the arbitrary
// parameter are carried over to the margin-level call of kind 7.
void TModuleSettings::MigrateUPToML2() {
  if (UPParam != 22 && UPParam != 23) return;
  SendML2Msg = SendUPMsg;
  ML2Level = UPLevel;
  ML2Param = UPParam;
  ConsiderQualClient = false;
  UseML2Schedule = UseUPSchedule;
  ML2Schedule = UPSchedule;
  UPParam = -1;
  SendUPMsg = true;
}

bool TModuleSettings::WriteGeneralSettings(const std::string& iniPath) const {
  CProfileSection ini(iniPath, kSection);

  ini.WriteInt("RecalcRiskParamsInterval", RecalcRiskParamsInterval);
  // The marks of the converted old keys go with the values, so a file that
  // was replaced while the host ran does not convert the saved values away.
  ini.WriteString("ClientsType", "0");
  ini.WriteInt("ClientsType2", ClientsType2);

  ini.WriteString("LowFundsTopic", LowFundsTopic);
  WriteBodyTemplate(1, iniPath);
  ini.WriteString("LowFundsFile", LowFundsFile);
  ini.WriteBool("SendLowFundsMsg", !SendLowFundsMsg);

  ini.WriteString("SFRTopic", SFRTopic);
  ini.WriteString("SFRTopic_fp", SFRTopic_fp);
  WriteBodyTemplate(2, iniPath);
  WriteBodyTemplate(9, iniPath);
  ini.WriteString("SFRFile", SFRFile);
  ini.WriteString("SFRFile_fp", SFRFile_fp);
  ini.WriteBool("SendSFRWarningMsg", !SendSFRWarningMsg);
  ini.WriteBool("SendSFRWarningMsg_fp", !SendSFRWarningMsg_fp);
  ini.WriteDouble("SFRWarningLevel", SFRWarningLevel);
  ini.WriteDouble("SFRWarningLevel_fp", SFRWarningLevel_fp);
  ini.WriteBool("SendSFRCriticalMsg", !SendSFRCriticalMsg);
  ini.WriteBool("SendSFRCriticalMsg_fp", !SendSFRCriticalMsg_fp);
  ini.WriteDouble("SFRCriticalLevel", SFRCriticalLevel);
  ini.WriteDouble("SFRCriticalLevel_fp", SFRCriticalLevel_fp);
  ini.WriteString("SFRTopic2", SFRTopic2);
  ini.WriteString("SFRTopic2_fp", SFRTopic2_fp);
  WriteBodyTemplate(102, iniPath);
  WriteBodyTemplate(109, iniPath);
  ini.WriteString("SFRFile2", SFRFile2);
  ini.WriteString("SFRFile2_fp", SFRFile2_fp);
  ini.WriteBool("UseSFRTemplate2", !UseSFRTemplate2);
  ini.WriteBool("UseSFRTemplate2_fp", !UseSFRTemplate2_fp);

  ini.WriteColour("NormalColor", NormalColor);
  ini.WriteColour("WarningColor", WarningColor);
  ini.WriteColour("CriticalColor", CriticalColor);

  ini.WriteString("CLGOTopic", CLGOTopic);
  WriteBodyTemplate(3, iniPath);
  ini.WriteString("CLGOFile", CLGOFile);
  ini.WriteDouble("CLGOLevel", CLGOLevel);
  ini.WriteBool("SendCLGOMsg", !SendCLGOMsg);
  ini.WriteInt("CLGOLimitType", CLGOLimitType);
  ini.WriteBool("CLGOUseVMAI", CLGOUseVMAI);

  ini.WriteString("ECLGOTopic", ECLGOTopic);
  WriteBodyTemplate(4, iniPath);
  ini.WriteString("ECLGOFile", ECLGOFile);
  ini.WriteDouble("ECLGOLevel", ECLGOLevel);
  ini.WriteBool("SendECLGOMsg", !SendECLGOMsg);

  ini.WriteString("MLTopic", MLTopic);
  WriteBodyTemplate(5, iniPath);
  ini.WriteString("MLFile", MLFile);
  ini.WriteDouble("MLLevel", MLLevel);
  ini.WriteBool("SendMLMsg", !SendMLMsg);

  ini.WriteInt("UPParam", UPParam);
  ini.WriteString("UPTopic", UPTopic);
  WriteBodyTemplate(6, iniPath);
  ini.WriteString("UPFile", UPFile);
  ini.WriteDouble("UPLevel", UPLevel);
  ini.WriteBool("SendUPMsg", !SendUPMsg);
  ini.WriteBool("OnlyUnitedPos", OnlyUnitedPos);

  ini.WriteString("ML2Topic", ML2Topic);
  WriteBodyTemplate(7, iniPath);
  ini.WriteString("ML2File", ML2File);
  ini.WriteDouble("ML2Level", ML2Level);
  ini.WriteDouble("ML2LevelQual", ML2LevelQual);
  ini.WriteBool("SendML2Msg", !SendML2Msg);
  ini.WriteBool("ConsiderQualClient", ConsiderQualClient);
  ini.WriteInt("ML2Param", ML2Param);
  ini.WriteString("ML2Topic2", ML2Topic2);
  WriteBodyTemplate(107, iniPath);
  ini.WriteString("ML2File2", ML2File2);
  ini.WriteBool("UseML2Template2", UseML2Template2);

  ini.WriteBool("UseTotalAssets", UseTotalAssets);
  ini.WriteString("UsePositiveVarMargin", "2");
  ini.WriteInt("UseVarMargin", UseVarMargin);

  ini.WriteBool("UseSFRWarnSchedule", UseSFRWarnSchedule);
  ini.WriteBool("UseSFRWarnSchedule_fp", UseSFRWarnSchedule_fp);
  ini.WriteBool("UseSFRCritSchedule", UseSFRCritSchedule);
  ini.WriteBool("UseSFRCritSchedule_fp", UseSFRCritSchedule_fp);
  ini.WriteBool("UseLFSchedule", UseLFSchedule);
  ini.WriteBool("UseCLGOSchedule", UseCLGOSchedule);
  ini.WriteBool("UseECLGOSchedule", UseECLGOSchedule);
  ini.WriteBool("UseMLSchedule", UseMLSchedule);
  ini.WriteBool("UseUPSchedule", UseUPSchedule);
  ini.WriteBool("UseML2Schedule", UseML2Schedule);
  for (int kind : kScheduleKinds) WriteNotifSchedule(kind, iniPath);

  ini.WriteBool("NeedReadFilterFromFile", NeedReadFilterFromFile);
  ini.WriteString("FilterFileName", FilterFileName);
  ini.WriteInt("TraceLogLevel", TraceLogLevel);
  ini.WriteInt("MailLogLevel", MailLogLevel);
  ini.WriteString("LogFileName", LogFileName);
  ini.WriteBool("ConsiderFilters", ConsiderFilters);
  ini.WriteBool("DontSendSFRifCLGO", DontSendSFRifCLGO);
  ini.WriteBool("DontSendSFRifCLGO_fp", DontSendSFRifCLGO_fp);
  ini.WriteDouble("ValCLGOforSFR", ValCLGOforSFR);
  ini.WriteDouble("ValCLGOforSFR_fp", ValCLGOforSFR_fp);
  ini.WriteBool("AlwaysAllowManualSending", AlwaysAllowManualSending);
  return true;
}
