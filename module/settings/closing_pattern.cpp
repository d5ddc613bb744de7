#include "module/settings/closing_pattern.h"
#include "module/settings/profile_section.h"

namespace {

// Closing strings may be long (comments, lists of securities).
const std::size_t kClosingBufferSize = 10240;

}  // namespace

TClosingPattern::TClosingPattern()
    : PatternName("Шаблон"),
      ParamIdx(-1),
      BoundaryValue(0.0),
      NotMoreThanPlanned(false),
      ParamIdx2(-1),
      MinMarginLvl(0.5),
      MinMarginForQualClients(0.25),
      UseVarMargin(4),
      ConsiderQualClient(false),
      ActWithoutSpotPos(true),
      Deleted(false) {}

void TClosingPattern::ReadClosingPattern(const std::string& iniPath,
                                         const std::string& sectionName) {
  CProfileSection ini(iniPath, sectionName, kClosingBufferSize);
  PatternName = ini.ReadString("PatternName", "");
  ParamIdx = ini.ReadInt("ParamIdx", -1);
  NotMoreThanPlanned = ini.ReadBool("NotMoreThanPlanned", false);
  BoundaryValue = ini.ReadDouble("BoundaryValue", "0.0");
  ParamIdx2 = ini.ReadInt("ParamIdx2", -1);
  MinMarginLvl = ini.ReadDouble("MinMarginLvl", "0.5");
  MinMarginForQualClients = ini.ReadDouble("MinMarginForQualClients", "0.25");

  // Either old key at 2 marks a section whose UseVarMargin is current.
  int considerVarMargin = ini.ReadInt("ConsiderVarMargin", 0);
  int considerPosVarMargin = ini.ReadInt("ConsiderPosVarMargin", 1);
  if (considerVarMargin == 2 || considerPosVarMargin == 2) {
    UseVarMargin = ini.ReadInt("UseVarMargin", 4);
  } else {
    if (considerVarMargin == 0)
      UseVarMargin = 4;
    else
      UseVarMargin = considerPosVarMargin != 0 ? 1 : 2;
    ini.WriteString("ConsiderVarMargin", "2");
    ini.WriteString("ConsiderPosVarMargin", "2");
  }

  ConsiderQualClient = ini.ReadBool("ConsiderQualClient", false);
  ActWithoutSpotPos = ini.ReadBool("ActWithoutSpotPos", true);
}

void TClosingPattern::WriteClosingPattern(const std::string& iniPath,
                                          const std::string& sectionName) const {
  CProfileSection ini(iniPath, sectionName, kClosingBufferSize);
  ini.WriteString("PatternName", PatternName);
  ini.WriteInt("ParamIdx", ParamIdx);
  ini.WriteDouble("BoundaryValue", BoundaryValue);
  ini.WriteBool("NotMoreThanPlanned", NotMoreThanPlanned);
  ini.WriteInt("ParamIdx2", ParamIdx2);
  ini.WriteDouble("MinMarginLvl", MinMarginLvl);
  ini.WriteDouble("MinMarginForQualClients", MinMarginForQualClients);
  // A section written here holds a current UseVarMargin; without the marks a
  // new pattern's choice would be converted away at the next load.
  ini.WriteString("ConsiderVarMargin", "2");
  ini.WriteString("ConsiderPosVarMargin", "2");
  ini.WriteInt("UseVarMargin", UseVarMargin);
  ini.WriteBool("ConsiderQualClient", ConsiderQualClient);
  ini.WriteBool("ActWithoutSpotPos", ActWithoutSpotPos);
}
