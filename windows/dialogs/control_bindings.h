// Which control of a settings dialog shows which field of the record it
// edits. A dialog lists its bindings in constant tables; Fill shows the
// record's fields in the controls and Take stores what the controls hold,
// so what a dialog shows and keeps can be checked without a window.
#pragma once

#include "windows/dialogs/dialog_controls.h"

#include <cstddef>
#include <string>
#include <vector>

// An edit over a text. With a capacity the user can type no more into it
// and no more of it is kept; without one the edit's own limit holds.
constexpr std::size_t kEditsOwnLimit = std::string::npos;

template <typename Record>
struct TTextBinding {
  int id;
  std::string Record::*field;
  std::size_t capacity = kEditsOwnLimit;
};

// A check box over a flag; an int field is ticked above 0 and stores 1 or 0.
template <typename Record, typename Flag = bool>
struct TCheckBinding {
  int id;
  Flag Record::*field;
};

// An edit that shows the field times scale with that many decimals and
// stores what it holds divided by scale.
template <typename Record>
struct TNumberBinding {
  int id;
  double Record::*field;
  int decimals;
  double scale;
};

// A combo box whose selected item's data is the field. With nothing
// selected the field keeps its value.
template <typename Record>
struct TSelectionBinding {
  int id;
  int Record::*field;
};

// Radio buttons that each stand for one value of the field. A value that no
// radio stands for ticks none; with none ticked the field takes otherwise.
struct TRadioChoice {
  int id;
  int value;
};

template <typename Record>
struct TRadioGroupBinding {
  int Record::*field;
  std::vector<TRadioChoice> choices;
  int otherwise;
};

template <typename Record>
void Fill(const TTextBinding<Record>& binding, const Record& record, IDialogControls& controls) {
  if (binding.capacity != kEditsOwnLimit) controls.LimitText(binding.id, binding.capacity);
  controls.SetText(binding.id, record.*binding.field);
}

// A text shown longer than the capacity (a setting put in by hand) is cut.
template <typename Record>
void Take(const TTextBinding<Record>& binding, const IDialogControls& controls, Record& record) {
  record.*binding.field = controls.Text(binding.id).substr(0, binding.capacity);
}

template <typename Record, typename Flag>
void Fill(const TCheckBinding<Record, Flag>& binding, const Record& record, IDialogControls& controls) {
  controls.SetChecked(binding.id, static_cast<int>(record.*binding.field) > 0);
}

template <typename Record, typename Flag>
void Take(const TCheckBinding<Record, Flag>& binding, const IDialogControls& controls, Record& record) {
  record.*binding.field = static_cast<Flag>(controls.Checked(binding.id) ? 1 : 0);
}

template <typename Record>
void Fill(const TNumberBinding<Record>& binding, const Record& record, IDialogControls& controls) {
  controls.SetNumber(binding.id, record.*binding.field * binding.scale, binding.decimals);
}

template <typename Record>
void Take(const TNumberBinding<Record>& binding, const IDialogControls& controls, Record& record) {
  record.*binding.field = controls.Number(binding.id) / binding.scale;
}

template <typename Record>
void Fill(const TSelectionBinding<Record>& binding, const Record& record, IDialogControls& controls) {
  controls.SelectItemData(binding.id, record.*binding.field);
}

template <typename Record>
void Take(const TSelectionBinding<Record>& binding, const IDialogControls& controls, Record& record) {
  if (const auto selected = controls.SelectedItemData(binding.id)) record.*binding.field = *selected;
}

template <typename Record>
void Fill(const TRadioGroupBinding<Record>& binding, const Record& record, IDialogControls& controls) {
  for (const TRadioChoice& choice : binding.choices)
    controls.SetChecked(choice.id, record.*binding.field == choice.value);
}

template <typename Record>
void Take(const TRadioGroupBinding<Record>& binding, const IDialogControls& controls, Record& record) {
  record.*binding.field = binding.otherwise;
  for (const TRadioChoice& choice : binding.choices)
    if (controls.Checked(choice.id)) {
      record.*binding.field = choice.value;
      return;
    }
}

// Every binding of a table, in table order.
template <typename Binding, std::size_t N, typename Record>
void FillAll(const Binding (&bindings)[N], const Record& record, IDialogControls& controls) {
  for (const Binding& binding : bindings) Fill(binding, record, controls);
}

template <typename Binding, std::size_t N, typename Record>
void TakeAll(const Binding (&bindings)[N], const IDialogControls& controls, Record& record) {
  for (const Binding& binding : bindings) Take(binding, controls, record);
}
