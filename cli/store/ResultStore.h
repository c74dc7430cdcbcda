#pragma once

#include <QSqlDatabase>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/store/SessionRecord.h"
#include "cli/store/Sql.h"

namespace orvendale::cli {

// $XDG_DATA_HOME/orvendale/results.sqlite, or ~/.local/share/orvendale/results.sqlite.
std::string defaultStorePath();

// A machine with sessions in the store.
struct StoredMachine {
  std::string id;
  std::string hostName;
  int sessions = 0;
};

// The sessions kept in a SQLite file, written through Qt SQL. Each session is stored in one
// transaction; the file is in WAL mode and waits kStoreBusyTimeoutMs for other writers, so that
// sessions stored at once are all kept. A file that is damaged, not a store, or of a newer schema
// is never written. Every failure throws StoreFailure.
class ResultStore {
 public:
  // Opens the store at `path`, creating it and its folder where there is none, and brings an
  // older schema up to date.
  explicit ResultStore(const std::string& path);
  ~ResultStore();
  ResultStore(const ResultStore&) = delete;
  ResultStore& operator=(const ResultStore&) = delete;

  // Stores `record`, from a run of this program or an import; false when a session of its id is
  // already stored (nothing is written then).
  bool save(const SessionRecord& record, const char* origin);

  std::vector<StoredMachine> machines();
  // A machine's sessions, oldest first, without their documents.
  std::vector<SessionRecord> sessionsOf(const std::string& machineId);
  // The document of a machine's latest session of `workloadRevision`, of --jobs sessions or of
  // the others; nothing when it has none.
  std::optional<std::string> latestDocument(const std::string& machineId, int workloadRevision,
                                            bool jobs);

 private:
  bool insert(const SessionRecord& record, const char* origin);

  std::string path_;
  QSqlDatabase db_;
};

}  // namespace orvendale::cli
