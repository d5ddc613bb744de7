#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace DL {

// A text field of a configuration record: at most 12 characters and a NUL.
constexpr int kConfigTextSize = 13;
// Copies text into a record's text field, cut to 12 characters.
void CopyConfigText(char (&field)[kConfigTextSize], const std::string& text);

// The key names that make an item of a portfolio risk configuration: a key
// that ends with one of them (after an item name and "_") belongs to that
// item. The last entry is empty and ends the table.
constexpr int kPortfolioRiskConfigKeyCount = 35;
extern const char* const PortfolioRiskConfigKeys[kPortfolioRiskConfigKeyCount + 1];

// Kinds of volatility slope, each read from VOLATILITYSLOPE_ and its name.
enum TVolatilitySlopeKind { kLongCall = 0, kShortCall = 1, kLongPut = 2, kShortPut = 3 };

// One spread setting: between two legs ("T1", "SPT", "FUT", ...) of the
// configurations named first and second.
struct TSpreadSetting {
  std::string FirstName;
  std::string SecondName;
  std::string FirstLeg;
  std::string SecondLeg;
  double Value = 100.0;
  double SecondValue = 100.0;
  int Number = -1;
};

using TSpreadTiers = std::map<std::string, int>;  // tier name -> days
using TSlopePoints = std::vector<std::pair<double, double>>;
using TVolatilitySlopes = std::map<int, TSlopePoints>;  // TVolatilitySlopeKind -> points

// One item of a portfolio risk configuration. Members named after an INI
// key hold that key; the initial values are the built-in defaults.
struct TPortfolioRiskConfig {
  char CONFIGNAME[kConfigTextSize] = "";
  char BOARDTAG[kConfigTextSize] = "EQTV";
  char CURRENCY[kConfigTextSize] = "SUR";
  char MAINBASEASSET[kConfigTextSize] = "";
  int LIMITKIND = 0;
  int PRICESCANRANGETYPE = 0;
  // PRICESCANRANGE goes to the first member for range type 0, to the second
  // for any other type; the member not used holds -1.0.
  double PRICESCANRANGE_TYPE0 = 100.0;
  double PRICESCANRANGE_OTHER = 0.0;
  int VOLATILITYTYPE = 0;
  int ORDERLIMITATIONMODE = 0;
  int IGNORENEARESTCONTRACTS = 0;
  double VOLATILITY = 100.0;
  double VOLATILITYCHANGE = 100.0;
  double RISKFREERATE = 100.0;
  int OPTIONDELTATYPE = 0;
  bool RESTRICTOPTIONORDERMARGIN = false;
  double BOUNDARYIMPLIEDRISK = 35.0;
  double MINSHORTOPTIONSIM = 100.0;
  double FUTURESLIQUIDITYFACTOR = 100.0;
  std::vector<TSpreadSetting> SPREADS;
  double KGO = 1.0;
  double ORDERKGO = 1.0;
  TSpreadTiers SPREADTIERS;
  TVolatilitySlopes VOLATILITYSLOPES;
  double RESTRICTMAXVOLATILITY = -1.0;
  bool USESPOTNETTING = false;
  double SPOTVARMARGINPOS = 0.0;
  double SPOTVARMARGINNEG = 0.0;
  double EXPIRATIONMATDATETERM = 1.0;
};

}  // namespace DL
