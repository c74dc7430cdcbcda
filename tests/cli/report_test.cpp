// Run results, the JSON document and the text lines, from runs of the engine with scripted ticks.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string>

#include "benchmark/WorkIteration.h"
#include "benchmark/scripted_host.h"
#include "cli/JsonReport.h"
#include "cli/RunResult.h"
#include "cli/Session.h"
#include "cli/TextReport.h"

namespace orvendale::cli {
namespace {

// A whole run of `iterations` iterations, the 100 ticks arriving on the last pump.
RunResult scriptedRun(int iterations, std::int64_t wallNanoseconds) {
  testing::ScriptedHost host;
  host.endAfter(iterations);
  host.engine.Command1_Click();
  return resultOfRun(host.engine, wallNanoseconds);
}

Session sessionOf(std::vector<RunResult> runs, int requested) {
  Session session;
  session.programName = "Orvendale";
  session.programVersion = "1.0.5";
  session.workloadRevision = kWorkloadRevision;
  session.runsRequested = requested;
  session.runs = std::move(runs);
  session.environmentNotes = {"load average 0.53 at the start"};
  return session;
}

QJsonObject parsed(const std::string& json) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
  EXPECT_TRUE(document.isObject());
  return document.object();
}

TEST(ResultOfRun, OnlyAWholeRunWithTheKnownTextIsScored) {
  const std::string known(kKnownIterationText);
  std::string oneCharacterOff = known;
  oneCharacterOff[50] ^= 1;
  struct Case {
    std::int16_t ticks;
    std::string text;
    RunStatus status;
  };
  const Case cases[] = {
      {100, known, RunStatus::kScored},
      {99, known, RunStatus::kInterrupted},
      {0, known, RunStatus::kInterrupted},
      {100, oneCharacterOff, RunStatus::kInvalid},
      {100, known.substr(0, 99), RunStatus::kInvalid},
      {100, known + "A", RunStatus::kInvalid},
      {100, "", RunStatus::kInvalid},
  };
  for (const Case& c : cases) {
    const RunResult run = resultOfRun(1000, c.ticks, c.text, 10'000'000'000);
    EXPECT_EQ(run.status, c.status) << c.ticks << " " << c.text;
    EXPECT_EQ(run.score, run.scored() ? 1600 : 0);
    EXPECT_EQ(run.detail, run.status == RunStatus::kInvalid ? c.text : "");
  }
}

TEST(ResultOfRun, ScriptedRunsAreScoredLikeTheWindow) {
  const RunResult run = scriptedRun(7, 2'000'000);
  // Scored only if the engine's last iteration left the pinned known text.
  EXPECT_EQ(run.status, RunStatus::kScored) << run.detail;
  EXPECT_EQ(run.iterations, 7);
  EXPECT_EQ(run.ticks, 100);
  EXPECT_EQ(run.score, 11);  // floor(7 x 1.6), as "Result: 11"
  EXPECT_DOUBLE_EQ(run.nanosecondsPerIteration(), 2'000'000.0 / 7);
}

TEST(JsonReport, ScoredRunsAndTheirSummary) {
  RunResult contended = scriptedRun(12, 3'000'000);
  contended.figures.emplace();
  contended.figures->cpuNanoseconds = 2'400'000;
  contended.figures->cpuShare = 0.8;
  RunResult uncontended = scriptedRun(7, 2'000'000);
  uncontended.figures.emplace().cpuShare = 0.99;
  Session session = sessionOf({uncontended, contended}, 2);
  session.machine.logicalCpus = 2;
  const QJsonObject json = parsed(jsonReport(session));

  EXPECT_EQ(json["program"].toString(), "Orvendale");
  EXPECT_EQ(json["version"].toString(), "1.0.5");
  EXPECT_EQ(json["workloadRevision"].toInt(), kWorkloadRevision);
  EXPECT_EQ(json["runsRequested"].toInt(), 2);
  EXPECT_FALSE(json["interrupted"].toBool(true));
  EXPECT_EQ(json["environmentNotes"].toArray(),
            QJsonArray{QString("load average 0.53 at the start")});

  const QJsonArray runs = json["runs"].toArray();
  ASSERT_EQ(runs.size(), 2);
  const QJsonObject first = runs[0].toObject();
  EXPECT_EQ(first["run"].toInt(), 1);
  EXPECT_EQ(first["status"].toString(), "scored");
  EXPECT_EQ(first["score"].toDouble(), 11);
  EXPECT_EQ(first["iterations"].toDouble(), 7);
  EXPECT_EQ(first["ticks"].toInt(), 100);
  EXPECT_DOUBLE_EQ(first["wallTimeMs"].toDouble(), 2);
  EXPECT_DOUBLE_EQ(first["nsPerIteration"].toDouble(), 285714.3);
  EXPECT_EQ(first["workloadRevision"].toInt(), kWorkloadRevision);
  EXPECT_EQ(runs[1].toObject()["score"].toDouble(), 19);
  EXPECT_FALSE(first["contended"].toBool(true));
  EXPECT_TRUE(runs[1].toObject()["contended"].toBool());
  EXPECT_DOUBLE_EQ(runs[1].toObject()["cpuPercent"].toDouble(), 80);
  EXPECT_TRUE(runs[1].toObject()["stealTimeMs"].isNull());
  EXPECT_EQ(json["machine"].toObject()["logicalCpus"].toInt(), 2);
  EXPECT_TRUE(json["machine"].toObject()["cpuModel"].isNull());

  const QJsonObject summary = json["summary"].toObject();
  EXPECT_EQ(summary["scoredRuns"].toInt(), 2);
  EXPECT_EQ(summary["median"].toDouble(), 15);
  EXPECT_EQ(summary["minimum"].toDouble(), 11);
  EXPECT_EQ(summary["maximum"].toDouble(), 19);
  EXPECT_DOUBLE_EQ(summary["cvPercent"].toDouble(), 37.712);
  EXPECT_EQ(summary["contendedRuns"].toInt(), 1);
}

TEST(JsonReport, RunsWithoutAScoreCarryNone) {
  Session session = sessionOf(
      {scriptedRun(7, 2'000'000), resultOfRun(5, 47, kKnownIterationText, 4'700'000'000)}, 3);
  session.interrupted = true;
  const QJsonObject json = parsed(jsonReport(session));
  EXPECT_TRUE(json["interrupted"].toBool());
  const QJsonObject partial = json["runs"].toArray()[1].toObject();
  EXPECT_EQ(partial["status"].toString(), "interrupted");
  EXPECT_EQ(partial["ticks"].toInt(), 47);
  EXPECT_FALSE(partial.contains("score"));
  EXPECT_FALSE(partial.contains("contended"));  // not measured
  // One scored run: no variation to report.
  EXPECT_EQ(json["summary"].toObject()["scoredRuns"].toInt(), 1);
  EXPECT_TRUE(json["summary"].toObject()["cvPercent"].isNull());

  const QJsonObject invalid =
      parsed(jsonReport(sessionOf({resultOfRun(7, 100, "tampered", 1'000)}, 1)));
  const QJsonObject run = invalid["runs"].toArray()[0].toObject();
  EXPECT_EQ(run["status"].toString(), "invalid");
  EXPECT_EQ(run["lastIterationText"].toString(), "tampered");
  EXPECT_FALSE(run.contains("score"));
  EXPECT_TRUE(invalid["summary"].isNull());
}

TEST(Session, ExitStatusNeverReportsAFailureAsSuccess) {
  const RunResult scored = scriptedRun(3, 1'000);
  const RunResult partial = resultOfRun(3, 10, kKnownIterationText, 1'000);
  const RunResult invalid = resultOfRun(3, 100, "tampered", 1'000);
  const RunResult failed = failedRun("Error 16: Floating-point error", 1'000);
  struct Case {
    std::vector<RunResult> runs;
    int requested;
    bool interrupted;
    int status;
  };
  const Case cases[] = {
      {{scored, scored}, 2, false, 0},
      {{scored, partial}, 3, true, kInterruptedExitStatus},
      {{}, 1, true, kInterruptedExitStatus},
      {{scored, invalid}, 3, false, kFailureExitStatus},
      {{failed}, 1, false, kFailureExitStatus},
      {{invalid}, 2, true, kFailureExitStatus},
      {{scored}, 2, false, kFailureExitStatus},  // a run went missing
  };
  for (const Case& c : cases) {
    Session session = sessionOf(c.runs, c.requested);
    session.interrupted = c.interrupted;
    EXPECT_EQ(session.exitStatus(), c.status) << c.runs.size() << " runs";
  }
}

TEST(TextReport, EveryScoreNamesItsWorkloadAndOnlyScoredRunsHaveOne) {
  const RunResult runs[] = {
      scriptedRun(7, 2'000'000),
      resultOfRun(5, 47, kKnownIterationText, 4'700'000'000),
      resultOfRun(7, 100, "tampered", 1'000),
      failedRun("Error 6: Overflow", 1'000),
  };
  for (const RunResult& run : runs) {
    const std::string line = runLine(2, 3, run, kWorkloadRevision);
    EXPECT_TRUE(line.starts_with("run 2 of 3: ")) << line;
    EXPECT_EQ(line.find("score ") != std::string::npos, run.scored()) << line;
    if (run.scored()) {
      EXPECT_NE(line.find("score 11 (workload revision 2)"), std::string::npos) << line;
    }
  }
  EXPECT_NE(runLine(1, 1, runs[1], 1).find("47 of 100 ticks"), std::string::npos);

  // Scores 11 and 20: the median is no whole score.
  const std::optional<Summary> summary = sessionOf({runs[0], scriptedRun(13, 1)}, 2).summary();
  ASSERT_TRUE(summary.has_value());
  EXPECT_EQ(summaryLine(*summary, kWorkloadRevision, 1),
            "scores of 2 runs (workload revision 2): median 16 (mean of the middle two, rounded "
            "half up), minimum 11, maximum 20, coefficient of variation 41.06 %; 1 of 2 runs "
            "contended");
}

}  // namespace
}  // namespace orvendale::cli
