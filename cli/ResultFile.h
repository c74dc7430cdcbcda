#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvendale::cli {

// The part of an orvendale-cli --json document that a comparison needs.
struct ResultFile {
  std::string name;
  int workloadRevision = 0;
  std::vector<double> scores;  // of the scored runs, in run order
  int contendedRuns = 0;       // scored runs marked contended
};

// Why a file cannot be compared, in one line naming the file and, where there is one, the field.
struct ResultFileError {
  std::string message;
};

// Result files larger than this are refused unread.
inline constexpr std::size_t kResultFileLimit = 16 << 20;

// Reads `bytes` as the document of the file called `name`. Every scored run must carry a score
// that is a positive whole number, and at least one run must be scored.
std::variant<ResultFile, ResultFileError> parseResultFile(std::string_view bytes,
                                                          const std::string& name);

// Reads and parses the file at `path`.
std::variant<ResultFile, ResultFileError> readResultFile(const std::string& path);

}  // namespace orvendale::cli
