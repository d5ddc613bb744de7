// A plug-in stand-in for host tests: callback entries 22 and 25 of a
// PluginLibrary's table pointed at functions that note what the host sent.
#pragma once

#include "host/standin/plugin_library.h"

#include <cstdint>
#include <string>
#include <vector>

struct HostCall {
  char entry = 0;            // 'R' record (entry 22), 'E' event (entry 25)
  uint32_t kind = 0;       // the record's kind, or the event number
  uint32_t code = 0;       // the record's code
  std::vector<uint8_t> bytes;
  std::string name;        // the event's name; "(null)" for none
};

class FakePlugin {
 public:
  explicit FakePlugin(PluginLibrary& library);
  ~FakePlugin();
  const std::vector<HostCall>& Calls() const;
  // The calls as short texts: "E1 (null)", "R32985", "E4 MC0001".
  std::vector<std::string> Summary() const;
};
