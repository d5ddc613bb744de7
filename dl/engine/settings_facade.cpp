#include "dl/engine/settings_facade.h"

#include "dl/engine/locked_settings_engine.h"

namespace DL {

// The heap part of the facade: it owns the locked engine.
class TSettingsFacadeBody {
 public:
  TSettingsFacadeBody(const char* source, std::uint32_t mode, bool lockingEnabled)
      : locked(std::make_unique<TLockedSettingsEngine>(source, mode, lockingEnabled)) {}

  TLockedSettingsEngine& Locked() { return *locked; }

 private:
  std::unique_ptr<TLockedSettingsEngine> locked;
};

namespace {

bool IsEmpty(const char* text) { return text == nullptr || *text == '\0'; }

}  // namespace

TSettingsFacade::TSettingsFacade(const char* source, std::uint32_t mode, bool lockingEnabled)
    : body_(std::make_unique<TSettingsFacadeBody>(source, mode, lockingEnabled)) {}

TSettingsFacade::~TSettingsFacade() = default;

bool TSettingsFacade::Reload(const char* source, std::uint32_t mode) {
  return body_->Locked().Reload(source, mode);
}

bool TSettingsFacade::Lock() { return body_->Locked().Lock(); }

bool TSettingsFacade::Unlock() { return body_->Locked().Unlock(); }

bool TSettingsFacade::SetUserValue(std::uint32_t value) {
  return body_->Locked().SetUserValue(value);
}

bool TSettingsFacade::ClearUserValue() { return body_->Locked().ClearUserValue(); }

int TSettingsFacade::GetClientCVal() {
  return body_->Locked().Call([](TSettingsEngine& e) -> int { return e.GetClientCVal(); });
}

bool TSettingsFacade::GetCheckMaxCredit() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetCheckMaxCredit(); });
}

bool TSettingsFacade::GetCheckMaxTotalCredit() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetCheckMaxTotalCredit(); });
}

bool TSettingsFacade::GetLimitsInLots() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetLimitsInLots(); });
}

bool TSettingsFacade::GetIgnoreRestShortSecurity() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetIgnoreRestShortSecurity(); });
}

bool TSettingsFacade::GetIgnoreCoeffForMargin() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetIgnoreCoeffForMargin(); });
}

bool TSettingsFacade::GetRestrictOpenPos() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetRestrictOpenPos(); });
}

bool TSettingsFacade::GetSupportCValClients() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetSupportCValClients(); });
}

bool TSettingsFacade::GetCorrectMaxTotalCredit() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetCorrectMaxTotalCredit(); });
}

bool TSettingsFacade::GetChangeSecLot() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetChangeSecLot(); });
}

bool TSettingsFacade::GetNotUseZadolgMoneyForMargin() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetNotUseZadolgMoneyForMargin(); });
}

double TSettingsFacade::GetClientMarketOrderPercent() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> double { return e.GetClientMarketOrderPercent(); });
}

bool TSettingsFacade::GetIncludeAccruedInt() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetIncludeAccruedInt(); });
}

double TSettingsFacade::GetVat() {
  return body_->Locked().Call([](TSettingsEngine& e) -> double { return e.GetVat(); });
}

bool TSettingsFacade::GetUseCommissionScale() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetUseCommissionScale(); });
}

bool TSettingsFacade::GetUsePgo() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetUsePgo(); });
}

bool TSettingsFacade::GetSupportMultiCurrency() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetSupportMultiCurrency(); });
}

bool TSettingsFacade::GetRepoUseFaceValue() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetRepoUseFaceValue(); });
}

bool TSettingsFacade::GetNoAddCommonSecTrdAcc() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetNoAddCommonSecTrdAcc(); });
}

bool TSettingsFacade::GetEnableOptionsPerevorot() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetEnableOptionsPerevorot(); });
}

bool TSettingsFacade::GetUseOnlyMoneyLimitForOldMargin() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetUseOnlyMoneyLimitForOldMargin(); });
}

bool TSettingsFacade::GetChangeFutClientCodes() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetChangeFutClientCodes(); });
}

bool TSettingsFacade::GetUseCValClientsForLimitKinds() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> bool { return e.GetUseCValClientsForLimitKinds(); });
}

bool TSettingsFacade::GetExtendedSubClient() {
  return body_->Locked().Call([](TSettingsEngine& e) -> bool { return e.GetExtendedSubClient(); });
}

const char* TSettingsFacade::GetMainMarginClasses() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> const char* { return e.GetMainMarginClasses(); });
}

const char* TSettingsFacade::GetDiscountTrdAcc() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> const char* { return e.GetDiscountTrdAcc(); });
}

const std::vector<TPortfolioSpreadOrderEntry>* TSettingsFacade::GetPortfolioSpreadOrders() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> const std::vector<TPortfolioSpreadOrderEntry>* {
        return &e.GetPortfolioSpreadOrders();
      });
}

int TSettingsFacade::ReservedQuery(int a, double b, std::uint32_t c, std::uint32_t d,
                                   std::uint32_t e2) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> int { return e.ReservedQuery(a, b, c, d, e2); });
}

const std::vector<TTranOutTag>* TSettingsFacade::GetTranOutTags() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> const std::vector<TTranOutTag>* { return &e.GetTranOutTags(); });
}

std::vector<std::string> TSettingsFacade::GetStopOrdersCalcLimitClassesFilter() {
  return body_->Locked().Call([](TSettingsEngine& e) -> std::vector<std::string> {
    return e.GetStopOrdersCalcLimitClassesFilter();
  });
}

std::map<std::string, std::vector<std::string>> TSettingsFacade::GetBoardTags() {
  return body_->Locked().Call(
      [](TSettingsEngine& e) -> std::map<std::string, std::vector<std::string>> {
        return e.GetBoardTags();
      });
}

bool TSettingsFacade::IsMainMarginClass(const char* code) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.IsMainMarginClass(code); });
}

bool TSettingsFacade::IsReservePerevorotGoCode(const char* code) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.IsReservePerevorotGoCode(code); });
}

bool TSettingsFacade::IsSpotClass(const char* code) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool { return e.IsSpotClass(code); });
}

bool TSettingsFacade::IsMinTsCommClass(const char* code) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool { return e.IsMinTsCommClass(code); });
}

bool TSettingsFacade::IsBuySellRepoTsCommClass(const char* code) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.IsBuySellRepoTsCommClass(code); });
}

bool TSettingsFacade::IsClassWithoutLimitKinds(const char* code) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.IsClassWithoutLimitKinds(code); });
}

bool TSettingsFacade::UseTsCommForTrade(const char* code) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.UseTsCommForTrade(code); });
}

int TSettingsFacade::GetClientLag(const char* client) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> int { return e.GetClientLag(client); });
}

const TMarginalZadolgEntry* TSettingsFacade::FindAddMarketMarginalZadolg(const char* key) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> const TMarginalZadolgEntry* {
    return e.FindAddMarketMarginalZadolg(key);
  });
}

const char* TSettingsFacade::GetBaseAssetGroup(const char* name, const char* client) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> const char* { return e.GetBaseAssetGroup(name, client); });
}

double TSettingsFacade::GetBaseAssetCoefficient(const char* name, const char* client) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> double { return e.GetBaseAssetCoefficient(name, client); });
}

bool TSettingsFacade::IsItemInCommaList(const char* item, const char* list) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.IsItemInCommaList(item, list); });
}

bool TSettingsFacade::CheckAllowedSecurity(std::uint32_t a, double b, const char* key,
                                           const char* security, std::uint32_t c) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.CheckAllowedSecurity(a, b, key, security, c); });
}

const char* TSettingsFacade::FindSecToBoard(const char* security) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> const char* { return e.FindSecToBoard(security); });
}

bool TSettingsFacade::IsQuantityNotInLotsClass(const char* code) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.IsQuantityNotInLotsClass(code); });
}

bool TSettingsFacade::IsSameCommonTrdAccGroup(const char* first1, const char* second1,
                                              const char* first2, const char* second2) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.IsSameCommonTrdAccGroup(first1, second1, first2, second2);
  });
}

const char* TSettingsFacade::GetCommonTrdAccGroupName(const char* first, const char* second) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> const char* { return e.GetCommonTrdAccGroupName(first, second); });
}

const std::vector<std::string>* TSettingsFacade::FindAddNonMarginalBoard(const char* key) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> const std::vector<std::string>* {
    return e.FindAddNonMarginalBoard(key);
  });
}

int TSettingsFacade::GetClassLimitKind(const char* code) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> int { return e.GetClassLimitKind(code); });
}

bool TSettingsFacade::IsMultiCurrencyClient(const char* client) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.IsMultiCurrencyClient(client); });
}

const char* TSettingsFacade::GetChangedClientCode(const char* client) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> const char* { return e.GetChangedClientCode(client); });
}

const char* TSettingsFacade::GetClientCodeFromChanged(const char* changed) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> const char* { return e.GetClientCodeFromChanged(changed); });
}

bool TSettingsFacade::GetRstrNmBuy(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.GetRstrNmBuy(client, leverage, limitKind); });
}

bool TSettingsFacade::GetRstrTransfer(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.GetRstrTransfer(client, leverage, limitKind); });
}

int TSettingsFacade::GetNegativeMoneyToShort(const char* client, double leverage, int limitKind,
                                             const char* code) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> int {
    return e.GetNegativeMoneyToShort(client, leverage, limitKind, code);
  });
}

bool TSettingsFacade::GetShortMoneyToBuyLong(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.GetShortMoneyToBuyLong(client, leverage, limitKind);
  });
}

bool TSettingsFacade::GetLongMoneyToSellShort(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.GetLongMoneyToSellShort(client, leverage, limitKind);
  });
}

bool TSettingsFacade::GetUseCorrelation(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.GetUseCorrelation(client, leverage, limitKind); });
}

bool TSettingsFacade::GetUseCommonTrdAcc(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.GetUseCommonTrdAcc(client, leverage, limitKind);
  });
}

bool TSettingsFacade::IsAssetSecurity(const char* client, double leverage, const char* key,
                                      const char* security, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.IsAssetSecurity(client, leverage, key, security, limitKind);
  });
}

bool TSettingsFacade::IsLimitAllowedSecurity(const char* client, double leverage, const char* key,
                                             const char* security, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.IsLimitAllowedSecurity(client, leverage, key, security, limitKind);
  });
}

bool TSettingsFacade::IsRestShortSecurity(const char* client, double leverage, const char* key,
                                          const char* security, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.IsRestShortSecurity(client, leverage, key, security, limitKind);
  });
}

const TCorrelationEntry* TSettingsFacade::FindCorrelationByName(const char* name,
                                                                const char* client, double leverage,
                                                                int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> const TCorrelationEntry* {
    return e.FindCorrelationByName(name, client, leverage, limitKind);
  });
}

const TCorrelationEntry* TSettingsFacade::FindCorrelationByCode(const char* code,
                                                                const char* client, double leverage,
                                                                int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> const TCorrelationEntry* {
    return e.FindCorrelationByCode(code, client, leverage, limitKind);
  });
}

bool TSettingsFacade::GetMarginUseOnlyMoneyLimitForOldMargin(const char* client, double leverage,
                                                             int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.GetMarginUseOnlyMoneyLimitForOldMargin(client, leverage, limitKind);
  });
}

const TSecurityWeight* TSettingsFacade::FindSecurityWeight(const char* client, double leverage,
                                                           const char* security, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> const TSecurityWeight* {
    return e.FindSecurityWeight(client, leverage, security, limitKind);
  });
}

bool TSettingsFacade::HasAssetLists(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.HasAssetLists(client, leverage, limitKind); });
}

bool TSettingsFacade::HasLimitAllowedLists(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.HasLimitAllowedLists(client, leverage, limitKind);
  });
}

bool TSettingsFacade::HasRestShortLists(const char* client, double leverage, int limitKind) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.HasRestShortLists(client, leverage, limitKind); });
}

int TSettingsFacade::GetUseDiscountsType(const char* client, const char* security, int limitKind,
                                         double leverage) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> int {
    return e.GetUseDiscountsType(client, security, limitKind, leverage);
  });
}

bool TSettingsFacade::ComputeRestrictionCoefficient(const char* client, const char* security,
                                                    int limitKind, double leverage, double percent,
                                                    std::int64_t longOverride,
                                                    std::int64_t shortOverride,
                                                    double* coefficients) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.ComputeRestrictionCoefficient(client, security, limitKind, leverage, percent,
                                           longOverride, shortOverride, coefficients);
  });
}

double TSettingsFacade::GetIncludeClientsWithLeverage(const char* client, int limitKind,
                                                      double value) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> double {
    return e.GetIncludeClientsWithLeverage(client, limitKind, value);
  });
}

std::vector<int> TSettingsFacade::GetRecordLimitKinds(const char* client, double leverage,
                                                      int limitKind) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> std::vector<int> {
    return e.GetRecordLimitKinds(client, leverage, limitKind);
  });
}

std::vector<int> TSettingsFacade::GetClientLimitKinds(const char* client, double leverage) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> std::vector<int> {
    return e.GetClientLimitKinds(client, leverage);
  });
}

std::vector<std::string> TSettingsFacade::GetDiscountSecurities(const char* client, int limitKind,
                                                                double leverage) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> std::vector<std::string> {
    return e.GetDiscountSecurities(client, limitKind, leverage);
  });
}

bool TSettingsFacade::CheckSecurityRestriction(const char* client, const char* key,
                                               const char* first, const char* second) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> bool {
    return e.CheckSecurityRestriction(client, key, first, second);
  });
}

const char* TSettingsFacade::FindClientCurrencyEntry(const char* client, const char* name) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> const char* { return e.FindClientCurrencyEntry(client, name); });
}

double TSettingsFacade::GetCurrencyCoefficient(const char* client, const char* currency) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> double { return e.GetCurrencyCoefficient(client, currency); });
}

bool TSettingsFacade::GetClientSecurityFlag(const char* client) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> bool { return e.GetClientSecurityFlag(client); });
}

const std::vector<std::string>* TSettingsFacade::GetClientSecurityRecordTail(const char* client) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> const std::vector<std::string>* {
    return e.GetClientSecurityRecordTail(client);
  });
}

std::vector<std::string> TSettingsFacade::FindSecurityRestriction(const char* client,
                                                                  const char* key) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> std::vector<std::string> {
    return e.FindSecurityRestriction(client, key);
  });
}

TBoardGroup TSettingsFacade::GetClientBoardList(const char* board, const char* client) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> TBoardGroup { return e.GetClientBoardList(board, client); });
}

TClientCommSettings TSettingsFacade::GetClientCommissionSettings(const char* client,
                                                                 const char* board) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> TClientCommSettings {
    return e.GetClientCommissionSettings(client, board);
  });
}

const ABoardTariff* TSettingsFacade::GetBoardTariff(const char* board) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> const ABoardTariff* { return e.GetBoardTariff(board); });
}

TUserCommission TSettingsFacade::GetUserCommissions(int user) {
  return body_->Locked().Call(
      [&](TSettingsEngine& e) -> TUserCommission { return e.GetUserCommissions(user); });
}

TPortfolioRiskConfig TSettingsFacade::GetPortfolioRiskConfig(const char* config, const char* item) {
  return body_->Locked().Call([&](TSettingsEngine& e) -> TPortfolioRiskConfig {
    return e.GetPortfolioRiskConfig(config, item);
  });
}

std::vector<int> TSettingsFacade::GetLimitKinds() {
  return body_->Locked().Call([](TSettingsEngine& e) { return e.GetLimitKinds(); });
}

bool TSettingsFacade::IsInKeyedSet(const char* key, const char* member) {
  if (IsEmpty(key) || IsEmpty(member)) return false;
  const std::string keyText(key);
  const std::string memberText(member);
  return body_->Locked().Call(
      [&](TSettingsEngine& e) { return e.IsInKeyedSet(keyText, memberText); });
}

const std::vector<std::string>* TSettingsFacade::GetKeyedList(const char* key) {
  static const std::vector<std::string> kEmptyList;
  if (IsEmpty(key)) return &kEmptyList;
  const std::string keyText(key);
  return body_->Locked().Call([&](TSettingsEngine& e) { return e.GetKeyedList(keyText); });
}

bool TSettingsFacade::IsClientBoardAllowed(const char* client, const char* board) {
  if (IsEmpty(client) || IsEmpty(board)) return false;
  const std::string clientText(client);
  const std::string boardText(board);
  return body_->Locked().Call(
      [&](TSettingsEngine& e) { return e.IsClientBoardAllowed(clientText, boardText); });
}

const char* TSettingsFacade::ResolveSubClient(const char* subClient) {
  const std::string code(subClient ? subClient : "");
  return body_->Locked().Call([&](TSettingsEngine& e) { return e.ResolveSubClient(code); });
}

bool TSettingsFacade::GetClientTemplateLists(TClientTemplateList& list) {
  return body_->Locked().CallAndUnlock([&](TSettingsEngine& e) { e.GetClientTemplateLists(list); });
}

}  // namespace DL
