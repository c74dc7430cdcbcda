// Shrink on arbitrary input must either decode or fail cleanly (error 5, text unchanged).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cipher/clsEncrypter.h"
#include "runtime/errors.h"
#include "runtime/msgbox.h"

using namespace orvendale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool quiet = (setMsgBoxHandler([](std::string_view) {}), true);
  const std::string input(reinterpret_cast<const char*>(data), size);

  clsEncrypter decoder;
  decoder.text(input);
  try {
    decoder.Shrink();
    const std::size_t m = input.size();
    if (decoder.text().size() != (m - 1) - (m - 1) / 4) {
      std::abort();
    }
  } catch (const RuntimeError& error) {
    if (error.code() != kInvalidArgument || decoder.text() != input) {
      std::abort();
    }
  }
  return 0;
}
