#include <gtest/gtest.h>

#include <random>

#include "cipher/clsEncrypter.h"
#include "runtime/errors.h"
#include "support/bytes.h"
#include "support/msgbox_recorder.h"

namespace orvendale {
namespace {

using testing::MsgBoxRecorder;

std::string stretched(std::string text) {
  clsEncrypter encrypter;
  encrypter.text(std::move(text));
  encrypter.Stretch();
  return std::move(encrypter).text();
}

std::string shrunk(std::string text) {
  clsEncrypter encrypter;
  encrypter.text(std::move(text));
  encrypter.Shrink();
  return std::move(encrypter).text();
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

TEST(Armour, StretchLengthsAndAlphabet) {
  std::mt19937 engine(7);
  for (std::size_t length = 0; length <= 300; ++length) {
    const std::string out = stretched(testing::randomBytes(engine, length));
    ASSERT_EQ(out.size(), length + (length + 2) / 3) << "length " << length;
    for (const char c : out) {
      ASSERT_GE(c, 59);
      ASSERT_LE(c, 122);
    }
  }
}

TEST(Armour, ShrinkUndoesStretchForEveryLengthAndCode) {
  std::mt19937 engine(11);
  EXPECT_EQ(shrunk(stretched(testing::allCodes())), testing::allCodes());
  for (std::size_t length = 1; length <= 300; ++length) {
    const std::string text = testing::randomBytes(engine, length);
    ASSERT_EQ(shrunk(stretched(text)), text) << "length " << length;
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
    bool showsMessage;
  };
  for (const Case& c : {
           Case{"", false},            // nothing to decode
           Case{" i", true},           // first data character below the alphabet
           Case{"kip;kip;k!;", true},  // a later one
       }) {
    MsgBoxRecorder recorder;
    clsEncrypter encrypter;
    encrypter.text(c.armoured);
    try {
      encrypter.Shrink();
      ADD_FAILURE() << "no error for '" << c.armoured << "'";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.code(), kInvalidArgument);
    }
    EXPECT_EQ(encrypter.text(), c.armoured);
    const std::vector<std::string> expected =
        c.showsMessage ? std::vector<std::string>{"Error in decrypt process!"}
                       : std::vector<std::string>{};
    EXPECT_EQ(recorder.shown, expected) << "'" << c.armoured << "'";
  }
}

}  // namespace
}  // namespace orvendale
