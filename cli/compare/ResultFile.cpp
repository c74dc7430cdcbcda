#include "cli/compare/ResultFile.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "cli/system/ProgramName.h"
#include "cli/system/SystemFiles.h"
#include "platform/version/VersionRecord.h"

namespace orvendale::cli {

namespace {
// The largest double up to which every whole number is exact.
constexpr double kLargestExactWhole = 9007199254740992.0;

std::string notAResultFile() {
  return std::string("not a result file of ") + kProgramName + " --json";
}

// A file name fit for a one-line message: control characters become '?'.
std::string printable(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      c = '?';
    }
  }
  return text;
}

ResultFileError fieldError(const std::string& name, const std::string& field,
                           const std::string& problem) {
  return {printable(name) + ": field \"" + field + "\": " + problem};
}

bool isPositiveWhole(const QJsonValue& value, double limit) {
  if (!value.isDouble()) {
    return false;
  }
  const double number = value.toDouble();
  return number >= 1 && number <= limit && std::floor(number) == number;
}

// 1 when a worker of `round` carries `flag`, else 0: a --jobs file counts rounds, not workers.
int roundFlag(const QJsonObject& round, const char* flag) {
  const QJsonArray workers = round.value("workers").toArray();
  return std::any_of(workers.begin(), workers.end(),
                     [flag](const QJsonValue& w) { return w.toObject().value(flag).toBool(); });
}

// The multi-core scores of a --jobs file in place of its solo scores.
std::variant<ResultFile, ResultFileError> withMultiCoreScores(const QJsonObject& root,
                                                              const std::string& name,
                                                              ResultFile file) {
  const QJsonValue jobs = root.value("jobs");
  if (!isPositiveWhole(jobs, INT32_MAX)) {
    return fieldError(name, "jobs", "not a positive whole number");
  }
  file.jobs = static_cast<int>(jobs.toDouble());
  file.scores.clear();
  file.contendedRuns = 0;
  file.throttledRuns = 0;
  const QJsonArray rounds = root.value("rounds").toArray();
  for (qsizetype i = 0; i < rounds.size(); ++i) {
    const QJsonObject round = rounds[i].toObject();
    const QJsonValue score = round.value("multiCoreScore");
    if (score.isNull()) {
      continue;  // a round with a run that was not scored has no multi-core score
    }
    if (!isPositiveWhole(score, kLargestExactWhole)) {
      return fieldError(name, "rounds[" + std::to_string(i) + "].multiCoreScore",
                        "missing or not a positive whole number");
    }
    file.scores.push_back(score.toDouble());
    file.contendedRuns += roundFlag(round, "contended");
    // The solo run is the scaling efficiency's base: held back, it skews the round too.
    file.throttledRuns +=
        roundFlag(round, "throttled") || round.value("solo").toObject().value("throttled").toBool();
  }
  if (file.scores.empty()) {
    return fieldError(name, "rounds", "no multi-core score to compare");
  }
  return file;
}

// The document of a result file of this program; an error when it is none.
std::variant<QJsonObject, ResultFileError> documentOf(std::string_view bytes,
                                                      const std::string& name) {
  QJsonParseError parseError{};
  const QJsonDocument document = QJsonDocument::fromJson(
      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    return ResultFileError{printable(name) + ": not JSON (" +
                           parseError.errorString().toStdString() + " at byte " +
                           std::to_string(parseError.offset) + ")"};
  }
  if (!document.isObject()) {
    return ResultFileError{printable(name) + ": " + notAResultFile()};
  }
  const std::string product = platform::App.ProductName();
  if (document.object().value("program").toString().toStdString() != product) {
    return fieldError(name, "program", "not \"" + product + "\": " + notAResultFile());
  }
  return document.object();
}

// The scores of the scored runs in `runs`, and how many were contended, throttled or uneven.
// Files written before runs were watched for throttling have no "throttled": none was.
std::optional<ResultFileError> readRuns(const QJsonValue& runs, const std::string& name,
                                        ResultFile& file) {
  if (!runs.isArray()) {
    return fieldError(name, "runs", "missing or not a list");
  }
  const QJsonArray list = runs.toArray();
  for (qsizetype i = 0; i < list.size(); ++i) {
    const std::string field = "runs[" + std::to_string(i) + "]";
    if (!list[i].isObject()) {
      return fieldError(name, field, "not an object");
    }
    const QJsonObject run = list[i].toObject();
    const QJsonValue status = run.value("status");
    if (!status.isString()) {
      return fieldError(name, field + ".status", "missing or not a text");
    }
    if (status.toString() != "scored") {
      continue;  // interrupted, invalid and failed runs have no score to compare
    }
    const QJsonValue score = run.value("score");
    if (!isPositiveWhole(score, kLargestExactWhole)) {
      return fieldError(name, field + ".score", "missing or not a positive whole number");
    }
    file.scores.push_back(score.toDouble());
    file.contendedRuns += run.value("contended").toBool() ? 1 : 0;
    file.throttledRuns += run.value("throttled").toBool() ? 1 : 0;
    file.unevenRuns += run.value("uneven").toBool() ? 1 : 0;
  }
  if (file.scores.empty()) {
    return fieldError(name, "runs", "no scored run to compare");
  }
  return std::nullopt;
}
}  // namespace

std::variant<ResultFile, ResultFileError> parseResultFile(std::string_view bytes,
                                                          const std::string& name) {
  if (bytes.size() > kResultFileLimit) {
    return ResultFileError{printable(name) + ": larger than a result file can be"};
  }
  const std::variant<QJsonObject, ResultFileError> root = documentOf(bytes, name);
  if (const auto* error = std::get_if<ResultFileError>(&root)) {
    return *error;
  }
  const QJsonObject& document = std::get<QJsonObject>(root);
  ResultFile file;
  file.name = printable(name);
  const QJsonValue revision = document.value("workloadRevision");
  if (!isPositiveWhole(revision, INT32_MAX)) {
    return fieldError(name, "workloadRevision", "missing or not a positive whole number");
  }
  file.workloadRevision = static_cast<int>(revision.toDouble());
  if (std::optional<ResultFileError> error = readRuns(document.value("runs"), name, file)) {
    return *error;
  }
  if (document.contains("jobs")) {
    return withMultiCoreScores(document, name, std::move(file));
  }
  return file;
}

std::variant<std::string, ResultFileError> resultFileBytes(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return ResultFileError{printable(path) + ": missing, or not a regular file"};
  }
  std::optional<std::string> bytes = fileText(path, kResultFileLimit);
  if (!bytes) {
    return ResultFileError{printable(path) +
                           ": cannot be read, or larger than a result file can be"};
  }
  return std::move(*bytes);
}

std::variant<ResultFile, ResultFileError> readResultFile(const std::string& path) {
  const std::variant<std::string, ResultFileError> bytes = resultFileBytes(path);
  if (const auto* error = std::get_if<ResultFileError>(&bytes)) {
    return *error;
  }
  return parseResultFile(std::get<std::string>(bytes), path);
}

}  // namespace orvendale::cli
