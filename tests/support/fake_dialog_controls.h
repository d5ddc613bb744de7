// The controls of a dialog held in memory, for checking what a dialog's
// logic shows and keeps without a window. Numbers are written with "%.*f",
// without trailing zeros for kTrimmedDecimals, and read with atof, so a test
// types them with a "." as decimal point.
#pragma once

#include "windows/dialogs/dialog_controls.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

class FakeDialogControls : public IDialogControls {
 public:
  std::string Text(int id) const override {
    const auto found = texts.find(id);
    return found == texts.end() ? std::string() : found->second;
  }
  void SetText(int id, const std::string& text) override { texts[id] = text; }
  void LimitText(int id, std::size_t length) override { limits[id] = length; }
  bool Checked(int id) const override { return checked.count(id) > 0; }
  void SetChecked(int id, bool on) override {
    if (on)
      checked.insert(id);
    else
      checked.erase(id);
  }
  void Enable(int id, bool on) override { enabled[id] = on; }
  double Number(int id) const override { return std::atof(Text(id).c_str()); }
  void SetNumber(int id, double value, int decimals) override {
    char text[512];
    std::snprintf(text, sizeof text, "%.*f", decimals < 0 ? 6 : decimals, value);
    std::string shown = text;
    if (decimals < 0) {
      shown.erase(shown.find_last_not_of('0') + 1);
      if (shown.back() == '.') shown.pop_back();
    }
    texts[id] = shown;
  }
  void SetItems(int id, const std::vector<TControlItem>& list) override {
    items[id] = list;
    selected.erase(id);
  }
  void SelectItemData(int id, int data) override {
    selected.erase(id);
    for (const TControlItem& item : items[id])
      if (item.data == data) {
        selected[id] = data;
        return;
      }
  }
  std::optional<int> SelectedItemData(int id) const override {
    const auto found = selected.find(id);
    if (found == selected.end()) return std::nullopt;
    return found->second;
  }

  // A combo box's items as "text=data".
  std::vector<std::string> ItemTexts(int id) const {
    std::vector<std::string> shown;
    const auto found = items.find(id);
    if (found != items.end())
      for (const TControlItem& item : found->second) shown.push_back(item.text + "=" + std::to_string(item.data));
    return shown;
  }
  // Whether the control was last enabled; a control never switched counts as enabled.
  bool Enabled(int id) const {
    const auto found = enabled.find(id);
    return found == enabled.end() || found->second;
  }

  std::map<int, std::string> texts;
  std::map<int, std::size_t> limits;
  std::set<int> checked;
  std::map<int, bool> enabled;
  std::map<int, std::vector<TControlItem>> items;
  std::map<int, int> selected;
};
