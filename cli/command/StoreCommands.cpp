#include "cli/command/StoreCommands.h"

#include <QFileInfo>
#include <string>
#include <variant>

#include "cli/history/History.h"
#include "cli/machine/MachineIdentity.h"
#include "cli/report/JsonReport.h"
#include "cli/report/Sparkline.h"
#include "cli/store/ResultStore.h"
#include "cli/system/ExitStatus.h"
#include "cli/system/ProgramName.h"

namespace orvendale::cli {

std::string storePath(const Options& options) {
  return options.store.empty() ? defaultStorePath() : options.store;
}

void storeSession(const Options& options, const Session& session, std::FILE* err) {
  if (options.noStore) {
    return;
  }
  const auto record = sessionRecordOf(jsonReport(session), "this session");
  if (!std::holds_alternative<SessionRecord>(record)) {
    return;  // no scored run: nothing to keep
  }
  try {
    ResultStore(storePath(options)).save(std::get<SessionRecord>(record), "run");
  } catch (const StoreFailure& failure) {
    sayLine(err, std::string("warning: results not stored: ") + failure.what());
  }
}

int showHistory(const Options& options, std::FILE* out, std::FILE* err) {
  const std::string path = storePath(options);
  const MachineIdentity machine = identifyMachine();
  std::vector<SessionRecord> sessions;
  try {
    if (QFileInfo::exists(QString::fromStdString(path))) {
      sessions = ResultStore(path).sessionsOf(machine.id);
    }
  } catch (const StoreFailure& failure) {
    sayLine(err, failure.what());
    return kFailureExitStatus;
  }
  History history = historyOf(machine.id, std::move(sessions));
  history.hostName = machine.hostName;
  if (options.json) {
    std::fputs(historyJson(history).c_str(), out);
  } else if (history.rows.empty()) {
    std::fprintf(out, "no sessions of this machine (%s) in %s\n", machine.hostName.c_str(),
                 path.c_str());
  } else {
    std::fputs(historyText(history, utf8Locale()).c_str(), out);
  }
  return 0;
}

int importFiles(const Options& options, std::FILE* out, std::FILE* err) {
  int added = 0;
  int known = 0;
  int refused = 0;
  const std::string path = storePath(options);
  try {
    ResultStore store(path);
    for (const std::string& file : options.importFiles) {
      const auto bytes = resultFileBytes(file);
      const auto record = std::holds_alternative<std::string>(bytes)
                              ? sessionRecordOf(std::get<std::string>(bytes), file)
                              : std::get<ResultFileError>(bytes);
      if (const auto* error = std::get_if<ResultFileError>(&record)) {
        sayLine(err, "not imported: " + error->message);
        ++refused;
      } else if (store.save(std::get<SessionRecord>(record), "import")) {
        ++added;
      } else {
        ++known;
      }
    }
  } catch (const StoreFailure& failure) {
    sayLine(err, std::string("import stopped: ") + failure.what());
    return kFailureExitStatus;
  }
  std::fprintf(out, "imported %d %s into %s; %d already stored, %d refused\n", added,
               added == 1 ? "session" : "sessions", path.c_str(), known, refused);
  return refused > 0 ? kUsageExitStatus : 0;
}

}  // namespace orvendale::cli
