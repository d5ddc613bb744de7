// What the closing-orders table asks of the module beyond the module base:
// the host's answers to the plug-in's closing orders, the comment test of the
// closing settings, the filter handles and the withdrawal of an order. The
// product's module implements it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/host_api.h"

struct ClosingOrderRecord;

// The module's client ("code (firm)"), trading-account and firm handles.
struct TOrdersFilterLists {
  host::ItemList* clients = nullptr;
  host::ItemList* accounts = nullptr;
  host::ItemList* firms = nullptr;
};

class IOrdersTableSource {
 public:
  virtual ~IOrdersTableSource() = default;

  // In the order the host first reported them; the records belong to the module.
  virtual std::vector<ClosingOrderRecord*> ClosingOrderRows() const = 0;
  // When set, only orders whose comment holds the closing comment are shown.
  virtual bool FilterOrdersByComment() const = 0;
  virtual std::string ClosingComment() const = 0;
  virtual TOrdersFilterLists OrdersFilterLists() = 0;
  // Empties the client handle, in the host and in the module's memory of it.
  virtual void DropClientFilterItems() = 0;
  // Sends the withdrawal of the order of that number on that security.
  virtual void WithdrawClosingOrder(const uint8_t* security, double orderNumber) = 0;
};

// The module as an orders-table source; null while there is none.
IOrdersTableSource* GetOrdersTableSource();

// The filters the create/edit dialog of a table works on while the table
// already exists: the edit command fills them from the table and takes them
// back after OK.
struct TEditFilters {
  host::FilterSelection client = {};
  host::FilterSelection account = {};
  host::FilterSelection firm = {};
};
extern TEditFilters g_editFilters;
