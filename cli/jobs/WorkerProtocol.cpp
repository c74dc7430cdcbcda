#include "cli/jobs/WorkerProtocol.h"

#include <charconv>
#include <utility>
#include <vector>

#include "cli/stats/NumberText.h"

namespace orvendale::cli {

namespace {
std::string secondsText(const std::vector<double>& seconds) {
  if (seconds.empty()) {
    return "-";
  }
  std::string text;
  for (const double second : seconds) {
    text += (text.empty() ? "" : ",") + fixedText(second, 0);
  }
  return text;
}

// The seconds of "1,2,3", or "-" for none; false for anything else.
bool parseSeconds(std::string_view text, std::vector<double>& seconds) {
  if (text == "-") {
    return true;
  }
  while (true) {
    std::int64_t second = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), second);
    if (error != std::errc()) {
      return false;
    }
    seconds.push_back(static_cast<double>(second));
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (text.empty()) {
      return true;
    }
    if (text.front() != ',') {
      return false;
    }
    text.remove_prefix(1);
  }
}
}  // namespace

// "run|failed ITERATIONS TICKS WALL_NS CPU_NS SYSTEM_NS SWITCHES STEAL_MS|- START_NS
// SECOND,SECOND,...|- TEXT"
std::string workerReportLine(const RunResult& run, std::string_view lastIterationText,
                             std::int64_t startNanoseconds) {
  const RunFigures figures = run.figures.value_or(RunFigures{});
  const bool failed = run.status == RunStatus::kFailed;
  std::string text(failed ? std::string_view(run.detail) : lastIterationText);
  for (char& c : text) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return std::string(failed ? "failed " : "run ") + fixedText(run.iterations, 0) + " " +
         std::to_string(run.ticks) + " " + std::to_string(run.wallNanoseconds) + " " +
         std::to_string(figures.cpuNanoseconds) + " " + std::to_string(figures.systemNanoseconds) +
         " " + std::to_string(figures.involuntarySwitches) + " " +
         (figures.stealMilliseconds ? fixedText(*figures.stealMilliseconds, 3) : "-") + " " +
         std::to_string(startNanoseconds) + " " + secondsText(run.secondIterations) + " " + text;
}

std::optional<WorkerReport> parseWorkerReportLine(std::string_view line) {
  constexpr int kNumbers = 9;
  std::vector<std::string_view> fields;
  for (int field = 0; field <= kNumbers; ++field) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
      return std::nullopt;
    }
    fields.push_back(line.substr(0, space));
    line.remove_prefix(space + 1);
  }
  const auto number = [](std::string_view text, auto& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
  };
  std::int64_t iterations = 0;
  int ticks = 0;
  std::int64_t wall = 0;
  std::int64_t cpu = 0;
  std::int64_t system = 0;
  std::int64_t switches = 0;
  double steal = 0;
  WorkerReport report;
  const bool hasSteal = fields[7] != "-";
  if ((fields[0] != "run" && fields[0] != "failed") || !number(fields[1], iterations) ||
      !number(fields[2], ticks) || ticks < 0 || ticks > INT16_MAX || !number(fields[3], wall) ||
      !number(fields[4], cpu) || !number(fields[5], system) || !number(fields[6], switches) ||
      (hasSteal && !number(fields[7], steal)) || !number(fields[8], report.startNanoseconds)) {
    return std::nullopt;
  }
  std::vector<double> seconds;
  if (!parseSeconds(fields[9], seconds)) {
    return std::nullopt;
  }
  report.run = fields[0] == "failed" ? failedRun(std::string(line), wall)
                                     : resultOfRun(static_cast<double>(iterations),
                                                   static_cast<std::int16_t>(ticks), line, wall);
  report.run.iterations = static_cast<double>(iterations);
  report.run.ticks = static_cast<std::int16_t>(ticks);
  report.run.figures =
      figuresOf(cpu, system, switches, hasSteal ? std::optional(steal) : std::nullopt, wall);
  report.run.secondIterations = std::move(seconds);
  return report;
}

}  // namespace orvendale::cli
