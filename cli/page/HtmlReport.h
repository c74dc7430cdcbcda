#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/store/SessionRecord.h"

namespace orvendale::cli {

// What the page draws of one machine: its latest sessions of the report's workload revision in
// full, and its whole history in brief.
struct MachineSessions {
  std::string machineId;
  std::string hostName;
  std::optional<SessionRecord> singleCore;  // the latest single-core session, with its document
  std::optional<SessionRecord> multiCore;   // the latest --jobs session, with its document
  std::vector<SessionRecord> history;       // every session, oldest first, documents not needed
};

// Where Debian's libjs-chart.js puts the charting library that the page inlines.
inline constexpr const char* kChartJsPath = "/usr/share/javascript/chart.js/chart.min.js";

// The report as one self-contained HTML page (no network, printable): the machines side by
// side, each run's seconds, the --jobs scaling efficiency and each machine's history with its
// context changes, each chart with its numbers in a table beneath and the runs' flags; and the
// machines ranked. Only sessions of `workloadRevision` are drawn; the page says how many others
// were left out (each session once, whether in `history`, as a latest one or both). `chartJs`
// is the library's text, inlined.
std::string htmlReport(const std::vector<MachineSessions>& machines, int workloadRevision,
                       const std::string& chartJs);

}  // namespace orvendale::cli
