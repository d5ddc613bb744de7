#include "module/risk/client_code_rules.h"

#include <algorithm>
#include <cctype>

namespace {
const std::string kMainSection = "[CHANGEFUTCLIENTCODES]";
const std::string kFirmSection = "[CHANGEFUTCLIENTCODES_";
const std::string kFirmKey = "FIRM";
const char kWhitespace[] = " \t\n\v\f\r";
const char kLineBreaks[] = "\r\n";

bool Contains(const std::vector<std::string>& list, const std::string& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Where the line after the one holding position starts.
size_t NextLineAfter(const std::string& text, size_t position) {
  const size_t end = text.find_first_of(kLineBreaks, position);
  return end == std::string::npos ? text.size() : end;
}

const std::vector<std::string>& ListOf(const std::map<std::string, std::vector<std::string>>& map,
                                       const std::string& key) {
  static const std::vector<std::string> kNone;
  const auto found = map.find(key);
  return found == map.end() ? kNone : found->second;
}
}  // namespace

std::string ExtractLine(const std::string& text, size_t position) {
  if (position >= text.size()) return std::string();
  return text.substr(position, NextLineAfter(text, position) - position);
}

std::string TextAfterEquals(const std::string& line) {
  const size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

bool CClientCodeRules::ParseClientCodeChangeRules(const std::string& firm,
                                                   const std::string& text) {
  m_added = false;
  const std::string upper = UpperCase(text);

  const size_t main = upper.find(kMainSection);
  if (main != std::string::npos) {
    AddFirmWithRules(firm, true);
    ParseSectionLines(firm, text, upper, NextLineAfter(text, main), std::string(), true);
  }

  size_t section = upper.find(kFirmSection);
  while (section != std::string::npos) {
    AddFirmWithRules(firm, false);
    const size_t suffixStart = section + kFirmSection.size();
    const size_t close = text.find(']', suffixStart);
    const std::string suffix = close == std::string::npos
                                   ? text.substr(suffixStart)
                                   : text.substr(suffixStart, close - suffixStart);
    if (suffix == firm) AddSelfNamedFirm(firm);
    if (close == std::string::npos) break;
    const size_t end =
        ParseSectionLines(firm, text, upper, NextLineAfter(text, close), suffix, false);
    section = upper.find(kFirmSection, end);
  }
  return m_added;
}

size_t CClientCodeRules::ParseSectionLines(const std::string& firm, const std::string& text,
                                           const std::string& upper, size_t position,
                                           std::string firmCode, bool firmLines) {
  for (;;) {
    position = text.find_first_not_of(kWhitespace, position);
    if (position == std::string::npos) return text.size();
    if (text[position] == '[') return position;
    const std::string line = ExtractLine(text, position);
    if (firmLines && upper.compare(position, kFirmKey.size(), kFirmKey) == 0) {
      const size_t equals = line.find('=');
      firmCode = equals == std::string::npos ? line : line.substr(equals + 1);
      if (firmCode == firm) AddSelfNamedFirm(firm);
    } else {
      AddAccount(TextAfterEquals(line), firm, firmCode);
    }
    position += line.size();
  }
}

void CClientCodeRules::Clear() {
  m_firmsWithRules.clear();
  m_selfNamedFirms.clear();
  m_listingFirms.clear();
  m_firmCodes.clear();
}

bool CClientCodeRules::IsClientExcluded(const std::string& firm,
                                        const std::string& account) const {
  const bool listedByFirm = Contains(ListingFirmsOf(account), firm);
  const bool included =
      listedByFirm || !Contains(m_firmsWithRules, firm) || Contains(m_selfNamedFirms, firm);
  return !included;
}

std::string CClientCodeRules::SecondFirmOf(const std::string& account) const {
  const std::vector<std::string>& codes = FirmCodesOf(account);
  return codes.empty() ? std::string() : codes.front();
}

const std::vector<std::string>& CClientCodeRules::ListingFirmsOf(
    const std::string& account) const {
  return ListOf(m_listingFirms, account);
}

const std::vector<std::string>& CClientCodeRules::FirmCodesOf(const std::string& account) const {
  return ListOf(m_firmCodes, account);
}

void CClientCodeRules::AddFirmWithRules(const std::string& firm, bool evenWhenListed) {
  if (!evenWhenListed && Contains(m_firmsWithRules, firm)) return;
  m_firmsWithRules.push_back(firm);
  m_added = true;
}

void CClientCodeRules::AddSelfNamedFirm(const std::string& firm) {
  if (Contains(m_selfNamedFirms, firm)) return;
  m_selfNamedFirms.push_back(firm);
  m_added = true;
}

void CClientCodeRules::AddAccount(const std::string& account, const std::string& listingFirm,
                                  const std::string& firmCode) {
  m_listingFirms[account].push_back(listingFirm);
  m_firmCodes[account].push_back(firmCode);
  m_added = true;
}
