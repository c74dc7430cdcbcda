#pragma once

#include <string>

namespace orvendale {

// Identifies what a score measures: the work one iteration does and the pump around it. Raise it
// whenever runMathStage or runTextStage (or anything they call) changes what an iteration does,
// or the pump's cost changes, so that scores of different workloads are never compared by
// mistake. Revision 2: the pump guards the loop's CPU state and Qt's Unix dispatcher pumps.
// Revision 3: the pump enters the kernel only when something is pending.
inline constexpr int kWorkloadRevision = 3;

// The two halves of one work iteration after its event pump. Each writes its results into
// `value`, the run's dblValue, exactly as the work loop requires: nothing is cached or reused.

// Nine times: value = sin(cos(tan(ln 321))), then value = cos(3.1231). 45 library calls;
// value ends at cos(3.1231).
void runMathStage(double& value);

// Converts value to text and encrypts it six times in a chain, twice over. `text` ends with
// the second chain's result.
void runTextStage(const double& value, std::string& text);

}  // namespace orvendale
