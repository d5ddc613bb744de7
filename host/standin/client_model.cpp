#include "host/standin/client_model.h"

void ClientModel::SetClientCode(const std::string& firm, const std::string& account,
                                const std::string& clientCode) {
  m_clientCodes[{firm, account}] = clientCode;
}

const std::string* ClientModel::ClientCode(const std::string& firm,
                                           const std::string& account) const {
  const auto found = m_clientCodes.find({firm, account});
  return found == m_clientCodes.end() ? nullptr : &found->second;
}

void ClientModel::SetQualification(const std::string& firm, const std::string& client,
                                   double value) {
  m_qualifications[{firm, client}] = value;
}

bool ClientModel::Qualification(const std::string& firm, const std::string& client,
                                double* value) const {
  const auto found = m_qualifications.find({firm, client});
  if (found == m_qualifications.end()) return false;
  *value = found->second;
  return true;
}

void ClientModel::SetParameter(const std::string& firm, const std::string& client,
                               int32_t portfolio, int32_t id, double value) {
  m_parameters[{firm, client, portfolio, id}] = value;
}

bool ClientModel::Parameter(const std::string& firm, const std::string& client,
                            int32_t portfolio, int32_t id, double* value) const {
  const auto found = m_parameters.find({firm, client, portfolio, id});
  if (found == m_parameters.end()) return false;
  *value = found->second;
  return true;
}

void ClientModel::SetPortfolios(const std::string& firm, const std::string& client,
                                std::vector<int32_t> portfolios) {
  m_portfolios[{firm, client}] = std::move(portfolios);
}

const std::vector<int32_t>& ClientModel::Portfolios(const std::string& firm,
                                                    const std::string& client) const {
  static const std::vector<int32_t> kNone;
  const auto found = m_portfolios.find({firm, client});
  return found == m_portfolios.end() ? kNone : found->second;
}

void ClientModel::Clear() {
  m_clientCodes.clear();
  m_qualifications.clear();
  m_parameters.clear();
  m_portfolios.clear();
  m_connected = true;
}
