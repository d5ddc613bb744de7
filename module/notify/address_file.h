#pragma once

#include "module/notify/address_record.h"

#include <string>
#include <vector>

// The two address files: lines "<client code>=<values>" or
// "<client code>, <firm>=<values>", the values separated by ",". The UID file
// gives host user ids, the e-mail file addresses.
enum class EAddressFileKind { kUids = 1, kEmails = 2 };

// Adds the file's values to the records of the map, creating the records it
// names; false when the file cannot be opened. Lines without "=" are skipped.
// A UID that is not a whole number is skipped, with an "ERROR:" text naming
// the file and the line (from 1) added to errors when given.
bool ReadAddressFile(const std::string& path, EAddressFileKind kind, TAddressMap& map,
                     std::vector<std::string>* errors = nullptr);

// Empties that kind of list in every record, then reads the file, so an
// edited file replaces what the previous one gave.
bool ReloadAddressFile(const std::string& path, EAddressFileKind kind, TAddressMap& map,
                       std::vector<std::string>* errors = nullptr);
