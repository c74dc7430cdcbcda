#pragma once

#include <string>

#include "cli/report/Session.h"

namespace orvendale::cli {

// The session as one indented JSON document (UTF-8, ending with a newline). Runs that were not
// scored carry their status but no score; "summary" is null when no run was scored and its
// "cvPercent" is null for fewer than two scores. Each measured run carries its CPU time and
// share, steal time and involuntary context switches, and whether it was contended; and, where
// they were taken, its readings and whether it was throttled (ReadingsJson.h).
std::string jsonReport(const Session& session);

}  // namespace orvendale::cli
