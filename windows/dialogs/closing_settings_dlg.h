// Edits the position-closing settings: the instruments that may be closed,
// the spread, the order comment, the closing patterns and the auto-close
// schedule. It works on a copy, which the module puts in force only when the
// dialog ends with OK.
#pragma once

#include "module/settings/closing_settings.h"
#include "sdk/plugin_dialog.h"
#include "windows/dialogs/closing_instruments.h"

#include <string>

class CVantrelClosingSettingsDlg : public CZPluginDialog {
 public:
  // The host's instruments are read when the dialog is built.
  explicit CVantrelClosingSettingsDlg(const TClosingSettings& closing);

  const TClosingSettings& Settings() const { return m_closing; }

  INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnCommandId(int id, int code, int third) override;
  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 private:
  HWND Item(int id) const { return GetDlgItem(GetDialogWindow(), id); }
  void SetUpButtonIcons();
  void SetUpScheduleList();
  void FillInstrumentLists();
  void KeepUsedList();
  void UpdateButtons();
  void OnClick(int id);
  void MoveInstruments(int id);
  void AddPattern();
  void EditPattern();
  void DeletePattern();
  void MakeDefaultPattern();
  void FillPatterns();
  void EditEntry(bool add);
  void DeleteEntry();
  int SelectedEntry() const;
  bool Confirm(const std::string& question);

  TClosingSettings m_closing;
  CClosingInstrumentLists m_instruments;
};
