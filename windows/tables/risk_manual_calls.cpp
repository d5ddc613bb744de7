#include "windows/tables/risk_manual_calls.h"

#include "module/notify/engine_kind_checks.h"
#include "module/risk/level_tests.h"
#include "module/risk/margin_call_kinds.h"

const TManualCallKind kManualCallKinds[8] = {
    {kLowFundsKind, 40006, 40013, "Отрицательный остаток"},
    {kSfrKind, 40007, 40014, "Уровень достаточности средств"},
    {kSfrOpenPositionsKind, 40085, 40086, "Уровень достаточности средств (под открытые позиции)"},
    {kClgoKind, 40008, 40015, "Коэффициент ликвидности ГО"},
    {kEclgoKind, 40009, 40016, "Ожидаемый коэффициент ликвидности ГО"},
    {kMarginLevelKind, 40010, 40017, "Композитный критерий"},
    {kUpKind, 40011, 40018, "Произвольный параметр"},
    {kMl2Kind, 40080, 40082, "Уровень маржи"},
};

namespace {

// The settings hold the send flags inverted: true turns a kind's sending off.
bool SendsWarning(int type, const TModuleSettings& s) {
  return type == kSfrKind ? !s.SendSFRWarningMsg : !s.SendSFRWarningMsg_fp;
}

bool SendsCritical(int type, const TModuleSettings& s) {
  return type == kSfrKind ? !s.SendSFRCriticalMsg : !s.SendSFRCriticalMsg_fp;
}

bool Sends(int type, const TModuleSettings& s) {
  switch (type) {
    case kLowFundsKind: return !s.SendLowFundsMsg;
    case kSfrKind:
    case kSfrOpenPositionsKind: return SendsWarning(type, s) || SendsCritical(type, s);
    case kClgoKind: return !s.SendCLGOMsg;
    case kEclgoKind: return !s.SendECLGOMsg;
    case kMarginLevelKind: return !s.SendMLMsg;
    case kUpKind: return !s.SendUPMsg;
    case kMl2Kind: return !s.SendML2Msg;
    default: return false;
  }
}

// The arbitrary parameter and the margin level need their parameter.
bool HasParameter(int type, const TModuleSettings& s) {
  if (type == kUpKind) return IsRiskValueId(s.UPParam);
  if (type == kMl2Kind) return IsRiskValueId(s.ML2Param);
  return true;
}

TManualCall Call(double value, double level, const std::string& body) {
  TManualCall call;
  call.qualifies = true;
  call.value = value;
  call.level = level;
  call.body = &body;
  return call;
}

// Critical before warning; AlwaysAllowManualSending stands in for the send
// flags, the levels still apply.
TManualCall SfrCall(int type, const TClientRiskRecord& c, const TModuleSettings& s) {
  const bool fp = type == kSfrOpenPositionsKind;
  const double value = c.GetValueByColumn(fp ? kSfrOpenPositionsId : kSfrId);
  const bool always = s.AlwaysAllowManualSending;
  if (IsSfrCriticalLevelReached(c, s, type) && (SendsCritical(type, s) || always)) {
    const bool second = fp ? s.UseSFRTemplate2_fp : s.UseSFRTemplate2;
    const std::string& body = fp ? (second ? s.SFRBody2_fp : s.SFRBody_fp) : (second ? s.SFRBody2 : s.SFRBody);
    return Call(value, fp ? s.SFRCriticalLevel_fp : s.SFRCriticalLevel, body);
  }
  if (IsSfrWarningLevelReached(c, s, type) && (SendsWarning(type, s) || always))
    return Call(value, fp ? s.SFRWarningLevel_fp : s.SFRWarningLevel, fp ? s.SFRBody_fp : s.SFRBody);
  return {};
}

}  // namespace

const TManualCallKind* FindManualCallKind(int command, bool* allClients) {
  for (const TManualCallKind& kind : kManualCallKinds) {
    if (command != kind.oneClientCommand && command != kind.allClientsCommand) continue;
    *allClients = command == kind.allClientsCommand;
    return &kind;
  }
  return nullptr;
}

bool IsOfferedForClient(int type, const TClientRiskRecord* client, const TModuleSettings& s) {
  if (!HasParameter(type, s)) return false;
  if (s.AlwaysAllowManualSending) return true;
  if (type != kSfrKind && type != kSfrOpenPositionsKind) return Sends(type, s);
  return client != nullptr && ((SendsWarning(type, s) && IsSfrWarningLevelReached(*client, s, type)) ||
                               (SendsCritical(type, s) && IsSfrCriticalLevelReached(*client, s, type)));
}

bool IsOfferedForAllClients(int type, const TModuleSettings& s) {
  return HasParameter(type, s) && (s.AlwaysAllowManualSending || Sends(type, s));
}

TManualCall ManualCallOf(int type, const TClientRiskRecord& c, const TModuleSettings& s, bool allClients) {
  switch (type) {
    case kLowFundsKind:
      if (c.plannedNetPosition < 0) return Call(c.GetValueByColumn(kPlannedNetPositionId), 0.0, s.LowFundsBody);
      return {};
    case kSfrKind:
    case kSfrOpenPositionsKind:
      return SfrCall(type, c, s);
    case kClgoKind:
      if (IsClgoBroken(c, s)) return Call(c.GetValueByColumn(kClgoId), s.CLGOLevel > c.clgo ? 0.0 : 1.0, s.CLGOBody);
      return {};
    case kEclgoKind:
      if (s.ECLGOLevel > c.eclgo)
        return Call(c.GetValueByColumn(kEclgoId), c.openPositionLimit < 0 ? 1.0 : 0.0, s.ECLGOBody);
      return {};
    case kMarginLevelKind:
      if (!IsMlBroken(c, s)) return {};
      if (c.united) return Call(c.GetValueByColumn(kMarginLevelId), 1.0, s.MLBody);
      return Call(c.GetValueByColumn(kPlannedNetPositionId), 0.0, s.MLBody);
    case kUpKind:
      if ((s.OnlyUnitedPos && !c.united) || !IsUpLevelReached(c, s)) return {};
      return Call(c.GetValueByColumn(s.UPParam), s.UPLevel, s.UPBody);
    case kMl2Kind: {
      double level = 0.0;
      if (!IsMl2LevelReached(c, s, &level)) return {};
      const bool second = !allClients && UsesMl2SecondTemplate(c, s);
      return Call(c.GetValueByColumn(s.ML2Param), level, second ? s.ML2Body2 : s.ML2Body);
    }
    default:
      return {};
  }
}

const std::string& MainBodyOf(int type, const TModuleSettings& s) {
  switch (type) {
    case kLowFundsKind: return s.LowFundsBody;
    case kSfrKind: return s.SFRBody;
    case kSfrOpenPositionsKind: return s.SFRBody_fp;
    case kClgoKind: return s.CLGOBody;
    case kEclgoKind: return s.ECLGOBody;
    case kMarginLevelKind: return s.MLBody;
    case kUpKind: return s.UPBody;
    default: return s.ML2Body;
  }
}
