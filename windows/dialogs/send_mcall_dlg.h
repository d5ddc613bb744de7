// The text of a margin call shown for editing before the risk table's command
// sends it by hand. The dialog itself sends nothing.
#pragma once

#include "sdk/plugin_dialog.h"

#include <string>

class CVantrelSendMCallDlg : public CZPluginDialog {
 public:
  // Titled "Отправка маржин-колла клиенту " and the client text; the caller
  // may set another title before running it.
  CVantrelSendMCallDlg(const std::string& clientText, const std::string& text);

  // The text as built, and after "Отправить" as the user left it.
  std::string GetText() const { return m_text; }

  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  int OnOK() override;

  // The most the user may type or the dialog keeps.
  static constexpr int kTextCapacity = 1048575;

 private:
  std::string m_clientText;
  std::string m_text;
};
