// The facade: the module's road through it, each flag and list reached from
// its key, null arguments, reloading, and the locking with real threads.
#include "dl/engine/settings_facade.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "dl/engine/locked_settings_engine.h"
#include "dl/engine/thread_mutex.h"

namespace DL {
namespace {

using namespace std::chrono_literals;
using TList = std::vector<std::string>;

TEST(SettingsFacade, DefaultPortfolioConfigurationOfTheText) {
  const std::string path = ::testing::TempDir() + "dl_facade_mode1.ini";
  std::ofstream(path, std::ios::binary) << "[PORTFOLIORISKCONFIG]\nBOARDTAG=SPBFUT\n";
  const std::tuple<const char*, std::uint32_t, const char*> cases[] = {
      {"[GENERAL]\nCLIENTCVAL=3\n[PORTFOLIORISKCONFIG]\nBOARDTAG=TQBR\nCURRENCY=USD\n", 2, "TQBR/USD"},
      {nullptr, 2, "EQTV/SUR"}, {"[broken\n\x01\x02=\xff", 2, "EQTV/SUR"},
      {path.c_str(), 1, "SPBFUT/SUR"}, {"no_such_dir/absent.ini", 1, "EQTV/SUR"},
  };
  for (const auto& [source, mode, expected] : cases) {
    auto facade = std::make_unique<TSettingsFacade>(source, mode, true);
    const TPortfolioRiskConfig first = facade->GetPortfolioRiskConfig("", nullptr);
    const TPortfolioRiskConfig second = facade->GetPortfolioRiskConfig(nullptr, "NONE");
    facade.reset();
    EXPECT_EQ(std::string(first.BOARDTAG) + "/" + second.CURRENCY, expected) << (source ? source : "null");
  }
  std::remove(path.c_str());
}

using TFlag = bool (TSettingsFacade::*)();

// Each key turns on its own flag and no other.
TEST(SettingsFacade, EachFlagComesFromItsKey) {
  using F = TSettingsFacade;
  // Keys of [GENERAL] unless the text names its section.
  const std::pair<const char*, TFlag> flags[] = {
      {"USEONLYMONEYLIMITFOROLDMARGIN=1", &F::GetUseOnlyMoneyLimitForOldMargin}, {"USEPGO=2", &F::GetUsePgo},
      {"USECVALCLIENTSFORLIMITKINDS=1", &F::GetUseCValClientsForLimitKinds}, {"CHANGESECLOT=1", &F::GetChangeSecLot},
      {"NOTUSEZADOLGMONEYFORMARGIN=1", &F::GetNotUseZadolgMoneyForMargin}, {"RSTROPENPOS=-1", &F::GetRestrictOpenPos},
      {"[COMMISSION]\nINCLUDEACCRUEDINT=1", &F::GetIncludeAccruedInt}, {"CHECKMAXCREDIT=1", &F::GetCheckMaxCredit},
      {"IGNORERESTSHORTSECURITY=1", &F::GetIgnoreRestShortSecurity}, {"LIMITSINLOTS=1", &F::GetLimitsInLots},
      {"[COMMISSION]\nREPOUSEFACEVALUE=3", &F::GetRepoUseFaceValue},
      {"[General]\nExtendedSubClient=1", &F::GetExtendedSubClient},
      {"ENABLEOPTIONSPEREVOROT=1", &F::GetEnableOptionsPerevorot},
      {"CORRECTMAXTOTALCREDIT=1", &F::GetCorrectMaxTotalCredit}, {"SUPPORTCVALCLIENTS=1", &F::GetSupportCValClients},
      {"SUPPORTMULTICURRENCY=1", &F::GetSupportMultiCurrency}, {"IGNORECOEFFORMARGIN=1", &F::GetIgnoreCoeffForMargin},
      {"CHANGEFUTCLIENTCODES=1", &F::GetChangeFutClientCodes}, {"CHECKMAXTOTALCREDIT=1", &F::GetCheckMaxTotalCredit},
      {"USECOMMISSIONSCALE=2", &F::GetUseCommissionScale}, {"[ADDCOMMONSECTRDACC]\nF,A=G", nullptr},
  };
  for (const auto& [key, onFlag] : flags) {
    const std::string text = key[0] == '[' ? key : std::string("[GENERAL]\n") + key;
    TSettingsFacade facade(text.c_str(), 2, true);
    for (const auto& [otherText, flag] : flags) {
      if (flag == nullptr) continue;
      EXPECT_EQ((facade.*flag)(), flag == onFlag || flag == &F::GetLimitsInLots)
          << text << " asked for " << otherText;
    }
    EXPECT_EQ(facade.GetNoAddCommonSecTrdAcc(), onFlag != nullptr) << text;
  }
  TSettingsFacade values("[GENERAL]\nCLIENTCVAL=4\nLIMITSINLOTS=0\nCLIENTMARKETORDERPERCENT=2.5\n"
                         "[COMMISSION]\nVAT=18.5\nINCLUDEACCRUEDINT=2\n", 2, true);
  EXPECT_EQ(values.GetClientCVal(), 4);
  EXPECT_FALSE(values.GetLimitsInLots());
  EXPECT_FALSE(values.GetIncludeAccruedInt());  // only 1 counts
  EXPECT_EQ(values.GetClientMarketOrderPercent(), 2.5);
  EXPECT_EQ(values.GetVat(), 18.5);
}

TEST(SettingsFacade, ListsNullArgumentsAndReload) {
  TSettingsFacade facade("[GENERAL]\nMAINMARGINCLASSES=TQBR, SPBFUT\nDISCOUNTTRDACC=L01\n"
                         "[PORTFOLIOSPREADORDER]\nA,B=2\nC,D=1\n[TRANOUTTAG]\nK=T1,USD\n"
                         "[BOARDTAG]\nEQTV=TQBR\n[ADDREPOBOARDS]\nK=RPB,RPA\n[CL1]\nLIMITKINDS=1\n"
                         "[CURRBOARDS]\nCETS=\n[CLA_CLIENT_TEMPLATE]\nCLIENTS=C7\n",
                         2, true);
  EXPECT_STREQ(facade.GetMainMarginClasses(), "TQBR,SPBFUT");
  EXPECT_EQ(facade.GetPortfolioSpreadOrders()->front().FirstName + facade.GetTranOutTags()->front().Currency +
                facade.GetDiscountTrdAcc() + facade.GetBoardTags().at("EQTV").front(), "CUSDL01TQBR");
  EXPECT_EQ(facade.GetLimitKinds(), (std::vector<int>{1}));
  EXPECT_EQ(facade.ReservedQuery(5, 1.0, 2, 3, 4), 0);
  EXPECT_TRUE(facade.IsInKeyedSet("K", "RPA") && facade.IsClientBoardAllowed("C1", "CETS"));
  EXPECT_EQ(*facade.GetKeyedList("K"), (TList{"RPA", "RPB"}));
  for (const char* empty : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_FALSE(facade.IsInKeyedSet(empty, "RPA") || facade.IsInKeyedSet("K", empty));
    EXPECT_FALSE(facade.IsClientBoardAllowed("C1", empty) || facade.IsClientBoardAllowed(empty, "CETS"));
    EXPECT_TRUE(facade.GetKeyedList(empty)->empty());
    EXPECT_EQ(facade.ResolveSubClient(empty), nullptr);
  }
  TClientTemplateList list = {{"keep", "me"}};  // the lists are added, nothing is replaced
  EXPECT_TRUE(facade.GetClientTemplateLists(list));
  EXPECT_EQ(list, (TClientTemplateList{{"keep", "me"}, {"C7", "A"}}));

  EXPECT_TRUE(facade.Reload("[GENERAL]\nCLIENTCVAL=9\n", 2));
  EXPECT_EQ(facade.GetClientCVal(), 9);
  EXPECT_TRUE(facade.GetTranOutTags()->empty());
  EXPECT_TRUE(facade.Reload(nullptr, 2));
  EXPECT_EQ(facade.GetClientCVal(), 1);
  EXPECT_TRUE(facade.Lock());  // the reload left the mutex free
  EXPECT_TRUE(facade.Unlock());
}

template <class Work>
auto OnOtherThread(Work work) {
  return std::async(std::launch::async, work).get();
}

TEST(ThreadMutex, OwnershipWithoutACount) {
  TThreadMutex disabled(false);
  EXPECT_FALSE(disabled.Lock());
  EXPECT_FALSE(disabled.Unlock());
  TThreadMutex mutex(true, 50);
  EXPECT_TRUE(mutex.Lock());
  EXPECT_TRUE(mutex.Lock());  // re-entry keeps no count
  EXPECT_FALSE(OnOtherThread([&] { return mutex.Unlock(); }));
  EXPECT_FALSE(OnOtherThread([&] { return mutex.Lock(); }));  // the wait times out
  EXPECT_TRUE(mutex.IsOwnedByCaller());
  EXPECT_TRUE(mutex.Unlock());
  EXPECT_FALSE(mutex.Unlock());
  EXPECT_TRUE(OnOtherThread([&] { return mutex.Lock() && mutex.Unlock(); }));
}

#ifdef _WIN32
// Only the Win32 mutex notices that its owner has ended.
TEST(ThreadMutex, OwnerEndingWithoutUnlockDoesNotBlockOthersForEver) {
  TSettingsFacade facade("[GENERAL]\nCLIENTCVAL=6\n", 2, true);
  std::thread([&] { EXPECT_TRUE(facade.Lock()); }).join();
  EXPECT_EQ(facade.GetClientCVal(), 6);
  EXPECT_TRUE(OnOtherThread([&] { return facade.Lock() && facade.Unlock(); }));
}
#endif

TEST(FacadeLocking, ExplicitLockHoldsBackOtherThreadsQueries) {
  TSettingsFacade facade("[GENERAL]\nCLIENTCVAL=5\n", 2, true);
  ASSERT_TRUE(facade.Lock());
  auto query = std::async(std::launch::async, [&] { return facade.GetClientCVal(); });
  EXPECT_EQ(query.wait_for(100ms), std::future_status::timeout);
  EXPECT_TRUE(facade.Unlock());
  EXPECT_EQ(query.get(), 5);
  // The caller's own query takes the lock again and releases it.
  ASSERT_TRUE(facade.Lock());
  EXPECT_EQ(facade.GetClientCVal(), 5);
  EXPECT_FALSE(facade.Unlock());
}

TEST(FacadeLocking, UserValueAndTemplateListsAnswerTheClosingUnlock) {
  for (bool locking : {true, false}) {
    TSettingsFacade facade("[GENERAL]\nCLIENTCVAL=7\n", 2, locking);
    TClientTemplateList list;
    EXPECT_EQ((std::vector<bool>{facade.Lock(), facade.Unlock(), facade.SetUserValue(3), facade.ClearUserValue(),
                                 facade.GetClientTemplateLists(list)}),
              std::vector<bool>(5, locking));
    EXPECT_EQ(facade.GetClientCVal(), 7);
  }
  TLockedSettingsEngine locked("[GENERAL]\nINVERTCCPOPERATION=0\n", 2, true);
  EXPECT_FALSE(locked.GetInvertCcpOperation());
  EXPECT_EQ(locked.EchoArgument(-17, 99), -17);
  auto userValue = [&locked] { return locked.Call([](TSettingsEngine& e) { return e.GetUserValue(); }); };
  EXPECT_TRUE(locked.SetUserValue(5) && userValue() == 5u && locked.ClearUserValue() && userValue() == 0u);
  EXPECT_THROW(locked.Call([](TSettingsEngine&) -> int { throw std::bad_alloc(); }), std::bad_alloc);
  EXPECT_FALSE(locked.Unlock());  // the failing query left nothing held
  EXPECT_TRUE(locked.Reload("", 2));
  EXPECT_TRUE(locked.GetInvertCcpOperation());
}

TEST(FacadeLocking, ConcurrentQueriesAndReloads) {
  const std::string first = "[GENERAL]\nCLIENTCVAL=3\n[CLIENTLAG]\nA=4\n[CLA]\nLIMITKINDS=1\n";
  const std::string second = "[GENERAL]\nCLIENTCVAL=8\n[CLIENTLAG]\nA=9\n";
  TSettingsFacade facade(first.c_str(), 2, true);
  std::atomic<bool> stop{false};
  std::atomic<int> odd{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 3; ++t) {
    readers.emplace_back([&, t] {
      for (; !stop; facade.GetClientCommissionSettings(("C" + std::to_string(t)).c_str(), "TQBR")) {
        const int cval = facade.GetClientCVal(), lag = facade.GetClientLag("A");
        odd += (cval != 3 && cval != 8) + (lag != 4 && lag != 9);
        facade.GetRstrNmBuy("CLA", 1.0 + t, 1);
      }
    });
  }
  for (int i = 0; i < 20; ++i, std::this_thread::sleep_for(2ms))
    EXPECT_TRUE(facade.Reload((i % 2 ? first : second).c_str(), 2));
  stop = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(odd.load(), 0);
}

}  // namespace
}  // namespace DL
