#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace orvendale::cli {

// What the command line asks for.
struct Options {
  int runs = 1;
  // --jobs N: rounds of a solo run and N runs at once in worker processes; 0 without --jobs.
  int jobs = 0;
  bool allJobs = false;  // --jobs all: as many as this process may use CPUs
  bool json = false;
  bool help = false;
  bool version = false;
  // --compare OLD NEW: compare two --json result files; no run is made.
  std::optional<std::pair<std::string, std::string>> compare;
  // The results store: --store PATH, or the default path when empty; --no-store keeps nothing.
  std::string store;
  bool noStore = false;
  bool history = false;                     // --history: this machine's stored sessions
  std::vector<std::string> importFiles;     // --import FILE...: other machines' result files
  std::optional<std::string> report;        // --report OUT.html: the page drawn
  std::vector<std::string> reportFiles;     // --report OUT.html FILE...: from these, not the store
  std::vector<std::string> reportMachines;  // --machine NAME: the store's machines drawn

  // A session is measured: no --compare, --history, --import or --report.
  bool measuresSession() const;
};

// Why a command line was refused, in one line naming the offending argument.
struct OptionError {
  std::string message;
};

// Parses the arguments after the program name. Accepts --runs N, --runs=N, --jobs N, --jobs=N,
// --jobs all, --json, --help (-h), --version, --compare OLD NEW, --store PATH (or =PATH),
// --no-store, --history, --import FILE..., --report OUT.html [FILE...] and --machine NAME (or
// =NAME); N is a whole number from 1 up, in plain decimal digits. At most one of --compare,
// --history, --import and --report; none of them takes --runs or --jobs, and only --history
// takes --json.
std::variant<Options, OptionError> parseOptions(std::span<const std::string_view> arguments);

// The most workers --jobs may start for each CPU this process may use: a multi-core score of far
// more workers than CPUs measures the scheduler, not the processor, and a mistyped count must not
// start processes until the system has none left.
inline constexpr int kJobsPerCpu = 4;

// Refuses a --jobs count above kJobsPerCpu times `allowedCpus` (at least one CPU is counted).
std::optional<OptionError> checkJobsBound(const Options& options, std::size_t allowedCpus);

// The --help text.
std::string usageText();

}  // namespace orvendale::cli
