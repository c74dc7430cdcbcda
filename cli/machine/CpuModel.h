#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvendale::cli {

// The processor architecture this program was built for, in Debian's names; empty for another.
inline constexpr std::string_view kBuildArchitecture =
#if defined(__aarch64__)
    "arm64";
#elif defined(__x86_64__)
    "amd64";
#else
    "";
#endif

// An Arm core's name from /proc/cpuinfo's "CPU implementer" and "CPU part" (hexadecimal, as in
// "0x41" and "0xd08"): "ARM Cortex-A72", or "unknown (implementer 0x41, part 0xd08)" for a core
// the program does not know.
std::string armCoreName(std::string_view implementer, std::string_view part);

// The model of a processor whose CPUs have the core names `cores`, in CPU order: the one name, or
// each name with its count, "4 x ARM Cortex-A55 + 4 x ARM Cortex-A76", for unlike cores.
std::string coresModel(const std::vector<std::string>& cores);

}  // namespace orvendale::cli
