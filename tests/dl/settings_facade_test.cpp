// Every method of the facade, reached through the facade over one broker
// settings text: results, null arguments, and reloading.
#include "dl/engine/settings_facade.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace DL {
namespace {

using TList = std::vector<std::string>;

const char kBrokerText[] =
    "[GENERAL]\nExtendedSubClient=1\nSubBrokerGenerateClient=1\nCLIENTCVAL=2\nCHECKMAXCREDIT=1\nCHECKMAXTOTALCREDIT=1\nLIMITSINLOTS=0\n"
    "IGNORERESTSHORTSECURITY=1\nIGNORECOEFFORMARGIN=1\nRSTROPENPOS=1\nSUPPORTCVALCLIENTS=1\n"
    "CORRECTMAXTOTALCREDIT=1\nCHANGESECLOT=1\nNOTUSEZADOLGMONEYFORMARGIN=1\n"
    "CLIENTMARKETORDERPERCENT=3.5\nUSECOMMISSIONSCALE=1\nUSEPGO=1\nSUPPORTMULTICURRENCY=1\n"
    "ENABLEOPTIONSPEREVOROT=1\nUSEONLYMONEYLIMITFOROLDMARGIN=1\nCHANGEFUTCLIENTCODES=1\n"
    "USECVALCLIENTSFORLIMITKINDS=1\nMAINMARGINCLASSES=TQBR, SPBFUT\nDISCOUNTTRDACC=L01\n"
    "STOPORDERSCALCLIMITCLASSESFILTER=F1,F2\nRESERVEPEREVOROTGO=G1\nSPOTCLASSES=S1\n"
    "MINTSCOMMCLASSES=M1\nBUYSELLREPOTSCOMMCLASSES=R1\nUSETSCOMMFORTRADE=1\n"
    "INVERTCCPOPERATION=0\nCREDITLAG=4\n"
    "[COMMISSION]\nINCLUDEACCRUEDINT=1\nVAT=20\nREPOUSEFACEVALUE=1\nTS=0.02\n"
    "[PORTFOLIORISKCONFIG]\nBOARDTAG=TQBR\nCURRENCY=USD\n"
    "[PORTFOLIOSPREADORDER]\nA,B=2\nC,D=1\n"
    "[TRANOUTTAG]\nK=T1,USD\n[BOARDTAG]\nEQTV=TQBR\n[ADDREPOBOARDS]\nK=RPB,RPA\n"
    "[CLASSESWITHOUTLIMITKINDS]\nW1=\n[CLASSTOLIMITKIND]\n2=TQBR\n[SECTOBOARD]\nB1=SBER\n"
    "[ADDMARKETMARGINALZADOLG]\nZ1=a,b,c\n[BASEASSETS]\nGRP=SI,2\n[ALLOWEDSECURITY]\nK=S1\n"
    "[QUANTITYNOTINLOTSCLASSES]\nQ1=\n[ADDCOMMONSECTRDACC]\nF1,A1=G\nF1,A2=G\n"
    "[ADDNONMARGINALBOARD]\nN=X,Y\n[CHANGEFUTCLIENTCODES]\nOLD=NEW\n[SubBrokers]\nC1=C1_01\n"
    "[CLIENTSNOMULTICURRENCY]\nNM=\n[CURRENCY]\nMAIN=USD\nEUR=1.5\n[AddMultiCurrency]\nK=USD,EUR\n"
    "[CURRBOARDS]\nCETS=\n[U3]\nCOMMISSION=1.5\nOBLCOMMISSION=2.5\n"
    "[CLA_CLIENT_TEMPLATE]\nCLIENTS=C7\n"
    "[CLM_MARGIN]\nRSTRNMBUY=1\nRSTRTRANSFER=0\nSHORTMONEYTOBUYLONG=1\nLONGMONEYTOSELLSHORT=1\n"
    "USECOMMONTRDACC=0\nUSEONLYMONEYLIMITFOROLDMARGIN=1\nNEGATIVEMONEYTOSHORT=2\nLIMITKINDS=1\n"
    "TQBR=SBER\nTQBR_ASSET=SBER\nTQBR_RESTSHORT=SBER\nSBER_DISC=-1,-1,0.3,0.4,-1,-1\n"
    "P_CORRELATION=SI,1,RI,2,0\nSBER_COEF=2\nUSEDISCOUNTSTYPE=4\n"
    "[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\n";

// Copies would share the engine and its mutex.
static_assert(!std::is_copy_constructible_v<TSettingsFacade>, "the facade is not copyable");
static_assert(!std::is_copy_assignable_v<TSettingsFacade>, "the facade is not copyable");

class SettingsFacadeTest : public ::testing::Test {
 protected:
  TSettingsFacade facade{kBrokerText, 2, true};
};

TEST_F(SettingsFacadeTest, FlagsAndValues) {
  EXPECT_EQ(facade.GetClientCVal(), 2);
  for (bool flag :
       {facade.GetCheckMaxCredit(), facade.GetCheckMaxTotalCredit(),
        facade.GetIgnoreRestShortSecurity(), facade.GetIgnoreCoeffForMargin(),
        facade.GetRestrictOpenPos(), facade.GetSupportCValClients(),
        facade.GetCorrectMaxTotalCredit(), facade.GetChangeSecLot(),
        facade.GetNotUseZadolgMoneyForMargin(), facade.GetIncludeAccruedInt(),
        facade.GetUseCommissionScale(), facade.GetUsePgo(), facade.GetSupportMultiCurrency(),
        facade.GetRepoUseFaceValue(), facade.GetEnableOptionsPerevorot(),
        facade.GetUseOnlyMoneyLimitForOldMargin(), facade.GetChangeFutClientCodes(),
        facade.GetUseCValClientsForLimitKinds(), facade.GetExtendedSubClient()}) {
    EXPECT_TRUE(flag);
  }
  EXPECT_FALSE(facade.GetLimitsInLots());
  EXPECT_FALSE(facade.GetNoAddCommonSecTrdAcc());
  EXPECT_EQ(facade.GetClientMarketOrderPercent(), 3.5);
  EXPECT_EQ(facade.GetVat(), 20.0);
}

TEST_F(SettingsFacadeTest, ListsAndTexts) {
  EXPECT_STREQ(facade.GetMainMarginClasses(), "TQBR,SPBFUT");
  ASSERT_EQ(facade.GetPortfolioSpreadOrders()->size(), 2u);
  EXPECT_EQ(facade.GetPortfolioSpreadOrders()->front().Order, 1);
  EXPECT_EQ(facade.ReservedQuery(5, 1.0, 2, 3, 4), 0);
  ASSERT_EQ(facade.GetTranOutTags()->size(), 1u);
  EXPECT_EQ(facade.GetTranOutTags()->front().Currency, "USD");
  EXPECT_STREQ(facade.GetDiscountTrdAcc(), "L01");
  EXPECT_EQ(facade.GetLimitKinds(), (std::vector<int>{1}));
  EXPECT_EQ(facade.GetStopOrdersCalcLimitClassesFilter(), (TList{"F1", "F2"}));
  EXPECT_EQ(facade.GetBoardTags().at("EQTV"), (TList{"TQBR"}));
}

TEST_F(SettingsFacadeTest, MembershipTests) {
  EXPECT_TRUE(facade.IsMainMarginClass("SPBFUT"));
  EXPECT_TRUE(facade.IsReservePerevorotGoCode("G1"));
  EXPECT_TRUE(facade.IsSpotClass("S1"));
  EXPECT_TRUE(facade.IsMinTsCommClass("M1"));
  EXPECT_TRUE(facade.IsBuySellRepoTsCommClass("R1"));
  EXPECT_TRUE(facade.IsClassWithoutLimitKinds("W1"));
  EXPECT_TRUE(facade.UseTsCommForTrade("ANY"));
  EXPECT_TRUE(facade.IsInKeyedSet("K", "RPA"));
  EXPECT_FALSE(facade.IsInKeyedSet("K", "RPC"));
  EXPECT_EQ(*facade.GetKeyedList("K"), (TList{"RPA", "RPB"}));
  for (const char* empty : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_FALSE(facade.IsInKeyedSet(empty, "RPA"));
    EXPECT_FALSE(facade.IsInKeyedSet("K", empty));
    EXPECT_TRUE(facade.GetKeyedList(empty)->empty());
    EXPECT_EQ(facade.GetKeyedList(empty), facade.GetKeyedList(nullptr));
    EXPECT_FALSE(facade.IsMainMarginClass(nullptr));
  }
}

TEST_F(SettingsFacadeTest, KeyedLookups) {
  EXPECT_EQ(facade.GetClientLag("ANY"), 4);
  ASSERT_NE(facade.FindAddMarketMarginalZadolg("Z1"), nullptr);
  EXPECT_EQ((*facade.FindAddMarketMarginalZadolg("Z1"))[1], "b");
  EXPECT_STREQ(facade.GetBaseAssetGroup("SI", nullptr), "GRP");
  EXPECT_EQ(facade.GetBaseAssetCoefficient("SI", "ANY"), 2.0);
  EXPECT_TRUE(facade.IsItemInCommaList("B", "A, B"));
  EXPECT_TRUE(facade.CheckAllowedSecurity(0, 0.0, "K", "S1", 0));
  EXPECT_STREQ(facade.FindSecToBoard("SBER"), "B1");
  EXPECT_TRUE(facade.IsQuantityNotInLotsClass("Q1"));
  EXPECT_TRUE(facade.IsSameCommonTrdAccGroup("F1", "A1", "F9", "A2"));
  EXPECT_STREQ(facade.GetCommonTrdAccGroupName("F1", nullptr), "G");
  EXPECT_EQ(*facade.FindAddNonMarginalBoard("N"), (TList{"X", "Y"}));
  EXPECT_TRUE(facade.FindAddNonMarginalBoard(nullptr)->empty());
  EXPECT_EQ(facade.GetClassLimitKind("TQBR"), 2);
}

TEST_F(SettingsFacadeTest, ClientCodes) {
  EXPECT_TRUE(facade.IsMultiCurrencyClient("C1"));
  EXPECT_FALSE(facade.IsMultiCurrencyClient("NM"));
  EXPECT_STREQ(facade.GetChangedClientCode("NEW"), "OLD");
  EXPECT_STREQ(facade.GetClientCodeFromChanged("OLD"), "NEW");
  EXPECT_STREQ(facade.ResolveSubClient("C1_01"), "C1");
  EXPECT_STREQ(facade.ResolveSubClient("C1/77"), "C1");
  EXPECT_EQ(facade.ResolveSubClient(nullptr), facade.ResolveSubClient(""));
  EXPECT_EQ(facade.ResolveSubClient(nullptr), nullptr);
}

TEST_F(SettingsFacadeTest, MarginRestrictions) {
  EXPECT_TRUE(facade.GetRstrNmBuy("M", -1.0, 0));
  EXPECT_FALSE(facade.GetRstrTransfer("M", -1.0, 0));
  EXPECT_EQ(facade.GetNegativeMoneyToShort("M", -1.0, 0, nullptr), 2);
  EXPECT_TRUE(facade.GetShortMoneyToBuyLong("M", -1.0, 0));
  EXPECT_TRUE(facade.GetLongMoneyToSellShort("M", -1.0, 0));
  EXPECT_TRUE(facade.GetUseCorrelation("M", -1.0, 0));
  EXPECT_FALSE(facade.GetUseCommonTrdAcc("M", -1.0, 0));
  EXPECT_TRUE(facade.IsAssetSecurity("M", -1.0, "TQBR", "SBER", 0));
  EXPECT_TRUE(facade.IsLimitAllowedSecurity("M", -1.0, "TQBR", "SBER", 0));
  EXPECT_TRUE(facade.IsRestShortSecurity("M", -1.0, "TQBR", "SBER", 0));
  EXPECT_FALSE(facade.IsRestShortSecurity("M", -1.0, "TQBR", "GAZP", 0));
  ASSERT_NE(facade.FindCorrelationByName("P", "M", -1.0, 0), nullptr);
  EXPECT_EQ(facade.FindCorrelationByCode("SI", "M", -1.0, 0)->Name, "P");
  EXPECT_TRUE(facade.GetMarginUseOnlyMoneyLimitForOldMargin("M", -1.0, 0));
  ASSERT_NE(facade.FindSecurityWeight("M", -1.0, "SBER", 0), nullptr);
  EXPECT_EQ(facade.FindSecurityWeight("M", -1.0, "SBER", 0)->W1, 2.0);
  EXPECT_TRUE(facade.HasAssetLists("M", -1.0, 0));
  EXPECT_TRUE(facade.HasLimitAllowedLists("M", -1.0, 0));
  EXPECT_TRUE(facade.HasRestShortLists("M", -1.0, 0));
  EXPECT_EQ(facade.GetUseDiscountsType("M", "SBER", 0, -1.0), 4);
  double out[4];
  EXPECT_TRUE(facade.ComputeRestrictionCoefficient("M", "SBER", 0, -1.0, 100.0, 250, -1, out));
  EXPECT_DOUBLE_EQ(out[kLongCoefficient], 0.25);
  EXPECT_EQ(out[kShortCoefficient], 1e50);
  EXPECT_EQ(facade.GetIncludeClientsWithLeverage("M", 0, 5.0), 5.0);
  EXPECT_EQ(facade.GetRecordLimitKinds("M", -1.0, 0), (std::vector<int>{1}));
  EXPECT_EQ(facade.GetClientLimitKinds("M", -1.0), (std::vector<int>{1}));
  EXPECT_EQ(facade.GetDiscountSecurities("M", 0, -1.0), (TList{"SBER", "SUR"}));
}

TEST_F(SettingsFacadeTest, ClientSettingsAndRestrictions) {
  EXPECT_TRUE(facade.CheckSecurityRestriction("C1", "K", "USD", "EUR"));
  EXPECT_EQ(facade.FindSecurityRestriction("C1", "K"), (TList{"USD", "EUR"}));
  EXPECT_STREQ(facade.FindClientCurrencyEntry("C1", "EUR"), "USD");
  EXPECT_EQ(facade.GetCurrencyCoefficient("C1", "EUR"), 1.5);
  EXPECT_TRUE(facade.GetClientSecurityFlag(nullptr));
  EXPECT_NE(facade.GetClientSecurityRecordTail("C1"), nullptr);
  EXPECT_TRUE(facade.IsClientBoardAllowed("C1", "CETS"));
  EXPECT_FALSE(facade.IsClientBoardAllowed("C1", nullptr));
  EXPECT_FALSE(facade.IsClientBoardAllowed("", "CETS"));
  const TBoardGroup group = facade.GetClientBoardList("TQBR", "C1");
  EXPECT_EQ(group.Boards, (TList{"TQBR", "TQBS"}));
  EXPECT_EQ(group.OtherBoards.back(), 3);
  const TClientCommSettings settings = facade.GetClientCommissionSettings("C1", "TQBR");
  EXPECT_EQ(settings.CommissionType, 2);
}

TEST_F(SettingsFacadeTest, TariffsCommissionsTemplatesAndPortfolioRisk) {
  double fees[3];
  facade.GetBoardTariff("NONE")->CalcFees(fees, 1e6, 0, 0);
  EXPECT_DOUBLE_EQ(fees[kTsFee], 200.0);
  EXPECT_NE(facade.GetBoardTariff("TQBR"), facade.GetBoardTariff("NONE"));
  EXPECT_EQ(facade.GetUserCommissions(3).Commission, 1.5);
  EXPECT_EQ(facade.GetUserCommissions(3).OblCommission, 2.5);
  EXPECT_EQ(facade.GetUserCommissions(4).Commission, 0.0);
  TClientTemplateList list;
  EXPECT_TRUE(facade.GetClientTemplateLists(list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].first, "C7");
  EXPECT_STREQ(facade.GetPortfolioRiskConfig("", nullptr).BOARDTAG, "TQBR");
  EXPECT_STREQ(facade.GetPortfolioRiskConfig(nullptr, "NONE").CURRENCY, "USD");
}

TEST_F(SettingsFacadeTest, ReloadChangesEveryLaterAnswer) {
  EXPECT_TRUE(facade.Reload("[GENERAL]\nCLIENTCVAL=9\n", 2));
  EXPECT_EQ(facade.GetClientCVal(), 9);
  EXPECT_TRUE(facade.GetLimitsInLots());
  EXPECT_STREQ(facade.GetPortfolioRiskConfig("", nullptr).BOARDTAG, "EQTV");
  EXPECT_TRUE(facade.GetTranOutTags()->empty());
  EXPECT_TRUE(facade.Reload(nullptr, 2));
  EXPECT_EQ(facade.GetClientCVal(), 1);
  // The mutex is free again after a reload.
  EXPECT_TRUE(facade.Lock());
  EXPECT_TRUE(facade.Unlock());
}

}  // namespace
}  // namespace DL
