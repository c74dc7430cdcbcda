#include "platform/version/VersionRecord.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "runtime/errors.h"

// The embedded record. It has a section of its own so that tools can show it without running
// the program; the linker marks the section's bounds with these two symbols.
[[gnu::section("orvendale_version"), gnu::used]] static const char kEmbeddedRecord[] =
#include "version_record.inc"
    ;
extern "C" const char __start_orvendale_version[];  // NOLINT(bugprone-reserved-identifier)
extern "C" const char __stop_orvendale_version[];   // NOLINT(bugprone-reserved-identifier)

namespace orvendale::platform {

VersionRecord VersionRecord::parse(std::string_view bytes) {
  VersionRecord record;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\0'), bytes.size());
    const std::string_view entry = bytes.substr(0, end);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    const std::size_t equals = entry.find('=');
    if (equals != std::string_view::npos) {
      record.entries_.insert_or_assign(std::string(entry.substr(0, equals)),
                                       std::string(entry.substr(equals + 1)));
    }
  }
  return record;
}

const VersionRecord& VersionRecord::embedded() {
  static const VersionRecord record = parse(std::string_view(
      __start_orvendale_version,
      static_cast<std::size_t>(__stop_orvendale_version - __start_orvendale_version)));
  return record;
}

std::string VersionRecord::value(std::string_view key) const {
  const auto it = entries_.find(key);
  return it == entries_.end() ? std::string() : it->second;
}

std::int16_t VersionRecord::versionField(std::string_view key, int index) const {
  const std::string text = value(key);
  std::string_view rest = text;
  for (int i = 0; i < index; ++i) {
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) {
      raiseError(kInvalidArgument);
    }
    rest.remove_prefix(dot + 1);
  }
  const std::string_view field = rest.substr(0, rest.find('.'));
  int number = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
  if (error == std::errc::result_out_of_range ||
      (error == std::errc() && (number > INT16_MAX || number < INT16_MIN))) {
    raiseError(kOverflow);
  }
  if (error != std::errc() || end != field.data() + field.size()) {
    raiseError(kInvalidArgument);
  }
  return static_cast<std::int16_t>(number);
}

}  // namespace orvendale::platform
