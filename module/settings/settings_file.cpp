#include "module/settings/settings_file.h"
#include "module/settings/profile_write_batch.h"
#include "module/settings/settings_paths.h"

CSettingsFile::CSettingsFile(const std::string& folder)
    : m_path(folder.empty() ? std::string() : SettingsFilePath(folder)) {}

bool CSettingsFile::Load(TModuleSettings& general, TTransportSettings& transport,
                         TCalcSettings& calc, TClosingSettings& closing,
                         std::vector<std::string>* cuts) const {
  if (m_path.empty()) return false;
  CProfileWriteBatch batch(m_path);
  general.ReadGeneralSettings(m_path);
  transport.ReadTransportSettings(m_path);
  calc.ReadOptValueParam(m_path);
  closing.ReadClosingSettings(m_path, cuts);
  if (!transport.NotifEnabledAtStart) general.NotificationsOn = false;
  return true;
}

bool CSettingsFile::Save(const TModuleSettings& general, const TTransportSettings& transport,
                         const TCalcSettings& calc, const TClosingSettings& closing) const {
  if (m_path.empty()) return false;
  CProfileWriteBatch batch(m_path);
  general.WriteGeneralSettings(m_path);
  transport.WriteTransportSettings(m_path);
  calc.WriteOptValueParam(m_path);
  closing.WriteClosingSettings(m_path);
  return true;
}
