#include "cli/system/SystemFiles.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace orvendale::cli {

std::string trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) {
    return {};
  }
  return std::string(text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1));
}

std::optional<std::string> firstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) {
    return std::nullopt;
  }
  return trimmed(line);
}

std::optional<std::string> fileText(const std::filesystem::path& file, std::size_t limit) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  // Reads one byte past the limit to tell a file of exactly `limit` bytes from a larger one;
  // proc files report no size, so the limit is applied while reading.
  std::string text(limit + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad() || static_cast<std::size_t>(in.gcount()) > limit) {
    return std::nullopt;
  }
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

std::optional<std::int64_t> numberIn(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t\r\n");
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  if (begin == std::string_view::npos) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  const char* last = text.data() + end + 1;
  const auto [stop, error] = std::from_chars(text.data() + begin, last, value);
  return error == std::errc() && stop == last ? std::optional(value) : std::nullopt;
}

std::filesystem::path cpuDirectory(const SystemRoots& roots, int cpu) {
  return roots.sys / "devices/system/cpu" / ("cpu" + std::to_string(cpu));
}

std::vector<int> sysfsCpus(const SystemRoots& roots) {
  std::vector<int> cpus;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(roots.sys / "devices/system/cpu", error)) {
    const std::string name = entry.path().filename().string();
    int cpu = 0;
    const char* digits = name.data() + 3;
    if (name.starts_with("cpu") && name.size() > 3 &&
        std::from_chars(digits, name.data() + name.size(), cpu).ptr == name.data() + name.size()) {
      cpus.push_back(cpu);
    }
  }
  std::sort(cpus.begin(), cpus.end());
  return cpus;
}

}  // namespace orvendale::cli
