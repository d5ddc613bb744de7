#include "module/notify/stored_password.h"

#include "windows/dialogs/get_pass_dlg.h"

static_assert(kDatabasePasswordLabel == IDS_DB_PASSWORD_LABEL &&
                  kMailPasswordLabel == IDS_MAIL_PASSWORD_LABEL,
              "a password is keyed to the label its dialog shows");

// The password dialog, unshown, turns the stored form back through PS.dll.
std::string DecodeStoredPassword(int labelId, const std::string& stored) {
  return CVantrelGetPassDlg(static_cast<UINT>(labelId), stored).DecodePassword();
}
