// Writing: each output format from a generated sine, checked with FFmpeg's
// own demuxers and decoders; and the output file's life cycle.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/audio/audio_file.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"

using namespace tonvara::test;
namespace fs = std::filesystem;

namespace {

struct WavCase {
  int in_rate, in_channels;
  int rate, channels, bits;
  const char* codec;
};

class WavWriter : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavWriter, HoldsEveryFrameInTheAskedFormat) {
  const WavCase& c = GetParam();
  TempDir dir;
  std::string path = (dir / "out.wav").string();
  const int64_t frames = c.in_rate * 13 / 10 + 7;
  TAudioFile2 writer;
  writer.SetWavFormat(c.rate, c.channels, c.bits);
  WriteWithOurWriter(writer, path, Sine(c.in_rate, c.in_channels, frames), c.in_rate);

  ProbedAudio probed = ProbeAudio(path);
  ASSERT_TRUE(probed.ok);
  EXPECT_EQ(probed.format_name, "wav");
  EXPECT_EQ(probed.codec_name, c.codec);
  EXPECT_EQ(probed.sample_rate, c.rate);
  EXPECT_EQ(probed.channels, c.channels);
  int64_t expected = (frames * c.rate + c.in_rate / 2) / c.in_rate;
  EXPECT_EQ(FfmpegDecodedFrames(path), expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, WavWriter,
                         ::testing::Values(WavCase{44100, 2, 44100, 2, 16, "pcm_s16le"},
                                           WavCase{44100, 2, 48000, 2, 32, "pcm_s32le"},
                                           WavCase{48000, 1, 22050, 2, 8, "pcm_u8"},
                                           WavCase{22050, 2, 8000, 1, 16, "pcm_s16le"}));

TEST(WavWriter, KeepsTheSamplesAndClipsOvers) {
  TempDir dir;
  std::string path = (dir / "clip.wav").string();
  TSampleBlock block(1, 4);
  block.Samples() = {0.25f, -0.5f, 1.5f, -3.0f};
  TAudioFile2 writer;
  writer.SetWavFormat(8000, 1, 32);
  WriteWithOurWriter(writer, path, block, 8000);
  std::vector<float> decoded = FfmpegDecodedSamples(path);
  ASSERT_EQ(decoded.size(), 4u);
  EXPECT_NEAR(decoded[0], 0.25f, 1e-6);
  EXPECT_NEAR(decoded[1], -0.5f, 1e-6);
  EXPECT_NEAR(decoded[2], 1.0f, 1e-6);
  EXPECT_NEAR(decoded[3], -1.0f, 1e-6);
}

TEST(WavWriter, MonoIsCopiedToBothChannelsAtFullLevel) {
  TempDir dir;
  std::string path = (dir / "up.wav").string();
  TAudioFile2 writer;
  writer.SetWavFormat(8000, 2, 32);
  WriteWithOurWriter(writer, path, Sine(8000, 1, 800, 100, 0.8), 8000);
  std::vector<float> decoded = FfmpegDecodedSamples(path);
  ASSERT_EQ(decoded.size(), 1600u);
  TSampleBlock sine = Sine(8000, 1, 800, 100, 0.8);
  EXPECT_NEAR(decoded[2 * 20], sine.Data()[20], 1e-6);
  EXPECT_NEAR(decoded[2 * 20 + 1], sine.Data()[20], 1e-6);
}

TEST(VoxWriter, WritesHeaderlessAdpcmAtTheVoxRate) {
  TempDir dir;
  std::string path = (dir / "out.vox").string();
  TAudioFile2 writer;
  writer.SetVoxFormat(8000);
  // Stereo 44.1 kHz in: mixed down and resampled to 8 kHz mono.
  WriteWithOurWriter(writer, path, Sine(44100, 2, 44100, 440, 0.5), 44100);
  // Two samples a byte, no header.
  EXPECT_EQ(fs::file_size(path), 4000u);
  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.SetVoxFormat(8000);
  reader.OpenRead(path, 0, 1);
  EXPECT_EQ(reader.SampleCount(), 8000);
  TSampleBlock block = reader.ReadSamples(8000);
  float peak = 0;
  for (float v : block.Samples()) peak = std::max(peak, std::abs(v));
  EXPECT_NEAR(peak, 0.5f, 0.1f);
}

TEST(VoxWriter, AnOddLastSampleIsPaddedNotLost) {
  TempDir dir;
  std::string path = (dir / "odd.vox").string();
  TAudioFile2 writer;
  writer.SetVoxFormat(8000);
  WriteWithOurWriter(writer, path, Sine(8000, 1, 801), 8000, 100);
  EXPECT_EQ(fs::file_size(path), 401u);
}

TEST(OutputFile, AppearsOnlyWhenClosedAndNeverReplacesAFile) {
  TempDir dir;
  std::string path = (dir / "a.wav").string();
  TAudioFile2 writer;
  writer.SetEnabled(true);
  writer.SetInputFormat(8000, 1);
  writer.OpenWrite(path, 0);
  writer.WriteSamples(Sine(8000, 1, 100));
  EXPECT_FALSE(fs::exists(path));
  writer.Close();
  EXPECT_TRUE(fs::exists(path));
  std::string before = ReadFileBytes(path);

  EXPECT_THROW(writer.OpenWrite(path, 0), AudioError);
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(ReadFileBytes(path), before);
  // Nothing but the finished file is left in the folder.
  int entries = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(OutputFile, AFailedWriteLeavesNoOutput) {
  TempDir dir;
  std::string path = (dir / "b.wav").string();
  TAudioFile2 writer;
  writer.SetEnabled(true);
  writer.SetInputFormat(8000, 2);
  writer.OpenWrite(path, 0);
  EXPECT_THROW(writer.WriteSamples(Sine(8000, 1, 100)), AudioError);  // wrong channel count
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_NO_THROW(writer.Close());
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(OutputFile, DisablingOrDestroyingAnOpenWriterDiscardsTheOutput) {
  TempDir dir;
  {
    TAudioFile2 writer;
    writer.SetEnabled(true);
    writer.SetInputFormat(8000, 1);
    writer.OpenWrite((dir / "c.wav").string(), 0);
    writer.WriteSamples(Sine(8000, 1, 100));
    writer.SetEnabled(false);
    EXPECT_FALSE(writer.IsOpen());
    writer.SetEnabled(true);
    writer.OpenWrite((dir / "d.wav").string(), 0);
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(OutputFile, BadNamesAreRefusedClearly) {
  TempDir dir;
  TAudioFile2 writer;
  writer.SetEnabled(true);
  writer.SetInputFormat(44100, 2);
  EXPECT_THROW(writer.OpenWrite((dir / "missing" / "x.wav").string(), 0), AudioError);
  EXPECT_THROW(writer.OpenWrite((dir / "x.flac").string(), 0), AudioError);
  writer.SetWavFormat(44100, 2, 12);
  try {
    writer.OpenWrite((dir / "x.wav").string(), 0);
    FAIL() << "12-bit WAV accepted";
  } catch (const AudioError& e) {
    EXPECT_NE(std::string(e.what()).find("x.wav"), std::string::npos);
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

}  // namespace
