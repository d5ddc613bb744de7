#include "windows/dialogs/closing_settings_form.h"

#include "windows/dialogs/control_bindings.h"

#include <cstdio>

namespace {

constexpr int kNoPattern = -1;
constexpr size_t kCommentCapacity = 1023;
constexpr char kNotTradedNote[] = "Имеются инструменты, торговля по которым не производится!";
constexpr char kHiddenNoteFormat[] = "Сохраняются, но не показаны (нет в терминале): %d";

const TNumberBinding<TClosingSettings> kSpread = {kClosingSpreadEdit, &TClosingSettings::Spread, 2, 1.0};

const TCheckBinding<TClosingSettings> kChecks[] = {
    {kClosingActiveOrdersBox, &TClosingSettings::ConsiderActiveOrders},
    {kClosingFilterByCommentBox, &TClosingSettings::FilterOrdersByComment},
    {kClosingBaseAssetsBox, &TClosingSettings::UseBaseActive},
    {kClosingNamesBox, &TClosingSettings::ShowSecNamesInDlg},
    {kClosingAutoCloseBox, &TClosingSettings::UseAutoClose},
};

bool NameTaken(const TClosingSettings& closing, const std::string& name) {
  for (const auto& pattern : closing.Patterns)
    if (pattern != nullptr && pattern->PatternName == name) return true;
  return false;
}

}  // namespace

void FillClosingSettingsControls(const TClosingSettings& closing, IDialogControls& controls) {
  Fill(kSpread, closing, controls);
  controls.SetText(kClosingCommentEdit, closing.Comment);
  FillAll(kChecks, closing, controls);
  EnableSecurityControls(closing, controls);
}

void EnableSecurityControls(const TClosingSettings& closing, IDialogControls& controls) {
  controls.Enable(kClosingNamesBox, !closing.UseBaseActive);
  controls.Enable(kClosingActualizeButton, !closing.UseBaseActive);
}

void ShowInstrumentNotes(const CClosingInstrumentLists& lists, IDialogControls& controls) {
  controls.SetText(kClosingNotTradedText, lists.NotTradedShown() ? kNotTradedNote : "");
  char hidden[128] = "";
  if (lists.HiddenCount() > 0) std::snprintf(hidden, sizeof hidden, kHiddenNoteFormat, lists.HiddenCount());
  controls.SetText(kClosingHiddenText, hidden);
}

void TakeClosingSettingsControls(const IDialogControls& controls, TClosingSettings& closing) {
  TakeAll(kChecks, controls, closing);
  closing.Comment = controls.Text(kClosingCommentEdit).substr(0, kCommentCapacity);
  Take(kSpread, controls, closing);
}

void UpdateClosingButtons(const TListEntries& available, const TListEntries& used, IDialogControls& controls) {
  controls.Enable(kClosingFilterByCommentBox, !controls.Text(kClosingCommentEdit).empty());
  controls.Enable(kClosingAddButton, AnySelected(available));
  controls.Enable(kClosingAddAllButton, !available.empty());
  controls.Enable(kClosingRemoveButton, AnySelected(used));
  controls.Enable(kClosingClearButton, !used.empty());
  controls.Enable(kClosingUpButton, AnySelected(used) && !used.front().selected);
  controls.Enable(kClosingDownButton, AnySelected(used) && !used.back().selected);
}

std::string NewPatternName(const TClosingSettings& closing) {
  if (closing.CountLivePatterns() == 0) return "Основной";
  for (int number = 1;; ++number) {
    const std::string name = "Шаблон " + std::to_string(number);
    if (!NameTaken(closing, name)) return name;
  }
}

void AddPattern(TClosingSettings& closing, const TClosingPattern& pattern) {
  if (closing.CountLivePatterns() == 0) closing.DefaultPattern = static_cast<int>(closing.Patterns.size());
  closing.Patterns.push_back(std::make_unique<TClosingPattern>(pattern));
}

std::string PatternDeletionQuestion(const TClosingSettings& closing, int index) {
  if (index == closing.DefaultPattern) return "Вы собираетесь удалить основной шаблон. Продолжить?";
  return "Вы действительно хотите удалить шаблон \"" + closing.Patterns[index]->PatternName + "\"?";
}

void DeletePattern(TClosingSettings& closing, int index) {
  closing.Patterns[index]->Deleted = true;
  if (index == closing.DefaultPattern) closing.DefaultPattern = closing.NextLivePattern(index);
  for (TScheduleEntry& entry : closing.AutoCloseSchedule)
    if (entry.PatternIndex == index) entry.PatternIndex = kNoPattern;
}
