// The market the stand-in host quotes: named parameters of its securities
// (host function 43), the values it computes for clients (134), the words and
// accepted entries of its filter-refresh services (136, 137) and the texts of
// the item lists the plug-in keeps as filter handles (51, 52, 160).
#pragma once

#include "sdk/host_api.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// What host function 134 answers for one (firm, client, value number).
struct ClientValue {
  double value = 0.0;
  int result = 0;  // 0 = success; the value is written whatever the result
};

class MarketModel {
 public:
  void SetParameter(int securityIndex, const std::string& name, double value);
  // False when the security has no such parameter.
  bool Parameter(int securityIndex, const std::string& name, double* value) const;

  void SetClientValue(const std::string& firm, const std::string& client, int number,
                      ClientValue value);
  // Null when the host knows no such value.
  const ClientValue* FindClientValue(const std::string& firm, const std::string& client,
                                     int number) const;

  // Host function 136's two words and the entry texts that 137 accepts.
  void SetRefreshWords(uint32_t wordA, uint32_t wordB);
  uint32_t RefreshWordA() const { return m_wordA; }
  uint32_t RefreshWordB() const { return m_wordB; }
  void AcceptEntry(const std::string& text) { m_accepted.insert(text); }
  bool IsAccepted(uint32_t key) const;

  // Item lists: one entry per distinct text; the entries' array lives on the
  // process heap like every host buffer.
  uint32_t AddItem(host::ItemList* list, const std::string& text);
  void ClearItems(host::ItemList* list);
  // Position of the item in its list, or -1 for an unknown item.
  int ItemPosition(uint32_t key) const;
  // What the user picks in the host's next filter dialog (host function 50):
  // the item texts the filter then holds. Without one the dialog is cancelled.
  void QueueFilterChoice(std::vector<std::string> texts) { m_filterChoices.push_back(std::move(texts)); }
  bool TakeFilterChoice(std::vector<std::string>* texts);

  void Clear();

 private:
  struct Item {
    std::string text;
    const host::ItemList* list;
    int position;
  };
  std::map<std::pair<int, std::string>, double> m_parameters;
  std::map<std::tuple<std::string, std::string, int>, ClientValue> m_clientValues;
  uint32_t m_wordA = 0, m_wordB = 0;
  std::set<std::string> m_accepted;
  std::map<uint32_t, Item> m_items;
  // Each list's items by text, and the entries its array has room for: a
  // list of many thousand clients grows without scanning or copying each time.
  std::map<std::pair<const host::ItemList*, std::string>, uint32_t> m_itemKeys;
  std::map<const host::ItemList*, int32_t> m_capacity;
  uint32_t m_nextItemKey = 1;
  std::vector<std::vector<std::string>> m_filterChoices;
};
