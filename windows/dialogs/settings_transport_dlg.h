// The mailing settings: channels, mail server, address files, message-file
// folders, the database journal and the repeat limits of margin calls. It
// edits a copy; the module takes the copy over when the dialog ends with OK.
#pragma once

#include "module/settings/transport_settings.h"
#include "sdk/plugin_dialog.h"

#include <string>

class CVantrelSettingsTransportDlg : public CZPluginDialog {
 public:
  explicit CVantrelSettingsTransportDlg(const TTransportSettings& live);

  const TTransportSettings& Settings() const { return m_settings; }

  int OnCommandId(int id, int code, int third) override;
  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 private:
  void BrowseInto(int editId);
  void EditPassword(UINT labelId, std::string TTransportSettings::*password);

  TTransportSettings m_settings;
};
