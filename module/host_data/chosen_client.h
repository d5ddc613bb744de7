// A client the user chose before a modal box. While a box runs the host goes
// on working and may stop the plug-in, which frees every client record; the
// client is therefore kept by firm and trading account, never by its record,
// and looked up again after each box.
#pragma once

#include "module/host_data/client_book.h"

#include <string>

class CChosenClient {
 public:
  // None chosen when client is null.
  CChosenClient(const CClientBook& book, const TClientRiskRecord* client);

  bool Chosen() const { return m_chosen; }
  // The client's record as the book holds it now; null when none was chosen
  // or the client is gone.
  TClientRiskRecord* Record() const;
  // A client was chosen and the book no longer holds it.
  bool Gone() const { return m_chosen && Record() == nullptr; }

 private:
  const CClientBook& m_book;
  bool m_chosen;
  std::string m_firm, m_account;
};
