// WMA output: wmav2 in ASF for every entry of the format list, checked with
// ffprobe; the padded last frame keeps every input frame.
#include <gtest/gtest.h>

#include "platform/audio/audio_file.h"
#include "platform/audio/wma_profiles.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"

using namespace tonvara::test;
using tonvara::audio::FindWmaProfile;

namespace {

constexpr int kRate = 44100;
constexpr int64_t kFrames = 57337;  // not a multiple of the 2048-frame WMA frame

std::string EncodeProfile(const TempDir& dir, int profile, int64_t frames = kFrames) {
  std::string path = (dir / ("p" + std::to_string(profile) + ".wma")).string();
  TAudioFile2 writer;
  writer.SetWmaProfile(profile);
  WriteWithOurWriter(writer, path, Sine(kRate, 2, frames, 1000, 0.5), kRate);
  return path;
}

TEST(WmaWriter, EveryProfileEncodesAtItsRateAndChannels) {
  TempDir dir;
  for (int n = 1; n <= tonvara::audio::kWmaProfileCount; ++n) {
    SCOPED_TRACE("profile " + std::to_string(n));
    const auto* profile = FindWmaProfile(n);
    ASSERT_NE(profile, nullptr);
    std::string path = EncodeProfile(dir, n, 8000);
    TAudioFile2 reader;
    reader.SetEnabled(true);
    reader.OpenRead(path, 0, 1);
    EXPECT_EQ(reader.SampleRate(), profile->rate);
    EXPECT_EQ(reader.Channels(), profile->channels);
    EXPECT_GE(reader.SampleCount(), (8000LL * profile->rate + kRate - 1) / kRate);
  }
  EXPECT_EQ(FindWmaProfile(0), nullptr);
  EXPECT_EQ(FindWmaProfile(48), nullptr);
}

TEST(WmaWriter, FfmpegSeesWmav2InAsfAtTheProfilesBitRate) {
  TempDir dir;
  for (int n : {1, 10, 17, 18, 38, 43, 47}) {
    SCOPED_TRACE("profile " + std::to_string(n));
    const auto* profile = FindWmaProfile(n);
    std::string path = EncodeProfile(dir, n);
    ProbedAudio probed = ProbeAudio(path);
    ASSERT_TRUE(probed.ok);
    EXPECT_EQ(probed.format_name, "asf");
    EXPECT_EQ(probed.codec_name, "wmav2");
    EXPECT_EQ(probed.sample_rate, profile->rate);
    EXPECT_EQ(probed.channels, profile->channels);
    EXPECT_NEAR(probed.bit_rate / 1000.0, profile->kbps, profile->kbps * 0.05);
  }
}

TEST(WmaWriter, TheLastPartialFrameIsPaddedNotDropped) {
  TempDir dir;
  std::string path = EncodeProfile(dir, 10);
  int64_t decoded = FfmpegDecodedFrames(path);
  EXPECT_GE(decoded, kFrames);
  EXPECT_LE(decoded, kFrames + 2 * 2048);
}

TEST(WmaWriter, AProfileOutsideTheListIsRefused) {
  TempDir dir;
  TAudioFile2 writer;
  writer.SetEnabled(true);
  writer.SetInputFormat(kRate, 2);
  writer.SetWmaProfile(48);
  EXPECT_THROW(writer.OpenWrite((dir / "x.wma").string(), 0), AudioError);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
