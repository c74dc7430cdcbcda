#pragma once

#include <cstdio>

#include "cli/command/Options.h"
#include "cli/report/Session.h"

namespace orvendale::cli {

// The results store that `options` name: --store PATH, or the default.
std::string storePath(const Options& options);

// Keeps a measured session in the store, unless --no-store; a session without a scored run is
// not kept. A failure costs one warning line on `err` naming the path and the reason: the
// session has been reported already and its exit status stands.
void storeSession(const Options& options, const Session& session, std::FILE* err);

// --history: this machine's stored sessions as text or, with --json, as a document. Returns 0,
// or 1 when the store cannot be read.
int showHistory(const Options& options, std::FILE* out, std::FILE* err);

// --import FILE...: stores each file's session, each in one transaction; a session already
// stored counts once. Each file that cannot be imported gets one line on `err`, and nothing of
// it is stored. Returns 0, 2 when a file was refused, or 1 when the store cannot be written.
int importFiles(const Options& options, std::FILE* out, std::FILE* err);

}  // namespace orvendale::cli
