#pragma once

#include <cstdio>
#include <string>

namespace orvendale::cli {

// The program's name: in its messages, in --version, and the name that ps, top and pgrep show
// for the program and each of its workers.
inline constexpr const char* kProgramName = "orvendale-cli";

// One message line on `stream`, after the program's name, as every message of the program is.
inline void sayLine(std::FILE* stream, const std::string& message) {
  std::fprintf(stream, "%s: %s\n", kProgramName, message.c_str());
}

}  // namespace orvendale::cli
