#include "dl/support/hostile_text.h"

namespace DL::Testing {
namespace {

const char* const kFragments[] = {
    "[", "]", "=", ";", "#", " ", "\t", "\r", "\n", "\r\n", "\n\r", "[A]", "[a]", "[B]",
    "[b c]", "[A;]", "[]", "[\xc0]", "[\xe0]", "k=", "K=", "k =", " = ", "=v", "v ", ";c",
    "x[y", "[A=B]", "\xc0\xe0", "\xff", "_", "1", "z", "Z", "k", "key", "KEY", "[PORTFOLIORISKCONFIG]",
    "[PORTFOLIORISKCONFIG_", "KGO=", "Fut_", "SPREAD_T1_T2=", "SPREADTIERS=", "VOLATILITYSLOPE_LONG_CALL=",
    ",", "0", "5.5", "-2", "(", ")", "ADDBASEASSETS=", "BOARDTAG=", "[PORTFOLIOSPREADORDER]",
};

}  // namespace

std::uint32_t THostileTextGenerator::Random(std::uint32_t bound) {
  // A 64-bit linear congruential generator: the same texts on every platform.
  state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
  return static_cast<std::uint32_t>(state_ >> 33) % bound;
}

std::string THostileTextGenerator::Name() {
  static const char kLetters[] = "aAbB_\xc0\xe0 1";
  std::string name;
  for (std::uint32_t n = Random(4); n > 0; --n) name += kLetters[Random(sizeof kLetters - 1)];
  return name;
}

std::string THostileTextGenerator::Next() {
  const std::uint32_t fragmentCount = sizeof kFragments / sizeof kFragments[0];
  std::string text;
  for (std::uint32_t n = Random(60); n > 0; --n) {
    switch (Random(8)) {
      case 0:
        text += "[" + Name() + "]\n";
        break;
      case 1:
        text += Name() + "=" + Name() + "\r\n";
        break;
      case 2:
        text += static_cast<char>(Random(255) + 1);
        break;
      default:
        text += kFragments[Random(fragmentCount)];
        break;
    }
  }
  return text;
}

}  // namespace DL::Testing
