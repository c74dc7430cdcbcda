#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cipher/clsEncrypter.h"
#include "runtime/random.h"
#include "support/runtime_probes.h"

namespace orvendale {
namespace {

using testing::MsgBoxRecorder;

// `length` random bytes, code 0 included; at length 256 every code once, in order.
std::string sampleText(std::mt19937& engine, std::size_t length) {
  std::uniform_int_distribution<int> code(0, 255);
  std::string text(length, '\0');
  for (std::size_t i = 0; i < length; ++i) {
    text[i] = static_cast<char>(length == 256 ? static_cast<int>(i) : code(engine));
  }
  return text;
}

std::string applied(void (clsEncrypter::*step)(), std::string text,
                    const std::string* key = nullptr) {
  clsEncrypter encrypter;
  if (key != nullptr) {
    encrypter.KeyString(*key);
  }
  encrypter.text(std::move(text));
  (encrypter.*step)();
  return std::move(encrypter).text();
}

TEST(Armour, KnownExamplesAndLenientDecoding) {
  const struct {
    std::string plain;
    std::string armoured;
    bool bothWays = false;  // Stretch gives `armoured` too; otherwise only Shrink is checked
  } cases[] = {
      {.plain = "0.5", .armoured = "kip;", .bothWays = true},
      {.plain = "Hi", .armoured = "CdO", .bothWays = true},
      {.plain = "\xFD\xBE\x7F", .armoured = "xyz "},  // packed character below the alphabet
      {.plain = "", .armoured = " "},                 // one character decodes to nothing
      {.plain = "0.5", .armoured = "kip;x"},          // a fifth character is ignored
      {.plain = "\x8D", .armoured = "\xC8\x7B"},      // data code above the alphabet wraps its bits
  };
  for (const auto& c : cases) {
    MsgBoxRecorder recorder;
    if (c.bothWays) {
      EXPECT_EQ(applied(&clsEncrypter::Stretch, c.plain), c.armoured);
    }
    EXPECT_EQ(applied(&clsEncrypter::Shrink, c.armoured), c.plain) << "decoding " << c.armoured;
    EXPECT_TRUE(recorder.shown.empty());
  }
}

TEST(Armour, PrintableFixedLengthAndReversibleForEveryLength) {
  std::mt19937 engine(7);
  for (std::size_t length = 1; length <= 300; ++length) {
    const std::string text = sampleText(engine, length);
    const std::string out = applied(&clsEncrypter::Stretch, text);
    ASSERT_EQ(out.size(), length + (length + 2) / 3) << "length " << length;
    ASSERT_TRUE(std::all_of(out.begin(), out.end(), [](char c) { return c >= 59 && c <= 122; }));
    ASSERT_EQ(applied(&clsEncrypter::Shrink, out), text) << "length " << length;
  }
}

TEST(Armour, UndecodableTextRaisesInvalidArgumentAndStaysAsItWas) {
  // ':' is code 58, just below the alphabet (catches shrink-below-alphabet).
  for (const std::string armoured : {"", " i", "kip;kip;k!;", ":ip;"}) {
    MsgBoxRecorder recorder;
    clsEncrypter encrypter;
    encrypter.text(armoured);
    EXPECT_EQ(testing::errorCodeOf([&] { encrypter.Shrink(); }), kInvalidArgument) << armoured;
    EXPECT_EQ(encrypter.text(), armoured);
    EXPECT_EQ(recorder.shown, armoured.empty()
                                  ? std::vector<std::string>{}
                                  : std::vector<std::string>{"Error in decrypt process!"});
  }
}

TEST(Encrypter, KeystreamIsPinnedAndDependsOnTheKeyAlone) {
  using namespace std::literals;
  const struct {
    std::string key;
    std::string_view keystream;  // DoXor over eight zero bytes
  } cases[] = {
      {.key = "", .keystream = "\x96\x9a\x1a\xe9\xbc\xf1\xf8\xe2"sv},
      {.key = "kvt", .keystream = "\x41\xa8\x83\xb5\x05\xd0\xed\x0c"sv},
      // A key code of 0 hands -0.0 to the generator: it repeats the last draw.
      {.key = std::string(1, '\0'), .keystream = "\x00\x95\x67\x71\x42\xb6\x98\x62"sv},
  };
  for (const auto& c : cases) {
    for (const std::uint32_t seed : {0x50000u, 0xABCDEFu}) {
      setRandomState({.seed = seed, .lastValue = 0.25f});
      EXPECT_EQ(applied(&clsEncrypter::DoXor, std::string(8, '\0'), &c.key), c.keystream)
          << "key '" << c.key << "' after seed " << seed;
    }
  }
}

}  // namespace
}  // namespace orvendale
