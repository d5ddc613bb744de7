// The mail or database password: entered by the user and turned into the
// form kept in the settings (plain or enciphered by PS.dll), or, without the
// dialog being shown, a stored form turned back into the usable password.
#pragma once

#include "sdk/plugin_dialog.h"
#include "windows/dialogs/password_library.h"

#include <string>

// String-table entries whose texts key the two passwords in PS.dll.
enum : UINT { IDS_DB_PASSWORD_LABEL = 21, IDS_MAIL_PASSWORD_LABEL = 22 };

class CVantrelGetPassDlg : public CZPluginDialog {
 public:
  // The label's string-table id and the password exactly as stored; PS.dll
  // does the work.
  CVantrelGetPassDlg(UINT labelId, const std::string& stored);
  // The same with the library's two functions given.
  CVantrelGetPassDlg(UINT labelId, const std::string& stored, const TPsFunctions& functions);

  // The held text: the stored form, and after OK the form to store.
  std::string GetPasswordText() const { return m_held; }
  // The usable password of the held stored form; empty when it cannot be
  // turned back.
  std::string DecodePassword();
  // The held text becomes the form to store, enciphered when asked; empty
  // when the library failed.
  std::string EncodePassword(bool encipher);
  // True when the held text is in the enciphered form.
  bool CheckPassword();

  int OnOK() override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 private:
  // fn_3 over the input; the held text becomes its answer (empty on failure).
  int TransformHeld(const std::string& input);
  // Nothing typed: only the form of the held password may change.
  int ChangeHeldForm(bool encipher);
  // The held text becomes the password's form to store and the dialog ends;
  // when the library fails the user is told and the held text stays.
  int Store(const std::string& password, bool encipher);
  int Refuse(const char* text);
  std::string ItemText(int id) const;

  std::string m_held;
  const char* const m_className = "ZENK_Application";
  char m_label[256] = {};
  TPsFunctions m_functions;
};
