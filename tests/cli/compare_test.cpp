// The result file read back from the JSON document this program writes.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "benchmark/WorkIteration.h"
#include "cli/compare/ResultFile.h"
#include "cli/report/JsonReport.h"
#include "platform/version/VersionRecord.h"
#include "support/scripted_runs.h"

namespace orvendale::cli {
namespace {

using testing::scriptedRun;

// Scored runs of 7, 12 (contended) and 10 (uneven) iterations score 11, 19 and 16; then a run
// interrupted at its 47th tick and one whose last text was wrong.
std::vector<RunResult> soloRuns() {
  RunResult contended = scriptedRun(12, 10'000'000'000);
  contended.figures.emplace().cpuShare = 0.8;
  RunResult uneven = scriptedRun(10, 10'000'000'000);
  uneven.secondIterations = {100, 100, 60, 100};
  return {scriptedRun(7, 10'000'000'000), contended, uneven,
          resultOfRun(5, 47, kKnownIterationText, 4'700'000'000),
          resultOfRun(7, 100, "tampered", 10'000'000'000)};
}

Session sessionOf(std::vector<RunResult> runs) {
  Session session;
  session.programName = platform::App.ProductName();
  session.programVersion = platform::App.VersionText();
  session.workloadRevision = kWorkloadRevision;
  session.runsRequested = static_cast<int>(runs.size());
  session.runs = std::move(runs);
  return session;
}

WorkerRun worker(int number, const RunResult& run) {
  return {.number = number, .cpu = number - 1, .run = run, .startNanoseconds = 0};
}

// Rounds of two workers: 16 + 16 with one contended, a round that lost a worker, and 11 + 11.
Session jobsSession() {
  const RunResult sixteen = scriptedRun(10, 10'000'000'000);
  RunResult contended = sixteen;
  contended.figures.emplace().cpuShare = 0.5;
  const RunResult eleven = scriptedRun(7, 10'000'000'000);
  const RunResult lost = failedRun("ended without a valid result: exit status 1", 0);
  Session session = sessionOf({sixteen, sixteen, sixteen});
  session.jobs = 2;
  session.rounds = {
      {.solo = sixteen, .workers = {worker(1, sixteen), worker(2, contended)}},
      {.solo = sixteen, .workers = {worker(1, sixteen), worker(2, lost)}},
      {.solo = sixteen, .workers = {worker(1, eleven), worker(2, eleven)}},
  };
  return session;
}

// `run` held back by a CPU quota.
RunResult throttled(RunResult run) {
  run.readings.emplace().whole.quotaThrottledPeriods = 3;
  return run;
}

// The solo runs with the first scored, the uneven one and the interrupted one throttled.
Session throttledSolo() {
  std::vector<RunResult> runs = soloRuns();
  for (const std::size_t i : {0, 2, 3}) {
    runs[i] = throttled(runs[i]);
  }
  return sessionOf(runs);
}

// The rounds with a worker of the first throttled, the lost round's other worker throttled, and
// the last round's solo run throttled.
Session throttledJobs() {
  Session session = jobsSession();
  session.rounds[0].workers[0].run = throttled(session.rounds[0].workers[0].run);
  session.rounds[1].workers[0].run = throttled(session.rounds[1].workers[0].run);
  session.rounds[2].solo = throttled(session.rounds[2].solo);
  return session;
}

// Catches the JSON writer and the result file's reader spelling a key differently: a file this
// program wrote would be refused by --compare, or read with its scores or flags lost.
TEST(ResultFile, ReadsBackEveryFieldOfTheDocumentThisProgramWrites) {
  struct Case {
    const char* name;
    Session session;
    int jobs;
    std::vector<double> scores;
    int contendedRuns;
    int unevenRuns;
    // Catches an unscored run or an incomplete round counted, a round's throttled solo run
    // missed, and another flag read in place of this one.
    int throttledRuns;
  };
  const Case cases[] = {
      {.name = "runs.json",
       .session = throttledSolo(),
       .jobs = 0,
       .scores = {11, 19, 16},
       .contendedRuns = 1,
       .unevenRuns = 1,
       .throttledRuns = 2},
      {.name = "jobs.json",
       .session = throttledJobs(),
       .jobs = 2,
       .scores = {32, 22},
       .contendedRuns = 1,
       .unevenRuns = 0,
       .throttledRuns = 2},
  };
  for (const Case& c : cases) {
    const auto read = parseResultFile(jsonReport(c.session), c.name);
    ASSERT_TRUE(std::holds_alternative<ResultFile>(read))
        << std::get<ResultFileError>(read).message;
    const ResultFile& file = std::get<ResultFile>(read);
    EXPECT_EQ(file.name, c.name);
    EXPECT_EQ(file.workloadRevision, kWorkloadRevision) << c.name;
    EXPECT_EQ(file.jobs, c.jobs) << c.name;
    EXPECT_EQ(file.scores, c.scores) << c.name;
    EXPECT_EQ(file.contendedRuns, c.contendedRuns) << c.name;
    EXPECT_EQ(file.unevenRuns, c.unevenRuns) << c.name;
    EXPECT_EQ(file.throttledRuns, c.throttledRuns) << c.name;
  }
}

}  // namespace
}  // namespace orvendale::cli
