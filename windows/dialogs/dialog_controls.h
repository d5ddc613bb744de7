// The controls of a dialog as the dialog's logic sees them, so that logic
// can run over a real dialog window or over anything else that answers.
#pragma once

#include <windows.h>

#include <string>

class IDialogControls {
 public:
  virtual ~IDialogControls() = default;
  virtual std::string Text(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual bool Checked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual void Enable(int id, bool enabled) = 0;
};

// The items of a dialog window.
class CDialogItemControls : public IDialogControls {
 public:
  explicit CDialogItemControls(HWND dialog) : m_dialog(dialog) {}
  // At most 10239 characters of an item's text.
  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  bool Checked(int id) const override;
  void SetChecked(int id, bool checked) override;
  void Enable(int id, bool enabled) override;

 private:
  HWND m_dialog;
};
