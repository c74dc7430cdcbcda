#include "cli/command/ReportCommand.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "benchmark/WorkIteration.h"
#include "cli/command/StoreCommands.h"
#include "cli/page/HtmlReport.h"
#include "cli/store/ResultStore.h"
#include "cli/system/ExitStatus.h"
#include "cli/system/ProgramName.h"
#include "cli/system/SystemFiles.h"

namespace orvendale::cli {

namespace {
// What stops a report, and the exit status it ends with.
struct ReportFailure {
  std::string message;
  int status;
};

bool startedBefore(const SessionRecord& a, const SessionRecord& b) {
  return a.startedAt < b.startedAt;
}

// The latest of `history` that is of the report's workload revision and of the kind asked for.
std::optional<SessionRecord> latestOf(const std::vector<SessionRecord>& history, bool jobs) {
  for (auto it = history.rbegin(); it != history.rend(); ++it) {
    if (it->result.workloadRevision == kWorkloadRevision && (it->result.jobs > 0) == jobs) {
      return *it;
    }
  }
  return std::nullopt;
}

std::vector<MachineSessions> fromFiles(const std::vector<std::string>& files) {
  std::map<std::string, MachineSessions> machines;
  for (const std::string& file : files) {
    const auto bytes = resultFileBytes(file);
    const auto record = std::holds_alternative<std::string>(bytes)
                            ? sessionRecordOf(std::get<std::string>(bytes), file)
                            : std::get<ResultFileError>(bytes);
    if (const auto* error = std::get_if<ResultFileError>(&record)) {
      throw ReportFailure{error->message, kUsageExitStatus};
    }
    const SessionRecord& session = std::get<SessionRecord>(record);
    MachineSessions& machine = machines[session.machineId];
    machine.machineId = session.machineId;
    machine.hostName = session.hostName;
    machine.history.push_back(session);
  }
  std::vector<MachineSessions> drawn;
  for (auto& [id, machine] : machines) {
    std::stable_sort(machine.history.begin(), machine.history.end(), startedBefore);
    machine.singleCore = latestOf(machine.history, false);
    machine.multiCore = latestOf(machine.history, true);
    drawn.push_back(std::move(machine));
  }
  return drawn;
}

// The latest session of a machine in the store, its document read back in full.
std::optional<SessionRecord> latestStored(ResultStore& store, const StoredMachine& machine,
                                          bool jobs) {
  const std::optional<std::string> document =
      store.latestDocument(machine.id, kWorkloadRevision, jobs);
  if (!document) {
    return std::nullopt;
  }
  auto record = sessionRecordOf(*document, machine.hostName);
  if (auto* session = std::get_if<SessionRecord>(&record)) {
    return std::move(*session);
  }
  return std::nullopt;
}

bool named(const StoredMachine& machine, const std::vector<std::string>& names) {
  return names.empty() || std::any_of(names.begin(), names.end(), [&](const std::string& name) {
           return name == machine.hostName || machine.id.starts_with(name);
         });
}

std::vector<MachineSessions> fromStore(const Options& options) {
  const std::string path = storePath(options);
  // A report never makes a store.
  if (!QFileInfo::exists(QString::fromStdString(path))) {
    throw ReportFailure{path + ": no results store here yet", kFailureExitStatus};
  }
  ResultStore store(path);
  const std::vector<StoredMachine> stored = store.machines();
  for (const std::string& name : options.reportMachines) {
    if (!std::any_of(stored.begin(), stored.end(),
                     [&](const StoredMachine& machine) { return named(machine, {name}); })) {
      throw ReportFailure{"no machine called " + name + " in " + path, kUsageExitStatus};
    }
  }
  std::vector<MachineSessions> drawn;
  for (const StoredMachine& machine : stored) {
    if (named(machine, options.reportMachines)) {
      drawn.push_back({machine.id, machine.hostName, latestStored(store, machine, false),
                       latestStored(store, machine, true), store.sessionsOf(machine.id)});
    }
  }
  return drawn;
}

void writePage(const std::string& path, const std::string& page) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(page.data(), static_cast<qint64>(page.size())) !=
          static_cast<qint64>(page.size()) ||
      !file.commit()) {
    throw ReportFailure{path + ": cannot be written (" + file.errorString().toStdString() + ")",
                        kFailureExitStatus};
  }
}
}  // namespace

int writeReport(const Options& options, std::FILE* out, std::FILE* err) {
  try {
    constexpr std::size_t kLibraryLimit = 16 << 20;
    const std::optional<std::string> chartJs = fileText(kChartJsPath, kLibraryLimit);
    if (!chartJs) {
      throw ReportFailure{std::string("the charting library is missing: ") + kChartJsPath +
                              " (Debian: libjs-chart.js)",
                          kFailureExitStatus};
    }
    const std::vector<MachineSessions> machines =
        options.reportFiles.empty() ? fromStore(options) : fromFiles(options.reportFiles);
    writePage(*options.report, htmlReport(machines, kWorkloadRevision, *chartJs));
    std::fprintf(out, "report of %zu %s written to %s\n", machines.size(),
                 machines.size() == 1 ? "machine" : "machines", options.report->c_str());
    return 0;
  } catch (const ReportFailure& failure) {
    sayLine(err, failure.message);
    return failure.status;
  } catch (const StoreFailure& failure) {
    sayLine(err, failure.what());
    return kFailureExitStatus;
  }
}

}  // namespace orvendale::cli
