// The setting caches: their keys and lookup, the resolution of client
// sections, and what each cache reads for a client (commission settings,
// commission scales, security restrictions and board groups, margin
// restrictions).
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "dl/store/board_groups.h"
#include "dl/store/cache_item_id.h"
#include "dl/store/client_comm_settings.h"
#include "dl/store/client_section_resolver.h"
#include "dl/store/comm_scale.h"
#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"
#include "dl/store/section_index.h"
#include "dl/store/security_restrictions.h"
#include "dl/store/setting_cache_master.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;

std::unique_ptr<TIniFile> Parse(const std::string& text) {
  return std::make_unique<TIniFile>(text.c_str(), 2, ';', 1);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CacheKey, KeyStringsOfBothKinds) {
  std::pair<TIniCacheItemID, const char*> cases[] = {
      {TIniCacheItemID(nullptr, nullptr, nullptr), "cc_bn_tn_sn"},
      {TIniCacheItemID("C", "TQBR", "TP1"), "ccC_bnTQBR_tnTP1_sn"}, {TIniCacheItemID("A1", 2.0), "A1"},
      {TIniCacheItemID("A1", kNaN), "A1"}, {TIniCacheItemID(nullptr, 3.0), ""},
  };
  for (auto& [id, key] : cases) EXPECT_EQ(id.GetKey(), key);
  TIniCacheItemID plain("C", "B", "T");
  EXPECT_EQ(plain.SetBoard("EQBR") + plain.SetTradingPoint("TP2"), "EQBRTP2");
  EXPECT_EQ(plain.GetKey(), "ccC_bnEQBR_tnTP2_sn");
  const TIniCacheItemID withLeverage("C", 2.5);  // kind and leverage: 0 and -1, or 1 and the leverage given
  EXPECT_EQ((std::vector<double>{double(plain.GetKind()), plain.GetLeverage(), double(withLeverage.GetKind()),
                                 withLeverage.GetLeverage()}), (std::vector<double>{0, -1, 1, 2.5}));
}

TEST(CacheKey, KeysThatPrintAlikeStayApart) {
  TIniCacheItemID a("X_bn", "", "");
  TIniCacheItemID b("X", "_bn", "");
  ASSERT_EQ(a.GetKey(), b.GetKey());
  EXPECT_FALSE(a.GetCacheKey() == b.GetCacheKey());
  EXPECT_FALSE(TIniCacheItemID("X", "", "a").GetCacheKey() == TIniCacheItemID("X", "", "").GetCacheKey());
  // A kind-1 key of a client is not the kind-0 key of the same client.
  EXPECT_FALSE(TIniCacheItemID("X", 1.0).GetCacheKey() == TIniCacheItemID("X", "", "").GetCacheKey());
  const std::tuple<double, double, bool> cases[] = {
      {2.0, 2.0, true},   {2.0, 3.0, false},   {0.0, -0.0, true},  {kNaN, kNaN, true},
      {kNaN, kInf, true}, {kInf, -kInf, true}, {kNaN, 0.0, false}, {2.0, 2.00000001, false},
  };
  for (const auto& [x, y, same] : cases) {
    const TCacheKey a = TIniCacheItemID("C", x).GetCacheKey();
    const TCacheKey b = TIniCacheItemID("C", y).GetCacheKey();
    EXPECT_EQ(a == b, same) << x << " vs " << y;
    if (same) { EXPECT_EQ(TCacheKeyHash()(a), TCacheKeyHash()(b)) << x << " vs " << y; }
    // The order is strict and total: exactly one of <, >, == holds.
    EXPECT_EQ((a < b) + (b < a) + (a == b), 1) << x << " vs " << y;
  }
}

// A cache whose records are numbers: client "none" loads nothing, client
// "shared" the default record, every other client a new record.
class TCountingCache : public AIniSettingCacheMaster<int> {
 public:
  explicit TCountingCache(TIniFile* ini) : AIniSettingCacheMaster(ini) {
    DefaultRecord = std::make_shared<const int>(-1);
  }
  int loads = 0;

 protected:
  TRecordPtr Load(const TIniCacheItemID& id) override {
    ++loads;
    if (id.GetClient() == "none") return nullptr;
    if (id.GetClient() == "shared") return DefaultRecord;
    return std::make_shared<const int>(loads);
  }
};

TEST(CacheMaster, LoadsOncePerKey) {
  TIniFile ini;
  TCountingCache cache(&ini);
  const int* first = cache.Get(TIniCacheItemID("A", "B", "T1"));
  EXPECT_EQ(cache.Get(TIniCacheItemID("A", "B", "T1")), first);
  EXPECT_NE(cache.Get(TIniCacheItemID("A", "B", "T2")), first);
  const int* two = cache.Get(TIniCacheItemID("A", 2.0));
  EXPECT_TRUE(cache.Get(TIniCacheItemID("A", 3.0)) != two && cache.Get(TIniCacheItemID("A", 2.0)) == two);
  EXPECT_EQ(cache.Get(TIniCacheItemID("A", kNaN)), cache.Get(TIniCacheItemID("A", kInf)));
  EXPECT_EQ((std::vector<std::size_t>{std::size_t(cache.loads), cache.EntryCount()}), (std::vector<std::size_t>{5, 5}));
  // A null load answers the default and stores nothing; a stored default is
  // shared, not copied.
  for (int i = 0; i < 2; ++i) EXPECT_EQ(cache.Get(TIniCacheItemID("none", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.loads, 7);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(cache.Get(TIniCacheItemID("shared", "", "")), cache.GetDefault());
  // One more entry: the default itself.
  EXPECT_EQ((std::vector<std::size_t>{std::size_t(cache.loads), cache.EntryCount()}), (std::vector<std::size_t>{8, 6}));
  EXPECT_EQ(*cache.GetDefault(), -1);
}

std::string ResolveClient(TClientSectionResolver& resolver, const std::string& client) {
  std::string section = resolver.FindExplicitSection(client, "CL", "");
  if (section.empty()) section = resolver.FindTemplateSection(client, "CL", "_CLIENT_TEMPLATE");
  if (section.empty()) section = resolver.FindMaskSection(client, "CL", "", 1);
  return section;
}

TEST(ClientSectionResolver, ClientChain) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // The own section wins over a mask; it matches in any case, comes back
      // upper case, and counts without keys.
      {"[CLABC]\nk=1\n[CLABC*]\nk=2\n", "ABC", "CLABC"}, {"[clAbc]\nk=1\n", "ABC", "CLABC"},
      {"[clAbc]\nk=1\n", "abc", "CLABC"}, {"[CLABC]\n", "ABC", "CLABC"},
      // Template lists compare case-sensitively and ignore blanks.
      {"[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A1, B2\n", "B2", "CLGOLD_CLIENT_TEMPLATE"},
      {"[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A1, B2\n", "b2", ""}, {"[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A1,B2\n", "B", ""},
      // The first template in name order wins, whatever the text order.
      {"[CLZ_CLIENT_TEMPLATE]\nCLIENTS=Q\n[CLA_CLIENT_TEMPLATE]\nCLIENTS=Q\n", "Q", "CLA_CLIENT_TEMPLATE"},
      // A template without CLIENTS, or with an empty one, lists nobody; a
      // trailing comma lists the empty code.
      {"[CLA_CLIENT_TEMPLATE]\nX=1\n[CLB_CLIENT_TEMPLATE]\nCLIENTS=\n", "X", ""},
      {"[CLA_CLIENT_TEMPLATE]\nCLIENTS=Q,\n", "", "CLA_CLIENT_TEMPLATE"},
      // The longest mask wins; the mask of everyone catches the rest; a mask
      // keeps the letter case of the code; the star is a plain character.
      {"[CLA*]\nk=1\n[CLABC*]\nk=1\n", "ABC123", "CLABC*"}, {"[CLA*]\nk=1\n[CL*]\nk=1\n", "XYZ", "CL*"},
      {"[CLA*]\nk=1\n", "XYZ", ""}, {"[CLAB*]\nk=1\n", "abc", "CLab*"},
      {"[CLA*B*]\nk=1\n", "A*BC", "CLA*B*"}, {"[CLA*B*]\nk=1\n", "AXBC", ""},
      // Letters of code page 1251 are not folded: only the same bytes match.
      {"[cl\xC0\xC1]\nk=1\n", "\xC0\xC1", "CL\xC0\xC1"}, {"[CL\xE0\xE1]\nk=1\n", "\xC0\xC1", ""},
      {"[CL\xC0*]\nk=1\n", "\xC0\xC1z", "CL\xC0*"}, {"[CL\xE0*]\nk=1\n", "\xC0\xC1", ""},
      {"", "ABC", ""}, {"[GENERAL]\nk=1\n", "", ""},
  };
  for (const auto& [text, client, section] : cases) {
    auto ini = Parse(text);
    TClientSectionResolver resolver(ini.get());
    EXPECT_EQ(ResolveClient(resolver, client), section) << text << " client " << client;
  }
  auto masks = Parse("[CL*]\nk=1\n[CLABC*]\nk=1\n");
  const std::pair<int, const char*> modes[] = {{1, "CLABC*"}, {2, "CL*"}, {3, ""}, {0, ""}};
  for (const auto& [mode, section] : modes)
    EXPECT_EQ(TClientSectionResolver(masks.get()).FindMaskSection("ABC", "CL", "", mode), section) << mode;
}

TEST(ClientSectionResolver, MemoIsPerClientCodeWhateverTheSuffix) {
  auto ini = Parse("[CLABC_MARGIN]\nk=1\n");
  TClientSectionResolver resolver(ini.get());
  EXPECT_EQ(resolver.FindExplicitSection("ABC", "CL", ""), "");
  EXPECT_EQ(resolver.FindExplicitSection("ABC", "CL", "_MARGIN"), "");
  EXPECT_EQ(resolver.FindExplicitSection("abc", "CL", "_MARGIN"), "CLABC_MARGIN");  // a memo of its own
  EXPECT_EQ(TClientSectionResolver(ini.get()).FindExplicitSection("ABC", "CL", "_MARGIN"), "CLABC_MARGIN");
}

TEST(ClientSectionResolver, LeverageTemplatesAndClientLists) {
  auto section = [](const char* name, const char* leverage) {
    return "[CL" + std::string(name) + "]\nINCLUDECLIENTSWITHLEVERAGE=" + leverage + "\n";
  };
  auto ini = Parse(section("Y_MARGIN_TEMPLATE", "3") + section("X_MARGIN_TEMPLATE", "3") +
                   section("Z_MARGIN_TEMPLATE", "abc") + section("N_MARGIN_TEMPLATE", "nan") +
                   section("I_MARGIN_TEMPLATE", "inf") + section("M_MARGIN_TEMPLATE", "-1.00000001") +
                   section("E_MARGIN_TEMPLATE", "") + section("W_MARGIN", "5"));
  // The first in name order keeps a value; no tolerance; "abc" reads as 0.
  const std::pair<double, const char*> cases[] = {
      {3.0, "CLX_MARGIN_TEMPLATE"}, {2.99999999, ""}, {-1.0, ""}, {0.0, "CLZ_MARGIN_TEMPLATE"}, {kNaN, ""},
      {kInf, ""}, {-kInf, ""}, {5.0, ""}, {-1.00000001, ""},
  };
  TClientSectionResolver resolver(ini.get());
  for (const auto& [leverage, section] : cases)
    EXPECT_EQ(resolver.FilterByLeverage("any", "CL", "_MARGIN_TEMPLATE", leverage), section) << leverage;
  auto lists = Parse("[CLSILVER_CLIENT_TEMPLATE]\nCLIENTS=B,\n[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A, B\n"
                     "[CL_CLIENT_TEMPLATE]\nCLIENTS=C,C\n[CLNONE_CLIENT_TEMPLATE]\nX=1\n"
                     "[CLA_MARGIN_TEMPLATE]\nCLIENTS=D\n");
  // Name order: "_" sorts after the letters.
  EXPECT_EQ(TClientSectionResolver(lists.get()).ReadClientLists("cl", "_client_template"),
            (std::vector<std::pair<std::string, std::string>>{
                {"A", "GOLD"}, {"B", "GOLD"}, {"B", "SILVER"}, {"", "SILVER"}, {"C", ""}, {"C", ""}}));
}

TEST(SectionIndex, NamesWithPrefixInTheReadersOrder) {
  auto ini = Parse("[CLA_MARGIN]\n[CLA]\n[CLA_MARGIN_LIMITKIND_1]\n[CLB]\n[CL]\n[C]\n[CLA_]\n");
  const TSectionIndex index(*ini);
  EXPECT_EQ(index.NamesWithPrefix("CLA"), (TList{"CLA", "CLA_", "CLA_MARGIN", "CLA_MARGIN_LIMITKIND_1"}));
  EXPECT_EQ(index.NamesWithPrefix("CLA_MARGIN_"), (TList{"CLA_MARGIN_LIMITKIND_1"}));
  EXPECT_TRUE(index.NamesWithPrefix("CLC").empty() && index.NamesWithPrefix("").size() == 7u);
  EXPECT_TRUE(index.Exists("CL") && !index.Exists("CLC") && !index.Exists("D"));
}

using TRates = std::map<std::string, double>;
using TPairs = std::map<std::string, std::pair<double, double>>;

// Type, broker, repo, trade, one-second and trade-lot commissions, trading
// point, then the flags: scale jump, rounding, no user commission, board keys.
std::string Scalars(const TClientCommSettings& s) {
  std::ostringstream text;
  text << s.CommissionType << " " << s.BrokerCommission << " " << s.RepoBrokerCommission << " "
       << s.TradeCommission << " " << s.OneSecCommission << " " << s.TradeLotCommission << " " << s.TpName << "|"
       << s.CommissionScaleJump << s.RoundScaleCommissionOnDayValue << s.IgnoreUserCommission << s.HasBoardCommissions;
  return text.str();
}

TEST(ClientSettingsCache, GeneralSettingsAndClientSections) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"", nullptr, "1 0.5 0 0 0 0 |0000"},
      {"[GENERAL]\nUSECOMMISSIONSCALE=1\nCOMMISSIONSCALEJUMP=1\n[COMMISSION]\nBROKER=3\n", nullptr,
       "2 0 0 0 0 0 |1000"},
      {"[GENERAL]\nUSECOMMISSIONSCALE=2\nROUNDSCALECOMMISSIONONDAYVALUE=1\n[COMMISSION]\nBROKER=3\nREPOBROKER=4\n",
       nullptr, "1 3 4 0 0 0 |0100"},
      // The type and the scale jump fall back to the general values, the
      // commissions do not.
      {"[GENERAL]\nUSECOMMISSIONSCALE=1\nCOMMISSIONSCALEJUMP=1\nROUNDSCALECOMMISSIONONDAYVALUE=1\n[COMMISSION]\n"
       "REPOBROKER=9\n[CL1]\nBROKERCOMMISSION=2\nTRADELOTCOMMISSION=0.03\n", "1", "2 2 0 0 0 3 |1000"},
      {"[CL1]\nCOMMISSIONTYPE=5\nTPNAME=TP1\nTRADECOMMISSION=0.02\nDEFAULT_TRADE=0.05\n1SECCOMMISSION=0.03\n"
       "COMMISSIONSCALEJUMP=2\nREPOBROKER=1.5\nIGNOREUSERCOMMISSION=1\nROUNDSCALECOMMISSIONONDAYVALUE=1\n", "1",
       "5 0 1.5 2 3 0 TP1|0111"},
      {"[GENERAL]\nCOMMISSIONSCALEJUMP=1\n[CL1]\nCOMMISSIONSCALEJUMP=\n", "1", "1 0 0 0 0 0 |1000"},
      {"[CL1]\nCOMMISSIONSCALEJUMP=1\nCOMMISSIONTYPE=0\n", "1", "1 0 0 0 0 0 |1000"},
  };
  for (const auto& [text, client, expected] : cases) {
    auto ini = Parse(text);
    TCacheOfClientSettings cache(ini.get());
    EXPECT_EQ(Scalars(client ? *cache.Get(TIniCacheItemID(client, "", "")) : *cache.GetDefault()), expected) << text;
  }
}

TEST(ClientSettingsCache, BoardKeys) {
  auto ini = Parse("[COMMISSION]\nTQBR_TRADE=0.01\nEQBR_TRADE_MAX=0.01, 5\nCETS_TRADE_MAX=0.01\n"
                   "SPB_TRADE_MAX_1SEC=0.01,0.02\ntqbr_fixed=3\nBROKERCOMMISSION=7\nMOEX_TRADELOT=0.02\n"
                   "X_FIXED=2\nREPOBROKER_30=0.1\nREPOBROKER_7=0.2\nREPOBROKER_07=0.5\nREPOBROKER_=0.3\nREPOBROKER=4\n"
                   "[CL1]\nBROKERCOMMISSION=2\nTRADELOTCOMMISSION=0.03\nTRADECOMMISSION=0.02\nDEFAULT_TRADE=0.05\n"
                   "1SECCOMMISSION=0.03\nDEFAULT_1SEC=0.04\nREPOBROKER_99999999999=1\n");
  TCacheOfClientSettings cache(ini.get());
  const TClientCommSettings& d = *cache.GetDefault();
  EXPECT_EQ(d.TradeByBoard, (TRates{{"TQBR", 1.0}}));
  EXPECT_EQ(d.TradeMaxByBoard, (TPairs{{"EQBR", {1.0, 5.0}}}));
  EXPECT_EQ(d.TradeMaxOneSecByBoard, (TPairs{{"SPB", {1.0, 2.0}}}));
  // The "_1SEC" suffix takes the same key with the board "SPB_TRADE_MAX".
  EXPECT_EQ(d.OneSecByBoard, (TRates{{"SPB_TRADE_MAX", 1.0}}));
  EXPECT_EQ(d.TradeLotByBoard, (TRates{{"MOEX", 2.0}}));
  // Suffixes are case-sensitive; the general section has no "DEFAULT" entries.
  EXPECT_EQ(d.FixedByBoard, (TRates{{"X", 2.0}}));
  // Sorted by term; terms that read alike keep their key order.
  EXPECT_EQ(d.RepoBrokerByTerm, (std::vector<std::pair<int, double>>{{0, 0.3}, {7, 0.5}, {7, 0.2}, {30, 0.1}}));
  EXPECT_EQ(Scalars(d), "1 0.5 4 0 0 0 |0001");
  const TClientCommSettings& c = *cache.Get(TIniCacheItemID("1", "", ""));
  // Key order decides: DEFAULT_TRADE sorts before TRADECOMMISSION,
  // 1SECCOMMISSION before DEFAULT_1SEC. Plain keys make no board keys.
  EXPECT_EQ(c.FixedByBoard, (TRates{{"DEFAULT", 2.0}}));
  EXPECT_EQ(Scalars(c), "1 2 0 2 3 3 |0001");
  EXPECT_DOUBLE_EQ(c.TradeByBoard.at("DEFAULT"), 5.0);
  EXPECT_DOUBLE_EQ(c.OneSecByBoard.at("DEFAULT"), 3.0);
  EXPECT_DOUBLE_EQ(c.TradeLotByBoard.at("DEFAULT"), 3.0);
  EXPECT_EQ(c.RepoBrokerByTerm, (std::vector<std::pair<int, double>>{{2147483647, 1}}));  // clamped
  EXPECT_TRUE(c.HasBoardCommissions);
}

TEST(ClientSettingsCache, ClientsWithoutSectionShareTheDefault) {
  auto ini = Parse("[CLA_CLIENT_TEMPLATE]\nCLIENTS=T1,T2\nCOMMISSIONTYPE=3\n[CLM*]\nCOMMISSIONTYPE=4\n");
  TCacheOfClientSettings cache(ini.get());
  auto get = [&cache](const char* client) { return cache.Get(TIniCacheItemID(client, "", "")); };
  for (const char* client : {"X", "Y", ""}) EXPECT_EQ(get(client), cache.GetDefault()) << client;
  EXPECT_EQ(get("T1")->CommissionType, 3);
  EXPECT_EQ(get("T2"), get("T1"));  // one record per section
  EXPECT_TRUE(get("M7")->CommissionType == 4 && get("m7") == get("M7"));  // one mask, one record
}

TEST(CommScaleCache, DefaultScale) {
  // Minimum volume, minimum and maximum value, trade commission, then the
  // rows volume=rate; all amounts per hundred.
  const std::pair<const char*, const char*> cases[] = {
      {"", "0 0 0 0"}, {"[COMMISSIONSCALE]\n", "0 0 0 0"},
      {"[COMMISSIONSCALE]\nMINVALUE=10\nMAXVALUE=100\nMINVOLUME=10\nTRADECOMMISSION=0.05\n100=0.04\n",
       "1000 1000 10000 5 10000=0.04"},
      {"[commissionscale]\nminvalue=10\n10=0.05\n100=0.03\n", "0 1000 0 0 1000=0.05 10000=0.03"},
      // Keys reading as one volume leave one row, the later key in key order.
      {"[COMMISSIONSCALE]\n100.0=0.2\n100=0.1\n", "0 0 0 0 10000=0.2"},
      // A key that is no number is volume 0; CLIENTS is no row; a volume that
      // is not a number has no place in the order.
      {"[COMMISSIONSCALE]\nCOMMENT=0.3\nCLIENTS=A\n", "0 0 0 0 0=0.3"},
      {"[COMMISSIONSCALE]\nNAN=0.3\n5=0.1\nINF=0.2\n", "0 0 0 0 500=0.1 inf=0.2"},
  };
  for (const auto& [text, expected] : cases) {
    auto ini = Parse(text);
    TCacheOfCommScales cache(ini.get());
    const TCommScale& scale = *cache.GetDefault();
    std::ostringstream got;
    got << scale.MinVolume << " " << scale.MinValue << " " << scale.MaxValue << " " << scale.TradeCommission;
    for (const auto& [volume, rate] : scale.Rates) got << " " << volume << "=" << rate;
    EXPECT_EQ(got.str(), expected) << text;
  }
}

// Each scale section names itself by its MINVALUE.
const char kScales[] =
    "[COMMISSIONSCALE]\nMINVALUE=1\n"
    "[CLABC_COMMISSIONSCALE]\n"
    "[CLVIP_COMMISSIONSCALE_TEMPLATE]\nCLIENTS=ABC, DEF,G,H\nMINVALUE=2\n"
    "[CLAB*_COMMISSIONSCALE]\nMINVALUE=3\n[CLA*_COMMISSIONSCALE]\nMINVALUE=10\n"
    "[CLXY*_COMMISSIONSCALE]\n[CLX*_COMMISSIONSCALE]\nMINVALUE=4\n"
    "[CLOWN_COMMISSIONSCALE]\nMINVALUE=5\n[BDTQBR_COMMISSIONSCALE]\nMINVALUE=6\n"
    "[BDEQBR_COMMISSIONSCALE]\nMINVALUE=7\n[TPT2_BDTQBR_COMMISSIONSCALE]\nMINVALUE=8\n"
    "[BD_COMMISSIONSCALE]\nMINVALUE=9\n[CLVIP2_COMMISSIONSCALE_TEMPLATE]\nCLIENTS=A, B,C\nMINVALUE=11\n";

TEST(CommScaleCache, SectionChain) {
  // The client, board and trading point; 100 x the number of the section that answers.
  const std::tuple<const char*, const char*, const char*, double> cases[] = {
      {"OWN", "TQBR", "", 500}, {"own", "TQBR", "", 500}, {"DEF", "TQBR", "", 200},  // template
      {"G", "TQBR", "", 200},
      {"ABC", "TQBR", "", 200},  // its own scale has no key: the template answers
      {"DE", "TQBR", "", 600},   // not listed: the board
      {"ABZ", "TQBR", "", 300},  // mask
      {"XYZ", "TQBR", "", 600},  // the longest mask is empty: no shorter mask, the board
      {"XQ", "TQBR", "", 400},  {"Q", "TQBR", "", 600},  {"Q", "EQBR", "", 700},
      {"Q", "TQBR", "T2", 800}, {"Q", "TQBR", "T1", 100},  // no scale at that point: the general one
      {"Q", "", "", 900},       {"Q", "CETS", "", 100},
      // A code with a comma matches a run of list items.
      {"A,B", "X", "", 1100},   {"B,C", "X", "", 1100}, {"Q,A", "X", "", 100}, {"C,", "X", "", 100},
  };
  auto ini = Parse(kScales);
  TCacheOfCommScales cache(ini.get());
  for (const auto& [client, board, tradingPoint, minValue] : cases)
    EXPECT_EQ(cache.Get(TIniCacheItemID(client, board, tradingPoint))->MinValue, minValue)
        << client << " " << board << " " << tradingPoint;
  EXPECT_EQ(cache.Get(TIniCacheItemID("R", "CETS", "")), cache.GetDefault());

  TSectionIndex index(*ini);
  const TCommScaleReader reader(ini.get(), &index);
  EXPECT_EQ(reader.FindMaskCommScale("ABC", 3), nullptr);
  // Mode 2 tries the shortest stem first, mode 1 the longest.
  EXPECT_EQ(reader.FindMaskCommScale("ABC", 2)->MinValue, 1000);
  EXPECT_EQ(reader.FindMaskCommScale("ABC", 1)->MinValue, 300);
}

// Flags HasCurrencyRates, HasMultiCurrency, UseOnlyMoneyLimitForOldMargin;
// the main codes; the rates of both groups; the boards; the codes without
// limit checks; the multi-currency lists.
std::string Describe(const TClientSecurityRestrictions& r) {
  std::ostringstream text;
  text << r.HasCurrencyRates << r.HasMultiCurrency << r.UseOnlyMoneyLimitForOldMargin << " " << r.MainCurrency << "/"
       << r.MainCurrency2 << " ";
  for (const auto* rates : {&r.CurrencyRates, &r.Currency2Rates})
    for (const auto& [code, rate] : *rates) text << code << "=" << rate << (rates == &r.CurrencyRates ? "," : ";");
  for (const auto* list : {&r.CurrBoards, &r.IgnoreCheckLimits})
    for (const std::string& item : *list) text << " " << (list == &r.CurrBoards ? "board " : "free ") << item;
  for (const auto& [key, items] : r.MultiCurrencyLists)
    for (const std::string& item : items) text << " " << key << ":" << item;
  return text.str();
}

TEST(SecurityRestrictionsCache, GeneralValuesAndClientSections) {
  const char* text = "[GENERAL]\nUSEONLYMONEYLIMITFOROLDMARGIN=1\nIGNORECHECKLIMITS=G\n[AddMultiCurrency]\nX=Y\n"
                     "[CLA]\nCURRENCY_MAIN=SUR\nCURRENCY_USD=75.5\nCURRENCY_EUR=\ncurrency2_cny=11\nCURRENCY2_MAIN=\n"
                     "CURRBOARDS=TQBR, EQBR,CETS\naddmulticurrency_sur=usd,eur\n"
                     "[CLB]\nUSEONLYMONEYLIMITFOROLDMARGIN=\nIGNORECHECKLIMITS=\n"
                     "[CLC]\nUSEONLYMONEYLIMITFOROLDMARGIN=0\nIGNORECHECKLIMITS=X,Y\n[CLD]\nOTHER=1\n"
                     "[CLE]\nCURRENCY2_KZT=2\n";
  // Nothing but the money-limit flag falls back to the general values.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"[GENERAL]\nIGNORECHECKLIMITS=\n", nullptr, "000 / "},
      {"[CLB]\nUSEONLYMONEYLIMITFOROLDMARGIN=\n", "B", "000 / "},
      {"[AddMultiCurrency]\nSUR=USD,EUR\nsur2=CNY\n[GENERAL]\nIGNORECHECKLIMITS=A, B\n"
       "USEONLYMONEYLIMITFOROLDMARGIN=2\n",
       nullptr, "011 /  free A free B SUR:USD SUR:EUR sur2:CNY"},
      {text, "A", "111 SUR/ USD=75.5,CNY=11; board CETS board EQBR board TQBR SUR:usd SUR:eur"},
      {text, "B", "001 / "}, {text, "C", "000 /  free X free Y"}, {text, "D", "001 / "}, {text, "E", "101 / KZT=2;"},
      {text, "F", "011 /  free G X:Y"},
  };
  for (const auto& [ini, client, expected] : cases) {
    auto parsed = Parse(ini);
    TCacheOfSecurityRestrictions cache(parsed.get());
    const TClientSecurityRestrictions* r = client ? cache.Get(TIniCacheItemID(client, "", "")) : cache.GetDefault();
    EXPECT_EQ(Describe(*r), expected) << ini << " " << (client ? client : "general");
    if (client && *client == 'F') { EXPECT_EQ(r, cache.GetDefault()); }
  }
}

TEST(BoardGroups, GroupsOfTheSection) {
  auto ini = Parse("[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\nEQBR=\n[COMMISSIONSCALEBOARDS_TP1]\nSPB=1\n");
  TaggedStringMap tables(ini.get());
  // Whether the board has a group, the group's kind (2: the prohibited
  // boards, those of every group) and boards. Without a section for the
  // trading point the prohibited boards hold one empty code.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"TQBR", "", "1 1 TQBR TQBS"}, {"TQBS", "", "1 1 TQBR TQBS"}, {"EQBR", "", "1 1 EQBR"},
      {"CETS", "", "0 2 EQBR TQBR TQBS"}, {"SPB", "TP1", "1 1 SPB"}, {"TQBR", "TP1", "0 2 SPB"},
      {"TQBR", "TP2", "0 2 "},
  };
  for (const auto& [board, tradingPoint, expected] : cases) {
    TBoardGroup group;
    group.OtherBoards = {99};
    const bool found = GetBoardGroup(tables, TIniCacheItemID("", board, tradingPoint), group);
    std::string text = std::to_string(found) + " " + std::to_string(group.GroupKind);
    for (const std::string& item : group.Boards) text += " " + item;
    EXPECT_EQ(text, expected) << board << " at " << tradingPoint;
    EXPECT_TRUE(group.OtherBoards.empty() && !group.GroupFlag);
  }
  EXPECT_EQ(tables.Tables.size(), 3u);
  auto twice = Parse("[COMMISSIONSCALEBOARDS]\nA,B=1\nB,C=1\n");
  auto table = ReadBoardLists(*twice, "");
  EXPECT_EQ(table->at("B").Boards, (TList{"A", "B"}));  // the first group naming a board wins
  EXPECT_EQ(table->at(kProhibitedBoards).Boards, (TList{"A", "B", "B", "C"}));
  TBoardGroup group;
  EXPECT_FALSE(FindBoardGroup(TBoardGroupTable(), TIniCacheItemID("", "A", ""), group));
  EXPECT_TRUE(group.Boards.empty());
}

using TKinds = std::vector<int>;
using TNumbers = std::vector<double>;

struct Fixture {
  explicit Fixture(const std::string& text) : ini(Parse(text)), cache(ini.get()) {}
  const TClientMarginRestrictions& Get(const char* client, double leverage = -1.0) {
    return *cache.Get(TIniCacheItemID(client, leverage));
  }
  const TMarginRestrictionRecord& Broker() const { return cache.GetDefault()->Records.at(0); }

  std::unique_ptr<TIniFile> ini;
  TCacheOfClientMarginRestrictions cache;
};

TNumbers Discounts(const TSecurityDiscount& d) { return {d.D1, d.D2, d.D3, d.D4, d.D5, d.D6, d.MinLong, d.MinShort}; }

// The flags RstrNmBuy, RstrTransfer, ShortMoneyToBuyLong, LongMoneyToSellShort,
// UseCorrelation, UseCommonTrdAcc, UseOnlyMoneyLimitForOldMargin, the three
// ignore flags, UseSecurityDiscounts, UseChSecurityDiscounts; then the
// discounts type, the leverage, the minimum discount rates, the negative
// money kind; then the source of each of the nine collections.
std::string Scalars(const TMarginRestrictionRecord& r) {
  std::ostringstream text;
  for (bool flag : {r.RstrNmBuy, r.RstrTransfer, r.ShortMoneyToBuyLong, r.LongMoneyToSellShort, r.UseCorrelation,
                    r.UseCommonTrdAcc, r.UseOnlyMoneyLimitForOldMargin, r.IgnoreLimitSecurity, r.IgnoreAssetSecurity,
                    r.IgnoreRestShortSecurity, r.UseSecurityDiscounts, r.UseChSecurityDiscounts})
    text << flag;
  text << " " << r.UseDiscountsType << " " << r.IncludeClientsWithLeverage << " " << r.MinDiscRateLong << " "
       << r.MinDiscRateShort << " " << r.NegativeMoneyToShortKind << " ";
  for (int source : {r.SecurityWeightsSource, r.CorrelationsSource, r.AssetListsSource, r.AssetSecurityListsSource,
                     r.LimitAllowedListsSource, r.LimitAllowedSecurityListsSource, r.RestShortListsSource,
                     r.RestShortSecurityListsSource, r.SecurityDiscountsSource})
    text << source;
  return text.str();
}

TEST(MarginRestrictionCache, BrokerItem) {
  const std::tuple<const char*, const char*, TList, TKinds> cases[] = {
      {"", "010011000000 3 -1 0 0 0 000000000", {}, {}},
      {"[GENERAL]\nNEGATIVEMONEYTOSHORT=2\nRSTRNMBUY=1\nSHORTMONEYTOBUYLONG=1\nLONGMONEYTOSELLSHORT=1\n"
       "RSTRTRANSFER=0\nUSEDISCOUNTSTYPE=1\nUSESECURITYDISCOUNTS=1\nUSECHSECURITYDISCOUNTS=1\n"
       "INCLUDECLIENTSWITHLEVERAGE=2\nUSECORRELATION=0\nUSEONLYMONEYLIMITFOROLDMARGIN=1\n",
       "101101000011 1 2 0 0 2 000000000", {"2"}, {}},
      {"[GENERAL]\nNEGATIVEMONEYTOSHORT=TQBR,EQBR\n", "010011000000 3 -1 0 0 0 000000000", {"TQBR", "EQBR"}, {}},
      {"[GENERAL]\nNEGATIVEMONEYTOSHORT=3\nLIMITKINDS=2,-1,2\n", "010011000000 3 -1 0 0 0 000000000", {"3"}, {2}},
      {"[GENERAL]\nLIMITKINDS=1,,0\n[SECURITYDISCOUNTS]\nMINDISCRATELONG=0.5\nmindiscrateshort=0.25\n",
       "010011000000 3 -1 0.5 0.25 0 000000000", {}, {1, 0}},
  };
  for (const auto& [text, scalars, list, limitKinds] : cases) {
    Fixture f(text);
    EXPECT_EQ(Scalars(f.Broker()), scalars) << text;
    EXPECT_EQ(f.Broker().NegativeMoneyToShortList, list) << text;
    EXPECT_EQ(f.cache.GetDefault()->LimitKinds, limitKinds) << text;
    EXPECT_TRUE(f.cache.GetDefault()->Leverage == -1.0 && f.cache.GetDefault()->Records.size() == 1u);
    for (double leverage : {-1.0, 2.0}) EXPECT_EQ(&f.Get("ANY", leverage), f.cache.GetDefault());
  }
  EXPECT_EQ(Discounts(Fixture("").Broker().SecurityDiscounts.at("SUR")), (TNumbers{-1, -1, 0, 0, 0, 0, 0, 0}));
}

// Every security list of a record: kind, name and items.
std::string Lists(const TMarginRestrictionRecord& r) {
  const std::pair<const char*, const TRestrictionLists*> maps[] = {
      {"asset", &r.AssetLists}, {"asset security", &r.AssetSecurityLists}, {"allowed", &r.LimitAllowedLists},
      {"allowed security", &r.LimitAllowedSecurityLists}, {"rest short", &r.RestShortLists},
      {"rest short security", &r.RestShortSecurityLists}};
  std::string text;
  for (const auto& [kind, lists] : maps) {
    for (const auto& [name, list] : *lists) {
      text += std::string(kind) + " " + name + ":" + (list.All ? "all" : "");
      for (const std::string& item : list.Items) text += " " + item;
      text += ";";
    }
  }
  return text;
}

TEST(MarginRestrictionCache, BrokerListSections) {
  Fixture f("[ASSETSECURITIES]\nSECURITY_SBER=<ALL>\nSECURITY=A,B\nSECURITYX=C\nTQBR=D, E\n"
            "[RESTSHORTSECURITIES]\nSECURITY_=F\nX=H\n[LIMITALLOWEDSECURITY]\nsecurity_gazp=G\n"
            "[ADDCOMMONTRDACC]\nACC1=L01, L02\n[ADDCORRELATION]\nSHORT=a,1,b\nPAIR=a, 1.5, b, 2.5, 7\n"
            "[SECURITYWEIGHT]\nW1=2\nW2=2,3\nW3=2,\nW4=1,2,3,4,5,6\nW5=\n"
            "[SECURITYDISCOUNTS]\nMINDISCRATELONG=0.5\nmindiscrateshort=0.25\nSUR=1,2\n"
            "TQBR=0.1,,0.3,0.4,0.5,0.6,0.7\n");
  const TMarginRestrictionRecord& r = f.Broker();
  // Only "SECURITY_" marks a security name, in capitals; "SECURITY" alone is a plain name.
  EXPECT_EQ(Lists(r), "asset SECURITY: A B;asset SECURITYX: C;asset TQBR: D E;asset security SBER:all;"
                      "allowed security_gazp: G;rest short X: H;rest short security : F;");
  EXPECT_EQ(r.CommonTrdAccLists.at("ACC1"), (TList{"L01", "L02"}));
  ASSERT_EQ(r.Correlations.size(), 1u);  // a correlation needs five items
  const TCorrelationEntry& pair = r.Correlations[0];
  EXPECT_EQ(pair.Name + pair.Code1 + pair.Code2, "PAIRab");
  EXPECT_EQ((TNumbers{pair.Value1, pair.Value2, double(pair.Flag)}), (TNumbers{1.5, 2.5, 1}));
  // Short weight lists take the defaults of the missing positions.
  const std::pair<const char*, TNumbers> weights[] = {
      {"W1", {2, 1, -1, -1, -1}}, {"W2", {2, 3, -1, -1, -1}}, {"W3", {2, 1, -1, -1, -1}},
      {"W4", {1, 2, 3, 4, 5}},    {"W5", {1, 1, -1, -1, -1}},
  };
  for (const auto& [name, expected] : weights) {
    const TSecurityWeight& w = r.SecurityWeights.at(name);
    EXPECT_EQ((TNumbers{w.W1, w.W2, w.W3, w.W4, w.W5}), expected) << name;
  }
  // Discounts: items 4 and 5 land in D4 and D5; the broker's SUR stays.
  EXPECT_EQ(r.SecurityDiscounts.size(), 2u);
  EXPECT_EQ(Discounts(r.SecurityDiscounts.at("SUR")), (TNumbers{1, 2, -1, -1, -1, -1, 0.5, 0.25}));
  EXPECT_EQ(Discounts(r.SecurityDiscounts.at("TQBR")), (TNumbers{0.1, -1, 0.3, 0.4, 0.5, 0.6, 0.5, 0.25}));
  Fixture off("[GENERAL]\nUSECORRELATION=0\n[ADDCORRELATION]\nP=a,1,b,2,0\n");
  EXPECT_TRUE(off.Broker().Correlations.empty());
}

// A client value of -2 takes the base record's value (for a kind's record
// the client's general record, for the general record the broker's); -1
// keeps -1 in the general record and takes the broker's value in a kind's;
// a key the section lacks reads as -2.
TEST(MarginRestrictionCache, InheritanceOfScalarKeys) {
  Fixture f("[GENERAL]\nRSTRNMBUY=1\nSHORTMONEYTOBUYLONG=1\nUSEDISCOUNTSTYPE=2\nLIMITKINDS=5\n"
            "NEGATIVEMONEYTOSHORT=TQBR\n[SECURITYWEIGHT]\nSBER=2\n"
            "[CL7_MARGIN]\nRSTRNMBUY=0\nSHORTMONEYTOBUYLONG=-2\nLONGMONEYTOSELLSHORT=-1\nUSEDISCOUNTSTYPE=-1\n"
            "INCLUDECLIENTSWITHLEVERAGE=-1\nLIMITKINDS=-1,,3\nGAZP_COEF=3\nMINDISCRATELONG=0.5\nMINDISCRATESHORT=-1\n"
            "[CL7_MARGIN_LIMITKIND_2]\nRSTRNMBUY=-2\nUSEDISCOUNTSTYPE=-2\nSHORTMONEYTOBUYLONG=0\n"
            "MINDISCRATELONG=-2\nMINDISCRATESHORT=-1\n"
            "[CL7_MARGIN_LIMITKIND_3]\nRSTRNMBUY=-1\nUSEDISCOUNTSTYPE=-1\nLIMITKINDS=4\n"
            "[CL7_MARGIN_LIMITKIND_0]\nRSTRNMBUY=1\n[CL7_MARGIN_LIMITKIND_X]\nRSTRNMBUY=1\n"
            "[CL7_MARGIN_LIMITKIND_3X]\nRSTRNMBUY=0\n[CL8_MARGIN]\nUSECORRELATION=0\n[CL8_MARGIN_LIMITKIND_1]\nX=1\n");
  const TClientMarginRestrictions& seven = f.Get("7");
  // Kinds 0 and X are no kinds; "LIMITKIND_3X" is kind 3 too, but the first
  // section of a kind wins.
  ASSERT_EQ(seven.Records.size(), 3u);
  const std::tuple<const char*, int, const char*, TKinds> cases[] = {
      {"7", 0, "011111000000 -1 -1 0.5 -1 0 200000000", {-1, 0, 3}},  // an empty kind is 0
      {"7", 2, "010111000000 -1 -1 0.5 0 0 100000000", {-1, 0, 3}},
      {"7", 3, "111111000000 2 -1 0.5 -1 0 100000000", {4}}, {"8", 0, "111001000000 2 -1 0 0 0 000000000", {5}},
      {"8", 1, "111001000000 2 -1 0 0 0 000020000", {5}},  // its list X
  };
  for (const auto& [client, kind, scalars, limitKinds] : cases) {
    const TMarginRestrictionRecord& r = f.Get(client).Records.at(kind);
    EXPECT_EQ(Scalars(r), scalars) << client << " kind " << kind;
    EXPECT_EQ(r.LimitKinds, limitKinds) << client << " kind " << kind;
    EXPECT_EQ(r.NegativeMoneyToShortList, (TList{"TQBR"}));  // the broker's list
  }
  EXPECT_EQ(seven.LimitKinds, (TKinds{-1, 0, 3, 4}));
}

TEST(MarginRestrictionCache, KeysOfAClientSection) {
  Fixture f("[ADDCOMMONTRDACC]\nACC=L1\n"
            "[CL9_MARGIN]\nSECURITY_SBER_ASSET=<ALL>\nTQBR_ASSET=A,B\nSECURITY_ASSET=C\n"
            "A_ASSET_B_ASSET=D\nsecurity_lkoh_restshort=E\nX_RESTSHORT=F\nTQBR_DISC=0.1,0.2\n"
            "TQBR=SBER,GAZP\nSECURITY_GAZP=<ALL>\nSECURITY_=G\nP_CORRELATION=a,1,b,2,0\n"
            "Q_CORRELATION=a,1\nSBER_COEF=2,3\n_TAG=x\nCLIENTS=9\nADDCOMMONTRDACC_ACC=L2\n"
            "SECTOBOARD_X=Y\nMINDISCRATELONG=0.3\nIGNOREASSETSECURITY=1\nPREVPRICEPERCENT=5\n");
  const TMarginRestrictionRecord& r = f.Get("9").Records.at(0);
  // Keys are upper-cased. "SECURITY_ASSET" is too short to hold both
  // "SECURITY_" and "_ASSET": a plain name; in "A_ASSET_B_ASSET" the suffix
  // first occurs inside the key: a limit-allowed list.
  EXPECT_EQ(Lists(r), "asset SECURITY: C;asset TQBR: A B;asset security SBER:all;allowed A_ASSET_B_ASSET: D;"
                      "allowed TQBR: SBER GAZP;allowed security : G;allowed security GAZP:all;rest short X: F;"
                      "rest short security LKOH: E;");
  EXPECT_EQ(Discounts(r.SecurityDiscounts.at("TQBR")), (TNumbers{0.1, 0.2, -1, -1, -1, -1, 0.3, 0.0}));
  ASSERT_EQ(r.Correlations.size(), 1u);
  EXPECT_EQ(r.Correlations[0].Name + std::to_string(r.Correlations[0].Flag), "P0");
  EXPECT_EQ(r.SecurityWeights.at("SBER").W2, 3.0);
  EXPECT_TRUE(r.CommonTrdAccLists.empty());
  EXPECT_EQ(Scalars(r), "010011001000 3 -1 0.3 0 0 222222222");
}

TEST(MarginRestrictionCache, SectionChain) {
  // Each section names itself by its USEDISCOUNTSTYPE.
  Fixture f("[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\nUSEDISCOUNTSTYPE=11\n"
            "[CLT_MARGIN_TEMPLATE]\nCLIENTS=B1,C1\nUSEDISCOUNTSTYPE=12\n"
            "[CLA1_MARGIN]\nUSEDISCOUNTSTYPE=13\n[CLM*_MARGIN]\nUSEDISCOUNTSTYPE=14\n"
            "[CL<GENERAL>_MARGIN]\nUSEDISCOUNTSTYPE=15\n");
  const std::tuple<const char*, double, int> cases[] = {
      {"A1", 3.0, 11}, {"A1", 2.0, 13}, {"A1", -1.0, 13}, {"A1", kNaN, 13}, {"A1", kInf, 13},
      {"B1", 2.0, 12}, {"B1", 3.0, 11}, {"M5", 2.0, 14},  {"m5", 2.0, 14}, {"Z", 2.0, 15},
      {"", -1.0, 15},  {"", 3.0, 11},   {"a1", 2.0, 13},
  };
  for (const auto& [client, leverage, type] : cases)
    EXPECT_EQ(f.Get(client, leverage).Records.at(0).UseDiscountsType, type) << client << " at " << leverage;
  Fixture none("[CLA1_MARGIN]\nUSEDISCOUNTSTYPE=13\n");
  EXPECT_EQ(&none.Get("Z", 2.0), none.cache.GetDefault());
}

TEST(MarginRestrictionCache, OneItemPerSection) {
  Fixture lower("[CLA*_MARGIN]\nRSTRNMBUY=1\n[CLA*_MARGIN_LIMITKIND_1]\nRSTRNMBUY=0\n"
                "[CL1_MARGIN]\n[CL1_MARGIN_LIMITKIND_99999999999]\nRSTRNMBUY=1\n");
  ASSERT_EQ(lower.cache.ResolveSection("ab", -1.0), "CLa*_MARGIN");
  EXPECT_FALSE(lower.Get("ab").Records.at(1).RstrNmBuy);
  EXPECT_EQ(&lower.Get("AB"), &lower.Get("ab"));  // a mask keeps the code's case: one section
  EXPECT_TRUE(lower.Get("1").Records.at(INT_MAX).RstrNmBuy);  // huge kinds are clamped

  Fixture f("[CLA_MARGIN]\nRSTRNMBUY=1\n[CLT_MARGIN_TEMPLATE]\nCLIENTS=B,C\n"
            "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=4\nRSTRNMBUY=0\n");
  const TClientMarginRestrictions& two = f.Get("A", 2.0);
  EXPECT_EQ(two.Leverage, 2.0);
  EXPECT_EQ(&f.Get("A", 3.0), &two);  // the same section gives the same answers
  const TClientMarginRestrictions& four = f.Get("A", 4.0);
  EXPECT_FALSE(four.Records.at(0).RstrNmBuy);
  EXPECT_TRUE(&f.Get("A", 2.0) == &two && &f.Get("A", 4.0) == &four);  // alternating leverages load nothing again
  EXPECT_EQ(&f.Get("B", 2.0), &f.Get("C", 5.0));  // template items are shared
  EXPECT_EQ(f.cache.EntryCount(), 5u);
  EXPECT_EQ(f.cache.LoadedSectionCount(), 3u);
}

}  // namespace
}  // namespace DL
