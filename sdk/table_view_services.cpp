// The view's side of the host's list service and table service.
#include <cstring>

#include "sdk/host_call.h"
#include "sdk/modal_loops.h"
#include "sdk/table_plugin.h"
#include "sdk/table_view.h"
#include "sdk/table_view_callbacks.h"

namespace {

template <typename F>
void* Entry(F function) { return reinterpret_cast<void*>(function); }

}  // namespace

bool CZPluginTableView::ListServiceOn() const { return HostCall<170>(listServiceId_) != 0; }

void CZPluginTableView::ReportServiceError(const char* text) { HostCall<45>(text, 2); }

void CZPluginTableView::RegisterListService(const void* settings, uint32_t length) {
  HostCall<163>(&listServiceId_, this, Entry(ListServiceDimensions), Entry(ListServiceReady),
               Entry(ListServiceColumns), Entry(ListServiceCell), settings, length);
}

void CZPluginTableView::OnListServiceMessage(UINT message) {
  if (message == WM_TABLE_LIST_SERVICE) {
    if (HostCall<172>(listServiceId_) && !HostCall<170>(listServiceId_)) StartListService(0);
  } else if (message == WM_TABLE_LIST_SERVICE_STOP) {
    StopListService(false);
  }
}

int CZPluginTableView::StartListService(int flag) {
  if (listServiceId_ == 0) RegisterListService(nullptr, 0);
  char caption[300] = {};
  lstrcpynA(caption, caption_.c_str(), sizeof caption);
  char error[1024] = {};
  return HostCall<165>(listServiceId_, flag, caption, error, 1024);
}

bool CZPluginTableView::StopListService(bool final) {
  int wasRunning = 0;
  if (HostCall<170>(listServiceId_)) {
    char error[1024] = {};
    if (!HostCall<166>(listServiceId_, &wasRunning, error, 1024)) ReportServiceError(error);
  }
  if (final) HostCall<168>(listServiceId_);
  return wasRunning != 0;
}

void CZPluginTableView::OnTableServiceMessage(UINT message) {
  if (message == WM_TABLE_TABLE_SERVICE && tableServiceBlock_[kServiceStartOnMessage] &&
      !tableServiceBlock_[kServiceRunning])
    StartTableService(0);
}

void CZPluginTableView::FillTableServiceCallbacks() {
  TableServiceCallbacks& b = tableServiceCallbacks_;
  b.size = sizeof b;
  b.tableWindow = tableWindow_;
  b.list = list_;
  b.serviceBlock = tableServiceBlock_;
  b.view = this;
  void* const entries[11] = {Entry(TableServiceShownCount),     Entry(TableServiceCellValue),
                             Entry(TableServiceShownTitle),     Entry(TableServiceShownId),
                             Entry(TableServiceShownShortFlag), Entry(TableServiceShownKind),
                             Entry(TableServiceSchemaCount),    Entry(TableServiceSchemaTitle),
                             Entry(TableServiceSchemaId),       Entry(TableServiceSchemaShortFlag),
                             Entry(TableServiceSchemaKind)};
  std::memcpy(b.callbacks, entries, sizeof entries);
}

int CZPluginTableView::StartTableService(int flag) {
  FillTableServiceCallbacks();
  return HostCall<83>(&tableServiceCallbacks_, flag);
}

bool CZPluginTableView::StopTableService(bool final) {
  bool wasRunning = HostCall<85>(tableServiceBlock_) != 0;
  if (final) {
    HostCall<175>(tableServiceBlock_);
    HostCall<176>(tableServiceBlock_);
  }
  return wasRunning;
}

bool CZPluginTableView::RunListDialogService() {
  char error[1024] = {};
  bool shown = false;
  {
    // The host's list dialog runs its loop over the table's, calling back
    // into the plug-in: the host may be done with the plug-in meanwhile.
    CModalLoop hostDialog;
    shown = HostCall<177>(this, 0, tableWindow_, Entry(ListServiceDimensions), Entry(ListServiceReady),
                          Entry(ListServiceCell), error, 1023) != 0;
  }
  if (!shown) ShowMessageBox(tableWindow_, error, caption_.c_str(), MB_ICONERROR);
  return shown;
}
