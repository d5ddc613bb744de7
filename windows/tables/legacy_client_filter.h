// Client filters stored before client items named their firm: their items
// read "C001" where the module now lists "C001 (MC0001)", so they can match
// no client any more.
#pragma once

#include <functional>

#include "sdk/host_api.h"

// Run after a table read its client filter back against the module's client
// items. The filter is emptied when it holds an item without a firm. When the
// items hold such an item at all, dropItems is asked to empty them: the
// module does so only where no other table's filter depends on them, and
// never while this filter still selects anything.
void DropLegacyClientFilter(host::FilterSelection& filter, const host::ItemList* clients,
                            const std::function<void()>& dropItems);
