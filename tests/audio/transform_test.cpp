// Gain ramp and normalization on known samples.
#include <gtest/gtest.h>

#include "platform/audio/audio_transform.h"

namespace {

TSampleBlock Block(int channels, std::vector<float> samples) {
  TSampleBlock block;
  block.SetChannels(channels);
  block.Samples() = std::move(samples);
  return block;
}

TEST(Transform, GainRampGoesLinearlyFromStartToEndAcrossTheFrames) {
  TAudioTransform2 t;
  TSampleBlock fadeIn = Block(2, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
  t.ApplyGainRamp(fadeIn, 0.0f, 100.0f);
  std::vector<float> expected{0, 0, 0.25f, 0.25f, 0.5f, 0.5f, 0.75f, 0.75f, 1, 1};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_FLOAT_EQ(fadeIn.Samples()[i], expected[i]) << i;

  TSampleBlock fadeOut = Block(1, {0.5f, -0.5f, 0.5f});
  t.ApplyGainRamp(fadeOut, 100.0f, 0.0f);
  EXPECT_FLOAT_EQ(fadeOut.Samples()[0], 0.5f);
  EXPECT_FLOAT_EQ(fadeOut.Samples()[1], -0.25f);
  EXPECT_FLOAT_EQ(fadeOut.Samples()[2], 0.0f);

  TSampleBlock single = Block(1, {0.8f});
  t.ApplyGainRamp(single, 50.0f, 0.0f);
  EXPECT_FLOAT_EQ(single.Samples()[0], 0.4f);

  TSampleBlock empty;
  t.ApplyGainRamp(empty, 0.0f, 100.0f);
  EXPECT_EQ(empty.UpperBound(), -1);
}

TEST(Transform, NormalizeBringsThePeakToThePercentage) {
  TAudioTransform2 t;
  TSampleBlock block = Block(2, {0.1f, -0.25f, 0.2f, 0.05f});
  t.Normalize(block, 98.0f, -1);
  EXPECT_FLOAT_EQ(block.Samples()[1], -0.98f);
  EXPECT_FLOAT_EQ(block.Samples()[0], 0.392f);
  EXPECT_FLOAT_EQ(block.Samples()[2], 0.784f);

  // Loud material is brought down as well.
  TSampleBlock loud = Block(1, {2.0f, -1.0f});
  t.Normalize(loud, 50.0f, -1);
  EXPECT_FLOAT_EQ(loud.Samples()[0], 0.5f);
  EXPECT_FLOAT_EQ(loud.Samples()[1], -0.25f);

  // One channel alone.
  TSampleBlock left = Block(2, {0.5f, 0.5f, 0.25f, 0.1f});
  t.Normalize(left, 100.0f, 0);
  EXPECT_FLOAT_EQ(left.Samples()[0], 1.0f);
  EXPECT_FLOAT_EQ(left.Samples()[1], 0.5f);
  EXPECT_FLOAT_EQ(left.Samples()[2], 0.5f);
}

TEST(Transform, SilenceStaysSilent) {
  TAudioTransform2 t;
  TSampleBlock silent = Block(2, {0, 0, 0, 0});
  t.Normalize(silent, 98.0f, -1);
  for (float v : silent.Samples()) EXPECT_EQ(v, 0.0f);
  TSampleBlock empty;
  t.Normalize(empty, 98.0f, -1);
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
