#include "cli/machine/CpuModel.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>

namespace orvendale::cli {

namespace {
struct ArmCore {
  std::uint32_t implementer;
  std::uint32_t part;
  std::string_view name;
};

// The ids of the Arm cores that single-board computers, laptops and cloud servers commonly use.
// Apple's and Ampere's own designs have implementers of their own; Ampere Altra is a Neoverse N1.
constexpr std::array<ArmCore, 24> kArmCores = {{
    {0x41, 0xd03, "ARM Cortex-A53"},     {0x41, 0xd04, "ARM Cortex-A35"},
    {0x41, 0xd05, "ARM Cortex-A55"},     {0x41, 0xd07, "ARM Cortex-A57"},
    {0x41, 0xd08, "ARM Cortex-A72"},     {0x41, 0xd09, "ARM Cortex-A73"},
    {0x41, 0xd0a, "ARM Cortex-A75"},     {0x41, 0xd0b, "ARM Cortex-A76"},
    {0x41, 0xd0c, "ARM Neoverse N1"},    {0x41, 0xd0d, "ARM Cortex-A77"},
    {0x41, 0xd40, "ARM Neoverse V1"},    {0x41, 0xd41, "ARM Cortex-A78"},
    {0x41, 0xd42, "ARM Cortex-A78AE"},   {0x41, 0xd44, "ARM Cortex-X1"},
    {0x41, 0xd46, "ARM Cortex-A510"},    {0x41, 0xd47, "ARM Cortex-A710"},
    {0x41, 0xd48, "ARM Cortex-X2"},      {0x41, 0xd49, "ARM Neoverse N2"},
    {0x41, 0xd4d, "ARM Cortex-A715"},    {0x41, 0xd4e, "ARM Cortex-X3"},
    {0x41, 0xd4f, "ARM Neoverse V2"},    {0x61, 0x022, "Apple M1 Icestorm"},
    {0x61, 0x023, "Apple M1 Firestorm"}, {0xc0, 0xac3, "AmpereOne"},
}};

// "0xd08" as a number; nothing for anything else.
std::optional<std::uint32_t> hexadecimal(std::string_view text) {
  if (!text.starts_with("0x") && !text.starts_with("0X")) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + 2, end, value, 16);
  return error == std::errc() && stop == end ? std::optional(value) : std::nullopt;
}
}  // namespace

std::string armCoreName(std::string_view implementer, std::string_view part) {
  const std::optional<std::uint32_t> implementerId = hexadecimal(implementer);
  const std::optional<std::uint32_t> partId = hexadecimal(part);
  for (const ArmCore& core : kArmCores) {
    if (core.implementer == implementerId && core.part == partId) {
      return std::string(core.name);
    }
  }
  return "unknown (implementer " + std::string(implementer) + ", part " + std::string(part) + ")";
}

std::string coresModel(const std::vector<std::string>& cores) {
  // Each name with its count, in the order of its first CPU.
  std::vector<std::pair<std::string, int>> kinds;
  for (const std::string& core : cores) {
    auto kind = kinds.begin();
    while (kind != kinds.end() && kind->first != core) {
      ++kind;
    }
    if (kind == kinds.end()) {
      kinds.emplace_back(core, 1);
    } else {
      ++kind->second;
    }
  }
  if (kinds.size() == 1) {
    return kinds.front().first;
  }
  std::string model;
  for (const auto& [name, count] : kinds) {
    model += (model.empty() ? "" : " + ") + std::to_string(count) + " x " + name;
  }
  return model;
}

}  // namespace orvendale::cli
