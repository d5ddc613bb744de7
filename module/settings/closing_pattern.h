#pragma once

#include <string>

// One closing pattern: which risk-table columns decide that a client's
// positions are closed, and down to which margin level.
class TClosingPattern {
 public:
  TClosingPattern();

  // Reads and writes section sectionName ("ClPattern1", ...) of info.ini.
  // The reader converts the old variation-margin keys once.
  void ReadClosingPattern(const std::string& iniPath, const std::string& sectionName);
  void WriteClosingPattern(const std::string& iniPath, const std::string& sectionName) const;

  std::string PatternName;
  int ParamIdx;
  double BoundaryValue;
  bool NotMoreThanPlanned;
  int ParamIdx2;
  double MinMarginLvl;
  double MinMarginForQualClients;
  int UseVarMargin;
  bool ConsiderQualClient;
  bool ActWithoutSpotPos;
  // Set by the closing settings dialog on a pattern the user deleted, so the
  // indices of the others do not move while it runs; never stored.
  bool Deleted;
};
