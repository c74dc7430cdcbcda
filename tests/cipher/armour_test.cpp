#include <gtest/gtest.h>

#include <random>

#include "cipher/clsEncrypter.h"
#include "runtime/errors.h"
#include "support/bytes.h"
#include "support/error_code.h"
#include "support/msgbox_recorder.h"

namespace orvendale {
namespace {

using testing::MsgBoxRecorder;

std::string applied(void (clsEncrypter::*step)(), std::string text) {
  clsEncrypter encrypter;
  encrypter.text(std::move(text));
  (encrypter.*step)();
  return std::move(encrypter).text();
}
std::string stretched(std::string text) {
  return applied(&clsEncrypter::Stretch, std::move(text));
}
std::string shrunk(std::string text) {
  return applied(&clsEncrypter::Shrink, std::move(text));
}

TEST(Armour, KnownExamplesBothWays) {
  struct Case {
    const char* plain;
    const char* armoured;
  };
  for (const Case c : {Case{"0.5", "kip;"}, Case{"Hi", "CdO"}}) {
    EXPECT_EQ(stretched(c.plain), c.armoured);
    EXPECT_EQ(shrunk(c.armoured), c.plain);
  }
}

TEST(Armour, StretchLengthAlphabetAndRoundTripForEveryLengthAndCode) {
  std::mt19937 engine(7);
  EXPECT_EQ(shrunk(stretched(testing::allCodes())), testing::allCodes());
  for (std::size_t length = 0; length <= 300; ++length) {
    const std::string text = testing::randomBytes(engine, length);
    const std::string out = stretched(text);
    ASSERT_EQ(out.size(), length + (length + 2) / 3) << "length " << length;
    for (const char c : out) {
      ASSERT_GE(c, 59);
      ASSERT_LE(c, 122);
    }
    if (length > 0) {
      ASSERT_EQ(shrunk(out), text) << "length " << length;
    }
  }
}

TEST(Armour, ShrinkIsLenientOutsideTheAlphabet) {
  struct Case {
    std::string armoured;
    std::string plain;
  };
  for (const Case& c : {
           Case{"xyz ", "\xFD\xBE\x7F"},  // packed character below the alphabet
           Case{" ", ""},                 // one character decodes to nothing
           Case{"kip;x", "0.5"},          // a fifth character is ignored
           Case{"\xC8\x7B", "\x8D"},      // data code above the alphabet wraps its bits
       }) {
    MsgBoxRecorder recorder;
    EXPECT_EQ(shrunk(c.armoured), c.plain) << c.armoured;
    EXPECT_TRUE(recorder.shown.empty());
  }
}

TEST(Armour, ShrinkFailuresRaiseInvalidArgumentAndKeepTheText) {
  struct Case {
    std::string armoured;
    std::vector<std::string> shown;
  };
  for (const Case& c : {
           Case{"", {}},                                        // nothing to decode
           Case{" i", {"Error in decrypt process!"}},           // first data character bad
           Case{"kip;kip;k!;", {"Error in decrypt process!"}},  // a later one
       }) {
    MsgBoxRecorder recorder;
    clsEncrypter encrypter;
    encrypter.text(c.armoured);
    EXPECT_EQ(testing::errorCodeOf([&] { encrypter.Shrink(); }), kInvalidArgument) << c.armoured;
    EXPECT_EQ(encrypter.text(), c.armoured);
    EXPECT_EQ(recorder.shown, c.shown) << "'" << c.armoured << "'";
  }
}

}  // namespace
}  // namespace orvendale
