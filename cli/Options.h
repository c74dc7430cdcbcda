#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace orvendale::cli {

// What the command line asks for.
struct Options {
  int runs = 1;
  bool json = false;
  bool help = false;
  bool version = false;
};

// Why a command line was refused, in one line naming the offending argument.
struct OptionError {
  std::string message;
};

// Parses the arguments after the program name. Accepts --runs N, --runs=N, --json, --help (-h)
// and --version; N is a whole number from 1 up, in plain decimal digits.
std::variant<Options, OptionError> parseOptions(std::span<const std::string_view> arguments);

// The --help text.
std::string usageText();

// Exit status for a refused command line.
inline constexpr int kUsageExitStatus = 2;

}  // namespace orvendale::cli
