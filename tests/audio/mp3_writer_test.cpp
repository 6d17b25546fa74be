// MP3 output: LAME properties, presets and command line, checked with
// ffprobe and ffmpeg; gapless decoding through the LAME/Info tag.
#include <gtest/gtest.h>

#include <functional>

#include "platform/audio/audio_file.h"
#include "platform/audio/lame_encoder.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"

using namespace tonvara::test;

namespace {

constexpr int kRate = 44100;
constexpr int64_t kFrames = 57337;  // 1.3 s, not a multiple of the MP3 frame

struct Mp3Case {
  const char* name;
  std::function<void(TAudioFile2LameEnc&)> configure;
  int rate;
  int channels;
  int kbps;  // expected bit rate, 0 when not checked
};

// Encodes the stereo sine with the settings; returns the file's path.
std::string Encode(const TempDir& dir, TAudioFile2LameEnc& lame, const std::string& name = "out.mp3") {
  std::string path = (dir / name).string();
  TAudioFile2 writer;
  writer.SetMp3Encoder(&lame);
  WriteWithOurWriter(writer, path, Sine(kRate, 2, kFrames, 1000, 0.5), kRate);
  return path;
}

// The settings the main window passes for a settings file without encoder
// sections.
void DefaultSettings(TAudioFile2LameEnc& l) {
  l.SetWriteVbrHeader(true);
  l.SetEnforceMinBitrate(false);
  l.SetCrc(false);
  l.SetAllowDiffShort(false);
  l.SetBitReservoir(true);
  l.SetShortBlocks(true);
  l.SetStrictIso(false);
  l.SetHighpassFreq(-1);
  l.SetLowpassFreq(-1);
  l.SetVbrMode(-1);
  l.SetAthMode(0);
  l.SetChannelMode(1);
  l.SetDeemphasis(0);
  l.SetQuality(5);
  l.SetBitrate(96);
  l.SetVbrBitrate(96);
  l.SetHighpassWidth(5);
  l.SetLowpassWidth(750);
  l.SetVbrQuality(5);
  l.SetOutputSampleRate(44100);
}

class Mp3Writer : public ::testing::TestWithParam<Mp3Case> {};

TEST_P(Mp3Writer, EncodesWithTheSettingsAndDecodesGapless) {
  const Mp3Case& c = GetParam();
  TempDir dir;
  TAudioFile2LameEnc lame;
  c.configure(lame);
  std::string path = Encode(dir, lame);

  ProbedAudio probed = ProbeAudio(path);
  ASSERT_TRUE(probed.ok);
  EXPECT_EQ(probed.format_name, "mp3");
  EXPECT_EQ(probed.codec_name, "mp3");
  EXPECT_EQ(probed.sample_rate, c.rate);
  EXPECT_EQ(probed.channels, c.channels);
  if (c.kbps > 0) {
    EXPECT_NEAR(probed.bit_rate / 1000.0, c.kbps, c.kbps * 0.05);
  }
  // The LAME/Info tag makes FFmpeg, and our reader, give back every frame.
  int64_t expected = (kFrames * c.rate + kRate / 2) / kRate;
  EXPECT_EQ(FfmpegDecodedFrames(path), expected);
  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.OpenRead(path, 0, 1);
  EXPECT_EQ(reader.SampleCount(), expected);
  // No ID3 tag from the encoder: the file starts with the tag frame.
  std::string bytes = ReadFileBytes(path);
  ASSERT_GT(bytes.size(), 200u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_TRUE(bytes.find("Info") < 200 || bytes.find("Xing") < 200);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Mp3Writer,
    ::testing::Values(
        Mp3Case{"NoSettings", [](TAudioFile2LameEnc&) {}, 44100, 2, 128},
        Mp3Case{"MainWindowDefaults", DefaultSettings, 44100, 2, 96},
        Mp3Case{"Resampled",
                [](TAudioFile2LameEnc& l) {
                  DefaultSettings(l);
                  l.SetOutputSampleRate(22050);
                  l.SetBitrate(64);
                },
                22050, 2, 64},
        Mp3Case{"ForcedMono",
                [](TAudioFile2LameEnc& l) {
                  DefaultSettings(l);
                  l.SetForceMono(1);
                  l.SetBitrate(64);
                },
                44100, 1, 64},
        Mp3Case{"ChannelModeAfterMono",
                [](TAudioFile2LameEnc& l) {
                  l.SetForceMono(1);
                  l.SetChannelMode(2);
                },
                44100, 2, 128},
        Mp3Case{"VbrMtrh",
                [](TAudioFile2LameEnc& l) {
                  DefaultSettings(l);
                  l.SetVbrMode(3);
                  l.SetVbrQuality(2);
                },
                44100, 2, 0},
        Mp3Case{"EveryExpertSwitch",
                [](TAudioFile2LameEnc& l) {
                  DefaultSettings(l);
                  l.SetCrc(true);
                  l.SetAllowDiffShort(true);
                  l.SetBitReservoir(false);
                  l.SetShortBlocks(false);
                  l.SetStrictIso(true);
                  l.SetHighpassFreq(100);
                  l.SetLowpassFreq(12000);
                  l.SetAthMode(3);
                  l.SetDeemphasis(2);
                  l.SetChannelMode(3);
                  l.SetQuality(2);
                  l.SetBitrate(160);
                },
                44100, 2, 160},
        Mp3Case{"PresetPhone", [](TAudioFile2LameEnc& l) { l.SetPreset(1); }, 8000, 1, 0},
        Mp3Case{"PresetCd", [](TAudioFile2LameEnc& l) { l.SetPreset(9); }, 44100, 2, 192},
        Mp3Case{"PresetR3Mix", [](TAudioFile2LameEnc& l) { l.SetPreset(11); }, 44100, 2, 0},
        Mp3Case{"AltPresetInsane", [](TAudioFile2LameEnc& l) { l.SetAltPreset(5); }, 44100, 2, 320},
        Mp3Case{"PresetAfterProperties",
                [](TAudioFile2LameEnc& l) {
                  DefaultSettings(l);
                  l.SetOutputSampleRate(22050);
                  l.SetPreset(10);
                },
                44100, 2, 256},
        Mp3Case{"CommandLine",
                [](TAudioFile2LameEnc& l) {
                  DefaultSettings(l);
                  l.SetCommandLine("-b 64 -m m -q 7 --lowpass 10 --highpass 0.1");
                },
                44100, 1, 64},
        Mp3Case{"CommandLineResample",
                [](TAudioFile2LameEnc& l) {
                  DefaultSettings(l);
                  l.SetCommandLine("--resample 32 -b 112 -h -p --strictly-enforce-ISO --nores");
                },
                32000, 2, 112},
        Mp3Case{"CommandLinePreset",
                [](TAudioFile2LameEnc& l) { l.SetCommandLine("--preset cbr 224"); }, 44100, 2, 224},
        Mp3Case{"CommandLineVbr",
                [](TAudioFile2LameEnc& l) { l.SetCommandLine("-V 2 -B 192 --abr 100 -V 4"); }, 44100, 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Mp3Writer, CommandLineErrorsNameTheOption) {
  TAudioFile2LameEnc lame;
  for (const char* bad : {"--bogus", "-b", "-b fast", "-m x", "--preset nonsense", "-V 12"}) {
    try {
      lame.SetCommandLine(bad);
      ADD_FAILURE() << bad << " accepted";
    } catch (const AudioError& e) {
      std::string first = std::string(bad).substr(0, std::string(bad).find(' '));
      EXPECT_NE(std::string(e.what()).find(first), std::string::npos) << e.what();
    }
  }
}

TEST(Mp3Writer, EachConfigurationStartsFresh) {
  TempDir dir;
  TAudioFile2LameEnc lame;
  // A preset run, then a run with properties: the preset is gone.
  lame.SetPreset(1);
  DefaultSettings(lame);
  EXPECT_EQ(ProbeAudio(Encode(dir, lame, "a.mp3")).sample_rate, 44100);
  // A command line, then a run without one: it is gone too.
  lame.SetCommandLine("-m m");
  DefaultSettings(lame);
  EXPECT_EQ(ProbeAudio(Encode(dir, lame, "b.mp3")).channels, 2);
  // An alternative preset alone leaves no earlier preset behind.
  lame.SetPreset(1);
  lame.SetAltPreset(2);
  EXPECT_EQ(ProbeAudio(Encode(dir, lame, "c.mp3")).sample_rate, 8000);
  lame.SetAltPreset(2);
  EXPECT_EQ(ProbeAudio(Encode(dir, lame, "d.mp3")).sample_rate, 44100);
}

TEST(Mp3Writer, ALowConstantRateWithoutRoomForTheTagIsNeverShorter) {
  // 32 kbit/s mono frames cannot hold the LAME tag; the output then starts
  // with the encoder's delay but keeps every input frame.
  TempDir dir;
  TAudioFile2LameEnc lame;
  DefaultSettings(lame);
  lame.SetForceMono(1);
  lame.SetBitrate(32);
  std::string path = Encode(dir, lame);
  EXPECT_GE(FfmpegDecodedFrames(path), kFrames);
  EXPECT_LT(FfmpegDecodedFrames(path), kFrames + 3 * 1152);
}

TEST(Mp3Writer, WithoutTheVbrHeaderNoTagFrameIsWritten) {
  TempDir dir;
  TAudioFile2LameEnc lame;
  DefaultSettings(lame);
  lame.SetWriteVbrHeader(false);
  std::string bytes = ReadFileBytes(Encode(dir, lame));
  EXPECT_EQ(bytes.find("Info"), std::string::npos);
  EXPECT_EQ(bytes.find("Xing"), std::string::npos);
}

}  // namespace
