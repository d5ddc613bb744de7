#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dl/engine/board_tariff.h"
#include "dl/engine/portfolio_risk_config.h"
#include "dl/engine/portfolio_risk_configs.h"
#include "dl/engine/settings_engine_records.h"
#include "dl/store/board_groups.h"
#include "dl/store/client_comm_settings.h"
#include "dl/store/margin_restrictions.h"

namespace DL {

class TSettingsFacadeBody;

// The one public entry to the broker settings library: built over one
// settings text, it answers queries about it, each serialised through the
// facade's mutex when locking is enabled. Construction never fails visibly:
// an unreadable text answers from the defaults. Text arguments are
// NUL-terminated code page 1251 strings; a null text gets the neutral
// answer of its query. Pointers returned stay valid until the facade is
// destroyed or reloaded; the caller never frees them.
class TSettingsFacade {
 public:
  // Mode 1: source names a file; any other mode: source is the text itself.
  TSettingsFacade(const char* source, std::uint32_t mode, bool lockingEnabled);
  TSettingsFacade(const TSettingsFacade&) = delete;
  TSettingsFacade& operator=(const TSettingsFacade&) = delete;
  ~TSettingsFacade();

  // Lifecycle and locking.
  bool Reload(const char* source, std::uint32_t mode);
  bool Lock();
  bool Unlock();
  bool SetUserValue(std::uint32_t value);
  bool ClearUserValue();

  // Settings flags and values.
  int GetClientCVal();
  bool GetCheckMaxCredit();
  bool GetCheckMaxTotalCredit();
  bool GetLimitsInLots();
  bool GetIgnoreRestShortSecurity();
  bool GetIgnoreCoeffForMargin();
  bool GetRestrictOpenPos();
  bool GetSupportCValClients();
  bool GetCorrectMaxTotalCredit();
  bool GetChangeSecLot();
  bool GetNotUseZadolgMoneyForMargin();
  double GetClientMarketOrderPercent();
  bool GetIncludeAccruedInt();
  double GetVat();
  bool GetUseCommissionScale();
  bool GetUsePgo();
  bool GetSupportMultiCurrency();
  bool GetRepoUseFaceValue();
  bool GetNoAddCommonSecTrdAcc();
  bool GetEnableOptionsPerevorot();
  bool GetUseOnlyMoneyLimitForOldMargin();
  bool GetChangeFutClientCodes();
  bool GetUseCValClientsForLimitKinds();
  bool GetExtendedSubClient();

  // Lists and texts held by the engine.
  const char* GetMainMarginClasses();
  const std::vector<TPortfolioSpreadOrderEntry>* GetPortfolioSpreadOrders();
  int ReservedQuery(int a, double b, std::uint32_t c, std::uint32_t d, std::uint32_t e);
  const std::vector<TTranOutTag>* GetTranOutTags();
  const char* GetDiscountTrdAcc();
  std::vector<int> GetLimitKinds();
  std::vector<std::string> GetStopOrdersCalcLimitClassesFilter();
  std::map<std::string, std::vector<std::string>> GetBoardTags();

  // Membership tests.
  bool IsMainMarginClass(const char* code);
  bool IsReservePerevorotGoCode(const char* code);
  bool IsSpotClass(const char* code);
  bool IsMinTsCommClass(const char* code);
  bool IsBuySellRepoTsCommClass(const char* code);
  bool IsClassWithoutLimitKinds(const char* code);
  bool UseTsCommForTrade(const char* code);
  bool IsInKeyedSet(const char* key, const char* member);
  const std::vector<std::string>* GetKeyedList(const char* key);

  // Keyed lookups.
  int GetClientLag(const char* client);
  const TMarginalZadolgEntry* FindAddMarketMarginalZadolg(const char* key);
  const char* GetBaseAssetGroup(const char* name, const char* client);
  double GetBaseAssetCoefficient(const char* name, const char* client);
  bool IsItemInCommaList(const char* item, const char* list);
  bool CheckAllowedSecurity(std::uint32_t a, double b, const char* key, const char* security,
                            std::uint32_t c);
  const char* FindSecToBoard(const char* security);
  bool IsQuantityNotInLotsClass(const char* code);
  bool IsSameCommonTrdAccGroup(const char* first1, const char* second1, const char* first2,
                               const char* second2);
  const char* GetCommonTrdAccGroupName(const char* first, const char* second);
  const std::vector<std::string>* FindAddNonMarginalBoard(const char* key);
  int GetClassLimitKind(const char* code);

  // Client code translation. ResolveSubClient answers the client code of
  // the sub-client's sub-broker, or null.
  bool IsMultiCurrencyClient(const char* client);
  const char* GetChangedClientCode(const char* client);
  const char* GetClientCodeFromChanged(const char* changed);
  const char* ResolveSubClient(const char* subClient);

  // Margin restrictions of a client at a leverage, for a limit kind.
  bool GetRstrNmBuy(const char* client, double leverage, int limitKind);
  bool GetRstrTransfer(const char* client, double leverage, int limitKind);
  int GetNegativeMoneyToShort(const char* client, double leverage, int limitKind,
                              const char* code);
  bool GetShortMoneyToBuyLong(const char* client, double leverage, int limitKind);
  bool GetLongMoneyToSellShort(const char* client, double leverage, int limitKind);
  bool GetUseCorrelation(const char* client, double leverage, int limitKind);
  bool GetUseCommonTrdAcc(const char* client, double leverage, int limitKind);
  bool IsAssetSecurity(const char* client, double leverage, const char* key, const char* security,
                       int limitKind);
  bool IsLimitAllowedSecurity(const char* client, double leverage, const char* key,
                              const char* security, int limitKind);
  bool IsRestShortSecurity(const char* client, double leverage, const char* key,
                           const char* security, int limitKind);
  const TCorrelationEntry* FindCorrelationByName(const char* name, const char* client,
                                                 double leverage, int limitKind);
  const TCorrelationEntry* FindCorrelationByCode(const char* code, const char* client,
                                                 double leverage, int limitKind);
  bool GetMarginUseOnlyMoneyLimitForOldMargin(const char* client, double leverage, int limitKind);
  const TSecurityWeight* FindSecurityWeight(const char* client, double leverage,
                                            const char* security, int limitKind);
  bool HasAssetLists(const char* client, double leverage, int limitKind);
  bool HasLimitAllowedLists(const char* client, double leverage, int limitKind);
  bool HasRestShortLists(const char* client, double leverage, int limitKind);
  int GetUseDiscountsType(const char* client, const char* security, int limitKind,
                          double leverage);
  bool ComputeRestrictionCoefficient(const char* client, const char* security, int limitKind,
                                     double leverage, double percent, std::int64_t longOverride,
                                     std::int64_t shortOverride, double* coefficients);
  double GetIncludeClientsWithLeverage(const char* client, int limitKind, double value);
  std::vector<int> GetRecordLimitKinds(const char* client, double leverage, int limitKind);
  std::vector<int> GetClientLimitKinds(const char* client, double leverage);
  std::vector<std::string> GetDiscountSecurities(const char* client, int limitKind,
                                                 double leverage);

  // Client settings and security restrictions.
  bool CheckSecurityRestriction(const char* client, const char* key, const char* first,
                                const char* second);
  const char* FindClientCurrencyEntry(const char* client, const char* name);
  double GetCurrencyCoefficient(const char* client, const char* currency);
  bool GetClientSecurityFlag(const char* client);
  const std::vector<std::string>* GetClientSecurityRecordTail(const char* client);
  bool IsClientBoardAllowed(const char* client, const char* board);
  std::vector<std::string> FindSecurityRestriction(const char* client, const char* key);
  TBoardGroup GetClientBoardList(const char* board, const char* client);
  TClientCommSettings GetClientCommissionSettings(const char* client, const char* board);

  // Tariffs and user commissions.
  const ABoardTariff* GetBoardTariff(const char* board);
  TUserCommission GetUserCommissions(int user);

  // Client template lists and portfolio risk.
  bool GetClientTemplateLists(TClientTemplateList& list);
  // A null or empty name stands for DEFAULT.
  TPortfolioRiskConfig GetPortfolioRiskConfig(const char* config, const char* item);

 private:
  std::unique_ptr<TSettingsFacadeBody> body_;
};

}  // namespace DL
