#include "module/risk/client_code_rules.h"

#include <algorithm>

namespace {
constexpr std::string_view kMainSection = "[CHANGEFUTCLIENTCODES]";
constexpr std::string_view kFirmSection = "[CHANGEFUTCLIENTCODES_";
constexpr std::string_view kFirmKey = "FIRM";
const char kWhitespace[] = " \t\n\v\f\r";
const char kLineBreaks[] = "\r\n";

bool Contains(const std::vector<std::string>& list, const std::string& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// Section names and keys are matched case-blind in the Latin letters only.
char UpperLatin(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The position is one within the text.
bool MatchesAt(std::string_view text, size_t position, std::string_view upperWord) {
  if (text.size() - position < upperWord.size()) return false;
  for (size_t i = 0; i < upperWord.size(); ++i)
    if (UpperLatin(text[position + i]) != upperWord[i]) return false;
  return true;
}

// The first place at or after from where the section header starts; its
// opening "[" has no case, so only the places of a "[" are compared.
size_t FindSectionHeader(std::string_view text, std::string_view upperHeader, size_t from) {
  for (size_t at = text.find('[', from); at != std::string_view::npos; at = text.find('[', at + 1))
    if (MatchesAt(text, at, upperHeader)) return at;
  return std::string_view::npos;
}

// Where the line after the one holding position starts.
size_t NextLineAfter(std::string_view text, size_t position) {
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

std::string ExtractLine(std::string_view text, size_t position) {
  if (position >= text.size()) return std::string();
  return std::string(text.substr(position, NextLineAfter(text, position) - position));
}

std::string TextAfterEquals(const std::string& line) {
  const size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

bool CClientCodeRules::ParseClientCodeChangeRules(const std::string& firm, std::string_view text) {
  m_added = false;
  const size_t main = FindSectionHeader(text, kMainSection, 0);
  if (main != std::string::npos) {
    AddFirmWithRules(firm, true);
    ParseSectionLines(firm, text, NextLineAfter(text, main), std::string(), true);
  }

  size_t section = FindSectionHeader(text, kFirmSection, 0);
  while (section != std::string::npos) {
    AddFirmWithRules(firm, false);
    const size_t suffixStart = section + kFirmSection.size();
    const size_t close = text.find(']', suffixStart);
    const std::string suffix(close == std::string::npos
                                 ? text.substr(suffixStart)
                                 : text.substr(suffixStart, close - suffixStart));
    if (suffix == firm) AddSelfNamedFirm(firm);
    if (close == std::string::npos) break;
    const size_t end = ParseSectionLines(firm, text, NextLineAfter(text, close), suffix, false);
    section = FindSectionHeader(text, kFirmSection, end);
  }
  return m_added;
}

size_t CClientCodeRules::ParseSectionLines(const std::string& firm, std::string_view text,
                                           size_t position, std::string firmCode, bool firmLines) {
  for (;;) {
    position = text.find_first_not_of(kWhitespace, position);
    if (position == std::string::npos) return text.size();
    if (text[position] == '[') return position;
    const std::string line = ExtractLine(text, position);
    if (firmLines && MatchesAt(text, position, kFirmKey)) {
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
