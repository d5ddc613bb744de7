// The general settings: recalculation period, client kinds, how assets and
// variation margin count, risk-table colours, the client filter file and the
// mail log. It edits a copy; the module takes the copy over when the dialog
// ends with OK. Reloading the filter file acts on the module at once.
#pragma once

#include "module/settings/module_settings.h"
#include "sdk/plugin_dialog.h"

class CVantrelSettingsGeneralDlg : public CZPluginDialog {
 public:
  explicit CVantrelSettingsGeneralDlg(const TModuleSettings& live);

  const TModuleSettings& Settings() const { return m_settings; }

  int OnCommandId(int id, int code, int third) override;
  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 private:
  void BrowseFilterFile();
  void ReloadClientFilter();

  TModuleSettings m_settings;
};
