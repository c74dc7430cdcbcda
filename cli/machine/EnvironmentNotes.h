#pragma once

#include <string>
#include <vector>

#include "cli/system/SystemFiles.h"

namespace orvendale::cli {

// A one-minute load average above this at the start is worth a note.
inline constexpr double kQuietLoadAverage = 0.2;

// Conditions that can make scores vary, as sentences for the user: a CPU quota below one CPU, a
// system that reports none of the processor's clock, temperature and throttling (said once here,
// not at every run), a CPU frequency governor other than "performance", a load average above
// kQuietLoadAverage, running on battery. Only noted, never acted on; whatever else the system
// does not report (a missing or unreadable file) is passed over silently.
std::vector<std::string> environmentNotes(const SystemRoots& roots = {});

}  // namespace orvendale::cli
