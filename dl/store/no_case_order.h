#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace DL {

// The order of section names and keys (see TNoCaseLess), inline because the
// parser's sorts spend most of their time here.
inline int CompareNoCaseInline(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t i = 0;
  // Names share long prefixes ("CLMC1000..."): skip equal bytes eight at a time.
  for (; i + 8 <= common; i += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  for (; i < common; ++i) {
    if (a[i] == b[i]) continue;
    int x = static_cast<signed char>(a[i]);
    int y = static_cast<signed char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 'a' - 'A';
    if (y >= 'a' && y <= 'z') y -= 'a' - 'A';
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace DL
