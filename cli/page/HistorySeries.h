#pragma once

#include <QJsonArray>
#include <vector>

#include "cli/store/SessionRecord.h"

namespace orvendale::cli {

// A machine's sessions (oldest first, of one workload revision) as the page's history draws
// them: a series for each kind of score (single-core, each --jobs N), since only those measure
// the same work; each session with its median and spread, and its context changes against the
// session before it in its series.
QJsonArray historySeriesJson(const std::vector<const SessionRecord*>& sessions);

}  // namespace orvendale::cli
