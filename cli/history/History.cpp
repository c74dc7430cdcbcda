#include "cli/history/History.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <utility>

#include "cli/compare/Compare.h"
#include "cli/report/Sparkline.h"
#include "cli/stats/MannWhitney.h"
#include "cli/stats/NumberText.h"

namespace orvendale::cli {

namespace {
bool sameKind(const SessionRecord& a, const SessionRecord& b) {
  return a.result.workloadRevision == b.result.workloadRevision && a.result.jobs == b.result.jobs;
}

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

std::string padded(const std::string& text, int width, bool right) {
  char line[128];
  std::snprintf(line, sizeof line, right ? "%*s" : "%-*s", width, text.c_str());
  return line;
}

std::string rowText(const HistoryRow& row) {
  const Summary& summary = row.summary;
  const std::string variation =
      summary.cvPercent ? fixedText(*summary.cvPercent, 2) + " %" : std::string("-");
  const std::string started = row.session.startedAt.empty() ? "unknown" : row.session.startedAt;
  return padded(started, 21, false) + padded(kindText(row.session.result.jobs), 12, false) +
         padded(std::to_string(summary.count), 5, true) +
         padded(fixedText(summary.median, 0), 11, true) + padded(variation, 10, true) +
         padded(std::to_string(row.session.result.contendedRuns), 11, true) +
         padded(std::to_string(row.session.result.throttledRuns), 11, true) +
         padded(std::to_string(row.session.result.unevenRuns), 8, true) + "\n";
}

std::vector<double> comparableMedians(const History& history) {
  std::vector<double> medians;
  for (const std::size_t i : history.comparable) {
    medians.push_back(history.rows[i].summary.median);
  }
  return medians;
}

std::string trendText(const History& history, bool utf8) {
  const SessionRecord& latest = history.rows[history.comparable.back()].session;
  const std::vector<double> medians = comparableMedians(history);
  const Summary range = *summarize(medians);
  std::string text = "trend of the " + std::to_string(medians.size()) + " " +
                     kindText(latest.result.jobs) + " sessions of workload revision " +
                     std::to_string(latest.result.workloadRevision) + ": " +
                     sparkline(medians, utf8) + " (" + fixedText(range.minimum, 0) + " to " +
                     fixedText(range.maximum, 0) + ")\n";
  if (history.comparable.size() >= 2) {
    const std::size_t newer = history.comparable.back();
    const std::size_t older = history.comparable[history.comparable.size() - 2];
    text +=
        "the last two of them compared:\n" +
        comparisonReport(history.rows[older].session.result, history.rows[newer].session.result);
  }
  return text;
}

QJsonObject rowObject(const HistoryRow& row) {
  QJsonArray changes;
  for (const ContextChange& change : row.changes) {
    changes.append(QJsonObject{
        {"field", qs(change.name)}, {"before", qs(change.before)}, {"after", qs(change.after)}});
  }
  const SessionRecord& session = row.session;
  return QJsonObject{
      {"sessionId", qs(session.id)},
      {"startedAt", session.startedAt.empty() ? QJsonValue() : QJsonValue(qs(session.startedAt))},
      {"version", qs(session.programVersion)},
      {"workloadRevision", session.result.workloadRevision},
      {"jobs", session.result.jobs},
      {"scoredRuns", static_cast<qint64>(row.summary.count)},
      {"median", row.summary.median},
      {"minimum", row.summary.minimum},
      {"maximum", row.summary.maximum},
      {"cvPercent", row.summary.cvPercent ? QJsonValue(*row.summary.cvPercent) : QJsonValue()},
      {"contendedRuns", session.result.contendedRuns},
      {"throttledRuns", session.result.throttledRuns},
      {"unevenRuns", session.result.unevenRuns},
      {"contextChanges", changes},
  };
}

QJsonValue comparisonValue(const History& history) {
  if (history.comparable.size() < 2) {
    return QJsonValue::Null;
  }
  const HistoryRow& older = history.rows[history.comparable[history.comparable.size() - 2]];
  const HistoryRow& newer = history.rows[history.comparable.back()];
  const RankTest test = mannWhitney(older.session.result.scores, newer.session.result.scores);
  return QJsonObject{
      {"older", qs(older.session.id)},
      {"newer", qs(newer.session.id)},
      {"ratio", newer.summary.median / older.summary.median},
      {"pValue", test.pValue},
      {"verdict", qs(verdictText(test, older.summary.count, newer.summary.count,
                                 newer.summary.median > older.summary.median))},
  };
}
}  // namespace

std::string kindText(int jobs) {
  return jobs > 0 ? "--jobs " + std::to_string(jobs) : "single-core";
}

History historyOf(const std::string& machineId, std::vector<SessionRecord> sessions) {
  History history;
  history.machineId = machineId;
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    HistoryRow row;
    row.summary = summarize(sessions[i].result.scores).value_or(Summary{});
    if (!history.rows.empty()) {
      row.changes = contextChanges(history.rows.back().session.context, sessions[i].context);
    }
    row.session = std::move(sessions[i]);
    history.hostName = row.session.hostName;
    history.rows.push_back(std::move(row));
  }
  for (std::size_t i = 0; i < history.rows.size(); ++i) {
    if (sameKind(history.rows[i].session, history.rows.back().session)) {
      history.comparable.push_back(i);
    }
  }
  return history;
}

std::string historyText(const History& history, bool utf8) {
  std::string text =
      "sessions of " + history.hostName + " (machine " + history.machineId + "), oldest first:\n" +
      padded("started", 21, false) + padded("scores", 12, false) + padded("runs", 5, true) +
      padded("median", 11, true) + padded("variation", 10, true) + padded("contended", 11, true) +
      padded("throttled", 11, true) + padded("uneven", 8, true) + "\n";
  for (const HistoryRow& row : history.rows) {
    text += rowText(row);
    for (const ContextChange& change : row.changes) {
      text += "  changed: " + change.name + " " + change.before + (utf8 ? " → " : " -> ") +
              change.after + "\n";
    }
  }
  return history.comparable.empty() ? text : text + trendText(history, utf8);
}

std::string historyJson(const History& history) {
  QJsonArray rows;
  for (const HistoryRow& row : history.rows) {
    rows.append(rowObject(row));
  }
  QJsonArray medians;
  for (const double median : comparableMedians(history)) {
    medians.append(median);
  }
  QJsonValue trend;
  if (!history.comparable.empty()) {
    const SessionRecord& latest = history.rows[history.comparable.back()].session;
    trend = QJsonObject{{"workloadRevision", latest.result.workloadRevision},
                        {"jobs", latest.result.jobs},
                        {"medians", medians}};
  }
  const QJsonObject document{
      {"machine", QJsonObject{{"id", qs(history.machineId)}, {"hostName", qs(history.hostName)}}},
      {"sessions", rows},
      {"trend", trend},
      {"lastComparison", comparisonValue(history)},
  };
  return QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace orvendale::cli
