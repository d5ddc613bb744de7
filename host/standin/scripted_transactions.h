// Host function 48 as a test scripts it: each transaction the plug-in sends
// is kept with the id the host answers, the next one of the script (-1, a
// refusal with an error text, once the script runs out). A script of error
// texts gives a text beside an id; a hook runs while the host still holds
// the transaction, as a host reporting the order at once does.
#pragma once

#include "host/standin/standin_host.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ScriptedTransactions {
  // Installs the function in the host's table; one script at a time.
  static void Install(StandInHost& host);
  static void Clear();

  // "classIndex formIndex text" of each transaction, and the id answered.
  static inline std::deque<int32_t> answers;
  static inline std::deque<std::string> errorTexts;
  static inline std::function<void(int32_t id)> whileSending;
  static inline std::vector<std::string> sent;
  static inline std::vector<int32_t> answered;
};
