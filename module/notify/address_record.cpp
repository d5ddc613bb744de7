#include "module/notify/address_record.h"

namespace {

const TAddressRecord* Find(const TAddressMap& map, const TAddressKey& key) {
  TAddressMap::const_iterator found = map.find(key);
  return found == map.end() ? nullptr : &found->second;
}

template <typename List>
const TAddressRecord* Choose(const TAddressMap& map, const std::string& clientCode,
                             const std::string& firm, List TAddressRecord::*list) {
  const TAddressRecord* firmRecord = Find(map, {clientCode, firm});
  if (firmRecord != nullptr && !(firmRecord->*list).empty()) return firmRecord;
  const TAddressRecord* codeRecord = Find(map, {clientCode, std::string()});
  return codeRecord != nullptr ? codeRecord : firmRecord;
}

}  // namespace

const TAddressRecord* ChooseEmailRecord(const TAddressMap& map, const std::string& clientCode,
                                        const std::string& firm) {
  return Choose(map, clientCode, firm, &TAddressRecord::Emails);
}

const TAddressRecord* ChooseUidRecord(const TAddressMap& map, const std::string& clientCode,
                                      const std::string& firm) {
  return Choose(map, clientCode, firm, &TAddressRecord::Uids);
}
