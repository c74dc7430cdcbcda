// Exit statuses, the JSON document, the text lines, the sparkline and the progress bar, from runs
// of the engine with scripted ticks.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string>

#include "benchmark/WorkIteration.h"
#include "cli/report/JsonReport.h"
#include "cli/report/ProgressBar.h"
#include "cli/report/Session.h"
#include "cli/report/Sparkline.h"
#include "cli/report/TextReport.h"
#include "cli/system/ExitStatus.h"
#include "support/scripted_runs.h"

namespace orvendale::cli {
namespace {

using testing::scriptedRun;

const RunResult kPartial = resultOfRun(5, 47, kKnownIterationText, 4'700'000'000);
const RunResult kInvalid = resultOfRun(7, 100, "tampered", 1'000);

Session sessionOf(std::vector<RunResult> runs, int requested, bool interrupted = false) {
  Session session;
  session.runsRequested = requested;
  session.runs = std::move(runs);
  session.interrupted = interrupted;
  return session;
}

TEST(Session, ExitStatusNeverReportsAFailureAsSuccess) {
  const RunResult scored = scriptedRun(3, 1'000);
  const RunResult failed = failedRun("Error 16: Floating-point error", 1'000);
  struct Case {
    Session session;
    int status;
  };
  const Case cases[] = {
      {.session = sessionOf({scored, scored}, 2), .status = 0},
      {.session = sessionOf({failed}, 1), .status = kFailureExitStatus},
      {.session = sessionOf({kInvalid}, 2, true), .status = kFailureExitStatus},
      // A run went missing.
      {.session = sessionOf({scored}, 2), .status = kFailureExitStatus},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.session.exitStatus(), c.status) << c.session.runs.size() << " runs";
  }
}

TEST(JsonReport, ScoredRunsTheirSummaryAndRunsWithoutAScore) {
  RunResult contended = scriptedRun(12, 3'000'000);
  contended.figures.emplace().cpuShare = 0.8;
  // Throttled by its quota; of the clock and temperature the system said nothing.
  RunReadings readings;
  readings.seconds.resize(2);
  readings.whole.quotaThrottledPeriods = 20;
  readings.whole.quotaThrottledMs = 1000;
  contended.readings = readings;
  const std::string text =
      jsonReport(sessionOf({scriptedRun(7, 2'000'000), contended, kPartial, kInvalid}, 4, true));
  const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
  const QJsonArray runs = json["runs"].toArray();
  ASSERT_EQ(runs.size(), 4) << text;
  EXPECT_TRUE(json["interrupted"].toBool());
  // Scored only if the engine's last iteration left the pinned known text: floor(7 x 1.6).
  EXPECT_EQ(runs[0]["score"].toDouble(), 11);
  EXPECT_DOUBLE_EQ(runs[0]["nsPerIteration"].toDouble(), 285714.3);
  EXPECT_TRUE(runs[1]["contended"].toBool());
  EXPECT_DOUBLE_EQ(runs[1]["cpuPercent"].toDouble(), 80);
  EXPECT_EQ(runs[2]["status"].toString(), "interrupted");
  EXPECT_EQ(runs[3]["lastIterationText"].toString(), "tampered");
  EXPECT_FALSE(runs[2].toObject().contains("score") || runs[3].toObject().contains("score"));
  const QJsonObject summary = json["summary"].toObject();
  EXPECT_EQ(summary["median"].toDouble(), 15);
  EXPECT_DOUBLE_EQ(summary["cvPercent"].toDouble(), 37.712);
  EXPECT_EQ(summary["contendedRuns"].toInt(), 1);
  // Faults caught: an unknown reading written as 0, a throttled run not counted.
  EXPECT_EQ(runs[1]["throttleCauses"].toArray(), QJsonArray{"cpu quota"});
  const QJsonObject read = runs[1]["readings"].toObject();
  EXPECT_EQ(read["seconds"]["clockMHz"].toArray(), (QJsonArray{QJsonValue(), QJsonValue()}));
  EXPECT_TRUE(read["peakTemperatureC"].isNull());
  EXPECT_EQ(summary["throttledRuns"].toInt(), 1);
}

TEST(TextReport, SummaryOfTwoRunsWhoseMedianIsNoWholeScore) {
  const std::optional<Summary> summary =
      sessionOf({scriptedRun(7, 1), scriptedRun(13, 1)}, 2).summary();
  ASSERT_TRUE(summary.has_value());
  EXPECT_EQ(summaryLine(*summary, kWorkloadRevision, 1, 0, 2),
            "scores of 2 runs (workload revision 3): median 16 (mean of the middle two, rounded "
            "half up), minimum 11, maximum 20, coefficient of variation 41.06 %; 1 of 2 runs "
            "contended, 0 uneven, 2 throttled");
}

TEST(ProgressBar, DrawsAtMostOncePerTenthOfASecondAndClearsWhatItDrew) {
  struct Case {
    std::vector<int> tickTimesMs;
    std::size_t draws;
  };
  const Case cases[] = {
      // Ticks on time or a little late.
      {.tickTimesMs = {100, 200, 303, 400, 502}, .draws = 5},
      // A burst.
      {.tickTimesMs = {100, 101, 102, 103, 104}, .draws = 1},
      // Two per tenth.
      {.tickTimesMs = {100, 150, 200, 250, 300, 350}, .draws = 3},
  };
  for (const auto& [tickTimesMs, draws] : cases) {
    std::vector<std::string> writes;
    ProgressBar bar([&writes](std::string_view text) { writes.emplace_back(text); });
    bar.start(1, 1, {});
    std::int16_t ticks = 0;
    for (const int ms : tickTimesMs) {
      bar.update(++ticks, 100, ProgressBar::Clock::time_point{} + std::chrono::milliseconds(ms));
    }
    EXPECT_EQ(writes.size(), draws) << tickTimesMs[1];
    bar.clear();
    bar.clear();
    EXPECT_EQ(writes.size(), draws + 1) << "cleared twice";
    EXPECT_EQ(writes.back(), "\r\033[K");
  }
}

// Each second drawn at its height in the run's own range (a flat run at mid height), and the
// plain characters where the terminal is not UTF-8.
TEST(Sparkline, SecondsDrawnInTheirOwnRange) {
  struct Case {
    std::vector<double> seconds;
    bool utf8;
    const char* drawn;
  };
  const Case cases[] = {
      {.seconds = {100, 100, 100}, .utf8 = true, .drawn = "▅▅▅"},
      {.seconds = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, .utf8 = true, .drawn = "▁▁▂▃▄▅▆▇██"},
      {.seconds = {100, 100, 60, 100}, .utf8 = true, .drawn = "██▁█"},
      {.seconds = {1, 2, 3}, .utf8 = false, .drawn = " =#"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sparkline(c.seconds, c.utf8), c.drawn) << c.seconds.size() << " seconds";
  }
}

}  // namespace
}  // namespace orvendale::cli
