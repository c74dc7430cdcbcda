#pragma once

#include <vector>

namespace orvendale::cli {

// The results store's tables. Each version is reached from the one before by its own statements,
// so that a store written by any earlier program is brought up to date in place.
struct Migration {
  int version;  // what PRAGMA user_version holds once its statements have run
  std::vector<const char*> statements;
};

// Every migration, from the empty file on, in order.
const std::vector<Migration>& migrations();

// The version this program writes and the newest it can read.
int schemaVersion();

}  // namespace orvendale::cli
