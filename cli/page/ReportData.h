#pragma once

#include <QJsonObject>
#include <vector>

#include "cli/page/HtmlReport.h"

namespace orvendale::cli {

// Everything the page draws, as the one JSON object its renderer reads: the header, the
// machines, each machine's latest runs (scores, flags, seconds), the --jobs rounds, each
// machine's history with its context changes, and the rankings. Only sessions of
// `workloadRevision` are in it; `otherRevisionSessions` counts those left out.
QJsonObject reportData(const std::vector<MachineSessions>& machines, int workloadRevision);

}  // namespace orvendale::cli
