// Whole encrypt-then-decrypt round trips with arbitrary keys and texts. The first input byte is
// the key's length (cut to what is there), the key follows, the rest is the text.
//
// Encrypting (KeyString, text, DoXor, Stretch) must give the armoured form: codes 59..122 and
// L + (L + 2) / 3 characters, the same every time for the same key and text. Decrypting it with
// a fresh object (KeyString with the same key, text, Shrink, DoXor) must give the text back,
// whatever the generator did in between. An empty text cannot be decrypted: Shrink raises
// error 5 and leaves the text as it was. No message may appear on the way.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "cipher/clsEncrypter.h"
#include "runtime/errors.h"
#include "runtime/msgbox.h"
#include "runtime/random.h"

using namespace orvendale;

namespace {

std::string encrypt(const std::string& key, const std::string& text) {
  clsEncrypter encrypter;
  encrypter.KeyString(key);
  encrypter.text(text);
  encrypter.DoXor();
  encrypter.Stretch();
  return std::move(encrypter).text();
}

bool isArmour(const std::string& armoured, std::size_t length) {
  if (armoured.size() != length + (length + 2) / 3) {
    return false;
  }
  for (const char ch : armoured) {
    const int code = static_cast<unsigned char>(ch);
    if (code < 59 || code > 122) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Every armoured text decodes, so a message here is a failure.
  static const bool noMessages = (setMsgBoxHandler([](std::string_view) { std::abort(); }), true);
  (void)noMessages;
  if (size == 0) {
    return 0;
  }
  const std::size_t keyLength = std::min<std::size_t>(data[0], size - 1);
  const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
  const std::string text(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);

  const std::string armoured = encrypt(key, text);
  if (!isArmour(armoured, text.size())) {
    std::abort();
  }

  // The keystream depends on the key alone: draws in between change nothing.
  for (std::size_t i = 0; i < text.size() % 7; ++i) {
    rtcRandomNext();
  }
  if (encrypt(key, text) != armoured) {
    std::abort();
  }
  rtcRandomNext();

  clsEncrypter decrypter;
  decrypter.KeyString(key);
  decrypter.text(armoured);
  try {
    decrypter.Shrink();
  } catch (const RuntimeError& error) {
    if (!text.empty() || error.code() != kInvalidArgument || !decrypter.text().empty()) {
      std::abort();
    }
    return 0;
  }
  if (text.empty()) {
    std::abort();  // an empty text must not decode
  }
  decrypter.DoXor();
  if (decrypter.text() != text) {
    std::abort();
  }
  return 0;
}
