#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace orvendale::platform {

// The program's version record: "key=value" entries, each ended by a NUL byte, as the build
// embeds them in the executable's own section "orvendale_version" (readelf -p shows it).
// Fixed fields have keys "fixed.FileVersion" and so on; the string table keeps its own keys.
class VersionRecord {
 public:
  static VersionRecord parse(std::string_view bytes);
  // The record embedded in this executable, read from its section on first use.
  static const VersionRecord& embedded();

  // The value of `key`, or an empty text when the record has no such key.
  std::string value(std::string_view key) const;
  // Field `index` (0-based) of a dotted fixed version such as "1.0.0.5"; raises kOverflow when
  // it does not fit a 16-bit integer and kInvalidArgument when it is missing.
  std::int16_t versionField(std::string_view key, int index) const;

  const std::map<std::string, std::string, std::less<>>& entries() const { return entries_; }

 private:
  std::map<std::string, std::string, std::less<>> entries_;
};

// The application object: the version properties the About window shows.
struct AppObject {
  std::string ProductName() const { return record().value("ProductName"); }
  std::int16_t Major() const { return record().versionField("fixed.FileVersion", 0); }
  std::int16_t Minor() const { return record().versionField("fixed.FileVersion", 1); }
  std::int16_t Revision() const { return record().versionField("fixed.FileVersion", 3); }
  // "Major.Minor.Revision", as the About window's caption shows it.
  std::string VersionText() const {
    return std::to_string(Major()) + "." + std::to_string(Minor()) + "." +
           std::to_string(Revision());
  }
  std::string Comments() const { return record().value("Comments"); }
  std::string FileDescription() const { return record().value("FileDescription"); }

 private:
  static const VersionRecord& record() { return VersionRecord::embedded(); }
};

inline constexpr AppObject App{};

}  // namespace orvendale::platform
