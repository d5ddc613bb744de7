#include "windows/dialogs/calc_settings_form.h"

namespace {
constexpr int kBidOfferOptionValue = 1;
constexpr int kTheoreticalOptionValue = 2;
}  // namespace

void FillCalcSettingsControls(const TCalcSettings& settings, IDialogControls& controls) {
  const bool bidOffer = settings.OptValueParam == kBidOfferOptionValue;
  controls.SetChecked(kBidOfferOptionValueRadio, bidOffer);
  controls.SetChecked(kTheoreticalOptionValueRadio, !bidOffer);
}

void TakeCalcSettingsControls(const IDialogControls& controls, TCalcSettings& settings) {
  if (controls.Checked(kBidOfferOptionValueRadio))
    settings.OptValueParam = kBidOfferOptionValue;
  else if (controls.Checked(kTheoreticalOptionValueRadio))
    settings.OptValueParam = kTheoreticalOptionValue;
}
