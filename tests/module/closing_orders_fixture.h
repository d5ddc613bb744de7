// The module in this process over the stand-in host's market of closing
// orders, with a host that answers each transaction with the next id of a
// script and keeps what it was sent.
#pragma once

#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "market_text.h"
#include "module/closing/closing_formation.h"
#include "module/host_record_builders.h"
#include "module/market_records.h"
#include "module/vantrel_module.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

class ClosingOrdersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", true));
    const std::string market = folder.File("market.ini");
    WriteFileBytes(market, MarketText("closing_orders.ini"));
    ASSERT_TRUE(LoadScenario(market, host, nullptr));
    host.Install<48>(Transaction);
    Initialise();
    g_pModule = &module;
    answers.clear(), sent.clear(), answered.clear();
  }
  // The module takes the host's functions as they are now.
  void Initialise() {
    uint32_t callbacks[host::kCallbackCount] = {host::kCallbackTableBytes};
    int code = 0;
    char text[256];
    ASSERT_TRUE(module.OnPluginInitEx(1, host.FunctionTable(), callbacks, "", CVantrelModule::kHostVersion, 0,
                                      &code, text, sizeof text));
  }
  void TearDown() override {
    module.OnModuleStop();
    g_pModule = nullptr;
  }

  static const uint8_t* Security(const char* code) { return FindSecurityInClasses(code, 0x48, 0x900, nullptr); }
  static std::vector<std::string>& Sent() { return sent; }

  TOrderLine PreparedLine(const char* security, double quantity) {
    TClientRiskRecord client("FIRM1", "ACC1");
    return MakeOrderLine(client, Security(security), false, 100000, quantity, 0);
  }

  // The host takes a transaction with the next id of the script (-1 when it
  // runs out) and writes an error text for a refusal.
  static int __stdcall Transaction(int classIndex, int formIndex, const char* text, int, char* error,
                                   int* result) {
    sent.push_back(std::to_string(classIndex) + " " + std::to_string(formIndex) + " " + text);
    *result = answers.empty() ? -1 : answers.front();
    if (!answers.empty()) answers.pop_front();
    answered.push_back(*result);
    if (*result == -1) lstrcpynA(error, "Отказ", 1024);
    return 1;
  }
  static inline std::deque<int32_t> answers;
  static inline std::vector<std::string> sent;
  static inline std::vector<int32_t> answered;  // the id of each transaction sent

  CleanHostProgramFolder folder;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
};
