#include "cli/store/SessionRecord.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <tuple>

#include "cli/machine/MachineIdentity.h"

namespace orvendale::cli {

namespace {
// The context's fields: where each is in the document, and its name for people.
struct ContextSource {
  const char* name;
  const char* key;
  bool inMachine;  // in the machine block, or at the top of the document
};
constexpr ContextSource kContextSources[] = {
    {"CPU", "cpuModel", true},
    {"logical CPUs", "logicalCpus", true},
    {"physical cores", "physicalCores", true},
    {"microcode", "microcode", true},
    {"CPUs in the affinity mask", "allowedCpus", true},
    {"CPU quota", "cpuQuota", true},
    {"kernel", "kernel", true},
    {"OS", "osRelease", true},
    {"C library", "libcVersion", true},
    {"compiler", "compiler", true},
    {"compiler flags", "compilerFlags", true},
    {"Qt", "qtVersion", true},
    {"version", "version", false},
    {"workload revision", "workloadRevision", false},
};

std::string valueText(const QJsonValue& value) {
  if (value.isString()) {
    return value.toString().toStdString();
  }
  if (value.isDouble()) {
    return QString::number(value.toDouble(), 'g', 17).toStdString();
  }
  // The one object among the fields: a CPU quota, told by its CPUs.
  if (value.isObject() && value.toObject().value("cpus").isDouble()) {
    return valueText(value.toObject().value("cpus")) + " CPUs";
  }
  return "unknown";
}

std::string hashOf(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32).toStdString();
}

// A text field that may be missing; an error when it is there but not a text.
bool readText(const QJsonObject& object, const char* key, std::string& out) {
  const QJsonValue value = object.value(key);
  if (value.isUndefined() || value.isNull()) {
    return true;
  }
  out = value.toString().toStdString();
  return value.isString();
}
}  // namespace

std::variant<SessionRecord, ResultFileError> sessionRecordOf(std::string_view bytes,
                                                             const std::string& name) {
  std::variant<ResultFile, ResultFileError> result = parseResultFile(bytes, name);
  if (auto* error = std::get_if<ResultFileError>(&result)) {
    return *error;
  }
  SessionRecord record;
  record.result = std::move(std::get<ResultFile>(result));
  record.document = std::string(bytes);
  const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
  const QJsonObject root = QJsonDocument::fromJson(raw).object();
  const QJsonObject machine = root.value("machine").toObject();
  // Each may be missing, but where it is there it must be a text.
  for (const auto& [object, key, out] : {std::tuple{&root, "sessionId", &record.id},
                                         std::tuple{&root, "startedAt", &record.startedAt},
                                         std::tuple{&root, "version", &record.programVersion},
                                         std::tuple{&machine, "id", &record.machineId},
                                         std::tuple{&machine, "hostName", &record.hostName}}) {
    if (!readText(*object, key, *out)) {
      return ResultFileError{record.result.name + ": field \"" + key + "\": not a text"};
    }
  }
  // Files written before sessions and machines had ids: the document's own hash stands for the
  // session, its processor's description for the machine.
  if (record.id.empty()) {
    record.id = "sha256:" + hashOf(QJsonDocument(root).toJson(QJsonDocument::Compact));
  }
  if (record.machineId.empty()) {
    record.machineId = machineIdOf("processor:" + valueText(machine.value("cpuModel")) + "/" +
                                   valueText(machine.value("logicalCpus")));
  }
  for (const ContextSource& source : kContextSources) {
    const QJsonObject& object = source.inMachine ? machine : root;
    record.context.push_back({source.name, valueText(object.value(source.key))});
  }
  return record;
}

std::vector<ContextChange> contextChanges(const Context& before, const Context& after) {
  std::vector<ContextChange> changes;
  for (const ContextField& field : after) {
    for (const ContextField& old : before) {
      if (old.name == field.name && old.value != field.value) {
        changes.push_back({field.name, old.value, field.value});
      }
    }
  }
  return changes;
}

}  // namespace orvendale::cli
