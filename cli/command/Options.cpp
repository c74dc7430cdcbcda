#include "cli/command/Options.h"

#include <algorithm>
#include <charconv>

#include "cli/system/ProgramName.h"

namespace orvendale::cli {

namespace {
// A positive int in plain decimal digits, nothing else (no sign, spaces or suffix).
bool parseRuns(std::string_view text, int& runs) {
  if (text.empty() || text.front() < '0' || text.front() > '9') {
    return false;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) {
    return false;
  }
  runs = value;
  return true;
}

OptionError badRuns(std::string_view value) {
  return {"bad value '" + std::string(value) + "' for --runs (a whole number, 1 or more)"};
}

std::optional<OptionError> parseJobs(std::string_view value, Options& options) {
  if (value == "all") {
    options.allJobs = true;
    return std::nullopt;
  }
  if (!parseRuns(value, options.jobs)) {
    return OptionError{"bad value '" + std::string(value) +
                       "' for --jobs (a whole number, 1 or more, or all)"};
  }
  return std::nullopt;
}

constexpr std::string_view kRuns = "--runs";
constexpr std::string_view kJobs = "--jobs";

// `argument` is option `name`, given as NAME VALUE or NAME=VALUE.
bool isOption(std::string_view argument, std::string_view name) {
  return argument == name || (argument.starts_with(name) && argument.size() > name.size() &&
                              argument[name.size()] == '=');
}

// --runs or --jobs at arguments[i], with its value; moves i past a value given apart.
std::optional<OptionError> takeValued(std::span<const std::string_view> arguments, std::size_t& i,
                                      Options& options) {
  const std::string_view argument = arguments[i];
  const std::string_view name = isOption(argument, kRuns) ? kRuns : kJobs;
  if (argument == name && i + 1 == arguments.size()) {
    return OptionError{std::string(name) + " needs a value"};
  }
  const std::string_view value =
      argument == name ? arguments[++i] : argument.substr(name.size() + 1);
  if (name == kJobs) {
    return parseJobs(value, options);
  }
  if (!parseRuns(value, options.runs)) {
    return badRuns(value);
  }
  return std::nullopt;
}

// --compare OLD NEW at arguments[i]; moves i past the two files.
std::optional<OptionError> takeCompare(std::span<const std::string_view> arguments, std::size_t& i,
                                       Options& options) {
  if (arguments.size() - i < 3) {
    return OptionError{"--compare needs two result files, OLD and NEW"};
  }
  options.compare.emplace(arguments[i + 1], arguments[i + 2]);
  i += 2;
  return std::nullopt;
}
}  // namespace

std::variant<Options, OptionError> parseOptions(std::span<const std::string_view> arguments) {
  Options options;
  bool runOptions = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    std::optional<OptionError> error;
    if (argument == "--json") {
      options.json = true;
      runOptions = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--compare") {
      error = takeCompare(arguments, i, options);
    } else if (isOption(argument, kRuns) || isOption(argument, kJobs)) {
      runOptions = true;
      error = takeValued(arguments, i, options);
    } else if (argument.starts_with("-")) {
      error = OptionError{"unknown option '" + std::string(argument) + "'"};
    } else {
      error = OptionError{"unexpected argument '" + std::string(argument) + "'"};
    }
    if (error) {
      return *error;
    }
  }
  if (options.compare && runOptions) {
    return OptionError{"--compare makes no run: it takes no --runs, --jobs or --json"};
  }
  return options;
}

std::optional<OptionError> checkJobsBound(const Options& options, std::size_t allowedCpus) {
  const std::size_t cpus = std::max<std::size_t>(allowedCpus, 1);
  if (static_cast<std::size_t>(options.jobs) <= kJobsPerCpu * cpus) {
    return std::nullopt;
  }
  return OptionError{"--jobs " + std::to_string(options.jobs) + " is more than " +
                     std::to_string(kJobsPerCpu * cpus) + " workers, " +
                     std::to_string(kJobsPerCpu) + " for each of the " + std::to_string(cpus) +
                     " CPUs this process may use: so many would measure the scheduler, not the "
                     "processor"};
}

std::string usageText() {
  const std::string name = kProgramName;
  return "Usage: " + name + " [--runs N] [--jobs N|all] [--json]\n" + "       " + name +
         " --compare OLD.json NEW.json\n" +
         "Runs the benchmark's ten-second workload without a window and prints its score.\n"
         "\n"
         "  --runs N    N consecutive runs (default 1); prints each score, then their median,\n"
         "              minimum, maximum and coefficient of variation\n"
         "  --jobs N    rounds of a run alone, then N runs at the same time in worker\n"
         "              processes (all: one per CPU this process may use), each pinned to\n"
         "              its own CPU where there are enough: the multi-core score (the sum of\n"
         "              the N scores) and the scaling efficiency (that sum over N times the\n"
         "              solo score); with --runs R, R rounds; at most " +
         std::to_string(kJobsPerCpu) +
         " workers for each\n"
         "              CPU this process may use\n"
         "  --json      print one JSON document instead of text\n"
         "  --compare OLD NEW\n"
         "              compare two --json result files of the same workload revision: their\n"
         "              medians, the ratio NEW/OLD and a rank test of whether the difference\n"
         "              is larger than the runs' own noise; no run is made\n"
         "  --help      show this help and exit\n"
         "  --version   show the program version and workload revision and exit\n"
         "\n"
         "Exit status: 0 when every run gave a valid score, 1 when a run was invalid or failed,\n"
         "2 for a bad command line or a result file that cannot be compared, 130 when stopped\n"
         "by Ctrl-C (finished runs are reported).\n";
}

}  // namespace orvendale::cli
