#include "windows/dialogs/closing_instruments.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {
bool Contains(const std::vector<std::string>& codes, const std::string& code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// An item whose text the list shows already is not added again.
void AddEntry(TListEntries& entries, const std::string& text, int data) {
  for (const TListEntry& entry : entries)
    if (entry.text == text) return;
  entries.push_back({text, data, false});
}
}  // namespace

CClosingInstrumentLists::CClosingInstrumentLists(std::vector<TClosingInstrument> instruments)
    : m_instruments(std::move(instruments)) {}

void CClosingInstrumentLists::Fill(const TClosingSettings& closing) {
  m_available.clear();
  m_used.clear();
  m_hidden.clear();
  m_notTraded = false;
  if (closing.UseBaseActive)
    FillBaseAssets(closing);
  else
    FillSecurities(closing);
}

const TClosingInstrument* CClosingInstrumentLists::FindSecurity(const std::string& code) const {
  for (const TClosingInstrument& security : m_instruments)
    if (security.code == code) return &security;
  return nullptr;
}

const TClosingInstrument* CClosingInstrumentLists::FindByIndex(int index) const {
  for (const TClosingInstrument& security : m_instruments)
    if (security.index == index) return &security;
  return nullptr;
}

// A security without a short name is shown by its code, not as an empty
// line that would hide every other such security.
std::string CClosingInstrumentLists::TextOf(const TClosingInstrument& security, bool names) const {
  return names && !security.shortName.empty() ? security.shortName : security.code;
}

void CClosingInstrumentLists::FillSecurities(const TClosingSettings& closing) {
  for (const TClosingInstrument& security : m_instruments)
    AddEntry(m_available, TextOf(security, closing.ShowSecNamesInDlg), security.index);
  for (const std::string& code : closing.SecsForClosing) {
    const TClosingInstrument* security = FindSecurity(code);
    if (security == nullptr) {
      if (!Contains(m_hidden, code)) m_hidden.push_back(code);
      continue;
    }
    AddEntry(m_used, TextOf(*security, closing.ShowSecNamesInDlg), security->index);
    if (!security->traded) m_notTraded = true;
  }
}

void CClosingInstrumentLists::FillBaseAssets(const TClosingSettings& closing) {
  std::set<std::string> assets;
  for (const TClosingInstrument& security : m_instruments)
    if (!security.baseAsset.empty()) assets.insert(security.baseAsset);
  int data = 0;
  for (const std::string& asset : assets) AddEntry(m_available, asset, data++);
  for (const std::string& asset : closing.BaseActiveForClosing) {
    if (assets.count(asset) > 0) {
      AddEntry(m_used, asset, static_cast<int>(std::distance(assets.begin(), assets.find(asset))));
    } else if (!asset.empty() && !Contains(m_hidden, asset)) {
      m_hidden.push_back(asset);
    }
  }
}

void CClosingInstrumentLists::Take(const TListEntries& used, TClosingSettings& closing) const {
  StringList chosen;
  for (const TListEntry& entry : used) {
    std::string code = entry.text;
    if (!closing.UseBaseActive) {
      const TClosingInstrument* security = FindByIndex(entry.data);
      if (security == nullptr) continue;
      code = security->code;
    }
    if (!code.empty() && !Contains(chosen, code)) chosen.push_back(code);
  }
  for (const std::string& code : m_hidden)
    if (!Contains(chosen, code)) chosen.push_back(code);
  (closing.UseBaseActive ? closing.BaseActiveForClosing : closing.SecsForClosing) = std::move(chosen);
}

void CClosingInstrumentLists::Actualize(const std::vector<std::string>& positionCodes, TClosingSettings& closing) {
  StringList chosen;
  for (const std::string& code : closing.SecsForClosing) {
    const TClosingInstrument* security = FindSecurity(code);
    if (security == nullptr || security->traded) chosen.push_back(code);
  }
  for (const std::string& code : positionCodes) {
    const TClosingInstrument* security = FindSecurity(code);
    if (security != nullptr && security->traded && !Contains(chosen, code)) chosen.push_back(code);
  }
  closing.SecsForClosing = std::move(chosen);
  Fill(closing);
}
