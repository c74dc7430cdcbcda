#pragma once

namespace orvendale::cli {

// How orvendale-cli ends, as its manual documents; 0 is every requested run scored.
// A run invalid or failed, a worker lost, the results not written, or a run whose timer stopped.
inline constexpr int kFailureExitStatus = 1;
// A command line refused, or a result file that cannot be compared.
inline constexpr int kUsageExitStatus = 2;
// Stopped by Ctrl-C (128 + SIGINT); the runs that finished are reported.
inline constexpr int kInterruptedExitStatus = 130;

}  // namespace orvendale::cli
