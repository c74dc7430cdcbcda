// Encrypt-then-decrypt round trips. Input: the key's length (one byte), the key, the text.
// Encrypting gives the armoured form (codes 59..122, L + (L + 2) / 3 characters), the same for
// the same key and text whatever the generator did before; a fresh object decrypts it back. An
// empty text cannot be decrypted (error 5, text left empty). No message may appear.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cipher/clsEncrypter.h"
#include "runtime/errors.h"
#include "runtime/msgbox.h"
#include "runtime/random.h"

using namespace orvendale;

namespace {
void check(bool ok) {
  if (!ok) {
    std::abort();
  }
}

std::string encrypt(const std::string& key, const std::string& text) {
  clsEncrypter encrypter;
  encrypter.KeyString(key);
  encrypter.text(text);
  encrypter.DoXor();
  encrypter.Stretch();
  return std::move(encrypter).text();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool noMessages = (setMsgBoxHandler([](std::string_view) { std::abort(); }), true);
  (void)noMessages;
  if (size == 0) {
    return 0;
  }
  const std::size_t keyLength = std::min<std::size_t>(data[0], size - 1);
  const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
  const std::string text(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);

  const std::string armoured = encrypt(key, text);
  check(armoured.size() == text.size() + (text.size() + 2) / 3);
  check(std::all_of(armoured.begin(), armoured.end(), [](char c) { return c >= 59 && c <= 122; }));
  for (std::size_t i = 0; i < text.size() % 7; ++i) {
    rtcRandomNext();
  }
  check(encrypt(key, text) == armoured);
  rtcRandomNext();

  clsEncrypter decrypter;
  decrypter.KeyString(key);
  decrypter.text(armoured);
  try {
    decrypter.Shrink();
  } catch (const RuntimeError& error) {
    check(text.empty() && error.code() == kInvalidArgument && decrypter.text().empty());
    return 0;
  }
  check(!text.empty());
  decrypter.DoXor();
  check(decrypter.text() == text);
  return 0;
}
