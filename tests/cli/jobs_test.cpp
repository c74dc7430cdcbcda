// A --jobs round's figures from runs of known scores, and the worker protocol's round trips.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "benchmark/WorkIteration.h"
#include "cli/jobs/Round.h"
#include "cli/jobs/WorkerProtocol.h"

namespace orvendale::cli {
namespace {

RunResult runOf(int iterations) {
  return iterations > 0 ? resultOfRun(iterations, 100, kKnownIterationText, 10'000'000'000)
                        : failedRun("killed by signal 9 (Killed)", 0);
}

// A score is 1.6 times the iterations: 10 iterations score 16.
TEST(Rounds, SumMeanEfficiencyAndSkewOfKnownRunsAndTheirSpreadOverCompleteRounds) {
  struct Case {
    const char* what;
    int soloIterations;
    std::vector<int> workerIterations;  // 0: the worker failed
    std::optional<double> multiCoreScore;
    std::optional<double> meanPerWorker;
    std::optional<double> efficiency;
  };
  const Case cases[] = {
      {.what = "two workers at full speed",
       .soloIterations = 10,
       .workerIterations = {10, 10},
       .multiCoreScore = 32,
       .meanPerWorker = 16,
       .efficiency = 1.0},
      {.what = "two workers at half speed",
       .soloIterations = 10,
       .workerIterations = {5, 5},
       .multiCoreScore = 16,
       .meanPerWorker = 8,
       .efficiency = 0.5},
      {.what = "a failed worker",
       .soloIterations = 10,
       .workerIterations = {10, 0},
       .multiCoreScore = std::nullopt,
       .meanPerWorker = std::nullopt,
       .efficiency = std::nullopt},
  };
  std::vector<Round> rounds;
  for (const Case& c : cases) {
    Round round{.solo = runOf(c.soloIterations), .workers = {}};
    for (std::size_t i = 0; i < c.workerIterations.size(); ++i) {
      round.workers.push_back(
          {.number = static_cast<int>(i + 1),
           .cpu = std::nullopt,
           .run = runOf(c.workerIterations[i]),
           .startNanoseconds = 1'000'000 + static_cast<std::int64_t>(i) * 2'500'000});
    }
    EXPECT_EQ(round.multiCoreScore(), c.multiCoreScore) << c.what;
    EXPECT_EQ(round.meanPerWorker(), c.meanPerWorker) << c.what;
    EXPECT_EQ(round.efficiency(), c.efficiency) << c.what;
    EXPECT_EQ(round.startSkewMilliseconds(), 2.5) << c.what;
    rounds.push_back(round);
  }
  const RoundsSummary summary = summarizeRounds(rounds);
  ASSERT_TRUE(summary.solo && summary.multiCore && summary.efficiency);
  EXPECT_EQ(summary.solo->count, 2U) << "the round with a failed worker counts for nothing";
  EXPECT_EQ(summary.multiCore->median, 24);
  EXPECT_EQ(summary.efficiency->median, 0.75);
}

// Catches a worker started with a command line that the program does not read as a worker's:
// it would run a whole session of its own instead of one run for the round.
TEST(WorkerProtocol, CommandLineAndHandshakeReadBackAsWritten) {
  for (const std::optional<int> cpu : {std::optional<int>(3), std::optional<int>()}) {
    const std::array<std::string, 3> line = workerCommandLine(cpu);
    const std::vector<std::string_view> arguments(line.begin() + 1, line.end());
    const std::optional<WorkerCommand> command = parseWorkerCommand(arguments);
    ASSERT_TRUE(command) << line[1] << " " << line[2];
    EXPECT_EQ(command->cpu, cpu) << line[2];
  }
  EXPECT_FALSE(parseWorkerCommand(std::vector<std::string_view>{"--runs", "3"}));
  const std::string received = "ready\nrun 1 2\n";
  EXPECT_TRUE(saidReady(received));
  EXPECT_EQ(reportAfterReady(received), "run 1 2");
  EXPECT_EQ(reportAfterReady("run 1 2\n"), "") << "a report before the ready line";
}

TEST(WorkerProtocol, ReportLineCarriesTheRunAndItsFiguresAndNothingElseParses) {
  RunResult scored = runOf(10);
  scored.figures = figuresOf(9'900'000'000, 4'000'000, 12, 0.5, 10'000'000'000);
  scored.secondIterations = {240'000, 250'000};
  // A sensor name with spaces must not split the line's fields.
  RunReadings readings;
  readings.temperatureSensor = "coretemp Package id 0";
  readings.seconds.resize(2);
  readings.seconds[1].clockMhz = 3400.5;
  readings.seconds[1].thermalThrottleEvents = 2;
  readings.whole.thermalThrottleEvents = 2;
  scored.readings = readings;
  const std::optional<WorkerReport> report =
      parseWorkerReportLine(workerReportLine(scored, kKnownIterationText, 123));
  ASSERT_TRUE(report);
  EXPECT_EQ(report->run.score, 16);
  EXPECT_EQ(report->startNanoseconds, 123);
  ASSERT_TRUE(report->run.figures);
  EXPECT_EQ(report->run.figures->systemNanoseconds, 4'000'000);
  EXPECT_EQ(report->run.figures->stealMilliseconds, 0.5);
  EXPECT_EQ(report->run.secondIterations, scored.secondIterations);
  ASSERT_TRUE(report->run.readings);
  EXPECT_EQ(report->run.readings->temperatureSensor, readings.temperatureSensor);
  EXPECT_EQ(report->run.readings->seconds[0].clockMhz, std::nullopt);
  EXPECT_EQ(report->run.readings->seconds[1].clockMhz, 3400.5);
  EXPECT_EQ(report->run.readingsSummary()->throttleCauses,
            std::vector<std::string_view>{kThermalCause});
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

}  // namespace
}  // namespace orvendale::cli
