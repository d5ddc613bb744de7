// A scenario: the market a test or the demo sets up in the stand-in host,
// written as an INI file (see host/README.md).
#pragma once

#include <string>

class StandInHost;

struct ScenarioHost {
  int versionMajor = 7;
  int versionMinor = 0;
};

// Fills the host's records, options and date from the file; false when the
// file does not exist.
bool LoadScenario(const std::string& path, StandInHost& host, ScenarioHost* hostSettings);
