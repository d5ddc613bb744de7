// Edits one closing pattern: a copy of it, which the closing settings
// dialog takes over when this dialog ends with OK.
#pragma once

#include "module/settings/closing_pattern.h"
#include "sdk/plugin_dialog.h"

class CVantrelClosingPatternDlg : public CZPluginDialog {
 public:
  explicit CVantrelClosingPatternDlg(const TClosingPattern& pattern);

  const TClosingPattern& Pattern() const { return m_pattern; }

  int OnCommandId(int id, int code, int third) override;
  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 private:
  TClosingPattern m_pattern;
};
