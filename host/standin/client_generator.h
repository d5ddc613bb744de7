// A sample brokerage made up from a seed: clients of a few firms with limits
// and positions on the scenario's futures and options, every so often a
// united client with a spot record, client values, a qualification and
// portfolios, and a share of clients with thin cover whose funds sufficiency
// falls below the warning and critical levels when prices move against them.
// The same seed always gives the same brokerage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class StandInHost;

struct GeneratedClientsSpec {
  int count = 0;
  uint32_t seed = 1;
  std::vector<std::string> firms;
  // Security codes already in the host; their offer and deposits price the positions.
  std::vector<std::string> futures;
  std::vector<std::string> options;
  std::string boardTag = "EQTV";
  std::string currency = "SUR";
  int unitedEvery = 4;   // every n-th client is united; 0 for none
  int riskyEvery = 10;   // about one client in n has thin cover; 0 for none
  int32_t firstLimitId = 1;
  int32_t firstPositionId = 100001;
};

// Adds the clients to the host: accounts, spot records and client values at
// once, limits and positions to the records pushed at the start. Securities
// the host lacks are left out and reported in the feed's problems. Returns
// the number of clients made (0 without firms or known futures).
int GenerateClients(const GeneratedClientsSpec& wanted, StandInHost& host);
