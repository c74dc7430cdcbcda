#pragma once

#include "cli/command/Options.h"
#include "cli/measure/InterruptWatch.h"
#include "cli/report/Session.h"

namespace orvendale::cli {

// Makes the session's runs one after another, or with --jobs its rounds (a solo run in this
// process, then session.jobs workers' runs at once), and prints each run's line as it ends
// (without --json, or when it was not scored), then the summary. Stops early at Ctrl-C or at a
// run that gives no valid score.
void runSession(const Options& options, Session& session, const InterruptWatch& interrupt);

}  // namespace orvendale::cli
