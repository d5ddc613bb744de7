#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace DL::Testing {

// A broker settings text full of client section families: own sections,
// client and margin templates (some chosen by leverage), masks, limit-kind
// sections, commission scales of every kind, written in mixed letter case and
// in no particular order. The same seed gives the same text.
struct TClientSectionsText {
  std::string Text;
  // Codes to query: the clients of the text, some in another letter case,
  // codes no section names and the empty code.
  std::vector<std::string> Clients;
  // Leverages to query: those of the leverage templates, near misses, -1 and
  // values that are not finite.
  std::vector<double> Leverages;
  std::vector<std::string> Boards;
};

TClientSectionsText MakeClientSectionsText(std::size_t clientCount, std::uint32_t seed);

}  // namespace DL::Testing
