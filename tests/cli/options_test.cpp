#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Options.h"

namespace orvendale::cli {
namespace {

TEST(ParseOptions, AcceptsEveryOptionInAnyOrderTheLastRunsCounting) {
  using Arguments = std::vector<std::string_view>;
  const std::tuple<Arguments, int, bool, bool> cases[] = {
      {{}, 1, false, false},
      {{"--runs=3", "--json"}, 3, true, false},
      {{"--json", "--runs", "2", "--runs", "5"}, 5, true, false},
      {{"-h"}, 1, false, true},
      {{"--runs", "2147483647"}, 2147483647, false, false},
  };
  for (const auto& [arguments, runs, json, help] : cases) {
    const auto parsed = parseOptions(arguments);
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<OptionError>(parsed).message;
    EXPECT_EQ(std::get<Options>(parsed).runs, runs);
    EXPECT_EQ(std::get<Options>(parsed).json, json);
    EXPECT_EQ(std::get<Options>(parsed).help, help);
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
  };
  for (const auto& [arguments, named] : cases) {
    const auto parsed = parseOptions(arguments);
    ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << named;
    const std::string& message = std::get<OptionError>(parsed).message;
    EXPECT_NE(message.find(named), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace orvendale::cli
