#pragma once

#include <vector>

namespace orvendale::cli {

// The logical CPUs this process may run on (its affinity mask), in increasing order; empty where
// the system does not say.
std::vector<int> allowedCpus();

// Restricts this process to `cpu`; false when the system refuses.
bool pinToCpu(int cpu);

}  // namespace orvendale::cli
