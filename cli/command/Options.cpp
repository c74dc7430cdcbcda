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
constexpr std::string_view kStore = "--store";
constexpr std::string_view kMachine = "--machine";
constexpr std::string_view kValued[] = {kRuns, kJobs, kStore, kMachine};

// `argument` is option `name`, given as NAME VALUE or NAME=VALUE.
bool isOption(std::string_view argument, std::string_view name) {
  return argument == name || (argument.starts_with(name) && argument.size() > name.size() &&
                              argument[name.size()] == '=');
}

// The option of kValued that `argument` is; empty when none.
std::string_view valuedOption(std::string_view argument) {
  for (const std::string_view name : kValued) {
    if (isOption(argument, name)) {
      return name;
    }
  }
  return {};
}

// An option of kValued at arguments[i], with its value; moves i past a value given apart.
std::optional<OptionError> takeValued(std::span<const std::string_view> arguments, std::size_t& i,
                                      Options& options) {
  const std::string_view argument = arguments[i];
  const std::string_view name = valuedOption(argument);
  if (argument == name && i + 1 == arguments.size()) {
    return OptionError{std::string(name) + " needs a value"};
  }
  const std::string_view value =
      argument == name ? arguments[++i] : argument.substr(name.size() + 1);
  if (name == kJobs) {
    return parseJobs(value, options);
  }
  if (name == kStore) {
    options.store = value;
    return value.empty() ? std::optional(OptionError{"--store needs a path"}) : std::nullopt;
  }
  if (name == kMachine) {
    options.reportMachines.emplace_back(value);
    return std::nullopt;
  }
  if (!parseRuns(value, options.runs)) {
    return badRuns(value);
  }
  return std::nullopt;
}

// The arguments after arguments[i] up to the next option; moves i past them.
std::vector<std::string> takeList(std::span<const std::string_view> arguments, std::size_t& i) {
  std::vector<std::string> list;
  while (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
    list.emplace_back(arguments[++i]);
  }
  return list;
}

// --compare OLD NEW, --import FILE... or --report OUT.html [FILE...] at arguments[i].
std::optional<OptionError> takeFiles(std::span<const std::string_view> arguments, std::size_t& i,
                                     Options& options) {
  const std::string_view name = arguments[i];
  std::vector<std::string> files = takeList(arguments, i);
  if (name == "--compare") {
    if (files.size() != 2) {
      return OptionError{"--compare needs two result files, OLD and NEW"};
    }
    options.compare.emplace(files[0], files[1]);
  } else if (name == "--import") {
    if (files.empty()) {
      return OptionError{"--import needs one or more result files"};
    }
    options.importFiles = std::move(files);
  } else {
    if (files.empty()) {
      return OptionError{"--report needs the page's file name, OUT.html"};
    }
    options.report = files.front();
    options.reportFiles.assign(files.begin() + 1, files.end());
  }
  return std::nullopt;
}

// Refuses options that do not go together; `runOptions`: --runs or --jobs was given.
std::optional<OptionError> checkCombination(const Options& options, bool runOptions) {
  const int modes = (options.compare ? 1 : 0) + (options.history ? 1 : 0) +
                    (options.importFiles.empty() ? 0 : 1) + (options.report ? 1 : 0);
  if (modes > 1) {
    return OptionError{"--compare, --history, --import and --report each make a command alone"};
  }
  if (modes == 1 && runOptions) {
    return OptionError{
        "--compare, --history, --import and --report make no run: they take no "
        "--runs or --jobs"};
  }
  if (options.json && modes == 1 && !options.history) {
    return OptionError{"--json goes with a run or --history"};
  }
  if (options.noStore && (!options.store.empty() || (modes == 1 && !options.compare))) {
    return OptionError{"--no-store goes with a run or --compare alone"};
  }
  if (!options.reportMachines.empty() && (!options.report || !options.reportFiles.empty())) {
    return OptionError{"--machine goes with --report from the store, without result files"};
  }
  return std::nullopt;
}
}  // namespace

bool Options::measuresSession() const {
  return !compare && !history && importFiles.empty() && !report;
}

std::variant<Options, OptionError> parseOptions(std::span<const std::string_view> arguments) {
  Options options;
  bool runOptions = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    std::optional<OptionError> error;
    if (argument == "--json") {
      options.json = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--no-store") {
      options.noStore = true;
    } else if (argument == "--history") {
      options.history = true;
    } else if (argument == "--compare" || argument == "--import" || argument == "--report") {
      error = takeFiles(arguments, i, options);
    } else if (!valuedOption(argument).empty()) {
      runOptions = runOptions || isOption(argument, kRuns) || isOption(argument, kJobs);
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
  if (std::optional<OptionError> error = checkCombination(options, runOptions)) {
    return *error;
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
  return "Usage: " + name + " [--runs N] [--jobs N|all] [--json] [--store PATH | --no-store]\n" +
         "       " + name + " --compare OLD.json NEW.json\n" + "       " + name +
         " --history [--json] [--store PATH]\n" + "       " + name +
         " --import FILE... [--store PATH]\n" + "       " + name +
         " --report OUT.html [FILE... | --machine NAME...] [--store PATH]\n" +
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
         "  --store PATH\n"
         "              the results store that keeps every session after its last run\n"
         "              (default: $XDG_DATA_HOME/orvendale/results.sqlite)\n"
         "  --no-store  keep nothing of this session\n"
         "  --history   this machine's stored sessions, oldest first, with what changed in the\n"
         "              machine or build between them, the trend of their medians and the\n"
         "              last two comparable sessions compared\n"
         "  --import FILE...\n"
         "              keep --json result files of other machines in the store; a session\n"
         "              already kept counts once\n"
         "  --report OUT.html\n"
         "              draw the store's machines (or those named with --machine, by host\n"
         "              name or id), or the given result files, on one self-contained page\n"
         "  --help      show this help and exit\n"
         "  --version   show the program version and workload revision and exit\n"
         "\n"
         "Exit status: 0 when every run gave a valid score, 1 when a run was invalid or failed,\n"
         "2 for a bad command line or a result file that cannot be compared or imported, 130\n"
         "when stopped by Ctrl-C (finished runs are reported). A store that cannot be written\n"
         "costs a warning, not the runs' exit status; --history, --import and --report exit\n"
         "with 1 when the store cannot be used.\n";
}

}  // namespace orvendale::cli
