// COrderStore: the closing orders of one preparation window, by client (its
// trading account and firm), each client's lines in the order they were formed.
#pragma once

#include "module/closing/order_line.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class COrderStore {
 public:
  using Lines = std::vector<std::unique_ptr<TOrderLine>>;
  using LineTest = std::function<bool(const TOrderLine&)>;

  // Trading account and firm, kept apart: run together, one client's "AB"
  // and "CFIRM" would be another's "ABC" and "FIRM".
  using Key = std::pair<std::string, std::string>;
  // Stands for every client where a key chooses whose lines.
  static const Key kEveryClient;

  static Key KeyOf(const char* account, const char* firm) { return Key(account, firm); }

  TOrderLine& Add(const TOrderLine& line);
  // Null when the key has no entry.
  const Lines* Find(const Key& key) const;
  TOrderLine* LineAt(const Key& key, size_t index);
  const std::map<Key, Lines>& All() const { return m_lines; }

  // Removes the client's lines the host has not taken: a taken line stands
  // for an order at the exchange and stays in view until the host settles it.
  void RemoveUnsent(const Key& key);
  // Removes one line unless the host took it.
  void RemoveLine(const Key& key, size_t index);

  // Lines of the key (or of every client) that pass the test.
  int Count(const Key& key, const LineTest& test) const;
  void ForEach(const Key& key, const std::function<void(TOrderLine&)>& action);

  // Advances every line sent with this transaction id by the host's order
  // record: active, else withdrawn, else executed; a line refused with an
  // id is taken after all. Lines of an id of -1 were never taken by the
  // host and never match. The module hands on only
  // the records its order book takes, so a late record never reaches a line
  // whose order was settled.
  void Advance(int32_t transId, uint32_t flags, double orderNum, const FILETIME& orderTime);

 private:
  std::map<Key, Lines> m_lines;
};
