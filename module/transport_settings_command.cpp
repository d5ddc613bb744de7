// The mailing settings command: the dialog edits a copy; OK lets go of a
// database or mail server that changed, puts the copy in force, connects the
// changed database and reads the address files again, so a cleared path
// empties its list and a file that cannot be opened is told at once.
// Settings reach info.ini when the plug-in is unloaded.
#include "module/vantrel_module.h"

#include "sdk/modal_loops.h"
#include "windows/dialogs/settings_transport_dlg.h"

void CVantrelModule::EditTransportSettings() {
  CVantrelSettingsTransportDlg dialog(m_transport);
  if (dialog.DoModal(nullptr) != 1) return;
  const bool databaseChanged = m_marginCalls.PrepareTransportChange(dialog.Settings());
  m_transport.AssignTransportSettings(dialog.Settings());
  if (databaseChanged) m_marginCalls.ConnectChangedDatabase();
  const std::string unread = ReloadAddressFiles();
  if (!unread.empty())
    ShowMessageBox(static_cast<HWND>(CallHost<25>(host::kMainFrame)), unread.c_str(), "Внимание",
                MB_OK | MB_ICONEXCLAMATION);
}
