#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

class QSqlQuery;
class QSqlError;

namespace orvendale::cli {

// Why the store could not be used, in one line naming its path and the reason.
class StoreFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Another program held the store's lock.
class StoreBusy : public StoreFailure {
 public:
  using StoreFailure::StoreFailure;
};

// How long a session waits for another program that is writing the same store.
inline constexpr int kStoreBusyTimeoutMs = 5000;

// Throws StoreFailure (StoreBusy for a lock) for `error` of `db`, naming `path` and the reason.
[[noreturn]] void fail(const QSqlDatabase& db, const std::string& path, const QSqlError& error);

// One statement with its values bound in order; throws StoreFailure (StoreBusy for a lock)
// naming `path` and the reason.
QSqlQuery execute(QSqlDatabase& db, const std::string& path, const QString& sql,
                  const QVariantList& values = {});

// The first column of the first row of `sql`.
QVariant valueOf(QSqlDatabase& db, const std::string& path, const QString& sql);

// A transaction that takes the write lock at once (BEGIN IMMEDIATE, waiting for other writers up
// to the busy timeout), so that it never fails half-way because another one wrote first. Rolled
// back unless committed.
class WriteTransaction {
 public:
  WriteTransaction(QSqlDatabase& db, const std::string& path);
  ~WriteTransaction();
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  void commit();

 private:
  QSqlDatabase& db_;
  const std::string& path_;
  bool committed_ = false;
};

// Runs `attempt` again while another program holds the lock, for kStoreBusyTimeoutMs in all.
// SQLite's own wait does not cover every case: a connection that changes the journal mode, or
// whose read would have to become a write, is told "busy" at once rather than risk a deadlock.
template <typename Attempt>
void retriedWhileBusy(Attempt attempt) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStoreBusyTimeoutMs);
  for (;;) {
    try {
      attempt();
      return;
    } catch (const StoreBusy&) {
      if (std::chrono::steady_clock::now() >= deadline) {
        throw;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
}

}  // namespace orvendale::cli
