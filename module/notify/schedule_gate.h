// When an entry of a daily schedule (margin calls, automatic closing) fires:
// once a day, once its time of day has come. On the day the host started the
// plug-in only the times from the start on count; on every later day all of
// them do.
#pragma once

#include "module/settings/schedule_entry.h"

#include <cstdint>

// Fires the first entry that is due at nowLocal and has not fired that day:
// marks it passed, stamps its last firing with nowLocal and returns its
// index; -1 when none is due. Times are local wall-clock seconds (see
// TEngineClock); the stamps are kept in the same reckoning.
int FireNextDueEntry(ScheduleList& entries, int64_t startLocal, int64_t nowLocal);
