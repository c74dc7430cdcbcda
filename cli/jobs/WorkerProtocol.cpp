#include "cli/jobs/WorkerProtocol.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <utility>
#include <vector>

#include "cli/sensors/ReadingsJson.h"
#include "cli/stats/NumberText.h"
#include "cli/system/ProgramName.h"

namespace orvendale::cli {

namespace {
// The CPU argument of a worker left unpinned.
constexpr std::string_view kUnpinned = "-";

// The report line's fields, space-separated in this order; the run's text follows the last
// field and runs to the end of the line (it may hold spaces).
enum ReportField : std::size_t {
  kKind,                 // "run", or "failed" for a run that raised an error
  kIterations,           // completed iterations
  kTicks,                // handled ticks
  kWallNanoseconds,      // the run's wall time
  kCpuNanoseconds,       // the process's CPU time during the run
  kSystemNanoseconds,    // the part of it in the kernel
  kInvoluntarySwitches,  // involuntary context switches
  kStealMilliseconds,    // steal time; "-" where the kernel does not report it
  kStartNanoseconds,     // when the run began, monotonic clock
  kSeconds,              // each whole second's iterations, "1,2,3"; "-" for none
  kReadings,             // the run's readings as compact JSON without spaces; "-" for none
  kFieldCount,
};
using ReportFields = std::array<std::string_view, kFieldCount>;

constexpr std::string_view kRunKind = "run";
constexpr std::string_view kFailedKind = "failed";
constexpr std::string_view kNone = "-";

std::string secondsText(const std::vector<double>& seconds) {
  if (seconds.empty()) {
    return std::string(kNone);
  }
  std::string text;
  for (const double second : seconds) {
    text += (text.empty() ? "" : ",") + fixedText(second, 0);
  }
  return text;
}

// The seconds of "1,2,3", or kNone for none; false for anything else.
bool parseSeconds(std::string_view text, std::vector<double>& seconds) {
  if (text == kNone) {
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

// The readings as one field: compact JSON has spaces only inside its texts, where they are written
// as the escape \u0020 that any JSON reader turns back into a space.
std::string readingsText(const RunResult& run) {
  if (!run.readings) {
    return std::string(kNone);
  }
  QJsonObject object;
  insertReadings(*run.readings, run.wallNanoseconds, object);
  const QByteArray json =
      QJsonDocument(object.value("readings").toObject()).toJson(QJsonDocument::Compact);
  std::string text;
  for (const char c : json) {
    text += c == ' ' ? std::string("\\u0020") : std::string(1, c);
  }
  return text;
}

// The readings of a field that readingsText wrote; false for anything else.
bool parseReadings(std::string_view text, std::optional<RunReadings>& readings) {
  if (text == kNone) {
    return true;
  }
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  readings = document.isObject() ? readingsOf(document.object()) : std::nullopt;
  return readings.has_value();
}

// A whole field as a number; false for anything else.
template <typename Number>
bool parseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// Splits off the fields before the run's text; false when the line has too few.
bool splitFields(std::string_view& line, ReportFields& fields) {
  for (std::string_view& field : fields) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
      return false;
    }
    field = line.substr(0, space);
    line.remove_prefix(space + 1);
  }
  return true;
}

// The run's counts and figures from `fields`; nothing when one is not a number in range.
std::optional<WorkerReport> parseFields(const ReportFields& fields, std::string_view text) {
  std::int64_t iterations = 0;
  int ticks = 0;
  std::int64_t wall = 0;
  std::int64_t cpu = 0;
  std::int64_t system = 0;
  std::int64_t switches = 0;
  double steal = 0;
  WorkerReport report;
  std::vector<double> seconds;
  std::optional<RunReadings> readings;
  const bool hasSteal = fields[kStealMilliseconds] != kNone;
  if ((fields[kKind] != kRunKind && fields[kKind] != kFailedKind) ||
      !parseNumber(fields[kIterations], iterations) || !parseNumber(fields[kTicks], ticks) ||
      ticks < 0 || ticks > INT16_MAX || !parseNumber(fields[kWallNanoseconds], wall) ||
      !parseNumber(fields[kCpuNanoseconds], cpu) ||
      !parseNumber(fields[kSystemNanoseconds], system) ||
      !parseNumber(fields[kInvoluntarySwitches], switches) ||
      (hasSteal && !parseNumber(fields[kStealMilliseconds], steal)) ||
      !parseNumber(fields[kStartNanoseconds], report.startNanoseconds) ||
      !parseSeconds(fields[kSeconds], seconds) || !parseReadings(fields[kReadings], readings)) {
    return std::nullopt;
  }
  report.run = fields[kKind] == kFailedKind
                   ? failedRun(std::string(text), wall)
                   : resultOfRun(static_cast<double>(iterations), static_cast<std::int16_t>(ticks),
                                 text, wall);
  report.run.iterations = static_cast<double>(iterations);
  report.run.ticks = static_cast<std::int16_t>(ticks);
  report.run.figures =
      figuresOf(cpu, system, switches, hasSteal ? std::optional(steal) : std::nullopt, wall);
  report.run.secondIterations = std::move(seconds);
  report.run.readings = std::move(readings);
  return report;
}
}  // namespace

std::array<std::string, 3> workerCommandLine(std::optional<int> cpu) {
  return {kProgramName, std::string(kWorkerArgument),
          cpu ? std::to_string(*cpu) : std::string(kUnpinned)};
}

std::optional<WorkerCommand> parseWorkerCommand(std::span<const std::string_view> arguments) {
  if (arguments.size() != 2 || arguments[0] != kWorkerArgument) {
    return std::nullopt;
  }
  WorkerCommand command;
  int cpu = -1;
  if (arguments[1] != kUnpinned && parseNumber(arguments[1], cpu)) {
    command.cpu = cpu;
  }
  return command;
}

bool saidReady(std::string_view received) {
  return received.find(kReadyLine) != std::string_view::npos;
}

std::string_view reportAfterReady(std::string_view received) {
  const std::size_t ready = received.find(kReadyLine);
  if (ready == std::string_view::npos) {
    return {};
  }
  std::string_view line = received.substr(ready + kReadyLine.size());
  if (!line.empty() && line.back() == '\n') {
    line.remove_suffix(1);
  }
  return line;
}

std::string workerReportLine(const RunResult& run, std::string_view lastIterationText,
                             std::int64_t startNanoseconds) {
  const RunFigures figures = run.figures.value_or(RunFigures{});
  const bool failed = run.status == RunStatus::kFailed;
  std::array<std::string, kFieldCount> fields;
  fields[kKind] = failed ? kFailedKind : kRunKind;
  fields[kIterations] = fixedText(run.iterations, 0);
  fields[kTicks] = std::to_string(run.ticks);
  fields[kWallNanoseconds] = std::to_string(run.wallNanoseconds);
  fields[kCpuNanoseconds] = std::to_string(figures.cpuNanoseconds);
  fields[kSystemNanoseconds] = std::to_string(figures.systemNanoseconds);
  fields[kInvoluntarySwitches] = std::to_string(figures.involuntarySwitches);
  fields[kStealMilliseconds] =
      figures.stealMilliseconds ? fixedText(*figures.stealMilliseconds, 3) : std::string(kNone);
  fields[kStartNanoseconds] = std::to_string(startNanoseconds);
  fields[kSeconds] = secondsText(run.secondIterations);
  fields[kReadings] = readingsText(run);
  std::string line;
  for (const std::string& field : fields) {
    line += field + " ";
  }
  for (const char c : failed ? std::string_view(run.detail) : lastIterationText) {
    line += c == '\n' || c == '\r' ? ' ' : c;
  }
  return line;
}

std::optional<WorkerReport> parseWorkerReportLine(std::string_view line) {
  ReportFields fields;
  if (!splitFields(line, fields)) {
    return std::nullopt;
  }
  return parseFields(fields, line);
}

}  // namespace orvendale::cli
