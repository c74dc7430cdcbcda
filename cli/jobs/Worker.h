#pragma once

#include <optional>

namespace orvendale::cli {

// The worker's side of a --jobs round (WorkerProtocol.h): pins itself to `cpu` (when given),
// builds the same run as a plain invocation, says it is ready, waits for the start signal, makes
// the run and writes its report line. Ctrl-C ends the run at its next tick, as in a plain run. The
// worker ends when the program that started it ends. Returns the exit status.
int workerMain(int argc, char* argv[], std::optional<int> cpu);

}  // namespace orvendale::cli
