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
  // --jobs N of a file of multi-core scores; 0 for one of single-core scores.
  int jobs = 0;
  // The scored runs' scores in run order; of a --jobs file, the complete rounds' multi-core
  // scores in round order.
  std::vector<double> scores;
  int contendedRuns = 0;  // scored runs marked contended; of a --jobs file, rounds with one
  // Scored runs marked throttled; of a --jobs file, rounds whose solo run or a worker was.
  int throttledRuns = 0;
  int unevenRuns = 0;  // scored runs marked uneven (slowed part-way)
};

// Why a file cannot be compared, in one line naming the file and, where there is one, the field.
struct ResultFileError {
  std::string message;
};

// Result files larger than this are refused unread.
inline constexpr std::size_t kResultFileLimit = 16 << 20;

// Reads `bytes` as the document of the file called `name`. Every scored run must carry a score
// that is a positive whole number, and at least one run must be scored; a --jobs file must also
// have a round with a multi-core score, likewise a positive whole number.
std::variant<ResultFile, ResultFileError> parseResultFile(std::string_view bytes,
                                                          const std::string& name);

// The bytes of the result file at `path`, or why it cannot be read.
std::variant<std::string, ResultFileError> resultFileBytes(const std::string& path);

// Reads and parses the file at `path`.
std::variant<ResultFile, ResultFileError> readResultFile(const std::string& path);

}  // namespace orvendale::cli
