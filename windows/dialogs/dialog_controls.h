// The controls of a dialog as the dialog's logic sees them, so that logic
// can run over a real dialog window or over anything else that answers.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

constexpr int kTrimmedDecimals = -1;

// One item of a combo box: what it shows and the value it stands for.
struct TControlItem {
  std::string text;
  int data;
};

class IDialogControls {
 public:
  virtual ~IDialogControls() = default;
  virtual std::string Text(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  // The most the user can type or paste into an edit; a text set by the
  // program may be longer.
  virtual void LimitText(int id, std::size_t length) = 0;
  virtual bool Checked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual void Enable(int id, bool enabled) = 0;
  // Numbers as the user writes them: the user's decimal separator, no
  // digit grouping. An edit that holds no number reads as 0. Decimals
  // below 0 show as many as the value has, without trailing zeros.
  virtual double Number(int id) const = 0;
  virtual void SetNumber(int id, double value, int decimals) = 0;
  // A combo box's items, replaced in order, and its selection by item data.
  virtual void SetItems(int id, const std::vector<TControlItem>& items) = 0;
  // Selects the first item with that data; nothing is selected when none has it.
  virtual void SelectItemData(int id, int data) = 0;
  virtual std::optional<int> SelectedItemData(int id) const = 0;
};

// The items of a dialog window.
class CDialogItemControls : public IDialogControls {
 public:
  explicit CDialogItemControls(HWND dialog) : m_dialog(dialog) {}
  // The item's whole text, however long.
  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  void LimitText(int id, std::size_t length) override;
  bool Checked(int id) const override;
  void SetChecked(int id, bool checked) override;
  void Enable(int id, bool enabled) override;
  double Number(int id) const override;
  void SetNumber(int id, double value, int decimals) override;
  void SetItems(int id, const std::vector<TControlItem>& items) override;
  void SelectItemData(int id, int data) override;
  std::optional<int> SelectedItemData(int id) const override;

 private:
  HWND m_dialog;
};
