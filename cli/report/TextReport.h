#pragma once

#include <string>

#include "cli/jobs/Round.h"
#include "cli/machine/Machine.h"
#include "cli/report/Session.h"
#include "cli/report/Sparkline.h"
#include "cli/run/RunResult.h"
#include "cli/stats/NumberText.h"
#include "cli/stats/Statistics.h"

namespace orvendale::cli {

// The line for a run after its `label` ("run 1 of 3", "round 1 of 2, worker 2 on CPU 1"), for
// stdout when scored and for stderr otherwise, e.g. "run 1 of 3: score 3268340 (workload
// revision 1), 2042713 iterations in 10000.0 ms, 4895.4 ns per iteration; CPU 9712.5 ms, 97.1 %
// of the wall time, kernel 0.4 ms (0.00 % of the CPU time), steal 0.0 ms, 41 involuntary
// context switches". A run with less than kUncontendedCpuShare of a processor ends
// ", contended", a throttled one ", throttled (CAUSES)". A run with at least two whole seconds
// gets a second line, secondsLine, and one with readings a last line, readingsLine.
std::string runLine(const std::string& label, const RunResult& run, int workloadRevision);

// "  readings: clock 3590 MHz lowest, 3591 MHz mean, of 3600 MHz maximum (scaling_cur_freq);
// temperature 63.0 °C peak (x86_pkg_temp); thermal throttle events 0; CPU quota throttled 0.0 ms
// (0.0 % of the run) in 0 periods; CPU pressure 0.4 %", each figure "unknown" where the system
// does not give it, ending as the run line does for a throttled run. Only for a run with readings.
std::string readingsLine(const RunResult& run);

// "  iterations per second: ▇█▇▇█▇▇█▇▆ (241100 to 252000), steadiness 0.957", scaled to the run's
// own range (Sparkline.h), with ", uneven" for a run slowed part-way, and each second's clock
// where the system gives it: "; clock ▇▇▇▆▆▆▆▆▆▆ (3100 to 3600 MHz)".
std::string secondsLine(const RunResult& run, bool utf8 = utf8Locale());

// What a --jobs round gave, after its `label`: "round 1 of 2: multi-core score 7812345 from 2
// workers, 3906172 per worker, scaling efficiency 0.987 against the solo score 3957000; start
// skew 0.4 ms", or that there is no multi-core score because a run was not scored.
std::string roundLine(const std::string& label, const Round& round);

// The --jobs summary over the complete rounds: the solo scores, the multi-core scores and the
// scaling efficiency, a line each.
std::string roundsSummaryLines(const RoundsSummary& summary, int workloadRevision);

// "scores of 3 runs (workload revision 1): median 3268340, minimum 3250000, maximum 3377910,
// coefficient of variation 2.09 %; 1 of 3 runs contended, 0 uneven, 0 throttled"; the variation
// is left out for a single run.
std::string summaryLine(const Summary& summary, int workloadRevision, int contendedRuns,
                        int unevenRuns, int throttledRuns);

// "median 3268340, minimum 3250000, maximum 3377910, coefficient of variation 2.09 %", with
// `decimals` digits; a median of whole scores (decimals 0) as medianText gives it.
std::string spreadText(const Summary& summary, int decimals);

// The median as a whole score: the mean of two middle scores is rounded half up, and says so.
std::string medianText(const Summary& summary);

// Three lines: "machine: ..." (processor and system), "limits: ..." (the CPU quota and each
// CPU's maximum clock) and "build: ..." (program, compiler, Qt).
std::string machineLines(const Session& session);

}  // namespace orvendale::cli
