#pragma once

#include <optional>

namespace orvendale::cli {

// The argument that makes orvendale-cli a worker of a --jobs round; for the program itself.
inline constexpr const char* kWorkerArgument = "--worker";

// The worker's side of a --jobs round: pins itself to `cpu` (when given), builds the same run as
// a plain invocation, writes "ready" to stdout, waits until its stdin reaches its end (the start
// signal, given to every worker at once), makes the run and writes one report line
// (WorkerProtocol.h). Ctrl-C ends the run at its next tick, as in a plain run. The worker ends
// when the program that started it ends. Returns the exit status.
int workerMain(int argc, char* argv[], std::optional<int> cpu);

}  // namespace orvendale::cli
