// Client-code change rules: a firm's settings text may declare that the
// derivatives accounts of other firms are served through it, in sections
// "[CHANGEFUTCLIENTCODES]" (with FIRM lines naming the firm of the accounts
// that follow) and "[CHANGEFUTCLIENTCODES_<firm>]". The rules decide which
// clients the module leaves out and which firm stands for a united client's
// account.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

class CClientCodeRules {
 public:
  // Adds the firm's rules from its settings text. True when anything was
  // added: the decisions made for clients before may then no longer hold,
  // so every client's rule state must go back to undecided.
  bool ParseClientCodeChangeRules(const std::string& firm, std::string_view text);

  // Forgets every rule.
  void Clear();

  // A client of a firm that has rules is left out unless its account is
  // listed in that firm's own rules or the firm names itself in them.
  bool IsClientExcluded(const std::string& firm, const std::string& account) const;

  // The first firm code given for the account, or empty.
  std::string SecondFirmOf(const std::string& account) const;

  // Firms whose texts hold change sections, and firms that name themselves.
  const std::vector<std::string>& FirmsWithRules() const { return m_firmsWithRules; }
  const std::vector<std::string>& SelfNamedFirms() const { return m_selfNamedFirms; }
  // Firms whose texts list the account, and the firm codes given for it, in
  // the order read; empty for an account no rule lists.
  const std::vector<std::string>& ListingFirmsOf(const std::string& account) const;
  const std::vector<std::string>& FirmCodesOf(const std::string& account) const;

 private:
  void AddFirmWithRules(const std::string& firm, bool evenWhenListed);
  void AddSelfNamedFirm(const std::string& firm);
  void AddAccount(const std::string& account, const std::string& listingFirm,
                  const std::string& firmCode);
  // Reads the section's lines from position up to the next section; the
  // result is where the section ends.
  size_t ParseSectionLines(const std::string& firm, std::string_view text, size_t position,
                           std::string firmCode, bool firmLines);

  std::vector<std::string> m_firmsWithRules;
  std::vector<std::string> m_selfNamedFirms;
  std::map<std::string, std::vector<std::string>> m_listingFirms;
  std::map<std::string, std::vector<std::string>> m_firmCodes;
  bool m_added = false;
};

// The text from position up to the first carriage return or line feed, or
// to the end.
std::string ExtractLine(std::string_view text, size_t position);

// The line after its first "=", or empty when it has none.
std::string TextAfterEquals(const std::string& line);
