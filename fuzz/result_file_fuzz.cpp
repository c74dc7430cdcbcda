// The result reader on arbitrary bytes: it either gives scores that are positive whole numbers
// of a positive workload revision, or a one-line error naming the file; it never crashes. The
// rank test then runs on whatever it accepted.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/compare/ResultFile.h"
#include "cli/stats/MannWhitney.h"

using namespace orvendale::cli;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto read = parseResultFile(bytes, "input.json");
  if (const auto* error = std::get_if<ResultFileError>(&read)) {
    if (!error->message.starts_with("input.json: ") ||
        error->message.find('\n') != std::string::npos) {
      std::abort();
    }
    return 0;
  }
  const ResultFile& file = std::get<ResultFile>(read);
  if (file.workloadRevision < 1 || file.scores.empty()) {
    std::abort();
  }
  for (const double score : file.scores) {
    if (!(score >= 1) || std::floor(score) != score) {
      std::abort();
    }
  }
  const RankTest test = mannWhitney(file.scores, file.scores);
  if (!(test.pValue >= 0 && test.pValue <= 1) || test.smallestPValue > test.pValue) {
    std::abort();
  }
  return 0;
}
