#include "cli/store/ResultStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <cerrno>
#include <cstdlib>

#include <sqlite3.h>

#include "cli/store/Schema.h"
#include "cli/system/ProgramName.h"

namespace orvendale::cli {

namespace {
// SQLite's primary result codes that have a reason of their own for people.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// What the system said of the last failed file operation on `db`'s connection; 0 when nothing.
int systemErrorOf(const QSqlDatabase& db) {
  const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
    return 0;
  }
  sqlite3* connection = *static_cast<sqlite3* const*>(handle.data());
  return connection != nullptr ? sqlite3_system_errno(connection) : 0;
}

std::string reasonOf(const QSqlError& error, int systemError) {
  // SQLite reports a full disk met while mapping its shared memory as an I/O error: the
  // system's own error tells it apart.
  switch (systemError) {
    case ENOSPC:
    case EDQUOT:
      return "no space left for it";
    case EFBIG:
      return "larger than this process may write (file size limit)";
    case EROFS:
      return "read-only";
    default:
      break;
  }
  switch (error.nativeErrorCode().toInt() & 0xff) {
    case kSqliteBusy:
    case kSqliteLocked:
      return "locked by another program for more than " +
             std::to_string(kStoreBusyTimeoutMs / 1000) + " s";
    case kSqliteReadOnly:
      return "read-only";
    case kSqliteFull:
      return "no space left for it";
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
      return "damaged, or not a results store; left as it is";
    case kSqliteCantOpen:
      return "cannot be opened or created";
    default:
      return error.text().toStdString();
  }
}

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
// One statement with its values bound in order; throws with the store's path on failure.
QSqlQuery execute(QSqlDatabase& db, const std::string& path, const QString& sql,
                  const QVariantList& values = {}) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.prepare(sql)) {
    throw StoreFailure(path + ": " + reasonOf(query.lastError(), systemErrorOf(db)));
  }
  for (const QVariant& value : values) {
    query.addBindValue(value);
  }
  if (!query.exec()) {
    throw StoreFailure(path + ": " + reasonOf(query.lastError(), systemErrorOf(db)));
  }
  return query;
}

int integerOf(QSqlDatabase& db, const std::string& path, const QString& sql) {
  QSqlQuery query = execute(db, path, sql);
  return query.next() ? query.value(0).toInt() : 0;
}

// BEGIN IMMEDIATE takes the write lock at once (waiting for other writers up to the busy
// timeout), so that a transaction never fails half-way because another one wrote first.
class WriteTransaction {
 public:
  WriteTransaction(QSqlDatabase& db, const std::string& path) : db_(db), path_(path) {
    execute(db_, path_, "BEGIN IMMEDIATE");
  }
  ~WriteTransaction() {
    if (!committed_) {
      QSqlQuery(db_).exec("ROLLBACK");
    }
  }
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  void commit() {
    execute(db_, path_, "COMMIT");
    committed_ = true;
  }

 private:
  QSqlDatabase& db_;
  const std::string& path_;
  bool committed_ = false;
};

void migrate(QSqlDatabase& db, const std::string& path) {
  WriteTransaction transaction(db, path);
  // Read again under the lock: another program may have migrated meanwhile.
  const int version = integerOf(db, path, "PRAGMA user_version");
  for (const Migration& migration : migrations()) {
    if (migration.version <= version) {
      continue;
    }
    for (const char* statement : migration.statements) {
      execute(db, path, statement);
    }
    execute(db, path, QString("PRAGMA user_version = %1").arg(migration.version));
  }
  transaction.commit();
}

// Refuses, before anything is written, a file this program must leave as it is.
void checkWritable(QSqlDatabase& db, const std::string& path, int version) {
  if (version > schemaVersion()) {
    throw StoreFailure(path + ": written by a newer " + kProgramName + " (schema " +
                       std::to_string(version) + "; this one knows up to " +
                       std::to_string(schemaVersion()) + "); left as it is");
  }
  if (version == 0 && integerOf(db, path, "SELECT count(*) FROM sqlite_master") > 0) {
    throw StoreFailure(path + ": a database of another program; left as it is");
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
    throw StoreFailure(path_ + ": " + reasonOf(db_.lastError(), systemErrorOf(db_)));
  }
  const int version = integerOf(db_, path_, "PRAGMA user_version");
  checkWritable(db_, path_, version);
  if (version < schemaVersion()) {
    if (version == 0) {
      // Kept in the file: readers then never block the writer, nor it them.
      execute(db_, path_, "PRAGMA journal_mode = WAL");
    }
    migrate(db_, path_);
  }
}

ResultStore::~ResultStore() {
  const QString name = db_.connectionName();
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(name);
}

bool ResultStore::save(const SessionRecord& record, const char* origin) {
  WriteTransaction transaction(db_, path_);
  execute(db_, path_,
          "INSERT INTO machines (id, host_name) VALUES (?, ?)"
          " ON CONFLICT (id) DO UPDATE SET host_name = excluded.host_name",
          {QString::fromStdString(record.machineId), QString::fromStdString(record.hostName)});
  QJsonArray scores;
  for (const double score : record.result.scores) {
    scores.append(score);
  }
  const QSqlQuery insert = execute(
      db_, path_,
      "INSERT OR IGNORE INTO sessions (id, machine_id, started_at, stored_at, origin,"
      " program_version, workload_revision, jobs, scores, contended_runs, uneven_runs, context,"
      " document) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {QString::fromStdString(record.id), QString::fromStdString(record.machineId),
       QString::fromStdString(record.startedAt),
       QDateTime::currentDateTimeUtc().toString(Qt::ISODate), QString(origin),
       QString::fromStdString(record.programVersion), record.result.workloadRevision,
       record.result.jobs, jsonText(scores), record.result.contendedRuns, record.result.unevenRuns,
       jsonText(contextArray(record.context)), QString::fromStdString(record.document)});
  const bool added = insert.numRowsAffected() > 0;
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
      " s.scores, s.contended_runs, s.uneven_runs, s.context FROM sessions s"
      " JOIN machines m ON m.id = s.machine_id WHERE s.machine_id = ?"
      " ORDER BY s.started_at, s.rowid",
      {QString::fromStdString(machineId)});
  std::vector<SessionRecord> sessions;
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
    record.context = contextOf(query.value(9).toString());
    sessions.push_back(std::move(record));
  }
  return sessions;
}

std::optional<std::string> ResultStore::latestDocument(const std::string& machineId,
                                                       int workloadRevision, bool jobs) {
  QSqlQuery query = execute(db_, path_,
                            QString("SELECT document FROM sessions WHERE machine_id = ?"
                                    " AND workload_revision = ? AND jobs %1 0"
                                    " ORDER BY started_at DESC, rowid DESC LIMIT 1")
                                .arg(jobs ? ">" : "="),
                            {QString::fromStdString(machineId), workloadRevision});
  if (!query.next()) {
    return std::nullopt;
  }
  return query.value(0).toString().toStdString();
}

}  // namespace orvendale::cli
