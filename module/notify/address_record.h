#pragma once

#include "module/settings/comma_lists.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// A client's addresses as the address files give them.
struct TAddressRecord {
  std::string ClientCode;
  std::vector<int> Uids;
  StringList Emails;
};

// Keyed by the client code and the firm, the firm empty for lines that name
// none. The two stay apart: "12, 345" is client 12 of firm 345 and never
// client 12345.
typedef std::pair<std::string, std::string> TAddressKey;
typedef std::map<TAddressKey, TAddressRecord> TAddressMap;

// The record whose list a channel uses: the firm's own record when it has
// addresses of that kind, else the client code's record, else the firm's
// record with its empty list; null when the client has neither.
const TAddressRecord* ChooseEmailRecord(const TAddressMap& map, const std::string& clientCode,
                                        const std::string& firm);
const TAddressRecord* ChooseUidRecord(const TAddressMap& map, const std::string& clientCode,
                                      const std::string& firm);
