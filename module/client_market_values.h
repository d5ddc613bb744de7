// Values the host computes for one client: its spot-market position and the
// client values by number (host functions 149, 34 and 134).
#pragma once

#include "sdk/host_api.h"

#include <cstdint>

// What these lookups need of a client record. The host takes the record by
// its firm text, which leads the record.
struct TClientMarketKey {
  const char* firm = nullptr;
  const char* clientCode = nullptr;
  const char* boardTag = nullptr;  // of the firm's default portfolio risk configuration
  const char* currency = nullptr;
  bool united = false;  // the client has a united position
};

// Client value numbers the host computes.
enum ClientValueNumber : int { kClientValue5 = 5, kClientValue6 = 6, kClientValue40 = 40 };

// The client's spot-market record as the host copies it (host functions 149
// and 34); usable only when the host has one and its status is 0.
struct TSpotRecord {
  bool usable = false;
  uint8_t bytes[host::record::kSpotSize] = {};
};
TSpotRecord ReadSpotRecord(const TClientMarketKey& client);

// The client's spot value (first + second - third part of its spot-market
// record, 0 without a usable record) and client values 6, 5 and 40, each
// multiplied by 100 (0 when the host does not give it). Null outputs are
// skipped.
void GetSpotPortfolioValues(const TClientMarketKey& client, double* spot, double* value6,
                            double* value5, double* value40);
// The same with the client's spot record already read.
void GetSpotPortfolioValues(const TClientMarketKey& client, const TSpotRecord& spotRecord,
                            double* spot, double* value6, double* value5, double* value40);

// A united client for which the host reports client value 6 or 5.
bool HasUnitedPositionValues(const TClientMarketKey* client);
