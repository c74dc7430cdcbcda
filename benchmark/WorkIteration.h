#pragma once

#include <string>
#include <string_view>

namespace orvendale {

// Identifies what a score measures: the work one iteration does and the pump around it. Raise it
// whenever runMathStage or runTextStage (or anything they call) changes what an iteration does,
// or the pump's cost changes, so that scores of different workloads are never compared by
// mistake. Revision 2: the pump guards the loop's CPU state and Qt's Unix dispatcher pumps.
// Revision 3: the pump enters the kernel only when something is pending.
inline constexpr int kWorkloadRevision = 3;

// The text every iteration of this workload revision leaves: "-.999829015754428" encrypted six
// times in a chain. A run whose last iteration left another text did other work and is not
// scored; a new workload leaves a new text, so change both together.
inline constexpr std::string_view kKnownIterationText =
    "IPaFzzeqCxS_;vrYxTXJlnKxSQAXiuNgXlRLeXtlWDCU>oKbx`]imrutDoMTN_ZHyMG_oyfmDfW\\GDhMQ<"
    "KCqO\\\\USkTryFzDtVC";

// The two halves of one work iteration after its event pump. Each writes its results into
// `value`, the run's dblValue, exactly as the work loop requires: nothing is cached or reused.

// Nine times: value = sin(cos(tan(ln 321))), then value = cos(3.1231). 45 library calls;
// value ends at cos(3.1231).
void runMathStage(double& value);

// Converts value to text and encrypts it six times in a chain, twice over. `text` ends with
// the second chain's result.
void runTextStage(const double& value, std::string& text);

}  // namespace orvendale
