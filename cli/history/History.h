#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/stats/Statistics.h"
#include "cli/store/SessionRecord.h"

namespace orvendale::cli {

// A stored session as its machine's history shows it.
struct HistoryRow {
  SessionRecord session;
  Summary summary;  // of its scores (the rounds' multi-core scores for --jobs)
  // What changed in the machine or build since the session before it; empty for the first.
  std::vector<ContextChange> changes;
};

// A machine's sessions, oldest first. Only sessions of one workload revision and one kind
// (single-core, or --jobs with one worker count) measure the same work: the trend and the
// comparison are of those like the latest session.
struct History {
  std::string machineId;
  std::string hostName;
  std::vector<HistoryRow> rows;
  std::vector<std::size_t> comparable;  // the rows like the latest, oldest first
};

// The history of the machine whose sessions these are, oldest first.
History historyOf(const std::string& machineId, std::vector<SessionRecord> sessions);

// "single-core" or "--jobs 4": which scores a session holds.
std::string kindText(int jobs);

// The table of sessions with each context change under its session, the trend of the
// comparable sessions' medians, and the comparison of the last two of them.
std::string historyText(const History& history, bool utf8);

// The same as one indented JSON document.
std::string historyJson(const History& history);

}  // namespace orvendale::cli
