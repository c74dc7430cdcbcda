#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvendale::cli {

// Where the system reports its state; tests point these at fake trees.
struct SystemRoots {
  std::filesystem::path sys = "/sys";
  std::filesystem::path proc = "/proc";
  std::filesystem::path etc = "/etc";
};

// `text` without leading and trailing spaces, tabs and carriage returns.
std::string trimmed(std::string_view text);

// The first line of a small sysfs or proc file without surrounding white space; nothing when
// the file cannot be read.
std::optional<std::string> firstLine(const std::filesystem::path& file);

// The whole of a file of at most `limit` bytes; nothing when it cannot be read or is larger.
std::optional<std::string> fileText(const std::filesystem::path& file, std::size_t limit);

// A whole number in `text`, white space around it allowed; nothing for anything else.
std::optional<std::int64_t> numberIn(std::string_view text);

// sysfs's folder of logical CPU `cpu`: /sys/devices/system/cpu/cpuN.
std::filesystem::path cpuDirectory(const SystemRoots& roots, int cpu);

// The numbers of the CPUs sysfs has a cpuN folder for, in increasing order.
std::vector<int> sysfsCpus(const SystemRoots& roots);

}  // namespace orvendale::cli
