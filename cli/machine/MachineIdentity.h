#pragma once

#include <string>

#include "cli/system/SystemFiles.h"

namespace orvendale::cli {

// Which machine a session belongs to, stable across its sessions and reboots.
struct MachineIdentity {
  // 32 hex digits: a keyed hash of the source, so the system's own identifier is never shown.
  std::string id;
  // Where it came from: "machine-id" (/etc/machine-id) or, where that is missing or empty,
  // "host name".
  std::string source;
  std::string hostName;  // for people to read; may change without the id changing
};

MachineIdentity identifyMachine(const SystemRoots& roots = {});

// The hash that turns a machine's own identifier into MachineIdentity::id.
std::string machineIdOf(const std::string& identifier);

}  // namespace orvendale::cli
