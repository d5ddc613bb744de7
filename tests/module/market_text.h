#pragma once

#include "temp_folder.h"

#include <string>

// A market scenario of the stand-in host from tests/module/markets.
inline std::string MarketText(const char* name) {
  return ReadFileBytes(std::string(VANTREL_MARKETS_DIR) + "/" + name);
}
