#include "cli/report/JsonReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>

#include "cli/sensors/ReadingsJson.h"

namespace orvendale::cli {

namespace {
QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

// Milliseconds to the microsecond and nanoseconds to a tenth: more digits are only noise.
double rounded(double value, double unitsPerOne) {
  return std::round(value * unitsPerOne) / unitsPerOne;
}

QJsonValue optionalText(const std::optional<std::string>& text) {
  return text ? QJsonValue(qs(*text)) : QJsonValue(QJsonValue::Null);
}

QJsonValue optionalNumber(std::optional<int> number) {
  return number ? QJsonValue(*number) : QJsonValue(QJsonValue::Null);
}

// Null where the cgroups do not say, "none" where unlimited.
QJsonValue quotaValue(const std::optional<CpuQuotaState>& state) {
  if (!state) {
    return QJsonValue::Null;
  }
  if (!state->quota) {
    return "none";
  }
  return QJsonObject{{"cpus", rounded(state->quota->cpus(), 1e4)},
                     {"quotaMicroseconds", static_cast<qint64>(state->quota->quotaMicroseconds)},
                     {"periodMicroseconds", static_cast<qint64>(state->quota->periodMicroseconds)},
                     {"cgroupVersion", state->cgroupVersion}};
}

// Null where no CPU's maximum is known.
QJsonValue maxClocksValue(const std::vector<std::optional<double>>& clocks) {
  QJsonArray values;
  bool known = false;
  for (const std::optional<double>& clock : clocks) {
    values.append(clock ? QJsonValue(*clock) : QJsonValue(QJsonValue::Null));
    known = known || clock;
  }
  return known ? QJsonValue(values) : QJsonValue(QJsonValue::Null);
}

QJsonObject machineObject(const Machine& machine) {
  return QJsonObject{
      {"id", qs(machine.identity.id)},
      {"idSource", qs(machine.identity.source)},
      {"hostName", qs(machine.identity.hostName)},
      {"cpuModel", optionalText(machine.cpuModel)},
      {"logicalCpus", optionalNumber(machine.logicalCpus)},
      {"physicalCores", optionalNumber(machine.physicalCores)},
      {"microcode", optionalText(machine.microcode)},
      {"cpuQuota", quotaValue(machine.cpuQuota)},
      {"maxClockMHz", maxClocksValue(machine.maxClockMhz)},
      {"allowedCpus", optionalNumber(machine.allowedCpus)},
      {"kernel", optionalText(machine.kernel)},
      {"osRelease", optionalText(machine.osRelease)},
      {"libcVersion", optionalText(machine.libcVersion)},
      {"compiler", qs(machine.compiler)},
      {"compilerFlags", qs(machine.compilerFlags)},
      {"qtVersion", qs(machine.qtVersion)},
      {"eventDispatcher", optionalText(machine.eventDispatcher)},
      {"eventPump", qs(machine.eventPump)},
  };
}

void insertFigures(const RunFigures& figures, QJsonObject& object) {
  object.insert("cpuTimeMs", rounded(static_cast<double>(figures.cpuNanoseconds) / 1e6, 1e3));
  object.insert("cpuPercent", rounded(100 * figures.cpuShare, 10));
  object.insert("kernelTimeMs", rounded(static_cast<double>(figures.systemNanoseconds) / 1e6, 1e3));
  object.insert("kernelPercent", rounded(100 * figures.kernelShare(), 100));
  object.insert("stealTimeMs", figures.stealMilliseconds
                                   ? QJsonValue(rounded(*figures.stealMilliseconds, 1e3))
                                   : QJsonValue());
  object.insert("involuntaryContextSwitches", static_cast<qint64>(figures.involuntarySwitches));
  object.insert("contended", figures.contended());
}

QJsonObject runObject(int number, const RunResult& run, int workloadRevision) {
  QJsonObject object{
      {"run", number},
      {"status", statusName(run.status)},
      {"ticks", run.ticks},
      {"iterations", run.iterations},
      {"wallTimeMs", rounded(static_cast<double>(run.wallNanoseconds) / 1e6, 1e3)},
      {"nsPerIteration", rounded(run.nanosecondsPerIteration(), 10)},
      {"workloadRevision", workloadRevision},
  };
  if (run.scored()) {
    object.insert("score", run.score);
  }
  if (run.figures) {
    insertFigures(*run.figures, object);
  }
  if (!run.secondIterations.empty()) {
    QJsonArray seconds;
    for (const double second : run.secondIterations) {
      seconds.append(second);
    }
    object.insert("secondIterations", seconds);
    const std::optional<double> steadiness = run.steadiness();
    object.insert("steadiness", steadiness ? QJsonValue(rounded(*steadiness, 1e4)) : QJsonValue());
    object.insert("uneven", run.uneven());
  }
  if (run.readings) {
    insertReadings(*run.readings, run.wallNanoseconds, object);
  }
  if (!run.detail.empty()) {
    object.insert(run.status == RunStatus::kInvalid ? "lastIterationText" : "error",
                  qs(run.detail));
  }
  return object;
}

QJsonValue optionalDouble(std::optional<double> value, double unitsPerOne) {
  return value ? QJsonValue(rounded(*value, unitsPerOne)) : QJsonValue(QJsonValue::Null);
}

QJsonValue spreadValue(const std::optional<Summary>& summary, double unitsPerOne) {
  if (!summary) {
    return QJsonValue::Null;
  }
  return QJsonObject{
      {"count", static_cast<qint64>(summary->count)},
      {"median", rounded(summary->median, unitsPerOne)},
      {"minimum", rounded(summary->minimum, unitsPerOne)},
      {"maximum", rounded(summary->maximum, unitsPerOne)},
      {"cvPercent", optionalDouble(summary->cvPercent, 1e3)},
  };
}

QJsonArray roundsValue(const Session& session) {
  QJsonArray rounds;
  for (std::size_t i = 0; i < session.rounds.size(); ++i) {
    const Round& round = session.rounds[i];
    QJsonArray workers;
    for (const WorkerRun& worker : round.workers) {
      QJsonObject object = runObject(worker.number, worker.run, session.workloadRevision);
      object.insert("cpu", worker.cpu ? QJsonValue(*worker.cpu) : QJsonValue(QJsonValue::Null));
      workers.append(object);
    }
    rounds.append(QJsonObject{
        {"round", static_cast<int>(i + 1)},
        {"solo", runObject(static_cast<int>(i + 1), round.solo, session.workloadRevision)},
        {"workers", workers},
        {"multiCoreScore", optionalDouble(round.multiCoreScore(), 1)},
        {"meanPerWorker", optionalDouble(round.meanPerWorker(), 10)},
        {"efficiency", optionalDouble(round.efficiency(), 1e4)},
        {"startSkewMs", optionalDouble(round.startSkewMilliseconds(), 1e3)},
    });
  }
  return rounds;
}

// With --jobs: the rounds and how their figures spread.
void insertRounds(const Session& session, QJsonObject& document) {
  const RoundsSummary summary = summarizeRounds(session.rounds);
  document.insert("jobs", session.jobs);
  document.insert("workersShareCpus", session.workersShareCpus);
  document.insert("rounds", roundsValue(session));
  document.insert("roundsSummary", QJsonObject{
                                       {"soloScore", spreadValue(summary.solo, 1)},
                                       {"multiCoreScore", spreadValue(summary.multiCore, 1)},
                                       {"efficiency", spreadValue(summary.efficiency, 1e4)},
                                   });
}

QJsonValue summaryValue(const Session& session) {
  const std::optional<Summary> summary = session.summary();
  if (!summary) {
    return QJsonValue::Null;
  }
  return QJsonObject{
      {"scoredRuns", static_cast<qint64>(summary->count)},
      {"median", summary->median},
      {"minimum", summary->minimum},
      {"maximum", summary->maximum},
      {"cvPercent",
       summary->cvPercent ? QJsonValue(rounded(*summary->cvPercent, 1e3)) : QJsonValue::Null},
      {"contendedRuns", session.contendedRuns()},
      {"unevenRuns", session.unevenRuns()},
      {"throttledRuns", session.throttledRuns()},
  };
}
}  // namespace

std::string jsonReport(const Session& session) {
  QJsonArray runs;
  for (std::size_t i = 0; i < session.runs.size(); ++i) {
    runs.append(runObject(static_cast<int>(i + 1), session.runs[i], session.workloadRevision));
  }
  QJsonArray notes;
  for (const std::string& note : session.environmentNotes) {
    notes.append(qs(note));
  }
  QJsonObject document{
      {"sessionId", qs(session.id)},
      {"startedAt", qs(session.startedAt)},
      {"program", qs(session.programName)},
      {"version", qs(session.programVersion)},
      {"workloadRevision", session.workloadRevision},
      {"runsRequested", session.runsRequested},
      {"interrupted", session.interrupted},
      {"runs", runs},
      {"summary", summaryValue(session)},
      {"environmentNotes", notes},
      {"machine", machineObject(session.machine)},
  };
  if (session.jobs > 0) {
    insertRounds(session, document);
  }
  return QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace orvendale::cli
