// What the risk-parameters table asks of the module beyond the module base:
// the client records it shows, the colour settings of its rows, the filter
// handles of the host's refresh message, the settings and item lists its
// filter reads and whether the host has delivered a firm's settings yet.
// The product's module implements it.
#pragma once

#include <vector>

#include "module/cell_colors.h"
#include "module/table_refresh.h"
#include "windows/tables/orders_table_source.h"

struct TClientRiskRecord;
class TModuleSettings;

class IRiskTableSource {
 public:
  virtual ~IRiskTableSource() = default;

  // True once the host has delivered the first firm's settings text.
  virtual bool HasFirmSettings() const = 0;
  // Every client record of the module's client map, in the map's order (firm,
  // then trading account). The records belong to the module.
  virtual std::vector<TClientRiskRecord*> RiskRecords() const = 0;
  virtual const TRiskColorSettings& RiskColorSettings() const = 0;
  // The module's client and trading-account filter handles.
  virtual TFilterHandles RiskFilterHandles() const = 0;
  // The client types, levels and notification settings the filter tests by.
  virtual const TModuleSettings& RiskFilterSettings() const = 0;
  // The module's client ("code (firm)"), trading-account and firm items.
  virtual TOrdersFilterLists RiskItemLists() = 0;
};

// The module as a risk-table source; null while there is no module or when it
// does not serve risk tables.
IRiskTableSource* GetRiskTableSource();
