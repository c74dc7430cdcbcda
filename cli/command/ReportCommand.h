#pragma once

#include <cstdio>

#include "cli/command/Options.h"

namespace orvendale::cli {

// --report OUT.html: draws the given result files, or the store's machines (those named with
// --machine, or all), and writes the page in place of OUT.html only once it is whole. Returns 0;
// 2 when a file cannot be read or a named machine is not in the store; 1 when the store, the
// charting library or the page's file cannot be used. Each failure is one line on `err`.
int writeReport(const Options& options, std::FILE* out, std::FILE* err);

}  // namespace orvendale::cli
