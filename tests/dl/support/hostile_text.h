#pragma once

#include <cstdint>
#include <string>

namespace DL::Testing {

// A deterministic generator of short settings texts that are hard on the
// grammar: fragments of headers, keys, values and comments in every case,
// bad headers, stray brackets, Cyrillic bytes, blanks, TABs and every kind of
// line end, mixed at random.
class THostileTextGenerator {
 public:
  explicit THostileTextGenerator(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  std::string Next();

 private:
  std::uint32_t Random(std::uint32_t bound);
  std::string Name();

  std::uint64_t state_;
};

}  // namespace DL::Testing
