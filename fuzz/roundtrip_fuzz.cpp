// Encrypt-then-decrypt round trips with any key. Input: the key's length (one byte), the key,
// the text. A fresh object, after the generator moved on, decrypts the text back; no message may
// appear and no error may escape.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cipher/clsEncrypter.h"
#include "runtime/msgbox.h"
#include "runtime/random.h"

using namespace orvendale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool noMessages =
      (setMsgBoxHandler([](std::string_view) { std::abort(); }), true);
  if (size == 0) {
    return 0;
  }
  const std::size_t keyLength = std::min<std::size_t>(data[0], size - 1);
  const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
  const std::string text(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);
  if (text.empty()) {  // nothing to decrypt
    return 0;
  }

  clsEncrypter encrypter;
  encrypter.KeyString(key);
  encrypter.text(text);
  encrypter.DoXor();
  encrypter.Stretch();
  rtcRandomNext();
  clsEncrypter decrypter;
  decrypter.KeyString(key);
  decrypter.text(std::move(encrypter).text());
  decrypter.Shrink();
  decrypter.DoXor();
  if (decrypter.text() != text) {
    std::abort();
  }
  return 0;
}
