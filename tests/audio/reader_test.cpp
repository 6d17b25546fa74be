// Reading: every input format with the exact frame count that the blocks
// then deliver, checked against ffmpeg's own decoding.
#include <gtest/gtest.h>

#include "platform/audio/audio_file.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"

using namespace tonvara::test;

namespace {

const std::string kData = TONVARA_AUDIO_TEST_DATA;

struct ReadCase {
  const char* name;
  const char* ffmpeg_output_options;  // how ffmpeg encodes the fixture
  int rate;
  int channels;
};

// A 1.3 s stereo sine source that ffmpeg encodes into each input format.
std::string SineInput(int rate) {
  return "-f lavfi -i \"sine=frequency=440:sample_rate=" + std::to_string(rate) + ":duration=1.3\"";
}

class ReaderFormats : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReaderFormats, CountsExactlyWhatTheBlocksDeliver) {
  const ReadCase& c = GetParam();
  TempDir dir;
  std::string path = (dir / c.name).string();
  ASSERT_TRUE(RunFfmpeg(SineInput(c.rate) + " -ac " + std::to_string(c.channels) + " " + c.ffmpeg_output_options + " " + ShellQuote(path)));
  int64_t expected = FfmpegDecodedFrames(path);
  ASSERT_GT(expected, 0);

  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.OpenRead(path, 0, 1);
  EXPECT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.SampleRate(), c.rate);
  EXPECT_EQ(reader.StreamSampleRate(), c.rate);
  EXPECT_EQ(reader.Channels(), c.channels);
  EXPECT_EQ(reader.StreamChannels(), c.channels);
  EXPECT_EQ(reader.SampleCount(), expected);
  EXPECT_EQ(reader.DurationMs(), (expected * 1000 + c.rate / 2) / c.rate);
  EXPECT_EQ(ReadAllFrames(reader), expected);
  reader.Close();
  EXPECT_FALSE(reader.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ReaderFormats,
    ::testing::Values(ReadCase{"u8.wav", "-c:a pcm_u8", 22050, 1},
                      ReadCase{"s16.wav", "-c:a pcm_s16le", 44100, 2},
                      ReadCase{"s24.wav", "-c:a pcm_s24le", 48000, 2},
                      ReadCase{"s32.wav", "-c:a pcm_s32le", 44100, 1},
                      ReadCase{"f32.wav", "-c:a pcm_f32le", 32000, 2},
                      ReadCase{"info.mp3", "-c:a libmp3lame -b:a 128k", 44100, 2},
                      ReadCase{"noxing.mp3", "-c:a libmp3lame -b:a 64k -write_xing 0", 22050, 1},
                      ReadCase{"vorbis.ogg", "-c:a libvorbis -q:a 3", 44100, 2},
                      ReadCase{"v2.wma", "-c:a wmav2 -b:a 128k", 44100, 2},
                      ReadCase{"v1.wma", "-c:a wmav1 -b:a 64k", 22050, 1}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& ch : n)
        if (ch == '.') ch = '_';
      return n;
    });

TEST(Reader, RealAudioWithoutStatedLengthIsCountedByScanning) {
  // The container states no duration; only a decode scan finds the length.
  std::string path = kData + "/sine.rm";
  ASSERT_EQ(ProbeAudio(path).duration, 0.0);
  int64_t expected = FfmpegDecodedFrames(path);
  ASSERT_GT(expected, 0);
  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.OpenRead(path, 0, 1);
  EXPECT_EQ(reader.SampleRate(), 8000);
  EXPECT_EQ(reader.Channels(), 1);
  EXPECT_EQ(reader.SampleCount(), expected);
  EXPECT_GT(reader.DurationMs(), 1400);
  EXPECT_EQ(ReadAllFrames(reader, 441000), expected);
}

TEST(Reader, Mp3WithCoverArtReadsTheAudioStream) {
  TempDir dir;
  std::string cover = (dir / "cover.png").string();
  std::string mp3 = (dir / "cover.mp3").string();
  ASSERT_TRUE(RunFfmpeg("-f lavfi -i color=c=red:s=32x32 -frames:v 1 " + ShellQuote(cover)));
  ASSERT_TRUE(RunFfmpeg(SineInput(44100) + " -i " + ShellQuote(cover) +
                        " -ac 2 -map 0:a -map 1:v -c:a libmp3lame -c:v png -disposition:v attached_pic " +
                        ShellQuote(mp3)));
  int64_t expected = FfmpegDecodedFrames(mp3);
  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.OpenRead(mp3, 0, 1);
  EXPECT_EQ(reader.Channels(), 2);
  EXPECT_EQ(reader.SampleCount(), expected);
  EXPECT_EQ(ReadAllFrames(reader), expected);
}

TEST(Reader, BlocksHoldTheDecodedSamplesInOrder) {
  TempDir dir;
  std::string path = (dir / "ramp.wav").string();
  TSampleBlock sine = Sine(8000, 2, 5000, 300, 0.7);
  TAudioFile2 writer;
  writer.SetWavFormat(8000, 2, 32);
  WriteWithOurWriter(writer, path, sine, 8000);

  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.OpenRead(path, 0, 1);
  ASSERT_EQ(reader.SampleCount(), 5000);
  TSampleBlock first = reader.ReadSamples(3000);
  TSampleBlock second = reader.ReadSamples(3000);
  TSampleBlock end = reader.ReadSamples(3000);
  EXPECT_EQ(first.Frames(), 3000);
  EXPECT_EQ(first.UpperBound(), 2999);
  EXPECT_EQ(second.Frames(), 2000);
  EXPECT_EQ(end.UpperBound(), -1);
  EXPECT_NEAR(first.Data()[2 * 100], sine.Data()[2 * 100], 1e-6);
  EXPECT_NEAR(second.Data()[2 * 1999 + 1], sine.Data()[2 * 4999 + 1], 1e-6);
}

TEST(Reader, VoxIsReadAtTheRateLastSet) {
  TempDir dir;
  std::string path = (dir / "voice.vox").string();
  TAudioFile2 writer;
  writer.SetVoxFormat(11025);
  WriteWithOurWriter(writer, path, Sine(11025, 1, 11024), 11025);

  for (int rate : {8000, 11025}) {
    TAudioFile2 reader;
    reader.SetEnabled(true);
    reader.SetVoxFormat(rate);
    reader.OpenRead(path, 0, 1);
    EXPECT_EQ(reader.SampleRate(), rate);
    EXPECT_EQ(reader.Channels(), 1);
    EXPECT_EQ(reader.SampleCount(), 11024);
    EXPECT_EQ(reader.DurationMs(), (11024 * 1000 + rate / 2) / rate);
    EXPECT_EQ(ReadAllFrames(reader), 11024);
  }
}

TEST(Reader, DisabledObjectRefusesToOpenAndAResetRecoversFromAFailedOpen) {
  TAudioFile2 reader;
  EXPECT_THROW(reader.OpenRead(kData + "/sine.rm", 0, 1), AudioError);
  reader.SetEnabled(true);
  EXPECT_THROW(reader.OpenRead(kData + "/absent.mp3", 0, 1), AudioError);
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.DurationMs(), 0);
  // The main window's reset after a failed open: close, disable, enable.
  reader.Close();
  reader.SetEnabled(false);
  reader.SetEnabled(true);
  EXPECT_NO_THROW(reader.OpenRead(kData + "/sine.rm", 0, 1));
  EXPECT_GT(reader.DurationMs(), 0);
  // An open object refuses a second open until it is closed.
  EXPECT_THROW(reader.OpenRead(kData + "/sine.rm", 0, 1), AudioError);
  reader.SetEnabled(false);
  EXPECT_FALSE(reader.IsOpen());
}

}  // namespace
