#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command/Options.h"

namespace orvendale::cli {
namespace {

TEST(ParseOptions, AcceptsEveryOptionInAnyOrderTheLastRunsCounting) {
  struct Accepted {
    std::vector<std::string_view> arguments;
    int runs;
    int jobs;
    bool allJobs;
    bool json;
    bool help;
  };
  const Accepted cases[] = {
      {{}, 1, 0, false, false, false},
      {{"--runs=3", "--json"}, 3, 0, false, true, false},
      {{"--json", "--runs", "2", "--runs", "5"}, 5, 0, false, true, false},
      {{"-h"}, 1, 0, false, false, true},
      {{"--runs", "2147483647"}, 2147483647, 0, false, false, false},
      {{"--jobs", "2", "--runs", "3"}, 3, 2, false, false, false},
      {{"--jobs=all", "--json"}, 1, 0, true, true, false},
  };
  for (const Accepted& accepted : cases) {
    const auto parsed = parseOptions(accepted.arguments);
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<OptionError>(parsed).message;
    const Options& options = std::get<Options>(parsed);
    EXPECT_EQ(options.runs, accepted.runs);
    EXPECT_EQ(options.jobs, accepted.jobs);
    EXPECT_EQ(options.allJobs, accepted.allJobs);
    EXPECT_EQ(options.json, accepted.json);
    EXPECT_EQ(options.help, accepted.help);
  }
}

TEST(ParseOptions, RefusesBadInputWithOneLineNamingIt) {
  const std::pair<std::vector<std::string_view>, std::string> cases[] = {
      {{"--runs", "0"}, "'0'"},
      {{"--runs", "-3"}, "'-3'"},
      {{"--runs", "+3"}, "'+3'"},
      {{"--runs", " 3"}, "' 3'"},
      {{"--runs", "2.5"}, "'2.5'"},
      {{"--runs", "99999999999"}, "'99999999999'"},
      {{"--runs="}, "''"},
      {{"--json", "--runs"}, "--runs"},
      {{"--runs", "--json"}, "'--json'"},
      {{"--json=1"}, "'--json=1'"},
      {{"--jobs", "0"}, "'0' for --jobs"},
      {{"--jobs", "x"}, "'x' for --jobs"},
      {{"--jobs"}, "--jobs"},
      {{"--compare", "a.json", "b.json", "--jobs", "2"}, "--jobs"},
  };
  for (const auto& [arguments, named] : cases) {
    const auto parsed = parseOptions(arguments);
    ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << named;
    const std::string& message = std::get<OptionError>(parsed).message;
    EXPECT_NE(message.find(named), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

// Catches the bound on --jobs off by one either way.
TEST(ParseOptions, JobsBoundIsFourWorkersForEachAllowedCpu) {
  struct Bound {
    int jobs;
    std::size_t allowedCpus;
    bool refused;
  };
  const Bound cases[] = {
      {.jobs = 8, .allowedCpus = 2, .refused = false},
      {.jobs = 9, .allowedCpus = 2, .refused = true},
  };
  for (const Bound& bound : cases) {
    Options options;
    options.jobs = bound.jobs;
    EXPECT_EQ(checkJobsBound(options, bound.allowedCpus).has_value(), bound.refused)
        << bound.jobs << " on " << bound.allowedCpus;
  }
}

}  // namespace
}  // namespace orvendale::cli
