#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "cli/compare/ResultFile.h"

namespace orvendale::cli {

// One field of a session's context and its value ("unknown" where the system did not say).
struct ContextField {
  std::string name;  // "kernel", "C library", ...
  std::string value;
};
using Context = std::vector<ContextField>;

// A session as the results store keeps it: the --json document as it was written, with what the
// store sorts, groups and compares by read out of it.
struct SessionRecord {
  std::string id;         // the session's own id; for a file without one, a hash of its document
  std::string machineId;  // MachineIdentity::id; for a file without one, a hash of its processor
  std::string hostName;
  std::string startedAt;  // empty where the file does not say
  std::string programVersion;
  ResultFile result;  // the scores and flags, as --compare reads them
  Context context;    // the machine and build the scores came from, in a fixed order
  std::string document;
};

// Reads a --json document of this program into a record; refuses what --compare refuses, and a
// document whose ids are not text.
std::variant<SessionRecord, ResultFileError> sessionRecordOf(std::string_view bytes,
                                                             const std::string& name);

// A field whose value differs between two sessions.
struct ContextChange {
  std::string name;
  std::string before;
  std::string after;
};

// The fields of `after` whose values differ in `before`, in the context's order.
std::vector<ContextChange> contextChanges(const Context& before, const Context& after);

}  // namespace orvendale::cli
