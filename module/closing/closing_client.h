// Whose positions closing orders close. A united client's trading accounts
// share one set of client values: what closes in one of them moves the level
// of all, so its accounts count as one client wherever closing orders count
// lots towards a level.
#pragma once

#include <string>

struct TClientRiskRecord;
struct TOrderLine;

struct TClosingClient {
  std::string firm, account, clientCode;
  bool united = false;

  // The same client: its own firm and trading account or, for a united
  // client, another account of its firm resolved to its client code.
  bool Includes(const TClosingClient& other) const;
  bool SameAccount(const TClosingClient& other) const { return firm == other.firm && account == other.account; }
};

TClosingClient ClosingClientOf(const TClientRiskRecord& client);
TClosingClient ClosingClientOf(const TOrderLine& line);
