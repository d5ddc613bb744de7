// The calculation settings: how the liquidation value of options is priced.
// It edits a copy; the module takes the copy over when the dialog ends with OK.
#pragma once

#include "module/settings/calc_settings.h"
#include "sdk/plugin_dialog.h"

class CVantrelCalcSettingsDlg : public CZPluginDialog {
 public:
  explicit CVantrelCalcSettingsDlg(const TCalcSettings& live);

  const TCalcSettings& Settings() const { return m_settings; }

  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 private:
  TCalcSettings m_settings;
};
