#include "cli/page/ReportData.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "cli/page/HistorySeries.h"
#include "cli/page/Ranking.h"
#include "cli/stats/Statistics.h"
#include "platform/version/VersionRecord.h"

namespace orvendale::cli {

namespace {
QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

// A machine as the page draws it: its sessions of the report's workload revision.
struct MachineView {
  int index = 0;
  const MachineSessions* source = nullptr;
  std::string label;                           // its host name, made unique on the page
  std::vector<const SessionRecord*> sessions;  // oldest first
  const SessionRecord* single = nullptr;       // the latest single-core session
  const SessionRecord* multi = nullptr;        // the latest --jobs session
  QJsonObject singleDocument;
  QJsonObject multiDocument;
};

QJsonObject documentOf(const SessionRecord* record) {
  return record ? QJsonDocument::fromJson(QByteArray::fromStdString(record->document)).object()
                : QJsonObject();
}

// The history with the latest sessions, each once, oldest first.
std::vector<const SessionRecord*> allSessions(const MachineSessions& machine) {
  std::vector<const SessionRecord*> all;
  std::set<std::string> ids;
  for (const SessionRecord& record : machine.history) {
    all.push_back(&record);
    ids.insert(record.id);
  }
  for (const auto* latest : {&machine.singleCore, &machine.multiCore}) {
    if (*latest && ids.insert((*latest)->id).second) {
      all.push_back(&**latest);
    }
  }
  std::stable_sort(all.begin(), all.end(), [](const SessionRecord* a, const SessionRecord* b) {
    return a->startedAt < b->startedAt;
  });
  return all;
}

// Host names may repeat or be missing: the machine id's start tells such machines apart.
void labelMachines(std::vector<MachineView>& views) {
  for (MachineView& view : views) {
    const std::string& host = view.source->hostName;
    view.label = host.empty() ? "machine " + view.source->machineId.substr(0, 8) : host;
  }
  for (MachineView& view : views) {
    const auto same = std::count_if(views.begin(), views.end(), [&](const MachineView& other) {
      return other.source->hostName == view.source->hostName;
    });
    if (same > 1 && !view.source->hostName.empty()) {
      view.label += " (" + view.source->machineId.substr(0, 8) + ")";
    }
  }
}

std::vector<MachineView> viewsOf(const std::vector<MachineSessions>& machines, int revision,
                                 int& otherRevisionSessions) {
  std::vector<MachineView> views;
  for (const MachineSessions& machine : machines) {
    MachineView view;
    view.index = static_cast<int>(views.size());
    view.source = &machine;
    for (const SessionRecord* record : allSessions(machine)) {
      if (record->result.workloadRevision != revision) {
        ++otherRevisionSessions;
      } else {
        view.sessions.push_back(record);
      }
    }
    const auto ofRevision = [&](const std::optional<SessionRecord>& record) {
      return record && record->result.workloadRevision == revision ? &*record : nullptr;
    };
    view.single = ofRevision(machine.singleCore);
    view.multi = ofRevision(machine.multiCore);
    view.singleDocument = documentOf(view.single);
    view.multiDocument = documentOf(view.multi);
    views.push_back(std::move(view));
  }
  labelMachines(views);
  return views;
}

// The scored runs of a document (of a --jobs document: the rounds' solo runs).
std::vector<RunPoint> scoredRuns(const QJsonObject& document) {
  std::vector<RunPoint> points;
  for (const QJsonValue& value : document.value("runs").toArray()) {
    const QJsonObject run = value.toObject();
    if (run.value("status").toString() == "scored") {
      points.push_back({run.value("run").toInt(), run.value("score").toDouble(),
                        run.value("contended").toBool(), run.value("uneven").toBool(),
                        run.value("throttled").toBool()});
    }
  }
  return points;
}

// Each round's `key` (multiCoreScore or efficiency) where it has one. A round is contended when a
// worker was, as --compare counts it, and uneven or throttled when its solo run or a worker was.
std::vector<RunPoint> roundPoints(const QJsonObject& document, const char* key) {
  std::vector<RunPoint> points;
  for (const QJsonValue& value : document.value("rounds").toArray()) {
    const QJsonObject round = value.toObject();
    if (!round.value(key).isDouble()) {
      continue;
    }
    const QJsonObject solo = round.value("solo").toObject();
    RunPoint point{round.value("round").toInt(), round.value(key).toDouble(), false,
                   solo.value("uneven").toBool(), solo.value("throttled").toBool()};
    for (const QJsonValue& value : round.value("workers").toArray()) {
      const QJsonObject worker = value.toObject();
      point.contended = point.contended || worker.value("contended").toBool();
      point.uneven = point.uneven || worker.value("uneven").toBool();
      point.throttled = point.throttled || worker.value("throttled").toBool();
    }
    points.push_back(point);
  }
  return points;
}

QJsonValue optionalNumber(const std::optional<double>& value) {
  return value ? QJsonValue(*value) : QJsonValue();
}

// A machine's runs of one kind: every point, the median and spread, the interval, the flags.
QJsonObject spreadJson(const MachineView& view, const SessionRecord& session,
                       const std::vector<RunPoint>& points) {
  QJsonArray drawn;
  std::vector<double> values;
  int contended = 0;
  int uneven = 0;
  int throttled = 0;
  for (const RunPoint& point : points) {
    drawn.append(QJsonObject{{"n", point.number},
                             {"value", point.value},
                             {"contended", point.contended},
                             {"uneven", point.uneven},
                             {"throttled", point.throttled}});
    values.push_back(point.value);
    contended += point.contended ? 1 : 0;
    uneven += point.uneven ? 1 : 0;
    throttled += point.throttled ? 1 : 0;
  }
  const Summary summary = summarize(values).value_or(Summary{});
  return {{"machine", view.index},
          {"sessionId", qs(session.id)},
          {"startedAt", qs(session.startedAt)},
          {"jobs", session.result.jobs},
          {"points", drawn},
          {"median", summary.median},
          {"minimum", summary.minimum},
          {"maximum", summary.maximum},
          {"cvPercent", optionalNumber(summary.cvPercent)},
          {"interval", intervalJson(medianInterval(values))},
          {"contended", contended},
          {"uneven", uneven},
          {"throttled", throttled}};
}

// A machine's runs of one kind: the latest single-core session's scored runs, or the multi-core
// scores of the latest --jobs session's complete rounds.
std::vector<RunPoint> pointsOf(const MachineView& view, bool multi) {
  return multi ? roundPoints(view.multiDocument, "multiCoreScore")
               : scoredRuns(view.singleDocument);
}

QJsonArray spreadsOf(const std::vector<MachineView>& views, bool multi) {
  QJsonArray spreads;
  for (const MachineView& view : views) {
    const SessionRecord* session = multi ? view.multi : view.single;
    const std::vector<RunPoint> points = pointsOf(view, multi);
    if (session && !points.empty()) {
      spreads.append(spreadJson(view, *session, points));
    }
  }
  return spreads;
}

// A run's iterations per second with its flags, and its readings where it has them (a file
// written before they were taken has none: the keys are left out).
QJsonObject secondsRunJson(const QJsonObject& run) {
  return {{"n", run.value("run")},
          {"seconds", run.value("secondIterations")},
          {"steadiness", run.value("steadiness")},
          {"contended", run.value("contended").toBool()},
          {"uneven", run.value("uneven").toBool()},
          {"throttled", run.value("throttled").toBool()},
          {"throttleCauses", run.value("throttleCauses")},
          {"readings", run.value("readings")}};
}

// Each scored run's seconds, of each machine's latest single-core session.
QJsonArray secondsOf(const std::vector<MachineView>& views) {
  QJsonArray machines;
  for (const MachineView& view : views) {
    QJsonArray runs;
    for (const QJsonValue& value : view.singleDocument.value("runs").toArray()) {
      const QJsonObject run = value.toObject();
      if (run.value("status").toString() == "scored" && run.contains("secondIterations")) {
        runs.append(secondsRunJson(run));
      }
    }
    if (!runs.isEmpty()) {
      machines.append(QJsonObject{
          {"machine", view.index}, {"startedAt", qs(view.single->startedAt)}, {"runs", runs}});
    }
  }
  return machines;
}

// Each machine's --jobs rounds: their efficiencies as points, and each round's figures.
QJsonArray scalingOf(const std::vector<MachineView>& views) {
  QJsonArray machines;
  for (const MachineView& view : views) {
    const std::vector<RunPoint> efficiencies = roundPoints(view.multiDocument, "efficiency");
    if (!view.multi || efficiencies.empty()) {
      continue;
    }
    QJsonArray rounds;
    for (const QJsonValue& value : view.multiDocument.value("rounds").toArray()) {
      const QJsonObject round = value.toObject();
      rounds.append(QJsonObject{{"n", round.value("round")},
                                {"solo", round.value("solo").toObject().value("score")},
                                {"multiCoreScore", round.value("multiCoreScore")},
                                {"efficiency", round.value("efficiency")}});
    }
    QJsonObject entry = spreadJson(view, *view.multi, efficiencies);
    entry.insert("rounds", rounds);
    machines.append(entry);
  }
  return machines;
}

QJsonObject contextJson(const Context& context) {
  QJsonObject fields;
  for (const ContextField& field : context) {
    fields.insert(qs(field.name), qs(field.value));
  }
  return fields;
}

QJsonArray machinesOf(const std::vector<MachineView>& views) {
  QJsonArray machines;
  for (const MachineView& view : views) {
    const SessionRecord* latest = view.sessions.empty() ? nullptr : view.sessions.back();
    machines.append(QJsonObject{{"id", qs(view.source->machineId)},
                                {"label", qs(view.label)},
                                {"sessions", static_cast<qint64>(view.sessions.size())},
                                {"context", latest ? contextJson(latest->context) : QJsonObject()},
                                {"history", historySeriesJson(view.sessions)}});
  }
  return machines;
}

QJsonObject rankingOf(const std::vector<MachineView>& views, bool multi) {
  std::vector<RankCandidate> candidates;
  for (const MachineView& view : views) {
    const SessionRecord* session = multi ? view.multi : view.single;
    std::vector<RunPoint> points = pointsOf(view, multi);
    if (session && !points.empty()) {
      candidates.push_back({view.index, session->result.jobs, std::move(points)});
    }
  }
  return rankingJson(candidates);
}
}  // namespace

QJsonObject reportData(const std::vector<MachineSessions>& machines, int workloadRevision) {
  int otherRevisionSessions = 0;
  const std::vector<MachineView> views = viewsOf(machines, workloadRevision, otherRevisionSessions);
  return {
      {"program", qs(platform::App.ProductName())},
      {"version", qs(platform::App.VersionText())},
      {"generatedAt", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
      {"workloadRevision", workloadRevision},
      {"otherRevisionSessions", otherRevisionSessions},
      {"machines", machinesOf(views)},
      {"singleCore", spreadsOf(views, false)},
      {"multiCore", spreadsOf(views, true)},
      {"seconds", secondsOf(views)},
      {"scaling", scalingOf(views)},
      {"ranking",
       QJsonObject{{"singleCore", rankingOf(views, false)}, {"multiCore", rankingOf(views, true)}}},
  };
}

}  // namespace orvendale::cli
