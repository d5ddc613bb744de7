#include "module/settings/calc_settings.h"
#include "module/settings/profile_section.h"

TCalcSettings::TCalcSettings() : OptValueParam(1) {}

bool TCalcSettings::ReadOptValueParam(const std::string& iniPath) {
  OptValueParam = CProfileSection(iniPath, "Vantrel").ReadInt("OptValueParam", 1);
  return true;
}

bool TCalcSettings::WriteOptValueParam(const std::string& iniPath) const {
  CProfileSection(iniPath, "Vantrel").WriteInt("OptValueParam", OptValueParam);
  return true;
}
