#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "cli/history/History.h"
#include "cli/report/JsonReport.h"
#include "cli/store/ResultStore.h"
#include "cli/store/SessionRecord.h"
#include "platform/version/VersionRecord.h"
#include "support/scripted_runs.h"

namespace orvendale::cli {
namespace {

using testing::scriptedRun;

// A session of three scored runs, one contended and two uneven, on a described machine.
Session describedSession() {
  Session session;
  session.id = "5b0f6c1e-0000-4000-8000-000000000001";
  session.startedAt = "2026-12-08T10:00:00Z";
  session.programName = platform::App.ProductName();
  session.programVersion = "1.0.5";
  session.workloadRevision = 3;
  session.runsRequested = 3;
  RunResult contended = scriptedRun(12, 3'000'000);
  contended.figures.emplace().cpuShare = 0.8;
  RunResult uneven = scriptedRun(9, 3'000'000);
  uneven.secondIterations = {10, 10, 10, 1};
  session.runs = {contended, uneven, uneven};
  session.machine.identity = {"0123456789abcdef0123456789abcdef", "machine-id", "bench-7"};
  session.machine.cpuModel = "Test CPU";
  session.machine.kernel = "Linux 6.1.0-18";
  session.machine.libcVersion = "glibc 2.36";
  session.machine.cpuQuota = CpuQuotaState{
      .cgroupVersion = 2, .quota = CpuQuota{150000, 100000}, .statFile = "/sys/fs/cgroup/cpu.stat"};
  return session;
}

SessionRecord recordOf(const Session& session) {
  auto record = sessionRecordOf(jsonReport(session), "session");
  EXPECT_TRUE(std::holds_alternative<SessionRecord>(record));
  return std::get<SessionRecord>(record);
}

// Makes `path` an SQLite file, or changes one, with `statement` run in it.
void sqliteFile(const QString& path, const char* statement) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "setup");
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    ASSERT_TRUE(QSqlQuery(db).exec(statement)) << statement;
  }
  QSqlDatabase::removeDatabase("setup");
}

// Catches a column stored or read back into the wrong field, and a repeat stored twice; of a store
// of schema version 1, its sessions lost or not migrated in place, or given throttled runs they
// had no readings to show.
TEST(ResultStore, KeepsEveryFieldOfASessionAndARepeatOnce) {
  struct Case {
    const char* what;
    bool version1;  // the store taken back to schema version 1 once the session is stored
    int throttledRuns;
  };
  const Case cases[] = {
      {.what = "a new store", .version1 = false, .throttledRuns = 3},
      {.what = "a store migrated from version 1", .version1 = true, .throttledRuns = 0},
  };
  SessionRecord stored = recordOf(describedSession());
  stored.result.throttledRuns = 3;  // unlike its contended and uneven runs and the default, 0
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString path = dir.filePath("results.sqlite");
    EXPECT_TRUE(ResultStore(path.toStdString()).save(stored, "run"));
    if (c.version1) {
      sqliteFile(path, "ALTER TABLE sessions DROP COLUMN throttled_runs");
      sqliteFile(path, "PRAGMA user_version = 1");
    }
    ResultStore store(path.toStdString());
    EXPECT_FALSE(store.save(stored, "import"));
    const std::vector<SessionRecord> back = store.sessionsOf(stored.machineId);
    ASSERT_EQ(back.size(), 1U);
    const SessionRecord& read = back.front();
    EXPECT_EQ(read.id, stored.id);
    EXPECT_EQ(read.hostName, "bench-7");
    EXPECT_EQ(read.startedAt, stored.startedAt);
    EXPECT_EQ(read.programVersion, "1.0.5");
    EXPECT_EQ(read.result.workloadRevision, 3);
    EXPECT_EQ(read.result.jobs, 0);
    EXPECT_EQ(read.result.scores, stored.result.scores);
    EXPECT_EQ(read.result.contendedRuns, 1);
    EXPECT_EQ(read.result.unevenRuns, 2);
    EXPECT_EQ(read.result.throttledRuns, c.throttledRuns);
    // Catches a quota's change left out of the history, or told by its whole JSON object.
    EXPECT_EQ(stored.context[5].name + " " + stored.context[5].value, "CPU quota 1.5 CPUs");
    ASSERT_EQ(read.context.size(), stored.context.size());
    for (std::size_t i = 0; i < read.context.size(); ++i) {
      EXPECT_EQ(read.context[i].name, stored.context[i].name);
      EXPECT_EQ(read.context[i].value, stored.context[i].value);
    }
    EXPECT_EQ(store.latestDocument(stored.machineId, 3, false), stored.document);
    EXPECT_EQ(store.latestDocument(stored.machineId, 3, true), std::nullopt);
    EXPECT_EQ(store.machines().size(), 1U);
  }
}

QByteArray contentOf(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

// Catches a file that is not this program's store being written, "repaired" or migrated.
TEST(ResultStore, LeavesAFileItCannotOwnByteForByte) {
  struct Case {
    const char* what;
    const char* statement;  // run in a new SQLite file; none: the file is text
    const char* reason;
  };
  const Case cases[] = {
      {.what = "a newer schema", .statement = "PRAGMA user_version = 99", .reason = "newer"},
      {.what = "another program's", .statement = "CREATE TABLE t (x)", .reason = "another"},
      {.what = "not SQLite", .statement = nullptr, .reason = "damaged, or not a results store"},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    const QString path = dir.filePath("results.sqlite");
    if (c.statement != nullptr) {
      sqliteFile(path, c.statement);
    } else {
      QFile file(path);
      file.open(QIODevice::WriteOnly);
      file.write(QByteArray(8192, 'x'));
    }
    const QByteArray before = contentOf(path);
    try {
      ResultStore store(path.toStdString());
      ADD_FAILURE() << c.what << ": opened";
    } catch (const StoreFailure& failure) {
      const std::string message = failure.what();
      EXPECT_NE(message.find(path.toStdString()), std::string::npos) << message;
      EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
    EXPECT_EQ(contentOf(path), before) << c.what;
  }
}

SessionRecord historySession(const char* id, int revision, int jobs, const char* kernel,
                             double score) {
  SessionRecord record;
  record.id = id;
  record.result.workloadRevision = revision;
  record.result.jobs = jobs;
  record.result.scores = {score, score + 10, score + 20};
  record.context = {{"kernel", kernel}, {"workload revision", std::to_string(revision)}};
  return record;
}

// Catches a change marked on the wrong session, and sessions of another workload revision or
// kind trended or compared with the latest.
TEST(History, MarksContextChangesAndComparesOnlyLikeSessions) {
  const History history = historyOf(
      "m", {historySession("a", 3, 0, "6.1.0-18", 100), historySession("b", 3, 0, "6.1.0-25", 200),
            historySession("c", 3, 2, "6.1.0-25", 900), historySession("d", 4, 0, "6.1.0-25", 300),
            historySession("e", 4, 0, "6.1.0-25", 400)});
  ASSERT_EQ(history.rows.size(), 5U);
  EXPECT_TRUE(history.rows[0].changes.empty());
  ASSERT_EQ(history.rows[1].changes.size(), 1U);
  EXPECT_EQ(history.rows[1].changes[0].name, "kernel");
  EXPECT_EQ(history.rows[1].changes[0].before, "6.1.0-18");
  EXPECT_EQ(history.rows[3].changes[0].name, "workload revision");
  EXPECT_TRUE(history.rows[4].changes.empty());
  EXPECT_EQ(history.comparable, (std::vector<std::size_t>{3, 4}));
  const std::string text = historyText(history, true);
  EXPECT_NE(text.find("  changed: kernel 6.1.0-18 → 6.1.0-25\n"), std::string::npos) << text;
  EXPECT_NE(text.find("medians): 1.3226"), std::string::npos) << text;
}

}  // namespace
}  // namespace orvendale::cli
