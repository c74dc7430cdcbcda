#include "cipher/Module1.h"

#include <gtest/gtest.h>

#include <random>

#include "cipher/clsEncrypter.h"
#include "runtime/random.h"
#include "support/bytes.h"

namespace orvendale {
namespace {

using Module1::EncryptString;

constexpr const char* kNumberText = "-.999829015754428";

std::string decrypt(std::string armoured) {
  clsEncrypter encrypter;
  encrypter.KeyString("kvt");
  encrypter.text(std::move(armoured));
  encrypter.Shrink();
  encrypter.DoXor();
  return std::move(encrypter).text();
}

TEST(EncryptString, PinnedResults) {
  // From tests/cipher/reference_values.py.
  EXPECT_EQ(EncryptString(kNumberText), "gAuUGwc^ZpGlDtZFoPVEUyc");
  std::string chain = kNumberText;
  for (int i = 0; i < 6; ++i) {
    chain = EncryptString(chain);
  }
  EXPECT_EQ(chain,
            "IPaFzzeqCxS_;vrYxTXJlnKxSQAXiuNgXlRLeXtlWDCU>oKbx`]imrutDoMTN_ZHyMG_oyfmDfW\\GDhMQ<"
            "KCqO\\\\USkTryFzDtVC");
}

TEST(EncryptString, EqualInputsGiveEqualResultsWhateverCameBetween) {
  const std::string first = EncryptString(kNumberText);
  EncryptString("something else");
  rtcRandomNext();
  rtcRandomize(0.3f);
  clsEncrypter other;
  other.KeyString("other key");
  EXPECT_EQ(EncryptString(kNumberText), first);
}

TEST(EncryptString, EmptyInputStillReseeds) {
  setRandomState({0x1234, 0.0f});
  EXPECT_EQ(EncryptString(""), "");
  const auto afterEmpty = randomState();
  setRandomState({0xABCDEF, 0.9f});
  EncryptString("");
  EXPECT_EQ(randomState().seed, afterEmpty.seed);
}

TEST(EncryptString, DecryptingSequenceRestoresTheInput) {
  std::mt19937 engine(5);
  EXPECT_EQ(decrypt(EncryptString(testing::allCodes())), testing::allCodes());
  for (std::size_t length = 1; length <= 64; ++length) {
    const std::string text = testing::randomBytes(engine, length);
    ASSERT_EQ(decrypt(EncryptString(text)), text) << "length " << length;
  }
}

}  // namespace
}  // namespace orvendale
