// What a change of the notification settings asks of the module once it is
// in force: the arbitrary parameter's margin call is re-armed for every
// client when its column or level changed, the margin level's when its
// column, its levels or the use of the qualified clients' level did, so the
// new condition is judged afresh rather than against a value sent under the
// old one; and the risk tables are coloured again when a sufficiency level
// that colours their rows changed.
#pragma once

#include "module/settings/module_settings.h"

struct TNotificationChanges {
  bool rearmUp = false;
  bool rearmMl2 = false;
  bool rowColours = false;
};

TNotificationChanges NotificationChanges(const TModuleSettings& before, const TModuleSettings& after);
