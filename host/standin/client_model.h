// What the host knows of its derivatives clients beyond the pushed records:
// which trading accounts belong to united clients (host function 148), the
// clients' qualification (135), their parameters per portfolio (202) and
// portfolio lists (203), and the connection to the trading server (49).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class ClientModel {
 public:
  // A united client: the host resolves the account to this client code.
  void SetClientCode(const std::string& firm, const std::string& account,
                     const std::string& clientCode);
  // Null when the account is not a united client's.
  const std::string* ClientCode(const std::string& firm, const std::string& account) const;

  void SetQualification(const std::string& firm, const std::string& client, double value);
  bool Qualification(const std::string& firm, const std::string& client, double* value) const;

  void SetParameter(const std::string& firm, const std::string& client, int32_t portfolio,
                    int32_t id, double value);
  bool Parameter(const std::string& firm, const std::string& client, int32_t portfolio,
                 int32_t id, double* value) const;

  void SetPortfolios(const std::string& firm, const std::string& client,
                     std::vector<int32_t> portfolios);
  // Empty for an unknown client.
  const std::vector<int32_t>& Portfolios(const std::string& firm, const std::string& client) const;

  void SetConnected(bool connected) { m_connected = connected; }
  bool Connected() const { return m_connected; }

  size_t AccountCount() const { return m_clientCodes.size(); }
  void Clear();

 private:
  using Key = std::pair<std::string, std::string>;
  std::map<Key, std::string> m_clientCodes;
  std::map<Key, double> m_qualifications;
  std::map<std::tuple<std::string, std::string, int32_t, int32_t>, double> m_parameters;
  std::map<Key, std::vector<int32_t>> m_portfolios;
  bool m_connected = true;
};
