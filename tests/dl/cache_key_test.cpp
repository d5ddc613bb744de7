// Keys of the setting caches and the cache master's lookup.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "dl/store/cache_item_id.h"
#include "dl/store/ini_file.h"
#include "dl/store/setting_cache_master.h"

namespace DL {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CacheKey, KeyStringsOfBothKinds) {
  struct Case {
    TIniCacheItemID id;
    const char* key;
  };
  const Case cases[] = {
      {TIniCacheItemID(nullptr, nullptr, nullptr), "cc_bn_tn_sn"},
      {TIniCacheItemID("C", nullptr, nullptr), "ccC_bn_tn_sn"},
      {TIniCacheItemID("C", "TQBR", "TP1"), "ccC_bnTQBR_tnTP1_sn"},
      {TIniCacheItemID("A1", 2.0), "A1"},
      {TIniCacheItemID("A1", -1.0), "A1"},
      {TIniCacheItemID("A1", kNaN), "A1"},
      {TIniCacheItemID(nullptr, 3.0), ""},
  };
  for (Case c : cases) EXPECT_EQ(c.id.GetKey(), c.key);
}

TEST(CacheKey, ConstructorsSetKindAndLeverage) {
  TIniCacheItemID plain("C", "B", "T");
  EXPECT_EQ(plain.GetKind(), 0);
  EXPECT_EQ(plain.GetLeverage(), -1.0);
  EXPECT_EQ(plain.GetBoard(), "B");
  EXPECT_EQ(plain.GetTradingPoint(), "T");
  TIniCacheItemID withLeverage("C", 2.5);
  EXPECT_EQ(withLeverage.GetKind(), 1);
  EXPECT_EQ(withLeverage.GetLeverage(), 2.5);
  EXPECT_EQ(withLeverage.GetBoard(), "");
  EXPECT_EQ(plain.SetBoard("EQBR"), "EQBR");
  EXPECT_EQ(plain.SetTradingPoint("TP2"), "TP2");
  EXPECT_EQ(plain.GetKey(), "ccC_bnEQBR_tnTP2_sn");
}

TEST(CacheKey, KeysThatPrintAlikeStayApart) {
  TIniCacheItemID a("X_bn", "", "");
  TIniCacheItemID b("X", "_bn", "");
  ASSERT_EQ(a.GetKey(), b.GetKey());
  EXPECT_FALSE(a.GetCacheKey() == b.GetCacheKey());
  // A kind-1 key of a client is not the kind-0 key of the same client.
  EXPECT_FALSE(TIniCacheItemID("X", 1.0).GetCacheKey() == TIniCacheItemID("X", "", "").GetCacheKey());
}

TEST(CacheKey, LeverageComparison) {
  struct Case {
    double a, b;
    bool same;
  };
  const Case cases[] = {
      {2.0, 2.0, true},   {2.0, 3.0, false},  {0.0, -0.0, true},     {kNaN, kNaN, true},
      {kNaN, kInf, true}, {kInf, -kInf, true}, {kNaN, 0.0, false},   {2.0, 2.00000001, false},
  };
  for (const Case& c : cases) {
    const TCacheKey a = TIniCacheItemID("C", c.a).GetCacheKey();
    const TCacheKey b = TIniCacheItemID("C", c.b).GetCacheKey();
    EXPECT_EQ(a == b, c.same) << c.a << " vs " << c.b;
    // The order is strict and total: exactly one of <, >, == holds.
    EXPECT_EQ((a < b) + (b < a) + (a == b), 1) << c.a << " vs " << c.b;
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
  const int* other = cache.Get(TIniCacheItemID("A", "B", "T2"));
  EXPECT_NE(other, first);
  EXPECT_EQ(cache.loads, 2);
  EXPECT_EQ(cache.EntryCount(), 2u);
}

TEST(CacheMaster, NullLoadAnswersDefaultAndStoresNothing) {
  TIniFile ini;
  TCountingCache cache(&ini);
  EXPECT_EQ(cache.Get(TIniCacheItemID("none", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.Get(TIniCacheItemID("none", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.loads, 2);
  EXPECT_EQ(cache.EntryCount(), 0u);
}

TEST(CacheMaster, StoredDefaultIsSharedNotCopied) {
  TIniFile ini;
  TCountingCache cache(&ini);
  EXPECT_EQ(cache.Get(TIniCacheItemID("shared", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.Get(TIniCacheItemID("shared", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.loads, 1);
  EXPECT_EQ(*cache.GetDefault(), -1);
}

TEST(CacheMaster, LeverageKeysAreEntriesOfTheirOwn) {
  TIniFile ini;
  TCountingCache cache(&ini);
  const int* two = cache.Get(TIniCacheItemID("A", 2.0));
  const int* three = cache.Get(TIniCacheItemID("A", 3.0));
  EXPECT_NE(two, three);
  EXPECT_EQ(cache.Get(TIniCacheItemID("A", 2.0)), two);
  EXPECT_EQ(cache.Get(TIniCacheItemID("A", 3.0)), three);
  EXPECT_EQ(cache.Get(TIniCacheItemID("A", kNaN)), cache.Get(TIniCacheItemID("A", kInf)));
  EXPECT_EQ(cache.loads, 3);
}

}  // namespace
}  // namespace DL
