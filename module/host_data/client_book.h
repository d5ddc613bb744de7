// CClientBook: the module's clients and the host's limit and position records
// behind them. A client is created by its first limit or position record and
// lives until the host stops the plug-in; the book owns every record copy.
//
// A run over the clients that calls the host (a margin call's channels, its
// message boxes) holds a CUse: the host may stop the plug-in inside such a
// call, and the records the run holds must outlive it.
#pragma once

#include "module/risk/client_risk_record.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CClientBook {
 public:
  // Clients by (firm, trading account), firm first, so a pass over them
  // meets each firm's clients together.
  using ClientKey = std::pair<std::string, std::string>;
  using ClientMap = std::map<ClientKey, std::unique_ptr<TClientRiskRecord>>;

  // A limit record (160 bytes): replaces the client's limit of the same id
  // or is added; a record carrying the removal marker is ignored (null).
  TClientRiskRecord* OnLimit(const uint8_t* record, int64_t now);
  // A position record (144 bytes): the same with the client's positions.
  TClientRiskRecord* OnPosition(const uint8_t* record, int64_t now);
  // Marks the first limit with the id as removed; the recalculation skips it
  // until a limit record with the same id arrives again.
  void OnLimitRemoval(int32_t limitId, int64_t now);

  TClientRiskRecord* Find(const std::string& firm, const std::string& account) const;
  ClientMap& Clients() { return m_clients; }
  const ClientMap& Clients() const { return m_clients; }
  size_t LimitCount() const { return m_limits.size(); }
  size_t PositionCount() const { return m_positions.size(); }

  // Forgets every client and every record copy. While a use is held the
  // records are marked forgotten and freed when the last use ends; the book
  // is empty at once, for the records the host sends after its stop.
  void Clear();

  class CUse {
   public:
    explicit CUse(CClientBook& book) : m_book(book) { ++m_book.m_uses; }
    ~CUse() {
      if (--m_book.m_uses == 0) m_book.m_forgotten.clear();
    }
    CUse(const CUse&) = delete;
    CUse& operator=(const CUse&) = delete;

   private:
    CClientBook& m_book;
  };

 private:
  using RecordCopies = std::vector<std::unique_ptr<uint8_t[]>>;
  struct TForgotten {
    ClientMap clients;
    RecordCopies limits, positions;
  };
  TClientRiskRecord* ClientOf(const uint8_t* record);
  static void Upsert(const uint8_t* record, uint32_t size, std::vector<uint8_t*>& clientRecords,
                     RecordCopies& allRecords);

  ClientMap m_clients;
  RecordCopies m_limits;
  RecordCopies m_positions;
  int m_uses = 0;
  std::vector<TForgotten> m_forgotten;
};

// The firm and trading account texts of a limit or position record.
std::string RecordFirm(const uint8_t* record);
std::string RecordAccount(const uint8_t* record);
// The security code of a position record.
std::string RecordSecurityCode(const uint8_t* position);
