// Keys of the setting caches and the cache master's lookup.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "dl/store/cache_item_id.h"
#include "dl/store/ini_file.h"
#include "dl/store/setting_cache_master.h"

namespace DL {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CacheKey, KeyStringsOfBothKinds) {
  std::pair<TIniCacheItemID, const char*> cases[] = {
      {TIniCacheItemID(nullptr, nullptr, nullptr), "cc_bn_tn_sn"},
      {TIniCacheItemID("C", "TQBR", "TP1"), "ccC_bnTQBR_tnTP1_sn"},
      {TIniCacheItemID("A1", 2.0), "A1"}, {TIniCacheItemID("A1", kNaN), "A1"},
      {TIniCacheItemID(nullptr, 3.0), ""},
  };
  for (auto& [id, key] : cases) EXPECT_EQ(id.GetKey(), key);
  TIniCacheItemID plain("C", "B", "T");
  EXPECT_EQ(plain.GetKind() * 10 + plain.GetLeverage(), -1.0);
  EXPECT_EQ(plain.SetBoard("EQBR"), "EQBR");
  EXPECT_EQ(plain.SetTradingPoint("TP2"), "TP2");
  EXPECT_EQ(plain.GetKey(), "ccC_bnEQBR_tnTP2_sn");
  const TIniCacheItemID withLeverage("C", 2.5);
  EXPECT_EQ(withLeverage.GetKind() * 10 + withLeverage.GetLeverage(), 12.5);
  EXPECT_EQ(withLeverage.GetBoard(), "");
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
    if (same) EXPECT_EQ(TCacheKeyHash()(a), TCacheKeyHash()(b)) << x << " vs " << y;
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
  EXPECT_NE(cache.Get(TIniCacheItemID("A", 3.0)), two);
  EXPECT_EQ(cache.Get(TIniCacheItemID("A", 2.0)), two);
  EXPECT_EQ(cache.Get(TIniCacheItemID("A", kNaN)), cache.Get(TIniCacheItemID("A", kInf)));
  EXPECT_EQ(cache.loads, 5);
  EXPECT_EQ(cache.EntryCount(), 5u);
  // A null load answers the default and stores nothing; a stored default is
  // shared, not copied.
  for (int i = 0; i < 2; ++i) EXPECT_EQ(cache.Get(TIniCacheItemID("none", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.loads, 7);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(cache.Get(TIniCacheItemID("shared", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.loads, 8);
  EXPECT_EQ(cache.EntryCount(), 6u);
  EXPECT_EQ(*cache.GetDefault(), -1);
}

}  // namespace
}  // namespace DL
