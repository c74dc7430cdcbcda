#include "cli/store/Sql.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cerrno>

#include <sqlite3.h>

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

}  // namespace

void fail(const QSqlDatabase& db, const std::string& path, const QSqlError& error) {
  const int code = error.nativeErrorCode().toInt() & 0xff;
  const std::string message = path + ": " + reasonOf(error, systemErrorOf(db));
  if (code == kSqliteBusy || code == kSqliteLocked) {
    throw StoreBusy(message);
  }
  throw StoreFailure(message);
}

// One statement with its values bound in order; throws with the store's path on failure.
QSqlQuery execute(QSqlDatabase& db, const std::string& path, const QString& sql,
                  const QVariantList& values) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.prepare(sql)) {
    fail(db, path, query.lastError());
  }
  for (const QVariant& value : values) {
    query.addBindValue(value);
  }
  if (!query.exec()) {
    fail(db, path, query.lastError());
  }
  return query;
}

QVariant valueOf(QSqlDatabase& db, const std::string& path, const QString& sql) {
  QSqlQuery query = execute(db, path, sql);
  return query.next() ? query.value(0) : QVariant();
}

WriteTransaction::WriteTransaction(QSqlDatabase& db, const std::string& path)
    : db_(db), path_(path) {
  execute(db_, path_, "BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
  if (!committed_) {
    QSqlQuery(db_).exec("ROLLBACK");
  }
}

void WriteTransaction::commit() {
  execute(db_, path_, "COMMIT");
  committed_ = true;
}

}  // namespace orvendale::cli
