#include "module/host_data/chosen_client.h"

CChosenClient::CChosenClient(const CClientBook& book, const TClientRiskRecord* client)
    : m_book(book), m_chosen(client != nullptr) {
  if (client != nullptr) m_firm = client->firm, m_account = client->account;
}

TClientRiskRecord* CChosenClient::Record() const {
  return m_chosen ? m_book.Find(m_firm, m_account) : nullptr;
}
