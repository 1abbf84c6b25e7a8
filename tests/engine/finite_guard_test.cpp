// The checks that keep the output finite: filter memory, and the sum of the voices.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "engine/finite_guard.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kSubnormal = 1e-40f;

TEST(FiniteGuard, OnlySamplesThatAreNotFiniteBecomeSilence) {
  // Bad samples in the groups of four and in the tail after them.
  const std::vector<float> in = {0.5f, kInf, -0.0f, kMax, -kMax, kSubnormal, 0.25f, -kInf, kNaN, 1.0f, -kNaN};
  std::vector<float> out = in;
  silenceNonFinite(out.data(), static_cast<std::int32_t>(out.size()));
  const std::vector<float> expected = {0.5f, 0.0f, -0.0f, kMax, -kMax, kSubnormal, 0.25f, 0.0f, 0.0f, 1.0f, 0.0f};
  ASSERT_EQ(out.size(), expected.size());
  EXPECT_EQ(std::memcmp(out.data(), expected.data(), out.size() * sizeof(float)), 0);  // signs and bits kept
  silenceNonFinite(nullptr, 0);
}

TEST(FiniteGuard, FilterMemoryIsFiniteOnlyWhenEveryValueIs) {
  const LowPassState sane = {0.1f, -kMax, kSubnormal, 0.0f, 3.0f};
  EXPECT_TRUE(lowPassStateIsFinite(sane));
  for (int field = 0; field < 5; ++field) {
    for (float bad : {kInf, -kInf, kNaN}) {
      LowPassState state = sane;
      reinterpret_cast<float*>(&state)[field] = bad;
      EXPECT_FALSE(lowPassStateIsFinite(state)) << field;
    }
  }
}

}  // namespace
