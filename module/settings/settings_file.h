#pragma once

#include "module/settings/calc_settings.h"
#include "module/settings/closing_settings.h"
#include "module/settings/module_settings.h"
#include "module/settings/transport_settings.h"

#include <string>
#include <vector>

// The module's settings file, info.ini in a given folder (the host program's
// folder in the product), and the order in which the four settings records
// are loaded from it and saved to it.
class CSettingsFile {
 public:
  explicit CSettingsFile(const std::string& folder);

  // Empty when the folder is unknown.
  const std::string& Path() const { return m_path; }

  // General, transport, calculation, then closing settings. When
  // NotifEnabledAtStart is off, notifications start switched off. The stored
  // passwords and the address files are the caller's to check and read.
  // False, with nothing read, when the folder is unknown.
  // Counts of entries cut short while reading are described in cuts, when
  // given. What loading writes back (its conversions of old keys) reaches
  // the file when the loading ends.
  bool Load(TModuleSettings& general, TTransportSettings& transport, TCalcSettings& calc,
            TClosingSettings& closing, std::vector<std::string>* cuts = nullptr) const;
  // The same four records in the same order, the file written once; false
  // when the folder is unknown.
  bool Save(const TModuleSettings& general, const TTransportSettings& transport,
            const TCalcSettings& calc, const TClosingSettings& closing) const;

 private:
  std::string m_path;
};
