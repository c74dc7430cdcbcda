#include "cli/store/Schema.h"

namespace orvendale::cli {

const std::vector<Migration>& migrations() {
  static const std::vector<Migration> all = {
      {1,
       {
           // A machine as its sessions name it; the host name is the latest one seen.
           "CREATE TABLE machines ("
           " id TEXT PRIMARY KEY,"
           " host_name TEXT NOT NULL)",
           // A session: what is sorted, grouped and compared by. scores: a JSON list of the
           // scored runs' scores (of the rounds' multi-core scores where jobs > 0); context: a
           // JSON list of [field, value] pairs.
           "CREATE TABLE sessions ("
           " id TEXT PRIMARY KEY,"
           " machine_id TEXT NOT NULL REFERENCES machines(id),"
           " started_at TEXT NOT NULL,"
           " stored_at TEXT NOT NULL,"
           " origin TEXT NOT NULL CHECK (origin IN ('run', 'import')),"
           " program_version TEXT NOT NULL,"
           " workload_revision INTEGER NOT NULL,"
           " jobs INTEGER NOT NULL,"
           " scores TEXT NOT NULL,"
           " contended_runs INTEGER NOT NULL,"
           " uneven_runs INTEGER NOT NULL,"
           " context TEXT NOT NULL)",
           // Its --json document whole, apart: a history reads many sessions and no document,
           // and a few kilobytes a row would make it read the whole file.
           "CREATE TABLE documents ("
           " session_id TEXT PRIMARY KEY REFERENCES sessions(id),"
           " document TEXT NOT NULL)",
           "CREATE INDEX sessions_by_machine ON sessions (machine_id, started_at)",
       }},
      {2,
       {
           // How many of the scored runs (rounds) were throttled. Sessions stored before had no
           // readings to tell, so none of their runs counts as throttled.
           "ALTER TABLE sessions ADD COLUMN throttled_runs INTEGER NOT NULL DEFAULT 0",
       }},
  };
  return all;
}

int schemaVersion() {
  return migrations().back().version;
}

}  // namespace orvendale::cli
