#include "cli/page/HistorySeries.h"

#include <QJsonObject>
#include <optional>
#include <set>
#include <string>

#include "cli/stats/Statistics.h"

namespace orvendale::cli {

namespace {
QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

QJsonValue optionalNumber(const std::optional<double>& value) {
  return value ? QJsonValue(*value) : QJsonValue();
}

QJsonArray changesJson(const std::vector<ContextChange>& changes) {
  QJsonArray list;
  for (const ContextChange& change : changes) {
    list.append(QJsonObject{
        {"field", qs(change.name)}, {"before", qs(change.before)}, {"after", qs(change.after)}});
  }
  return list;
}

QJsonObject sessionJson(const SessionRecord& session, const SessionRecord* previous) {
  const Summary summary = summarize(session.result.scores).value_or(Summary{});
  return {{"sessionId", qs(session.id)},
          {"startedAt", qs(session.startedAt)},
          {"runs", static_cast<qint64>(summary.count)},
          {"median", summary.median},
          {"minimum", summary.minimum},
          {"maximum", summary.maximum},
          {"cvPercent", optionalNumber(summary.cvPercent)},
          {"contended", session.result.contendedRuns},
          {"uneven", session.result.unevenRuns},
          {"throttled", session.result.throttledRuns},
          {"changes", changesJson(previous ? contextChanges(previous->context, session.context)
                                           : std::vector<ContextChange>())}};
}
}  // namespace

QJsonArray historySeriesJson(const std::vector<const SessionRecord*>& sessions) {
  std::set<int> kinds;
  for (const SessionRecord* session : sessions) {
    kinds.insert(session->result.jobs);
  }
  QJsonArray series;
  for (const int jobs : kinds) {
    QJsonArray drawn;
    const SessionRecord* previous = nullptr;
    for (const SessionRecord* session : sessions) {
      if (session->result.jobs == jobs) {
        drawn.append(sessionJson(*session, previous));
        previous = session;
      }
    }
    series.append(QJsonObject{{"jobs", jobs}, {"sessions", drawn}});
  }
  return series;
}

}  // namespace orvendale::cli
