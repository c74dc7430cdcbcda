#include "cli/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvendale::cli {
namespace {

std::variant<Options, OptionError> parse(std::vector<std::string_view> arguments) {
  return parseOptions(arguments);
}

TEST(ParseOptions, AcceptsEveryOptionInAnyOrder) {
  struct Case {
    std::vector<std::string_view> arguments;
    int runs;
    bool json;
    bool help;
    bool version;
  };
  const Case cases[] = {
      {{}, 1, false, false, false},
      {{"--runs", "10"}, 10, false, false, false},
      {{"--runs=3", "--json"}, 3, true, false, false},
      {{"--json", "--runs", "1"}, 1, true, false, false},
      {{"--runs", "2", "--runs", "5"}, 5, false, false, false},  // the last one counts
      {{"--help"}, 1, false, true, false},
      {{"-h"}, 1, false, true, false},
      {{"--version"}, 1, false, false, true},
      {{"--runs", "2147483647"}, 2147483647, false, false, false},
  };
  for (const Case& c : cases) {
    const auto parsed = parse(c.arguments);
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<OptionError>(parsed).message;
    const Options& options = std::get<Options>(parsed);
    EXPECT_EQ(options.runs, c.runs);
    EXPECT_EQ(options.json, c.json);
    EXPECT_EQ(options.help, c.help);
    EXPECT_EQ(options.version, c.version);
  }
}

TEST(ParseOptions, RefusesBadInputWithOneLineNamingIt) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string named;
  };
  const Case cases[] = {
      {{"--runs", "0"}, "'0'"},
      {{"--runs", "x"}, "'x'"},
      {{"--runs", "-3"}, "'-3'"},
      {{"--runs", "+3"}, "'+3'"},
      {{"--runs", " 3"}, "' 3'"},
      {{"--runs", "3x"}, "'3x'"},
      {{"--runs", "2.5"}, "'2.5'"},
      {{"--runs", ""}, "''"},
      {{"--runs", "99999999999"}, "'99999999999'"},
      {{"--runs="}, "''"},
      {{"--runs=0"}, "'0'"},
      {{"--runs"}, "--runs"},
      {{"--json", "--runs"}, "--runs"},
      {{"--runs", "--json"}, "'--json'"},
      {{"--rnus", "3"}, "'--rnus'"},
      {{"-j"}, "'-j'"},
      {{"--json=1"}, "'--json=1'"},
      {{"10"}, "'10'"},
  };
  for (const Case& c : cases) {
    const auto parsed = parse(c.arguments);
    ASSERT_TRUE(std::holds_alternative<OptionError>(parsed)) << c.named;
    const std::string& message = std::get<OptionError>(parsed).message;
    EXPECT_NE(message.find(c.named), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace orvendale::cli
