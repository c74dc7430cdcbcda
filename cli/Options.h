#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace orvendale::cli {

// What the command line asks for.
struct Options {
  int runs = 1;
  bool json = false;
  bool help = false;
  bool version = false;
  // --compare OLD NEW: compare two --json result files; no run is made.
  std::optional<std::pair<std::string, std::string>> compare;
};

// Why a command line was refused, in one line naming the offending argument.
struct OptionError {
  std::string message;
};

// Parses the arguments after the program name. Accepts --runs N, --runs=N, --json, --help (-h),
// --version and --compare OLD NEW; N is a whole number from 1 up, in plain decimal digits.
// --compare makes no run and so takes neither --runs nor --json.
std::variant<Options, OptionError> parseOptions(std::span<const std::string_view> arguments);

// The --help text.
std::string usageText();

// Exit status for a refused command line.
inline constexpr int kUsageExitStatus = 2;

}  // namespace orvendale::cli
