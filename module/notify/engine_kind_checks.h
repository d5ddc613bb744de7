// The automatic check's decision for one kind of margin call: whether the
// client's level is broken with that kind's sending on (then the repeat rule
// decides), whether the last sent value is re-armed, or neither.
#pragma once

#include "module/risk/client_risk_record.h"
#include "module/settings/module_settings.h"

enum class KindAction { Keep, Rearm, Test };

struct TKindCheck {
  KindAction action = KindAction::Keep;
  double value = 0.0;  // compared with the last sent value
  double level = 0.0;  // passed to the sender
  bool higherIsWorse = false;
  bool needsMinChange = true;
  const char* name = "";  // what the log calls the tested level
  double logScale = 1.0;  // the log shows the values divided by it
};

// Kinds 1 to 7 and 9; any other kind keeps everything.
TKindCheck CheckOfKind(int kind, const TClientRiskRecord& record, const TModuleSettings& settings);

// Level rules the scheduled sending shares with the check.
bool IsClgoBroken(const TClientRiskRecord& record, const TModuleSettings& settings);
bool IsMlBroken(const TClientRiskRecord& record, const TModuleSettings& settings);
