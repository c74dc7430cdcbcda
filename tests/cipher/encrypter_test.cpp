#include "cipher/clsEncrypter.h"

#include <gtest/gtest.h>

#include <random>

#include "runtime/random.h"
#include "support/bytes.h"

namespace orvendale {
namespace {

// The next `length` keystream bytes: DoXor over zero bytes returns the keystream itself.
std::string drawn(clsEncrypter& encrypter, std::size_t length = 8) {
  encrypter.text(std::string(length, '\0'));
  encrypter.DoXor();
  return encrypter.text();
}

std::string keystream(const std::string& key) {
  clsEncrypter encrypter;
  encrypter.KeyString(key);
  return drawn(encrypter);
}

std::string hex(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

TEST(Encrypter, PinnedKeystreams) {
  // From tests/cipher/reference_values.py.
  EXPECT_EQ(hex(keystream("")), "969a1ae9bcf1f8e2");
  EXPECT_EQ(hex(keystream("kvt")), "41a883b505d0ed0c");
  // A key code of 0 hands -0.0 to the generator, which repeats the last draw.
  EXPECT_EQ(hex(keystream(std::string(1, '\0'))), "0095677142b69862");
}

TEST(Encrypter, KeystreamDependsOnTheKeyAlone) {
  const std::string expected = keystream("kvt");
  for (const std::uint32_t seed : {0u, 0x50000u, 0xABCDEFu}) {
    setRandomState({seed, 0.25f});
    EXPECT_EQ(keystream("kvt"), expected);
  }
  setRandomState({0x123, 0.0f});
  const std::string empty = keystream("");
  rtcRandomNext();
  EXPECT_EQ(keystream(""), empty);
}

TEST(Encrypter, ObjectsShareTheOneGenerator) {
  clsEncrypter a;
  clsEncrypter b;
  a.KeyString("alpha");
  b.KeyString("beta");
  const std::string fromA = drawn(a);  // the stream that b's key seeded
  EXPECT_EQ(fromA, keystream("beta"));
}

TEST(Encrypter, XorWithTheSameKeyRestoresAnyText) {
  std::mt19937 engine(3);
  const std::string keys[] = {"", "kvt", std::string("\0\xFF k", 4),
                              "a much longer key than usual"};
  for (const std::string& key : keys) {
    for (const std::size_t length : {0u, 1u, 2u, 17u, 256u}) {
      const std::string plain =
          length == 256 ? testing::allCodes() : testing::randomBytes(engine, length);
      clsEncrypter encrypter;
      encrypter.KeyString(key);
      encrypter.text(plain);
      encrypter.DoXor();
      encrypter.KeyString(key);  // written again on the same object: replaces the key
      encrypter.DoXor();
      ASSERT_EQ(encrypter.text(), plain) << "key '" << key << "' length " << length;
    }
  }
}

TEST(Encrypter, DoXorOnEmptyTextDrawsNothing) {
  setRandomState({0x777, 0.5f});
  clsEncrypter encrypter;
  encrypter.DoXor();
  EXPECT_EQ(encrypter.text(), "");
  EXPECT_EQ(randomState().seed, 0x777u);
}

}  // namespace
}  // namespace orvendale
