#pragma once

namespace orvendale::cli {

// The program's name: in its messages, in --version, and the name that ps, top and pgrep show
// for the program and each of its workers.
inline constexpr const char* kProgramName = "orvendale-cli";

}  // namespace orvendale::cli
