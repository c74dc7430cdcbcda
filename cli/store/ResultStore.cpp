#include "cli/store/ResultStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <cstdlib>

#include "cli/store/Schema.h"
#include "cli/store/Sql.h"
#include "cli/system/ProgramName.h"

namespace orvendale::cli {

namespace {
QJsonArray contextArray(const Context& context) {
  QJsonArray fields;
  for (const ContextField& field : context) {
    fields.append(
        QJsonArray{QString::fromStdString(field.name), QString::fromStdString(field.value)});
  }
  return fields;
}

Context contextOf(const QString& text) {
  Context context;
  for (const QJsonValue& pair : QJsonDocument::fromJson(text.toUtf8()).array()) {
    context.push_back({pair[0].toString().toStdString(), pair[1].toString().toStdString()});
  }
  return context;
}

QString jsonText(const QJsonArray& array) {
  return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QString connectionName() {
  static std::atomic<int> next{0};
  return QString("orvendale-store-%1").arg(next++);
}
}  // namespace

std::string defaultStorePath() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const QString base = dataHome != nullptr && dataHome[0] == '/'
                           ? QString(dataHome)
                           : QDir::homePath() + "/.local/share";
  return (base + "/orvendale/results.sqlite").toStdString();
}

namespace {
// The schema's version and how many tables the file has, read at one moment.
struct Snapshot {
  int version = 0;
  int tables = 0;
};

Snapshot snapshotOf(QSqlDatabase& db, const std::string& path) {
  QSqlQuery query = execute(db, path,
                            "SELECT (SELECT user_version FROM pragma_user_version),"
                            " (SELECT count(*) FROM sqlite_master)");
  query.next();
  return {query.value(0).toInt(), query.value(1).toInt()};
}

// Refuses a file this program must leave as it is.
void refuseForeign(const std::string& path, Snapshot snapshot) {
  if (snapshot.version > schemaVersion()) {
    throw StoreFailure(path + ": written by a newer " + kProgramName + " (schema " +
                       std::to_string(snapshot.version) + "; this one knows up to " +
                       std::to_string(schemaVersion()) + "); left as it is");
  }
  if (snapshot.version == 0 && snapshot.tables > 0) {
    throw StoreFailure(path + ": a database of another program; left as it is");
  }
}

void migrate(QSqlDatabase& db, const std::string& path) {
  WriteTransaction transaction(db, path);
  // Looked at again under the lock: another program may have migrated meanwhile.
  const Snapshot snapshot = snapshotOf(db, path);
  refuseForeign(path, snapshot);
  for (const Migration& migration : migrations()) {
    if (migration.version <= snapshot.version) {
      continue;
    }
    for (const char* statement : migration.statements) {
      execute(db, path, statement);
    }
    execute(db, path, QString("PRAGMA user_version = %1").arg(migration.version));
  }
  transaction.commit();
}

// Nothing is written before the file is known to be a store of this program's, or a new one.
void prepareSchema(QSqlDatabase& db, const std::string& path) {
  const Snapshot snapshot = snapshotOf(db, path);
  refuseForeign(path, snapshot);
  if (snapshot.version < schemaVersion()) {
    migrate(db, path);
  }
  // Kept in the file: readers then never block the writer, nor it them.
  if (valueOf(db, path, "PRAGMA journal_mode").toString() != "wal") {
    execute(db, path, "PRAGMA journal_mode = WAL");
  }
}
}  // namespace

ResultStore::ResultStore(const std::string& path)
    : path_(path), db_(QSqlDatabase::addDatabase("QSQLITE", connectionName())) {
  if (!db_.isValid()) {
    throw StoreFailure(path_ + ": Qt SQL's SQLite driver is missing (Debian: libqt6sql6-sqlite)");
  }
  const QString file = QString::fromStdString(path_);
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
    throw StoreFailure(path_ + ": its folder cannot be created");
  }
  db_.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(kStoreBusyTimeoutMs));
  db_.setDatabaseName(file);
  if (!db_.open()) {
    fail(db_, path_, db_.lastError());
  }
  retriedWhileBusy([this] { prepareSchema(db_, path_); });
}

ResultStore::~ResultStore() {
  const QString name = db_.connectionName();
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(name);
}

bool ResultStore::save(const SessionRecord& record, const char* origin) {
  bool added = false;
  retriedWhileBusy([&] { added = insert(record, origin); });
  return added;
}

bool ResultStore::insert(const SessionRecord& record, const char* origin) {
  WriteTransaction transaction(db_, path_);
  execute(db_, path_,
          "INSERT INTO machines (id, host_name) VALUES (?, ?)"
          " ON CONFLICT (id) DO UPDATE SET host_name = excluded.host_name",
          {QString::fromStdString(record.machineId), QString::fromStdString(record.hostName)});
  QJsonArray scores;
  for (const double score : record.result.scores) {
    scores.append(score);
  }
  const QSqlQuery query = execute(
      db_, path_,
      "INSERT OR IGNORE INTO sessions (id, machine_id, started_at, stored_at, origin,"
      " program_version, workload_revision, jobs, scores, contended_runs, uneven_runs,"
      " throttled_runs, context) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {QString::fromStdString(record.id), QString::fromStdString(record.machineId),
       QString::fromStdString(record.startedAt),
       QDateTime::currentDateTimeUtc().toString(Qt::ISODate), QString(origin),
       QString::fromStdString(record.programVersion), record.result.workloadRevision,
       record.result.jobs, jsonText(scores), record.result.contendedRuns, record.result.unevenRuns,
       record.result.throttledRuns, jsonText(contextArray(record.context))});
  const bool added = query.numRowsAffected() > 0;
  if (added) {
    execute(db_, path_, "INSERT INTO documents (session_id, document) VALUES (?, ?)",
            {QString::fromStdString(record.id), QString::fromStdString(record.document)});
  }
  transaction.commit();
  return added;
}

std::vector<StoredMachine> ResultStore::machines() {
  QSqlQuery query = execute(db_, path_,
                            "SELECT m.id, m.host_name, count(*) FROM machines m"
                            " JOIN sessions s ON s.machine_id = m.id"
                            " GROUP BY m.id ORDER BY m.host_name, m.id");
  std::vector<StoredMachine> machines;
  while (query.next()) {
    machines.push_back({query.value(0).toString().toStdString(),
                        query.value(1).toString().toStdString(), query.value(2).toInt()});
  }
  return machines;
}

std::vector<SessionRecord> ResultStore::sessionsOf(const std::string& machineId) {
  QSqlQuery query = execute(
      db_, path_,
      "SELECT s.id, m.host_name, s.started_at, s.program_version, s.workload_revision, s.jobs,"
      " s.scores, s.contended_runs, s.uneven_runs, s.throttled_runs, s.context FROM sessions s"
      " JOIN machines m ON m.id = s.machine_id WHERE s.machine_id = ?"
      " ORDER BY s.started_at, s.rowid",
      {QString::fromStdString(machineId)});
  std::vector<SessionRecord> sessions;
  // A machine's context seldom changes: each text is read once.
  QString contextText;
  Context context;
  while (query.next()) {
    SessionRecord record;
    record.id = query.value(0).toString().toStdString();
    record.machineId = machineId;
    record.hostName = query.value(1).toString().toStdString();
    record.startedAt = query.value(2).toString().toStdString();
    record.programVersion = query.value(3).toString().toStdString();
    record.result.name = record.hostName + " " + record.startedAt;
    record.result.workloadRevision = query.value(4).toInt();
    record.result.jobs = query.value(5).toInt();
    for (const QJsonValue& score :
         QJsonDocument::fromJson(query.value(6).toString().toUtf8()).array()) {
      record.result.scores.push_back(score.toDouble());
    }
    record.result.contendedRuns = query.value(7).toInt();
    record.result.unevenRuns = query.value(8).toInt();
    record.result.throttledRuns = query.value(9).toInt();
    if (const QString text = query.value(10).toString(); text != contextText) {
      contextText = text;
      context = contextOf(text);
    }
    record.context = context;
    sessions.push_back(std::move(record));
  }
  return sessions;
}

std::optional<std::string> ResultStore::latestDocument(const std::string& machineId,
                                                       int workloadRevision, bool jobs) {
  QSqlQuery query =
      execute(db_, path_,
              QString("SELECT d.document FROM sessions s JOIN documents d ON d.session_id = s.id"
                      " WHERE s.machine_id = ?"
                      " AND s.workload_revision = ? AND s.jobs %1 0"
                      " ORDER BY s.started_at DESC, s.rowid DESC LIMIT 1")
                  .arg(jobs ? ">" : "="),
              {QString::fromStdString(machineId), workloadRevision});
  if (!query.next()) {
    return std::nullopt;
  }
  return query.value(0).toString().toStdString();
}

}  // namespace orvendale::cli
