#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>

#include "dl/store/cache_item_id.h"

namespace DL {

class TIniFile;

// A lazily filled cache of per-client records read from the settings text.
// Records are immutable once loaded and shared by pointer: the default record
// serves every key without a section of its own, so nobody may write into it.
// Each record is owned once (shared ownership between the entries, the
// default and any memo of the concrete cache) and destroyed once.
template <class T>
class AIniSettingCacheMaster {
 public:
  using TRecordPtr = std::shared_ptr<const T>;

  explicit AIniSettingCacheMaster(TIniFile* ini) : Ini(ini) {}
  AIniSettingCacheMaster(const AIniSettingCacheMaster&) = delete;
  AIniSettingCacheMaster& operator=(const AIniSettingCacheMaster&) = delete;
  virtual ~AIniSettingCacheMaster() = default;

  // Never null once the concrete cache is constructed.
  const T* Get(const TIniCacheItemID& id) {
    TCacheKey key = id.GetCacheKey();
    auto found = Entries.find(key);
    if (found != Entries.end()) return found->second.get();
    TRecordPtr loaded = Load(id);
    if (!loaded) return DefaultRecord.get();
    const T* result = loaded.get();
    Entries.emplace(std::move(key), std::move(loaded));
    return result;
  }

  const T* GetDefault() const { return DefaultRecord.get(); }
  std::size_t EntryCount() const { return Entries.size(); }

 protected:
  // The record for a key that is not cached yet: a new record, one the
  // concrete cache shares between keys, the default record, or null (then
  // the default record answers and nothing is stored).
  virtual TRecordPtr Load(const TIniCacheItemID& id) = 0;

  TIniFile* Ini;
  TRecordPtr DefaultRecord;

 private:
  std::unordered_map<TCacheKey, TRecordPtr, TCacheKeyHash> Entries;
};

}  // namespace DL
