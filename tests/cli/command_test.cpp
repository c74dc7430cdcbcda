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
      {{"--history", "--runs", "2"}, "--runs"},
      {{"--history", "--import", "a.json"}, "alone"},
      {{"--import"}, "--import needs"},
      {{"--import", "a.json", "--json"}, "--json goes"},
      {{"--report", "--store", "s"}, "--report needs"},
      {{"--no-store", "--store", "s"}, "--no-store"},
      {{"--machine", "m"}, "--machine goes"},
      {{"--store="}, "--store needs"},
  };
  for (const auto& [arguments, named] : cases) {
    const auto parsed = parseOptions(arguments);
    ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << named;
    const std::string& message = std::get<OptionError>(parsed).message;
    EXPECT_NE(message.find(named), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

// Catches a store command's list of files taking the option after it, or the report's page
// taken for one of its result files.
TEST(ParseOptions, StoreCommandsTakeTheirFilesUpToTheNextOption) {
  struct Accepted {
    std::vector<std::string_view> arguments;
    std::vector<std::string> importFiles = {};
    std::string report = {};
    std::vector<std::string> reportFiles = {};
    std::vector<std::string> machines = {};
    std::string store = {};
  };
  const Accepted cases[] = {
      {.arguments = {"--import", "a.json", "b.json", "--store", "s"},
       .importFiles = {"a.json", "b.json"},
       .store = "s"},
      {.arguments = {"--report", "out.html", "a.json", "b.json"},
       .report = "out.html",
       .reportFiles = {"a.json", "b.json"}},
      {.arguments = {"--report", "out.html", "--machine", "m1", "--machine=m2", "--store=s"},
       .report = "out.html",
       .machines = {"m1", "m2"},
       .store = "s"},
  };
  for (const Accepted& accepted : cases) {
    const auto parsed = parseOptions(accepted.arguments);
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<OptionError>(parsed).message;
    const Options& options = std::get<Options>(parsed);
    EXPECT_EQ(options.importFiles, accepted.importFiles);
    EXPECT_EQ(options.report.value_or(""), accepted.report);
    EXPECT_EQ(options.reportFiles, accepted.reportFiles);
    EXPECT_EQ(options.reportMachines, accepted.machines);
    EXPECT_EQ(options.store, accepted.store);
    EXPECT_FALSE(options.measuresSession());
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
