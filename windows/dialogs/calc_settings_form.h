// The calculation settings as the controls of the calculation settings
// dialog show them: how the liquidation value of options is priced.
#pragma once

#include "module/settings/calc_settings.h"
#include "windows/dialogs/dialog_controls.h"

enum CalcSettingsControl : int {
  kBidOfferOptionValueRadio = 1046,
  kTheoreticalOptionValueRadio = 1047,
};

// Any value but the bid and offer one shows as the theoretical price.
void FillCalcSettingsControls(const TCalcSettings& settings, IDialogControls& controls);
// With neither button ticked the value stays as it was.
void TakeCalcSettingsControls(const IDialogControls& controls, TCalcSettings& settings);
