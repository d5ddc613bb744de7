// The brokerage the recalculation benchmark feeds the plug-in, also used by
// the tests that hold the recalculation's results to the benchmark's data:
// one futures class of 40 securities with quotes, firms whose broker
// settings texts are about 500 KB each, and clients with one limit and five
// positions each, one in five a united client.
#pragma once

#include "host/standin/host_records.h"

#include <string>
#include <vector>

class StandInHost;

struct BenchBrokerage {
  static constexpr int kFirms = 10;
  static constexpr int kPositionsPerClient = 5;
  static constexpr int kUnitedEvery = 5;
  static constexpr size_t kFirmTextBytes = 500 * 1024;

  static std::string FirmName(int firm);
  // The class, the securities and their quotes, and each firm's text.
  static void AddMarket(StandInHost& host);
  // The clients' codes in the host, and their limit and position records
  // in the order the host pushes them.
  static std::vector<PushedRecord> AddClients(StandInHost& host, int clients);
};
