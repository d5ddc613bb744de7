#include "module/settings/module_settings.h"

#include <windows.h>

TModuleSettings::TModuleSettings()
    : RecalcRiskParamsInterval(10000),
      ClientsType2(7),
      SendLowFundsMsg(true),
      UseSFRTemplate2(false),
      SFRWarningLevel(1.0),
      SendSFRWarningMsg(true),
      SFRCriticalLevel(0.5),
      SendSFRCriticalMsg(true),
      DontSendSFRifCLGO(false),
      ValCLGOforSFR(1.0),
      UseSFRTemplate2_fp(false),
      SFRWarningLevel_fp(1.0),
      SendSFRWarningMsg_fp(true),
      SFRCriticalLevel_fp(0.5),
      SendSFRCriticalMsg_fp(true),
      DontSendSFRifCLGO_fp(false),
      ValCLGOforSFR_fp(1.0),
      SendCLGOMsg(true),
      CLGOLevel(1.0),
      CLGOLimitType(1),
      CLGOUseVMAI(false),
      SendECLGOMsg(true),
      ECLGOLevel(1.0),
      SendMLMsg(true),
      MLLevel(1.0),
      UPParam(-1),
      UPLevel(1.0),
      OnlyUnitedPos(false),
      SendUPMsg(true),
      UseML2Template2(false),
      SendML2Msg(true),
      ML2Level(1.0),
      ML2LevelQual(0.5),
      ConsiderQualClient(false),
      ML2Param(-1),
      UseSFRWarnSchedule(false),
      UseSFRCritSchedule(false),
      UseSFRWarnSchedule_fp(false),
      UseSFRCritSchedule_fp(false),
      UseLFSchedule(false),
      UseCLGOSchedule(false),
      UseECLGOSchedule(false),
      UseMLSchedule(false),
      UseUPSchedule(false),
      UseML2Schedule(false),
      NormalColor(GetSysColor(COLOR_WINDOW)),
      WarningColor(65280),
      CriticalColor(255),
      UseTotalAssets(false),
      UseVarMargin(2),
      NotificationsOn(true),
      NeedReadFilterFromFile(false),
      TraceLogLevel(0),
      MailLogLevel(0),
      LogFileName("VantrelFM.log"),
      ConsiderFilters(true),
      AlwaysAllowManualSending(false) {}

TModuleSettings& TModuleSettings::CopyFrom(const TModuleSettings& other) { return *this = other; }

std::string* TModuleSettings::BodyOfKind(int kind) {
  switch (kind) {
    case 1:
      return &LowFundsBody;
    case 2:
      return &SFRBody;
    case 9:
      return &SFRBody_fp;
    case 3:
      return &CLGOBody;
    case 4:
      return &ECLGOBody;
    case 5:
      return &MLBody;
    case 6:
      return &UPBody;
    case 7:
      return &ML2Body;
    case 102:
      return &SFRBody2;
    case 109:
      return &SFRBody2_fp;
    case 107:
      return &ML2Body2;
    default:
      return nullptr;
  }
}

const std::string* TModuleSettings::BodyOfKind(int kind) const {
  return const_cast<TModuleSettings*>(this)->BodyOfKind(kind);
}

ScheduleList* TModuleSettings::ScheduleOfKind(int kind) {
  switch (kind) {
    case 1:
      return &LFSchedule;
    case 2:
      return &SFRSchedule;
    case 9:
      return &SFRSchedule_fp;
    case 3:
      return &CLGOSchedule;
    case 4:
      return &ECLGOSchedule;
    case 5:
      return &MLSchedule;
    case 6:
      return &UPSchedule;
    case 7:
      return &ML2Schedule;
    default:
      return nullptr;
  }
}

const ScheduleList* TModuleSettings::ScheduleOfKind(int kind) const {
  return const_cast<TModuleSettings*>(this)->ScheduleOfKind(kind);
}
