#include "cli/machine/MachineIdentity.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <QSysInfo>
#include <optional>

namespace orvendale::cli {

std::string machineIdOf(const std::string& identifier) {
  // An application-specific key, as machine-id(5) asks: the raw id stays confidential.
  const QByteArray keyed = QByteArray("orvendale machine:") + QByteArray::fromStdString(identifier);
  return QCryptographicHash::hash(keyed, QCryptographicHash::Sha256).toHex().left(32).toStdString();
}

MachineIdentity identifyMachine(const SystemRoots& roots) {
  MachineIdentity identity;
  identity.hostName = QSysInfo::machineHostName().toStdString();
  const std::optional<std::string> machineId = firstLine(roots.etc / "machine-id");
  if (machineId && !machineId->empty()) {
    identity.id = machineIdOf(*machineId);
    identity.source = "machine-id";
  } else {
    identity.id = machineIdOf("host:" + identity.hostName);
    identity.source = "host name";
  }
  return identity;
}

}  // namespace orvendale::cli
