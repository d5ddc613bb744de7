// A test module in this process over the stand-in host, whose market is set
// up from a scenario text the way the demo sets up its market.
#pragma once

#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "sdk/plugin_module.h"
#include "support/plugin_start.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

class MarketTestModule : public CZenkPluginModule {
 public:
  MarketTestModule() : CZenkPluginModule(GetModuleHandleA(nullptr)) {}
  bool CheckHostCompatibility(uint32_t, uint32_t, int*, char*, int) override { return true; }
};

class MarketTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.CreateFrame("test host", false)); }

  // Writes the scenario into a file, loads it and initialises the module.
  void LoadMarket(const std::string& scenario) {
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "mkt", 0, path);
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(scenario.data(), 1, scenario.size(), file);
    std::fclose(file);
    const bool loaded = LoadScenario(path, host, nullptr);
    DeleteFileA(path);
    ASSERT_TRUE(loaded);
    Initialise();
  }

  void Initialise() { ASSERT_TRUE(StartPlugin(module, host, 0)); }

  StandInHost host;
  MarketTestModule module;
};
