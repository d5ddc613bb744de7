#include <gtest/gtest.h>

#include "host/standin/table_services.h"
#include "host/standin/window_state_store.h"

namespace {

TEST(TableServices, InertServicesRunNothingAndGiveNoSettings) {
  WindowStateStore store;
  TableServices services(store);
  int32_t id = 0;
  services.RegisterList(&id, nullptr, 0);
  EXPECT_GT(id, 0);
  char error[64] = {};
  EXPECT_EQ(services.StartList(id, 1, "t", error, sizeof error), 0);
  EXPECT_EQ(services.ListRunning(id), 0);
  void* data = nullptr;
  uint32_t length = 0;
  EXPECT_EQ(services.GetListSettings(id, &data, &length), 0);
  EXPECT_EQ(services.RunListDialog(nullptr, nullptr, nullptr, nullptr, error, sizeof error), 1)
      << "nothing to show, nothing to report";
}

TEST(TableServices, SwitchedOnTheyRunAndKeepSettings) {
  WindowStateStore store;
  TableServices services(store);
  services.SetOn(true);
  int32_t id = 0;
  const uint8_t saved[] = {4, 5, 6};
  services.RegisterList(&id, saved, 3);
  char error[64] = {};
  EXPECT_EQ(services.StartList(id, 1, "t", error, sizeof error), 1);
  EXPECT_EQ(services.ListRunning(id), 1);
  int was = 0;
  EXPECT_EQ(services.StopList(id, &was, error, sizeof error), 1);
  EXPECT_EQ(was, 1);
  EXPECT_EQ(services.ListRunning(id), 0);
  void* data = nullptr;
  uint32_t length = 0;
  ASSERT_EQ(services.GetListSettings(id, &data, &length), 1);
  ASSERT_EQ(length, 3u);
  EXPECT_EQ(static_cast<uint8_t*>(data)[2], 6);
  services.FreeListSettings(data);
}

TEST(TableServices, TableSettingsGoThroughTheWindowStateStream) {
  WindowStateStore store;
  TableServices services(store);
  services.SetOn(true);
  uint32_t block[168] = {};
  block[kTableBlockStartAfterRestore] = 1;
  store.BeginSection(0, 0);
  services.SaveTableSettings(block);
  store.EndSection();
  uint32_t restored[168] = {};
  store.BeginSection(0, WindowStateStore::kRestoreTag);
  services.LoadTableSettings(restored);
  EXPECT_EQ(restored[kTableBlockStartAfterRestore], 1u);
}

TEST(TableServices, AFailedRowReportGivesItsText) {
  WindowStateStore store;
  TableServices services(store);
  services.FailNextRowReport("нет связи");
  char error[64] = {};
  EXPECT_EQ(services.ReportListRow(1, 3, 1, error, sizeof error), 0);
  EXPECT_STREQ(error, "нет связи");
  EXPECT_EQ(services.ReportListRow(1, 3, 1, error, sizeof error), 1) << "only the next report fails";
}

}  // namespace
