// The notification settings: a tree of pages, one per risk parameter, each
// showing the levels, the sending switches, the schedule and the templates
// of its margin calls. It edits a copy; a page is created when it is first
// shown and taken into the copy only on OK, so Cancel drops every edit.
#pragma once

#include "module/settings/module_settings.h"
#include "sdk/plugin_dialog.h"
#include "sdk/plugin_tree_view.h"

class CVantrelNotificationsDlg : public CZPluginDialog {
 public:
  explicit CVantrelNotificationsDlg(const TModuleSettings& live);

  const TModuleSettings& Settings() const { return m_settings; }

  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  void OnNotify(WPARAM wParam, LPARAM lParam) override;
  using CZPluginDialog::OnNotify;

 private:
  void BuildTree();
  void ShowPage(int templateId);

  TModuleSettings m_settings;
  PluginTreeView m_tree;
  HWND m_shownPage = nullptr;
};
