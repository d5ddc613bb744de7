#include "module/cell_colors.h"

#include "sdk/host_api.h"

#include <cmath>
#include <cstring>

namespace {
constexpr double kLevelTolerance = 0.0001;
constexpr uint32_t kOrderActive = 0x01, kOrderWithdrawn = 0x02;

bool BelowBy(double value, double level) {
  return value < level && std::fabs(value - level) > kLevelTolerance;
}

void SetColors(TRowColors* colors, uint32_t text, uint32_t background) {
  colors->flags = kRowColorFlags;
  colors->values[0] = text;
  colors->values[2] = background;
}
}  // namespace

void GetRiskCellColors(const TRiskColorSettings& settings, const TFundsSufficiency* client,
                       TRowColors* colors) {
  if (client == nullptr || colors == nullptr) return;
  uint32_t background = settings.NormalColor;
  if (BelowBy(client->sfr, settings.SFRCriticalLevel) ||
      BelowBy(client->sfrOpenPositions, settings.SFRCriticalLevel_fp))
    background = settings.CriticalColor;
  else if (BelowBy(client->sfr, settings.SFRWarningLevel) ||
           BelowBy(client->sfrOpenPositions, settings.SFRWarningLevel_fp))
    background = settings.WarningColor;
  SetColors(colors, kWindowText, background);
}

void GetOrderRowColors(const void* orderRow, TRowColors* colors) {
  if (colors == nullptr) return;
  *colors = TRowColors{};
  if (orderRow == nullptr) return;
  uint32_t flags;
  std::memcpy(&flags, static_cast<const uint8_t*>(orderRow) + host::record::kOrderFlags,
              sizeof flags);
  const uint32_t text = (flags & kOrderActive) != 0      ? kRed
                        : (flags & kOrderWithdrawn) != 0 ? kWindowText
                                                         : kBlue;
  SetColors(colors, text, kWindowBackground);
}
