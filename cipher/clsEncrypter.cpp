#include "cipher/clsEncrypter.h"

#include <algorithm>
#include <cstdint>

#include "runtime/errors.h"
#include "runtime/msgbox.h"
#include "runtime/random.h"

namespace orvendale {

namespace {
constexpr int kAlphabetStart = 59;  // ';' — the armour uses the 64 codes 59..122
constexpr int kLowBits = 63;

int codeAt(const std::string& text, std::size_t index) {
  return static_cast<unsigned char>(text[index]);
}

char charFromCode(int code) {
  return static_cast<char>(static_cast<unsigned char>(code));
}
}  // namespace

void clsEncrypter::KeyString(std::string strKey) {
  strCipherKey = std::move(strKey);
  ApplyKey();
}

void clsEncrypter::ApplyKey() {
  // The reseed by -1 makes the keystream depend on the key alone.
  const float r0 = rtcRandomNext(-1.0f);
  rtcRandomize(r0);
  const std::size_t length = strCipherKey.size();
  for (std::size_t i = 0; i < length; ++i) {
    const auto c = static_cast<std::int16_t>(codeAt(strCipherKey, i));
    const float u = rtcRandomNext();
    // Never positive: a zero code or a zero draw gives -0.0, which repeats the last value.
    const float v = -u * static_cast<float>(c);
    const float w = rtcRandomNext(v);
    rtcRandomize(w);
  }
}

void clsEncrypter::DoXor() {
  for (char& ch : strWorkText) {
    const auto key = static_cast<int>(rtcRandomNext() * 256.0f);  // 0..255: draws are < 1
    ch = charFromCode(static_cast<unsigned char>(ch) ^ key);
  }
}

void clsEncrypter::Stretch() {
  // Each group of up to three characters becomes their low six bits, then one character that
  // packs their top two bits (first character's in bits 5-4). All plus 59.
  const std::size_t length = strWorkText.size();
  std::string out(length + (length + 2) / 3, ' ');
  const auto* in = reinterpret_cast<const unsigned char*>(strWorkText.data());
  char* o = out.data();
  std::size_t i = 0;
  for (; i + 3 <= length; i += 3) {
    const int c1 = in[i];
    const int c2 = in[i + 1];
    const int c3 = in[i + 2];
    *o++ = charFromCode((c1 & kLowBits) + kAlphabetStart);
    *o++ = charFromCode((c2 & kLowBits) + kAlphabetStart);
    *o++ = charFromCode((c3 & kLowBits) + kAlphabetStart);
    *o++ = charFromCode(((c1 >> 6) << 4 | (c2 >> 6) << 2 | (c3 >> 6)) + kAlphabetStart);
  }
  if (i < length) {  // a short last group of one or two characters
    int packed = 0;
    for (int shift = 4; i < length; ++i, shift -= 2) {
      const int c = in[i];
      *o++ = charFromCode((c & kLowBits) + kAlphabetStart);
      packed |= (c >> 6) << shift;
    }
    *o++ = charFromCode(packed + kAlphabetStart);
  }
  strWorkText = std::move(out);
}

void clsEncrypter::Shrink() {
  const auto m = static_cast<std::int32_t>(strWorkText.size());
  const std::int32_t n = (m - 1) - (m - 1) / 4;
  if (n < 0) {
    raiseError(kInvalidArgument);  // an empty text has nothing to decode
  }
  std::string out(static_cast<std::size_t>(n), ' ');
  std::int32_t q = 0;  // read position of the data characters (1-based)
  std::int32_t p = 0;  // read position of the packed characters (1-based)
  int y = 0;           // packed value of the current group, minus 59
  for (std::int32_t i = 1; i <= n; ++i) {
    ++q;
    const int x = static_cast<std::int16_t>(codeAt(strWorkText, q - 1) - kAlphabetStart);
    int high = 0;
    switch (i % 3) {
      case 1:
        p = std::min(p + 4, m);  // a short last group keeps its packed value at the end
        y = static_cast<std::int16_t>(codeAt(strWorkText, p - 1) - kAlphabetStart);
        high = ((y / 16) & 3) * 64;
        break;
      case 2:
        high = ((y / 4) & 3) * 64;
        break;
      default:
        high = (y & 3) * 64;
        ++q;  // step over the packed character
        break;
    }
    const int code = high | x;
    if (code < 0) {
      // A data character below the alphabet cannot be decoded. The text is left as it was.
      rtcMsgBox("Error in decrypt process!");
      raiseError(kInvalidArgument);
    }
    out[static_cast<std::size_t>(i - 1)] = charFromCode(code);
  }
  strWorkText = std::move(out);
}

}  // namespace orvendale
