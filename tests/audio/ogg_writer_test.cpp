// OGG output: quality, bit-rate and managed-VBR modes, checked with
// ffprobe; exact length through the granule positions.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/audio/audio_file.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"

using namespace tonvara::test;

namespace {

constexpr int kRate = 44100;
constexpr int64_t kFrames = 88211;  // 2 s and a bit

struct OggCase {
  const char* name;
  int rate, channels, bitrate, minimum, maximum;
  int16_t quality;
  int expected_kbps;  // 0: not checked
};

class OggWriter : public ::testing::TestWithParam<OggCase> {};

TEST_P(OggWriter, EncodesVorbisWithTheExactLength) {
  const OggCase& c = GetParam();
  TempDir dir;
  std::string path = (dir / "out.ogg").string();
  TAudioFile2 writer;
  writer.SetOggFormat(c.rate, c.channels, c.bitrate, c.minimum, c.maximum, c.quality);
  // Noise-like content so the bit rate is not trivially low.
  TSampleBlock signal = Sine(kRate, 2, kFrames, 1000, 0.3);
  for (int64_t i = 0; i < kFrames * 2; ++i) signal.Data()[i] += 0.2f * static_cast<float>(std::sin(i * 0.731 * i));
  WriteWithOurWriter(writer, path, signal, kRate, kRate * 2);

  ProbedAudio probed = ProbeAudio(path);
  ASSERT_TRUE(probed.ok);
  EXPECT_EQ(probed.format_name, "ogg");
  EXPECT_EQ(probed.codec_name, "vorbis");
  EXPECT_EQ(probed.sample_rate, c.rate);
  EXPECT_EQ(probed.channels, c.channels);
  if (c.expected_kbps > 0) {
    double kbps = static_cast<double>(std::filesystem::file_size(path)) * 8 / (kFrames / double(kRate)) / 1000;
    EXPECT_NEAR(kbps, c.expected_kbps, c.expected_kbps * 0.2);
  }
  int64_t expected = (kFrames * c.rate + kRate / 2) / kRate;
  EXPECT_EQ(FfmpegDecodedFrames(path), expected);
  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.OpenRead(path, 0, 1);
  EXPECT_EQ(reader.SampleCount(), expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, OggWriter,
                         ::testing::Values(OggCase{"Quality", 44100, 2, 0, 0, 0, 300, 0},
                                           OggCase{"Bitrate", 44100, 2, 128, 0, 0, -1, 128},
                                           OggCase{"ManagedVbr", 44100, 2, 96, 64, 112, -1, 96},
                                           OggCase{"ResampledMono", 22050, 1, 0, 0, 0, 0, 0},
                                           OggCase{"TopQuality", 48000, 2, 0, 0, 0, 1000, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OggWriter, AnImpossibleCombinationIsAClearErrorAndLeavesNoFile) {
  TempDir dir;
  TAudioFile2 writer;
  writer.SetEnabled(true);
  writer.SetInputFormat(44100, 2);
  writer.SetOggFormat(44100, 2, 8, 0, 0, -1);
  try {
    writer.OpenWrite((dir / "x.ogg").string(), 0);
    FAIL() << "8 kbit/s stereo at 44.1 kHz accepted";
  } catch (const AudioError& e) {
    EXPECT_NE(std::string(e.what()).find("x.ogg"), std::string::npos);
  }
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
