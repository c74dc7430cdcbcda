#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/system/SystemFiles.h"

namespace orvendale::testing {

// A file of a fake system tree: its path under the root and its content.
struct FakeFile {
  std::string path;
  std::string content;
};
using FakeFiles = std::vector<FakeFile>;

// A temporary /sys, /proc and /etc tree of `files`, removed with the object.
struct FakeRoot {
  explicit FakeRoot(const FakeFiles& files) {
    for (const FakeFile& file : files) {
      const std::filesystem::path path = base / file.path;
      std::filesystem::create_directories(path.parent_path());
      std::ofstream(path) << file.content;
    }
  }
  cli::SystemRoots roots() const { return {base / "sys", base / "proc", base / "etc"}; }

  QTemporaryDir dir;
  std::filesystem::path base = dir.path().toStdString();
};

}  // namespace orvendale::testing
