// Run results, exit statuses, the JSON document, the text lines and the progress bar, from runs
// of the engine with scripted ticks.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string>

#include "benchmark/WorkIteration.h"
#include "cli/report/JsonReport.h"
#include "cli/jobs/Round.h"
#include "cli/report/ProgressBar.h"
#include "cli/run/RunResult.h"
#include "cli/report/Session.h"
#include "cli/system/ExitStatus.h"
#include "cli/report/TextReport.h"
#include "cli/jobs/WorkerProtocol.h"
#include "support/scripted_host.h"

namespace orvendale::cli {
namespace {

RunResult scriptedRun(int iterations, std::int64_t wallNanoseconds) {
  testing::ScriptedHost host;
  host.endAfter(iterations);
  host.engine.Command1_Click();
  return resultOfRun(host.engine, wallNanoseconds);
}

const RunResult kPartial = resultOfRun(5, 47, kKnownIterationText, 4'700'000'000);
const RunResult kInvalid = resultOfRun(7, 100, "tampered", 1'000);

Session sessionOf(std::vector<RunResult> runs, int requested, bool interrupted = false) {
  Session session;
  session.runsRequested = requested;
  session.runs = std::move(runs);
  session.interrupted = interrupted;
  return session;
}

TEST(ResultOfRun, OnlyAWholeRunWithTheKnownTextIsScored) {
  const std::string known(kKnownIterationText);
  std::string oneCharacterOff = known;
  oneCharacterOff[50] ^= 1;
  const std::tuple<std::int16_t, std::string, RunStatus> cases[] = {
      {100, known, RunStatus::kScored},
      {99, known, RunStatus::kInterrupted},
      {100, oneCharacterOff, RunStatus::kInvalid},
      {100, "", RunStatus::kInvalid},
  };
  for (const auto& [ticks, text, status] : cases) {
    const RunResult run = resultOfRun(1000, ticks, text, 10'000'000'000);
    EXPECT_EQ(run.status, status) << ticks << " " << text;
    EXPECT_EQ(run.score, run.scored() ? 1600 : 0);
  }
}

TEST(Session, ExitStatusNeverReportsAFailureAsSuccess) {
  const RunResult scored = scriptedRun(3, 1'000);
  const RunResult failed = failedRun("Error 16: Floating-point error", 1'000);
  const std::pair<Session, int> cases[] = {
      {sessionOf({scored, scored}, 2), 0},
      {sessionOf({failed}, 1), kFailureExitStatus},
      {sessionOf({kInvalid}, 2, true), kFailureExitStatus},
      {sessionOf({scored}, 2), kFailureExitStatus},  // a run went missing
  };
  for (const auto& [session, status] : cases) {
    EXPECT_EQ(session.exitStatus(), status) << session.runs.size() << " runs";
  }
}

// A score is 1.6 times the iterations: 10 iterations score 16.
TEST(Rounds, SumMeanEfficiencyAndSkewOfKnownRunsAndTheirSpreadOverCompleteRounds) {
  const auto run = [](int iterations) {
    return iterations > 0 ? resultOfRun(iterations, 100, kKnownIterationText, 10'000'000'000)
                          : failedRun("killed by signal 9 (Killed)", 0);
  };
  struct RoundCase {
    const char* what;
    int soloIterations;
    std::vector<int> workerIterations;  // 0: the worker failed
    std::optional<double> multiCoreScore;
    std::optional<double> meanPerWorker;
    std::optional<double> efficiency;
  };
  const RoundCase cases[] = {
      {"two workers at full speed", 10, {10, 10}, 32, 16, 1.0},
      {"two workers at half speed", 10, {5, 5}, 16, 8, 0.5},
      {"a failed worker", 10, {10, 0}, std::nullopt, std::nullopt, std::nullopt},
  };
  std::vector<Round> rounds;
  for (const RoundCase& round : cases) {
    Round made{run(round.soloIterations), {}};
    for (std::size_t i = 0; i < round.workerIterations.size(); ++i) {
      const std::int64_t start = 1'000'000 + static_cast<std::int64_t>(i) * 2'500'000;
      made.workers.push_back(
          {static_cast<int>(i + 1), std::nullopt, run(round.workerIterations[i]), start});
    }
    EXPECT_EQ(made.multiCoreScore(), round.multiCoreScore) << round.what;
    EXPECT_EQ(made.meanPerWorker(), round.meanPerWorker) << round.what;
    EXPECT_EQ(made.efficiency(), round.efficiency) << round.what;
    EXPECT_EQ(made.startSkewMilliseconds(), 2.5) << round.what;
    rounds.push_back(made);
  }
  const RoundsSummary summary = summarizeRounds(rounds);
  ASSERT_TRUE(summary.solo && summary.multiCore && summary.efficiency);
  EXPECT_EQ(summary.solo->count, 2U) << "the round with a failed worker counts for nothing";
  EXPECT_EQ(summary.multiCore->median, 24);
  EXPECT_EQ(summary.efficiency->median, 0.75);
}

TEST(WorkerReport, LineCarriesTheRunAndItsFiguresAndNothingElseParses) {
  RunResult scored = resultOfRun(10, 100, kKnownIterationText, 10'000'000'000);
  scored.figures = figuresOf(9'900'000'000, 4'000'000, 12, 0.5, 10'000'000'000);
  scored.secondIterations = {240'000, 250'000};
  const std::optional<WorkerReport> report =
      parseWorkerReportLine(workerReportLine(scored, kKnownIterationText, 123));
  ASSERT_TRUE(report);
  EXPECT_EQ(report->run.score, 16);
  EXPECT_EQ(report->startNanoseconds, 123);
  ASSERT_TRUE(report->run.figures);
  EXPECT_EQ(report->run.figures->systemNanoseconds, 4'000'000);
  EXPECT_EQ(report->run.figures->stealMilliseconds, 0.5);
  EXPECT_EQ(report->run.secondIterations, scored.secondIterations);
  const RunResult failed = failedRun("Error 6: Overflow", 7);
  const std::optional<WorkerReport> failure =
      parseWorkerReportLine(workerReportLine(failed, "", 5));
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->run.status, RunStatus::kFailed);
  EXPECT_EQ(failure->run.detail, "Error 6: Overflow");
  for (const std::string_view line :
       {"", "run 10 100 1 2 3 4 - 5", "ran 1 2 3 4 5 6 - 7 text", "run 1 2 3 4 5 6 x 7 text"}) {
    EXPECT_FALSE(parseWorkerReportLine(line)) << line;
  }
}

TEST(JsonReport, ScoredRunsTheirSummaryAndRunsWithoutAScore) {
  RunResult contended = scriptedRun(12, 3'000'000);
  contended.figures.emplace().cpuShare = 0.8;
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
}

TEST(TextReport, SummaryOfTwoRunsWhoseMedianIsNoWholeScore) {
  const std::optional<Summary> summary =
      sessionOf({scriptedRun(7, 1), scriptedRun(13, 1)}, 2).summary();
  ASSERT_TRUE(summary.has_value());
  EXPECT_EQ(summaryLine(*summary, kWorkloadRevision, 1, 0),
            "scores of 2 runs (workload revision 3): median 16 (mean of the middle two, rounded "
            "half up), minimum 11, maximum 20, coefficient of variation 41.06 %; 1 of 2 runs "
            "contended, 0 uneven");
}

TEST(ProgressBar, DrawsAtMostOncePerTenthOfASecondAndClearsWhatItDrew) {
  const std::pair<std::vector<int>, std::size_t> cases[] = {
      {{100, 200, 303, 400, 502}, 5},       // ticks on time or a little late
      {{100, 101, 102, 103, 104}, 1},       // a burst
      {{100, 150, 200, 250, 300, 350}, 3},  // two per tenth
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

}  // namespace
}  // namespace orvendale::cli
