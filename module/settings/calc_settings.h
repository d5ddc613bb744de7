#pragma once

#include <string>

// Calculation settings (section "Vantrel" of info.ini).
class TCalcSettings {
 public:
  TCalcSettings();

  // info.ini path in; both return true.
  bool ReadOptValueParam(const std::string& iniPath);
  bool WriteOptValueParam(const std::string& iniPath) const;

  // Which option value the risk formulas use.
  int OptValueParam;
};
