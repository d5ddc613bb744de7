#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dl/engine/board_tariffs.h"
#include "dl/engine/client_template_lists.h"
#include "dl/engine/portfolio_risk_configs.h"
#include "dl/engine/settings_engine_records.h"
#include "dl/store/board_groups.h"
#include "dl/store/client_comm_settings.h"
#include "dl/store/comm_scale.h"
#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"
#include "dl/store/margin_restrictions.h"
#include "dl/store/security_restrictions.h"

namespace DL {

// Everything the queries need from one broker settings text, read once in
// the constructor. Afterwards only the per-client caches, the board-group
// tables, the board-list reply and missing ADDNONMARGINALBOARD entries grow
// inside queries; the callers serialise all calls (the facade's mutex).
// Texts arguments are NUL-terminated; a null text gets the query's neutral
// answer. Pointers returned stay valid while the engine lives.
class TSettingsEngine {
 public:
  // Mode 1: source names a file; any other mode: source is the text.
  TSettingsEngine(const char* source, int mode);
  TSettingsEngine(const TSettingsEngine&) = delete;
  TSettingsEngine& operator=(const TSettingsEngine&) = delete;
  ~TSettingsEngine();

  // Flags and values.
  int GetClientCVal() const { return clientCVal; }
  bool GetCheckMaxCredit() const { return checkMaxCredit; }
  bool GetCheckMaxTotalCredit() const { return checkMaxTotalCredit; }
  bool GetLimitsInLots() const { return limitsInLots; }
  bool GetIgnoreRestShortSecurity() const { return ignoreRestShortSecurity; }
  bool GetIgnoreCoeffForMargin() const { return ignoreCoeffForMargin; }
  bool GetRestrictOpenPos() const { return rstrOpenPos; }
  bool GetSupportCValClients() const { return supportCValClients; }
  bool GetCorrectMaxTotalCredit() const { return correctMaxTotalCredit; }
  bool GetChangeSecLot() const { return changeSecLot; }
  bool GetNotUseZadolgMoneyForMargin() const { return notUseZadolgMoneyForMargin; }
  double GetClientMarketOrderPercent() const { return clientMarketOrderPercent; }
  bool GetIncludeAccruedInt() const { return includeAccruedInt; }
  double GetVat() const { return vat; }
  bool GetUseCommissionScale() const { return useCommissionScale; }
  bool GetUsePgo() const { return usePgo; }
  bool GetSupportMultiCurrency() const { return supportMultiCurrency; }
  bool GetRepoUseFaceValue() const { return repoUseFaceValue; }
  bool GetNoAddCommonSecTrdAcc() const { return noAddCommonSecTrdAcc; }
  bool GetEnableOptionsPerevorot() const { return enableOptionsPerevorot; }
  bool GetUseOnlyMoneyLimitForOldMargin() const { return useOnlyMoneyLimitForOldMargin; }
  bool GetChangeFutClientCodes() const { return changeFutClientCodes; }
  bool GetUseCValClientsForLimitKinds() const { return useCValClientsForLimitKinds; }
  bool GetExtendedSubClient() const { return extendedSubClient; }
  bool GetInvertCcpOperation() const { return invertCcpOperation; }
  void SetUserValue(std::uint32_t value) { userValue = value; }
  void ClearUserValue() { userValue = 0; }
  std::uint32_t GetUserValue() const { return userValue; }
  int EchoArgument(int value, std::uint32_t) const { return value; }

  // Lists and texts.
  const char* GetMainMarginClasses() const { return mainMarginClasses.c_str(); }
  const std::vector<TPortfolioSpreadOrderEntry>& GetPortfolioSpreadOrders() const {
    return portfolioRiskConfigs.SpreadOrder();
  }
  int ReservedQuery(int, double, std::uint32_t, std::uint32_t, std::uint32_t) const { return 0; }
  const std::vector<TTranOutTag>& GetTranOutTags() const { return tranOutTags; }
  const char* GetDiscountTrdAcc() const {
    return discountTrdAcc.empty() ? nullptr : discountTrdAcc.c_str();
  }
  const std::vector<int>& GetLimitKinds() const { return limitKinds; }
  const std::vector<std::string>& GetStopOrdersCalcLimitClassesFilter() const {
    return stopOrdersCalcLimitClassesFilter;
  }
  const std::map<std::string, std::vector<std::string>>& GetBoardTags() const {
    return boardTags;
  }

  // List tests.
  bool IsMainMarginClass(const char* code) const;
  bool IsReservePerevorotGoCode(const char* code) const;
  bool IsSpotClass(const char* code) const;
  bool IsMinTsCommClass(const char* code) const;
  bool IsBuySellRepoTsCommClass(const char* code) const;
  bool IsClassWithoutLimitKinds(const char* code) const;
  bool UseTsCommForTrade(const char* code) const;
  bool IsQuantityNotInLotsClass(const char* code) const;
  bool IsItemInCommaList(const char* item, const char* list) const;

  // Keyed lookups.
  int GetClientLag(const char* client) const;
  const TMarginalZadolgEntry* FindAddMarketMarginalZadolg(const char* key) const;
  int GetClassLimitKind(const char* code) const;
  const char* FindSecToBoard(const char* security) const;
  bool CheckAllowedSecurity(std::uint32_t, double, const char* key, const char* security,
                            std::uint32_t) const;
  const char* GetBaseAssetGroup(const char* name, const char* client) const;
  double GetBaseAssetCoefficient(const char* name, const char* client) const;
  const char* GetCommonTrdAccGroupName(const char* first, const char* second) const;
  bool IsSameCommonTrdAccGroup(const char* first1, const char* second1, const char* first2,
                               const char* second2) const;
  void GetClientTemplateLists(TClientTemplateList& list) const;
  // Adds an empty entry for a key that has none.
  const std::vector<std::string>* FindAddNonMarginalBoard(const char* key);
  bool IsInKeyedSet(const std::string& key, const std::string& item) const;
  const std::vector<std::string>* GetKeyedList(const std::string& key) const;

  // Client codes.
  bool IsMultiCurrencyClient(const char* client) const;
  const char* GetChangedClientCode(const char* code) const;
  const char* GetClientCodeFromChanged(const char* code) const;
  // The client code of the sub-client's sub-broker, or null.
  const char* ResolveSubClient(const std::string& code) const;

  TUserCommission GetUserCommissions(int user) const;
  const ABoardTariff* GetBoardTariff(const char* board) const;
  TPortfolioRiskConfig GetPortfolioRiskConfig(const char* config, const char* item) const;

  // Margin restrictions of a client at a leverage, for a limit kind.
  bool GetRstrNmBuy(const char* client, double leverage, int limitKind);
  bool GetRstrTransfer(const char* client, double leverage, int limitKind);
  bool GetShortMoneyToBuyLong(const char* client, double leverage, int limitKind);
  bool GetLongMoneyToSellShort(const char* client, double leverage, int limitKind);
  bool GetUseCorrelation(const char* client, double leverage, int limitKind);
  bool GetUseCommonTrdAcc(const char* client, double leverage, int limitKind);
  bool GetMarginUseOnlyMoneyLimitForOldMargin(const char* client, double leverage, int limitKind);
  int GetNegativeMoneyToShort(const char* client, double leverage, int limitKind,
                              const char* code);
  bool HasAssetLists(const char* client, double leverage, int limitKind);
  bool HasLimitAllowedLists(const char* client, double leverage, int limitKind);
  bool HasRestShortLists(const char* client, double leverage, int limitKind);
  bool IsAssetSecurity(const char* client, double leverage, const char* key,
                       const char* security, int limitKind);
  bool IsLimitAllowedSecurity(const char* client, double leverage, const char* key,
                              const char* security, int limitKind);
  bool IsRestShortSecurity(const char* client, double leverage, const char* key,
                           const char* security, int limitKind);
  const TCorrelationEntry* FindCorrelationByName(const char* name, const char* client,
                                                 double leverage, int limitKind);
  const TCorrelationEntry* FindCorrelationByCode(const char* code, const char* client,
                                                 double leverage, int limitKind);
  const TSecurityWeight* FindSecurityWeight(const char* client, double leverage,
                                            const char* security, int limitKind);
  std::vector<int> GetClientLimitKinds(const char* client, double leverage);
  std::vector<int> GetRecordLimitKinds(const char* client, double leverage, int limitKind);
  double GetIncludeClientsWithLeverage(const char* client, int limitKind, double value);
  std::vector<std::string> GetDiscountSecurities(const char* client, int limitKind,
                                                 double leverage);
  int GetUseDiscountsType(const char* client, const char* security, int limitKind,
                          double leverage);
  TSecurityDiscountResult GetSecurityDiscount(const char* client, const char* security,
                                              int limitKind, double leverage);
  // Writes the long, short, long minimum and short minimum coefficients.
  bool ComputeRestrictionCoefficient(const char* client, const char* security, int limitKind,
                                     double leverage, double percent, std::int64_t longOverride,
                                     std::int64_t shortOverride, double* coefficients);

  // Per-client settings. None of them changes a cached record.
  TClientCommSettings GetClientCommissionSettings(const char* client, const char* board);
  const TBoardGroup& GetClientBoardList(const char* board, const char* client);
  double GetCurrencyCoefficient(const char* client, const char* currency);
  const char* FindClientCurrencyEntry(const char* client, const char* currency);
  bool GetClientSecurityFlag(const char* client);
  const std::vector<std::string>* GetClientSecurityRecordTail(const char* client);
  bool IsClientBoardAllowed(const std::string& client, const std::string& board);
  bool CheckSecurityRestriction(const char* client, const char* key, const char* first,
                                const char* second);
  std::vector<std::string> FindSecurityRestriction(const char* client, const char* key);

  // The board tariffs, base assets and multi-currency lists as loaded.
  const TBoardTariffs& BoardTariffs() const { return boardTariffs; }
  const std::map<std::string, TBaseAssetTable>& BaseAssets() const { return baseAssets; }

 private:
  using TTextLists = std::map<std::string, std::vector<std::string>>;

  void ReadGeneralFlags();
  void ReadCurrencySection(const char* section, std::string& main,
                           std::map<std::string, double>& rates);
  void ReadClientLags();
  void ReadSecurityLists();
  void ReadCommonSecTrdAcc();
  void ReadClassLimitKinds();
  void ReadListSections();
  void ReadAddMultiCurrency();
  void ReadBaseAssets();
  void LoadUserCommissions();
  void LoadChangeFutClientCodes();
  void LoadSubBrokers();

  const TClientMarginRestrictions* MarginItem(const char* client, double leverage);
  // The record of the limit kind, else the general record; null when neither.
  const TMarginRestrictionRecord* MarginRecord(const char* client, double leverage,
                                               int limitKind);
  const TMarginRestrictionRecord* BrokerGeneralRecord() const;
  enum TSecurityListKind { kAssetList, kLimitAllowedList, kRestShortList };
  bool IsSecurityInLists(TSecurityListKind kind, const char* client, double leverage,
                         const char* key, const char* security, int limitKind);
  const TCorrelationEntry* FindCorrelation(bool byName, const char* text, const char* client,
                                           double leverage, int limitKind);
  const TCommonTrdAccMember* FindCommonTrdAccMember(const char* first, const char* second) const;
  const TBaseAssetEntry* FindBaseAsset(const char* name, const char* client) const;
  const TClientSecurityRestrictions* SecurityRestrictions(const char* client);
  const TTextLists& MultiCurrencyListsOf(const char* client);

  std::unique_ptr<TIniFile> ini;
  std::uint32_t userValue = 0;
  std::unique_ptr<TCacheOfClientSettings> clientSettingsCache;
  std::unique_ptr<TCacheOfCommScales> commScaleCache;
  std::unique_ptr<TaggedStringMap> boardGroupTables;
  TBoardGroup boardListReply;
  std::unique_ptr<TCacheOfSecurityRestrictions> securityRestrictionCache;
  std::unique_ptr<TCacheOfClientMarginRestrictions> marginRestrictionCache;
  TBoardTariffs boardTariffs;
  std::vector<TCommonTrdAccGroup> commonSecTrdAccGroups;
  std::vector<const TCommonTrdAccMember*> commonSecTrdAccIndex;
  std::vector<TCommonTrdAccMember> commonSecTrdAccMembers;
  bool noAddCommonSecTrdAcc = true;
  bool includeAccruedInt = false;
  double vat = 0.0;
  bool supportMultiCurrency = false;
  std::vector<std::string> clientsNoMultiCurrency;
  std::map<std::string, double> currencyRates;
  std::string mainCurrency;
  std::map<std::string, double> currencyRates2;
  std::string mainCurrency2;
  TTextLists addMultiCurrency;
  bool hasAddMultiCurrency = false;
  TRestrictionLists allowedSecurities;
  TRestrictionLists limitAllowedSecurities;
  TRestrictionLists assetSecurities;
  TRestrictionLists restShortSecurities;
  TRestrictionLists limitAllowedSecuritiesBySecurity;
  TRestrictionLists assetSecuritiesBySecurity;
  TRestrictionLists restShortSecuritiesBySecurity;
  TTextLists boardTags;
  std::vector<std::string> stopOrdersCalcLimitClassesFilter;
  bool hasAllowedSecurity = false;
  bool useCommissionScale = false;
  bool changeFutClientCodes = false;
  std::map<std::string, int> clientLags;
  std::map<std::string, int> clientLagMasks;
  int clientCVal = 1;
  bool rstrNmBuy = false;
  int negativeMoneyToShort = 0;
  std::vector<std::string> negativeMoneyToShortList;
  bool checkMaxCredit = false;
  bool checkMaxTotalCredit = false;
  bool limitsInLots = true;
  bool ignoreRestShortSecurity = false;
  bool ignoreCoeffForMargin = false;
  bool shortMoneyToBuyLong = false;
  bool longMoneyToSellShort = false;
  bool rstrOpenPos = false;
  bool supportCValClients = false;
  bool notUseZadolgMoneyForMargin = false;
  bool correctMaxTotalCredit = false;
  bool changeSecLot = false;
  double clientMarketOrderPercent = 0.0;
  std::string mainMarginClasses;
  bool useTsCommForTrade = false;
  std::vector<std::string> ignoreTsCommForTrade;
  std::vector<std::string> minTsCommClasses;
  std::vector<std::string> ignoreMinTsCommForClasses;
  std::string buySellRepoTsCommClasses;
  bool repoUseFaceValue = false;
  bool useCValClientsForLimitKinds = false;
  bool invertCcpOperation = true;
  bool useOnlyMoneyLimitForOldMargin = false;
  std::vector<TTranOutTag> tranOutTags;
  bool enableOptionsPerevorot = false;
  std::map<std::string, TMarginalZadolgEntry> addMarketMarginalZadolg;
  bool usePgo = false;
  TPortfolioRiskConfigs portfolioRiskConfigs;
  std::map<std::string, TBaseAssetTable> baseAssets;
  std::map<std::string, std::string> addZadolgBoards;
  TTextLists addRepoBoards;
  std::map<int, TUserCommission> userCommissions;
  std::map<std::string, std::string> changedClientCodes;
  std::map<std::string, std::string> reverseClientCodes;
  std::vector<std::string> reservePerevorotGo;
  std::vector<std::string> spotClasses;
  TTextLists secToBoard;
  std::vector<std::string> currBoards;
  std::vector<std::string> quantityNotInLotsClasses;
  TTextLists addNonMarginalBoards;
  TClientTemplateLists clientTemplateLists;
  std::map<std::string, int> classToLimitKind;
  std::vector<std::string> classesWithoutLimitKinds;
  std::string discountTrdAcc;
  std::vector<int> limitKinds;
  bool extendedSubClient = false;
  bool subBrokerGenerateClient = false;
  char addSubClientDelimiter = '\0';
  // Client code -> the value of its SubBrokers line; sub-client code -> the
  // client code (the key of its subBrokers entry).
  std::map<std::string, std::string> subBrokers;
  std::map<std::string, std::string> subBrokerClients;
};

}  // namespace DL
