#include "shell/text_copy.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr char kMarker = '#';

TEST(CopyBoundedText, ShortTextIsZeroFilledThroughTheBound) {
  char buffer[16];
  std::memset(buffer, kMarker, sizeof(buffer));
  copyBoundedText(buffer, "Ynk", 8);
  EXPECT_STREQ(buffer, "Ynk");
  for (int i = 3; i <= 8; ++i) EXPECT_EQ(buffer[i], '\0') << i;
  for (int i = 9; i < 16; ++i) EXPECT_EQ(buffer[i], kMarker) << i;
}

TEST(CopyBoundedText, LongTextIsCutAtTheBoundAndTerminatedAfterIt) {
  char buffer[16];
  std::memset(buffer, kMarker, sizeof(buffer));
  copyBoundedText(buffer, "VelocityAndMore", 8);
  EXPECT_EQ(std::memcmp(buffer, "Velocity", 8), 0);
  EXPECT_EQ(buffer[8], '\0');
  EXPECT_EQ(buffer[9], kMarker);
}

TEST(CopyBoundedText, NullArgumentsAreSafe) {
  char buffer[4] = {kMarker, kMarker, kMarker, kMarker};
  copyBoundedText(buffer, nullptr, 2);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[2], '\0');
  EXPECT_EQ(buffer[3], kMarker);
  copyBoundedText(nullptr, "text", 8);  // nothing to write into, nothing written
}

}  // namespace
