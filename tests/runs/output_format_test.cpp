#include "app/output_format.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/runs/recording_audio.h"
#include "tests/support/temp_dir.h"

using tonvara::test::RecordingEncoder;
using tonvara::test::RecordingWriter;
using Calls = std::vector<std::string>;

namespace {

class OutputFormatTest : public ::testing::Test {
 protected:
  void GivenSettings(const std::string& text) { WriteFileBytes(file, text); }
  void Configure(int32_t format, const std::string& commandLine = {}) {
    TSettingsStore store(file);
    ConfigureOutputFormat(format, store, writer, encoder, commandLine);
  }

  TempDir dir;
  std::filesystem::path file = dir / "tonvara.ini";
  RecordingWriter writer;
  RecordingEncoder encoder;
};

// The full property sequence for a settings file without encoder sections.
const Calls DefaultMp3Calls = {
    "WriteVbrHeader 1", "EnforceMinBitrate 0", "Crc 0",          "AllowDiffShort 0", "BitReservoir 1",
    "ShortBlocks 1",    "StrictIso 0",         "HighpassFreq -1", "LowpassFreq -1",   "VbrMode -1",
    "AthMode 0",        "ChannelMode 1",       "Deemphasis 0",    "Quality 5",        "Bitrate 96",
    "VbrBitrate 96",    "HighpassWidth 5",     "LowpassWidth 750", "VbrQuality 5",    "OutputSampleRate 44100"};

TEST_F(OutputFormatTest, Mp3WithoutEncoderSectionsSetsEveryPropertyInOrderThenAttachesTheEncoder) {
  Configure(0);
  EXPECT_EQ(encoder.calls, DefaultMp3Calls);
  EXPECT_EQ(writer.calls, Calls{"Mp3Encoder"});
  EXPECT_EQ(writer.encoder, &encoder);
}

TEST_F(OutputFormatTest, Mp3StoredValuesReachTheirProperties) {
  GivenSettings(
      "[MP3VBR]\nvbrck=0\nsemb=1\nCoding Method=3\nvbr bitrate=14\nvbr quality=2\n"
      "[MP3Filt]\nchHFilt=1\nudHFiltF=120\nudHFiltW=40\nchLFilt=1\nudLFiltF=16000\nudLFiltW=900\n"
      "[MP3Expert]\ncrc=1\nallow=1\nBit=0\nshort=0\ncomply=1\nath=2\nde=1\n"
      "[mp3]\nchannel=3\nquality=0\nbitrate=16\nfrequency=0\n");
  Configure(0);
  EXPECT_EQ(encoder.calls,
            (Calls{"WriteVbrHeader 0", "EnforceMinBitrate 1", "Crc 1", "AllowDiffShort 1", "BitReservoir 0",
                   "ShortBlocks 0", "StrictIso 1", "HighpassFreq 120", "LowpassFreq 16000", "VbrMode 2",
                   "AthMode 2", "ChannelMode 3", "Deemphasis 1", "Quality 0", "Bitrate 320", "VbrBitrate 224",
                   "HighpassWidth 40", "LowpassWidth 900", "VbrQuality 2", "OutputSampleRate 8000"}));
}

TEST_F(OutputFormatTest, Mp3MonoSetsOnlyForceMonoAndALaterRunOnlyTheChannelMode) {
  GivenSettings("[mp3]\nchannel=0\n");
  Configure(0);
  GivenSettings("[mp3]\nchannel=2\n");
  Configure(0);
  Calls mono = DefaultMp3Calls, joint = DefaultMp3Calls;
  mono[11] = "ForceMono 1";
  joint[11] = "ChannelMode 2";
  Calls both = mono;
  both.insert(both.end(), joint.begin(), joint.end());
  EXPECT_EQ(encoder.calls, both);
}

TEST_F(OutputFormatTest, Mp3PresetModeSetsOnlyThePresetsAndTheCommandLine) {
  struct Case {
    const char* settings;
    Calls expected;
  };
  const Case cases[] = {
      {"[MP3Prest]\npreset=1\nalt=1\nrg_prest=8\nrg_alt=4\n", {"Preset 9", "AltPreset 5", "CommandLine -q 2"}},
      {"[MP3Prest]\npreset=1\nrg_prest=0\nrg_alt=4\n", {"Preset 1", "CommandLine -q 2"}},
      {"[MP3Prest]\nalt=1\nrg_prest=3\nrg_alt=0\n", {"AltPreset 1", "CommandLine -q 2"}},
      // A hand-edited position outside its list reads as the key's default.
      {"[MP3Prest]\npreset=1\nrg_prest=11\n", {"Preset 1", "CommandLine -q 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    encoder.calls.clear();
    writer.calls.clear();
    GivenSettings(c.settings);
    Configure(0, "-q 2");
    EXPECT_EQ(encoder.calls, c.expected);
    EXPECT_EQ(writer.calls, Calls{"Mp3Encoder"});
  }
}

TEST_F(OutputFormatTest, CommandLineFollowsThePropertiesAndAnEmptyOneSendsNothing) {
  Configure(0, "-b 192 -m j");
  ASSERT_EQ(encoder.calls.size(), DefaultMp3Calls.size() + 1);
  EXPECT_EQ(encoder.calls.back(), "CommandLine -b 192 -m j");
  encoder.calls.clear();
  Configure(0, "");
  EXPECT_EQ(encoder.calls, DefaultMp3Calls);
}

TEST_F(OutputFormatTest, OutOfRangePositionsReadAsTheKeysDefaults) {
  GivenSettings(
      "[mp3]\nbitrate=17\nfrequency=-1\nchannel=9\nquality=10\n[MP3VBR]\nvbr bitrate=15\nCoding Method=7\n");
  Configure(0);
  EXPECT_EQ(encoder.calls, DefaultMp3Calls);
}

TEST_F(OutputFormatTest, WavModesCloseAnOpenWriterFirst) {
  struct Case {
    const char* settings;
    Calls expected;
  };
  const Case cases[] = {
      {"", {"Close", "WavFormat 44100 2 16"}},
      {"[wav]\nmode=1\nfrequency=0\nchannel=0\nbit=0\n", {"Close", "WavFormat 48000 2 32"}},
      {"[wav]\nmode=2\nfrequency=4\nchannel=0\nbit=0\n", {"Close", "WavFormat 22050 1 8"}},
      {"[wav]\nmode=2\n", {"Close", "WavFormat 44100 2 16"}},
      {"[wav]\nmode=2\nfrequency=9\nbit=2\nchannel=2\n", {"Close", "WavFormat 44100 2 16"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    writer.calls.clear();
    writer.open = true;
    GivenSettings(c.settings);
    Configure(1);
    EXPECT_EQ(writer.calls, c.expected);
  }
  writer.calls.clear();
  Configure(1);
  EXPECT_EQ(writer.calls, Calls{"WavFormat 44100 2 16"}) << "a closed writer is not closed again";
  EXPECT_TRUE(encoder.calls.empty());
}

TEST_F(OutputFormatTest, WmaOggAndVoxSettingsGiveTheirFormatCalls) {
  struct Case {
    int32_t format;
    const char* settings;
    Calls expected;
  };
  const Case cases[] = {
      {2, "", {"WmaProfile 10"}},
      {2, "[wma]\nformat=46\n", {"WmaProfile 47"}},
      {2, "[wma]\nformat=47\n", {"WmaProfile 10"}},
      {3, "", {"OggFormat 44100 2 96 0 0 -1"}},
      {3, "[ogg]\nbitrate=14\nchannel=0\nfrequency=8\n", {"OggFormat 48000 1 224 0 0 -1"}},
      {3, "[ogg]\noggquality=1\nquality=750\nbitrate=3\n", {"OggFormat 44100 2 0 0 0 750"}},
      {3, "[ogg]\noggvbr=1\nbitrate=11\nmin bitrate=7\nmax bitrate=13\n", {"OggFormat 44100 2 128 64 192 -1"}},
      {3, "[ogg]\noggvbr=1\noggquality=1\nquality=100\n", {"OggFormat 44100 2 0 0 0 100", "OggFormat 44100 2 96 96 96 -1"}},
      {3, "[ogg]\noggquality=1\nquality=1001\n", {"OggFormat 44100 2 0 0 0 300"}},
      {4, "", {"VoxFormat 44100"}},
      {4, "[VOX]\nVOX=0\n", {"VoxFormat 8000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    writer.calls.clear();
    GivenSettings(c.settings);
    Configure(c.format);
    EXPECT_EQ(writer.calls, c.expected);
  }
  EXPECT_TRUE(encoder.calls.empty());
}

TEST_F(OutputFormatTest, AnIndexOutsideTheFormatsConfiguresNothing) {
  writer.open = true;
  for (int32_t format : {-1, 5, 100}) {
    Configure(format, "-b 128");
    EXPECT_TRUE(writer.calls.empty()) << format;
    EXPECT_TRUE(encoder.calls.empty()) << format;
    EXPECT_EQ(OutputExtension(format), "");
  }
  EXPECT_EQ(OutputExtension(0), ".mp3");
  EXPECT_EQ(OutputExtension(4), ".vox");
}

}  // namespace
