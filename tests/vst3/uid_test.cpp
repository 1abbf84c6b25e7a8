#include "vst3/abi/vst3.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

using namespace vst3;

// Every byte of this ID differs, so a byte in the wrong place shows.
constexpr uint32 kWords[4] = {0x00112233, 0x44556677, 0x8899AABB, 0xCCDDEEFF};
constexpr const char* kWordsText = "00112233445566778899AABBCCDDEEFF";
constexpr const char* kComponentText = "E831FF31F2D54301928EBBEE25697802";

std::string rawHex(const Uid& id) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (char byte : id.bytes) {
    const unsigned value = static_cast<unsigned char>(byte);
    out += digits[value >> 4];
    out += digits[value & 0xF];
  }
  return out;
}

TEST(Vst3Uid, WordsLandInThePlatformsByteOrderAndComeBack) {
  const Uid id = makeUid(kWords[0], kWords[1], kWords[2], kWords[3]);
#if QUINDLE_VST3_WINDOWS
  EXPECT_EQ(rawHex(id), "33221100554477668899AABBCCDDEEFF");
#else
  EXPECT_EQ(rawHex(id), "00112233445566778899AABBCCDDEEFF");
#endif
  for (int word = 0; word < 4; ++word) EXPECT_EQ(uidWord(id.bytes, word), kWords[word]) << word;
}

TEST(Vst3Uid, TextFormIsTheWordsOnEveryPlatform) {
  EXPECT_STREQ(uidText(makeUid(kWords[0], kWords[1], kWords[2], kWords[3]).bytes).text, kWordsText);
  EXPECT_STREQ(uidText(IComponent::iid.bytes).text, kComponentText);
  EXPECT_STREQ(uidText(nullptr).text, "");

  Uid parsed{};
  ASSERT_TRUE(uidFromText(kComponentText, parsed));
  EXPECT_TRUE(sameUid(parsed.bytes, IComponent::iid));
  ASSERT_TRUE(uidFromText("e831ff31f2d54301928ebbee25697802", parsed));
  EXPECT_TRUE(sameUid(parsed.bytes, IComponent::iid));
}

TEST(Vst3Uid, MalformedTextIsRefusedAndLeavesTheIdAlone) {
  const char* const malformed[] = {
      nullptr,
      "",
      "E831FF31F2D54301928EBBEE2569780",    // 31 digits
      "E831FF31F2D54301928EBBEE256978021",  // 33 digits
      "E831FF31-F2D54301928EBBEE2569780",   // a separator
      "G831FF31F2D54301928EBBEE25697802",   // not a hex digit
  };
  for (const char* text : malformed) {
    Uid id = IPluginBase::iid;
    EXPECT_FALSE(uidFromText(text, id)) << (text ? text : "null");
    EXPECT_TRUE(sameUid(id.bytes, IPluginBase::iid)) << (text ? text : "null");
  }
}

TEST(Vst3Uid, ComparisonIsBytewiseAndNullMatchesNothing) {
  Uid almost = IComponent::iid;
  almost.bytes[kUidSize - 1] ^= 1;
  EXPECT_TRUE(sameUid(IComponent::iid.bytes, IComponent::iid));
  EXPECT_FALSE(sameUid(almost.bytes, IComponent::iid));
  EXPECT_FALSE(sameUid(nullptr, IComponent::iid));
}

TEST(Vst3Results, CodesAreThePlatformsValues) {
  EXPECT_EQ(kResultOk, 0);
  EXPECT_EQ(kResultTrue, kResultOk);
  EXPECT_EQ(kResultFalse, 1);
#if QUINDLE_VST3_WINDOWS
  const uint32 failures[] = {0x80004002, 0x80070057, 0x80004001, 0x80004005, 0x8000FFFF, 0x8007000E};
#else
  const uint32 failures[] = {static_cast<uint32>(-1), 2, 3, 4, 5, 6};
#endif
  const tresult codes[] = {kNoInterface, kInvalidArgument, kNotImplemented,
                           kInternalError, kNotInitialized, kOutOfMemory};
  static_assert(std::size(codes) == std::size(failures), "one value per code");
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    EXPECT_EQ(static_cast<uint32>(codes[i]), failures[i]) << i;
    EXPECT_NE(codes[i], kResultOk) << i;
    EXPECT_NE(codes[i], kResultFalse) << i;
  }
}

}  // namespace
