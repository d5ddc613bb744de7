// Edits one entry of the auto-close schedule: a copy of it, which the
// closing settings dialog takes over when this dialog ends with OK.
#pragma once

#include "module/settings/closing_settings.h"
#include "sdk/plugin_dialog.h"

class CVantrelEditScheduleDlg : public CZPluginDialog {
 public:
  // The closing settings being edited give the patterns to choose from; they
  // must outlive the dialog. No entry: a new one.
  CVantrelEditScheduleDlg(const TClosingSettings& closing, const TScheduleEntry* entry);

  const TScheduleEntry& Entry() const { return m_entry; }

  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 private:
  const TClosingSettings& m_closing;
  TScheduleEntry m_entry;
};
