// The instruments that the closing settings dialog offers for closing: the
// host's securities of classes fit for closing, or their base assets, and
// those the settings chose. A chosen instrument the host does not list at
// this moment is not shown, but it is kept and counted, so that OK never
// drops what the user cannot see.
#pragma once

#include "module/settings/closing_settings.h"
#include "windows/dialogs/list_entries.h"

#include <string>
#include <vector>

// A host security of a class whose orders the plug-in may send.
struct TClosingInstrument {
  int index;  // the host's security index
  std::string code;
  std::string shortName;
  std::string baseAsset;
  bool traded;
};

// The host's securities of classes fit for closing, in the host's order.
std::vector<TClosingInstrument> ReadClosingInstruments();
// The security codes of the host's position records, in the host's order.
std::vector<std::string> ReadPositionSecurityCodes();

class CClosingInstrumentLists {
 public:
  explicit CClosingInstrumentLists(std::vector<TClosingInstrument> instruments);

  // Fills both lists from the settings: securities (shown by code, or by
  // short name with ShowSecNamesInDlg) or, with UseBaseActive, base assets.
  void Fill(const TClosingSettings& closing);
  const TListEntries& Available() const { return m_available; }
  const TListEntries& Used() const { return m_used; }
  // Chosen instruments the host does not list now.
  int HiddenCount() const { return static_cast<int>(m_hidden.size()); }
  // Some chosen security is not traded.
  bool NotTradedShown() const { return m_notTraded; }

  // The used list, as the user left it, becomes the chosen list of the
  // settings (securities or base assets, by UseBaseActive), followed by the
  // hidden ones.
  void Take(const TListEntries& used, TClosingSettings& closing) const;
  // The chosen securities brought up to date: those no longer traded are
  // dropped, those of the host's positions (traded ones) are added. The
  // lists are filled afresh.
  void Actualize(const std::vector<std::string>& positionCodes, TClosingSettings& closing);

 private:
  const TClosingInstrument* FindSecurity(const std::string& code) const;
  const TClosingInstrument* FindByIndex(int index) const;
  std::string TextOf(const TClosingInstrument& security, bool names) const;
  void FillSecurities(const TClosingSettings& closing);
  void FillBaseAssets(const TClosingSettings& closing);

  std::vector<TClosingInstrument> m_instruments;
  TListEntries m_available;
  TListEntries m_used;
  std::vector<std::string> m_hidden;
  bool m_notTraded = false;
};
