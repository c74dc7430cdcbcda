#include "cli/ProgressBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvendale::cli {
namespace {

using std::chrono::milliseconds;

struct Recorder {
  std::vector<std::string> writes;
  ProgressBar bar{[this](std::string_view text) { writes.emplace_back(text); }};
};

TEST(ProgressBar, DrawsAtMostOncePerTenthOfASecond) {
  const ProgressBar::Clock::time_point t0{};
  struct Case {
    const char* name;
    std::vector<int> tickTimesMs;  // tick n + 1 arrives at tickTimesMs[n]
    int draws;
  };
  const Case cases[] = {
      {"ticks on time", {100, 200, 300, 400, 500}, 5},
      {"ticks a little late", {101, 201, 303, 400, 502}, 5},
      {"a burst of ticks", {100, 101, 102, 103, 104}, 1},
      {"two per tenth", {100, 150, 200, 250, 300, 350}, 3},
  };
  for (const Case& c : cases) {
    Recorder recorder;
    recorder.bar.start(1, 1, t0);
    std::int16_t ticks = 0;
    for (const int ms : c.tickTimesMs) {
      recorder.bar.update(++ticks, 100, t0 + milliseconds(ms));
    }
    EXPECT_EQ(static_cast<int>(recorder.writes.size()), c.draws) << c.name;
  }
}

TEST(ProgressBar, RedrawsInPlaceAndClearsOnlyWhatItDrew) {
  Recorder recorder;
  const ProgressBar::Clock::time_point t0{};
  recorder.bar.clear();
  EXPECT_TRUE(recorder.writes.empty());

  recorder.bar.start(2, 3, t0);
  recorder.bar.update(47, 100, t0 + milliseconds(4700));
  recorder.bar.clear();
  ASSERT_EQ(recorder.writes.size(), 2u);
  EXPECT_EQ(recorder.writes[0], "\r" + ProgressBar::render(2, 3, 47, 100));
  EXPECT_EQ(recorder.writes[1], "\r\033[K");
  recorder.bar.clear();
  EXPECT_EQ(recorder.writes.size(), 2u);
}

TEST(ProgressBar, RenderKeepsItsLength) {
  const std::string empty = ProgressBar::render(1, 1, 0, 100);
  EXPECT_EQ(empty, "run 1 of 1 [" + std::string(40, '.') + "]   0/100");
  EXPECT_EQ(ProgressBar::render(1, 1, 47, 100),
            "run 1 of 1 [" + std::string(18, '#') + std::string(22, '.') + "]  47/100");
  EXPECT_EQ(ProgressBar::render(1, 1, 100, 100),
            "run 1 of 1 [" + std::string(40, '#') + "] 100/100");
  EXPECT_EQ(ProgressBar::render(1, 1, 120, 100).size(), empty.size());
}

}  // namespace
}  // namespace orvendale::cli
