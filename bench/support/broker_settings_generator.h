#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace DL::Testing {

// The largest settings text the host hands over.
constexpr std::size_t kMaxBrokerSettingsSize = 5242880;

// A deterministic, realistic broker settings text of at most targetSize
// characters (and close to it when targetSize is above a few kilobytes):
// GENERAL with its keys, commission and board sections, security lists,
// portfolio risk configurations with items and spread keys, and then
// thousands of client sections with margin sections and their LIMITKIND
// sub-sections, client templates with long CLIENTS lists and masks. Lines end
// with CR LF; comments are Russian in code page 1251. The DEFAULT portfolio
// risk configuration has the board tag "TQBR" and the currency "SUR".
std::string GenerateBrokerSettings(std::size_t targetSize, std::uint32_t seed = 1);

}  // namespace DL::Testing
