#include "cli/JsonReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>

namespace orvendale::cli {

namespace {
QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

// Milliseconds to the microsecond and nanoseconds to a tenth: more digits are only noise.
double rounded(double value, double unitsPerOne) {
  return std::round(value * unitsPerOne) / unitsPerOne;
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
  if (!run.detail.empty()) {
    object.insert(run.status == RunStatus::kInvalid ? "lastIterationText" : "error",
                  qs(run.detail));
  }
  return object;
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
  const QJsonObject document{
      {"program", qs(session.programName)},
      {"version", qs(session.programVersion)},
      {"workloadRevision", session.workloadRevision},
      {"runsRequested", session.runsRequested},
      {"interrupted", session.interrupted},
      {"runs", runs},
      {"summary", summaryValue(session)},
      {"environmentNotes", notes},
  };
  return QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace orvendale::cli
