// The engine's constructor: every setting of the text, read in a fixed order.
#include <algorithm>

#include "dl/engine/settings_engine.h"
#include "dl/store/number_text.h"
#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

const char kMinTsCommClassesDefault[] =
    "EQBR,EQNS,EQNL,EQBS,EQNE,EQNB,EQOB,EQOS,EQNO,EQLV,EQLI,EQOV,EQQI,PSEQ,PSES,PSNE,PSNL,PSI2,"
    "PSLV,PSLI,PSQI,EQDB,PSNB,PSNO,PSOB,PSOS,PSOV,PSDB,EQEU,PSEU,SMAL,EQDP,OQQI,PSQI_BND,GAZP,"
    "AUCT,AUBB,AUCT_BND,PSAU,PSBB,PSSU,EQUS,PSUS,EQDE,PSDE,EQRP,EQRP_BND,PSRP,PSRP_BND,PSTN,"
    "PSTN_BND,TQBR,TQBS,TQLV,TQLI,TQNE,TQQI,TQNL,TQOB,TQOS,TQNO,TQOV,TQNB,TQUS,TQEU,PTEQ,PTES,"
    "PTNL,PTLV,PTLI,PTNE,PTQI,PTOB,PTOS,PTNO,PTOV,PTNB,PTUS,PTEU";

const char kMainMarginClassesDefault[] =
    "EQBR,EQNS,EQNL,EQBS,EQNE,EQNB,EQOB,EQOS,EQNO,EQLV,EQLI,EQOV,TQBR,TQBS,TQLV,TQLI,TQNE,TQQI,"
    "TQNL,TQOB,TQOS,TQNO,TQOV,TQNB,TQUS,TQEU,MAIN,GAZ,GTS,SPBSPT,SPBFUT,SPBOPT,CETS";

const char kSecurityPrefix[] = "SECURITY_";

std::string WithoutSpaces(std::string text) {
  RemoveSpaces(text);
  return text;
}

std::vector<std::string> SplitWithoutSpaces(const std::string& text) {
  return SplitCommaList(WithoutSpaces(text));
}

TRestrictionList MakeRestrictionList(const std::string& value) {
  TRestrictionList list;
  if (value == "<ALL>") {
    list.All = true;
  } else {
    list.Items = SplitCommaList(value);
  }
  return list;
}

void AppendKeys(const TIniSection& section, std::vector<std::string>& list) {
  for (const auto& entry : section) list.push_back(entry.first);
}

void Append(std::vector<std::string>& list, std::vector<std::string> items) {
  list.insert(list.end(), std::make_move_iterator(items.begin()),
              std::make_move_iterator(items.end()));
}

}  // namespace

TSettingsEngine::TSettingsEngine(const char* source, int mode)
    : ini(new TIniFile(source, mode, ';', 1)) {
  extendedSubClient = ini->ReadBool("General", "ExtendedSubClient", false);
  subBrokerGenerateClient = ini->ReadBool("General", "SubBrokerGenerateClient", false);
  addSubClientDelimiter = ini->ReadChar("General", "AddSubClientDelimiter", '\0');
  useTsCommForTrade = ini->ReadBool("GENERAL", "USETSCOMMFORTRADE", false);
  ignoreTsCommForTrade = SplitWithoutSpaces(ini->ReadString("GENERAL", "IGNORETSCOMMFORTRADE", ""));
  minTsCommClasses =
      SplitWithoutSpaces(ini->ReadString("GENERAL", "MINTSCOMMCLASSES", kMinTsCommClassesDefault));
  ignoreMinTsCommForClasses =
      SplitWithoutSpaces(ini->ReadString("GENERAL", "IGNOREMINTSCOMMFORCLASSES", ""));
  boardTariffs.Build(*ini, minTsCommClasses, ignoreMinTsCommForClasses);
  includeAccruedInt = ini->ReadInteger("COMMISSION", "INCLUDEACCRUEDINT", 0) == 1;
  vat = ini->ReadFloat("COMMISSION", "VAT", 0.0);
  supportMultiCurrency = ini->ReadInteger("GENERAL", "SUPPORTMULTICURRENCY", 0) != 0;
  if (supportMultiCurrency)
    AppendKeys(ini->ReadSection("CLIENTSNOMULTICURRENCY"), clientsNoMultiCurrency);
  ReadCurrencySection("CURRENCY", mainCurrency, currencyRates);
  ReadCurrencySection("CURRENCY2", mainCurrency2, currencyRates2);
  useCommissionScale = ini->ReadInteger("GENERAL", "USECOMMISSIONSCALE", 0) != 0;
  clientTemplateLists.Read(*ini);

  clientSettingsCache = std::make_unique<TCacheOfClientSettings>(ini.get());
  commScaleCache = std::make_unique<TCacheOfCommScales>(ini.get());
  boardGroupTables = std::make_unique<TaggedStringMap>(ini.get());
  marginRestrictionCache = std::make_unique<TCacheOfClientMarginRestrictions>(ini.get());
  securityRestrictionCache = std::make_unique<TCacheOfSecurityRestrictions>(ini.get());

  ReadClientLags();
  ReadGeneralFlags();
  portfolioRiskConfigs.LoadPortfolioRiskConfigs(*ini);
  ReadSecurityLists();
  ReadBaseAssets();
  for (const auto& [key, value] : ini->ReadSection("ADDZADOLGBOARDS")) addZadolgBoards[key] = value;
  LoadUserCommissions();
  ReadAddMultiCurrency();
  LoadChangeFutClientCodes();
  ReadListSections();
  ReadClassLimitKinds();
  LoadSubBrokers();
}

// The reader goes first; the caches never read it while they are destroyed.
TSettingsEngine::~TSettingsEngine() { ini.reset(); }

void TSettingsEngine::ReadCurrencySection(const char* section, std::string& main,
                                          std::map<std::string, double>& rates) {
  for (const auto& [key, value] : ini->ReadSection(section)) {
    if (key == "MAIN") {
      main = value;
    } else {
      rates[key] = TextToDouble(value);
    }
  }
}

void TSettingsEngine::ReadClientLags() {
  clientLags.emplace("DEFAULT", ini->ReadInteger("GENERAL", "CREDITLAG", 1));
  for (const auto& [key, value] : ini->ReadSection("CLIENTLAG")) {
    if (key.empty() || key == "*") continue;
    const int lag = TextToInt(value);
    if (key.back() == '*') {
      clientLagMasks.emplace(key.substr(0, key.size() - 1), lag);
    } else {
      clientLags.emplace(key, lag);
    }
  }
}

void TSettingsEngine::ReadGeneralFlags() {
  auto flag = [this](const char* key, int defaultValue) {
    return ini->ReadInteger("GENERAL", key, defaultValue) != 0;
  };
  clientCVal = ini->ReadInteger("GENERAL", "CLIENTCVAL", 1);
  rstrNmBuy = flag("RSTRNMBUY", 0);
  checkMaxCredit = flag("CHECKMAXCREDIT", 0);
  checkMaxTotalCredit = flag("CHECKMAXTOTALCREDIT", 0);
  notUseZadolgMoneyForMargin = flag("NOTUSEZADOLGMONEYFORMARGIN", 0);
  limitsInLots = flag("LIMITSINLOTS", 1);
  ignoreRestShortSecurity = flag("IGNORERESTSHORTSECURITY", 0);
  ignoreCoeffForMargin = flag("IGNORECOEFFORMARGIN", 0);
  shortMoneyToBuyLong = flag("SHORTMONEYTOBUYLONG", 0);
  longMoneyToSellShort = flag("LONGMONEYTOSELLSHORT", 0);
  rstrOpenPos = flag("RSTROPENPOS", 0);
  supportCValClients = flag("SUPPORTCVALCLIENTS", 0);
  correctMaxTotalCredit = flag("CORRECTMAXTOTALCREDIT", 0);
  changeSecLot = flag("CHANGESECLOT", 0);
  clientMarketOrderPercent = ini->ReadFloat("GENERAL", "CLIENTMARKETORDERPERCENT", 0.0);
  repoUseFaceValue = ini->ReadInteger("COMMISSION", "REPOUSEFACEVALUE", 0) != 0;
  useCValClientsForLimitKinds = flag("USECVALCLIENTSFORLIMITKINDS", 0);
  invertCcpOperation = ini->ReadBool("GENERAL", "INVERTCCPOPERATION", true);
  negativeMoneyToShort = NormalizeLimitKind(ini->ReadInteger("GENERAL", "NEGATIVEMONEYTOSHORT", 0));
  negativeMoneyToShortList = SplitCommaList(ini->ReadString("GENERAL", "NEGATIVEMONEYTOSHORT", ""));
  stopOrdersCalcLimitClassesFilter =
      SplitCommaList(ini->ReadString("GENERAL", "STOPORDERSCALCLIMITCLASSESFILTER", ""));
  useOnlyMoneyLimitForOldMargin = flag("USEONLYMONEYLIMITFOROLDMARGIN", 0);
  enableOptionsPerevorot = flag("ENABLEOPTIONSPEREVOROT", 0);
  mainMarginClasses =
      WithoutSpaces(ini->ReadString("GENERAL", "MAINMARGINCLASSES", kMainMarginClassesDefault));
  buySellRepoTsCommClasses =
      WithoutSpaces(ini->ReadString("GENERAL", "BUYSELLREPOTSCOMMCLASSES", "RPMA,RPMO"));
  discountTrdAcc = WithoutSpaces(ini->ReadString("GENERAL", "DISCOUNTTRDACC", ""));
  usePgo = flag("USEPGO", 0);
  changeFutClientCodes = flag("CHANGEFUTCLIENTCODES", 0);
}

void TSettingsEngine::ReadSecurityLists() {
  for (const auto& [key, value] : ini->ReadSection("ADDNONMARGINALBOARD"))
    addNonMarginalBoards[key] = SplitCommaList(value);
  for (const auto& [key, value] : ini->ReadSection("BOARDTAG"))
    boardTags[key] = SplitCommaList(value);

  auto readKeyedLists = [this](const char* section, TRestrictionLists& byKey,
                               TRestrictionLists& bySecurity) {
    const std::size_t prefixLength = sizeof kSecurityPrefix - 1;
    for (const auto& [key, value] : ini->ReadSection(section)) {
      if (key.compare(0, prefixLength, kSecurityPrefix) == 0) {
        bySecurity[key.substr(prefixLength)] = MakeRestrictionList(value);
      } else {
        byKey[key] = MakeRestrictionList(value);
      }
    }
  };
  readKeyedLists("LIMITALLOWEDSECURITY", limitAllowedSecurities, limitAllowedSecuritiesBySecurity);
  for (const auto& [key, value] : ini->ReadSection("TRANOUTTAG")) {
    const std::vector<std::string> items = SplitCommaList(value);
    for (std::size_t i = 0; i < items.size(); i += 2) {
      const bool hasCurrency = i + 1 < items.size() && !items[i + 1].empty();
      tranOutTags.push_back(TTranOutTag{key, items[i], hasCurrency ? items[i + 1] : "SUR"});
    }
  }
  hasAllowedSecurity = false;
  for (const auto& [key, value] : ini->ReadSection("ALLOWEDSECURITY")) {
    hasAllowedSecurity = true;
    allowedSecurities[key] = MakeRestrictionList(value);
  }
  readKeyedLists("ASSETSECURITIES", assetSecurities, assetSecuritiesBySecurity);
  readKeyedLists("RESTSHORTSECURITIES", restShortSecurities, restShortSecuritiesBySecurity);
}

void TSettingsEngine::ReadCommonSecTrdAcc() {
  noAddCommonSecTrdAcc = true;
  for (const auto& entry : ini->ReadSection("ADDCOMMONSECTRDACC")) {
    const std::string& key = entry.first;
    const std::string& value = entry.second;
    noAddCommonSecTrdAcc = false;
    const bool known = std::any_of(commonSecTrdAccGroups.begin(), commonSecTrdAccGroups.end(),
                                   [&](const TCommonTrdAccGroup& g) { return g.Name == value; });
    if (!known) commonSecTrdAccGroups.push_back(TCommonTrdAccGroup{value, {}});
    // A key with fewer than two parts leaves the missing parts empty.
    std::vector<std::string> parts = SplitCommaList(key);
    parts.resize(std::max<std::size_t>(parts.size(), 2));
    commonSecTrdAccMembers.push_back(TCommonTrdAccMember{nullptr, parts[0], parts[1], value});
  }
  // Linked only now: the lists do not move any more.
  for (TCommonTrdAccGroup& group : commonSecTrdAccGroups) {
    for (TCommonTrdAccMember& member : commonSecTrdAccMembers) {
      if (member.GroupName != group.Name) continue;
      member.Group = &group;
      group.Members.push_back(&member);
    }
  }
  for (const TCommonTrdAccMember& member : commonSecTrdAccMembers)
    commonSecTrdAccIndex.push_back(&member);
}

void TSettingsEngine::ReadListSections() {
  for (const auto& [key, value] : ini->ReadSection("ADDREPOBOARDS")) {
    auto inserted = addRepoBoards.emplace(key, SplitCommaList(value));
    std::sort(inserted.first->second.begin(), inserted.first->second.end());
  }
  for (const auto& [key, value] : ini->ReadSection("SECTOBOARD"))
    secToBoard[key] = SplitCommaList(value);
  ReadCommonSecTrdAcc();
  Append(reservePerevorotGo, SplitCommaList(ini->ReadString("GENERAL", "RESERVEPEREVOROTGO", "")));
  AppendKeys(ini->ReadSection("CURRBOARDS"), currBoards);
  AppendKeys(ini->ReadSection("QUANTITYNOTINLOTSCLASSES"), quantityNotInLotsClasses);
  Append(spotClasses, SplitCommaList(ini->ReadString("GENERAL", "SPOTCLASSES", "")));
  for (const auto& [key, value] : ini->ReadSection("ADDMARKETMARGINALZADOLG")) {
    const std::vector<std::string> items = SplitCommaList(value);
    TMarginalZadolgEntry& entry = addMarketMarginalZadolg[key];
    for (std::size_t i = 0; i < entry.size() && i < items.size(); ++i) entry[i] = items[i];
  }
}

void TSettingsEngine::ReadClassLimitKinds() {
  AppendKeys(ini->ReadSection("CLASSESWITHOUTLIMITKINDS"), classesWithoutLimitKinds);
  std::sort(classesWithoutLimitKinds.begin(), classesWithoutLimitKinds.end());
  for (const auto& [key, value] : ini->ReadSection("CLASSTOLIMITKIND")) {
    const int kind = TextToInt(key);
    for (const std::string& code : SplitCommaList(value)) classToLimitKind.emplace(code, kind);
  }
  limitKinds = ini->AllLimitKinds();
}

}  // namespace DL
