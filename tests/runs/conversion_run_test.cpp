#include "app/conversion_run.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/audio/ffprobe_helper.h"
#include "tests/audio/vorbisfile_reader.h"
#include "tests/runs/run_fixture.h"

namespace fs = std::filesystem;
using namespace tonvara::test;

namespace {

// 33 whole blocks: the run's count ends the file with every frame read.
constexpr int64_t WholeBlocks = 33 * TConversionRun::BlockFrames;

class ConversionRunTest : public RunFixture {
 protected:
  void Convert() {
    TConversionRun run(context);
    run.Run();
  }
};

TEST_F(ConversionRunTest, EveryFormatIsWrittenAsConfigured) {
  struct Case {
    int32_t format;
    const char* settings;  // "section key value" triples, applied in order
    const char* name;
    std::string codec;
    int rate;
    int channels;
  };
  const Case cases[] = {
      {0, "mp3 frequency 8 mp3 channel 0", "Tone.mp3", "mp3", 48000, 1},
      {1, "wav mode 2 wav frequency 4 wav channel 0 wav bit 0", "Tone.wav", "pcm_u8", 22050, 1},
      {2, "wma format 18", "Tone.wma", "wmav2", 32000, 2},
      {3, "ogg frequency 6 ogg channel 0", "Tone.ogg", "vorbis", 32000, 1},
      {4, "VOX VOX 0", "Tone.vox", "", 8000, 1},
  };
  const std::string source = SineSource("Tone.wav", WholeBlocks);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::istringstream settings(c.settings);
    std::string section, key;
    int32_t value;
    while (settings >> section >> key >> value) Setting(section, key, value);
    host.rows.clear();
    AddRow("Tone", source);
    state.OutputFormat = c.format;
    Convert();
    ASSERT_TRUE(host.errors.empty()) << host.errors.front();
    EXPECT_EQ(host.Statuses(), std::vector<std::string>{"完成"});
    const std::string out = Out(c.name).string();
    ASSERT_TRUE(fs::exists(out));
    const int64_t expected = std::llround(static_cast<double>(WholeBlocks) * c.rate / 44100);
    if (c.format == 4) {
      // Headerless Dialogic ADPCM at 8000 Hz: two frames a byte.
      EXPECT_EQ(static_cast<int64_t>(fs::file_size(out)), (expected + 1) / 2);
      continue;
    }
    const ProbedAudio probed = ProbeAudio(out);
    ASSERT_TRUE(probed.ok);
    EXPECT_EQ(probed.codec_name, c.codec);
    EXPECT_EQ(probed.sample_rate, c.rate);
    EXPECT_EQ(probed.channels, c.channels);
    // WMA pads its last frame and adds one; the others are exact. This OGG
    // output's audio fits on one page, whose last 128 frames FFmpeg drops,
    // so libvorbisfile counts it.
    const int64_t frames = c.format == 3 ? VorbisfileDecodedFrames(out) : FfmpegDecodedFrames(out);
    EXPECT_GE(frames, expected);
    EXPECT_LE(frames, expected + (c.format == 2 ? 4096 : 0));
  }
  EXPECT_FALSE(state.Busy);
  EXPECT_EQ(host.resets, 5);
}

// Frame f of the left channel of a decoded stereo WAV.
float Left(const std::vector<float>& samples, int64_t f) { return samples.at(static_cast<std::size_t>(2 * f)); }

TEST_F(ConversionRunTest, FadesRampFromSilenceAndBackToSilence) {
  // 3 s at a steady 0.5; one second of fade each way.
  constexpr int64_t Frames = 3 * 44100;
  AddRow("Level", LevelSource("Level.wav", Frames));
  state.OutputFormat = 1;
  state.FadeIn = state.FadeOut = true;
  state.FadeInTime = state.FadeOutTime = 1;
  Convert();
  const std::vector<float> s = FfmpegDecodedSamples(Out("Level.wav").string());
  ASSERT_EQ(static_cast<int64_t>(s.size()), 2 * Frames);
  const float tolerance = 2.0f / 32768;
  // Fade-in: exactly the first second, read as one block.
  EXPECT_NEAR(Left(s, 0), 0.0f, tolerance);
  EXPECT_NEAR(Left(s, 22050), 0.25f, 0.001f);
  EXPECT_NEAR(Left(s, 44099), 0.5f, tolerance);
  EXPECT_NEAR(Left(s, 60000), 0.5f, tolerance);
  // Fade-out: from the first block boundary where the run's count shows at
  // most a second left (44100 + 22 blocks read) to the last frame.
  constexpr int64_t FadeOutStart = 44100 + 22 * TConversionRun::BlockFrames;
  EXPECT_NEAR(Left(s, FadeOutStart - 1), 0.5f, tolerance);
  EXPECT_NEAR(Left(s, FadeOutStart), 0.5f, tolerance);
  EXPECT_NEAR(Left(s, (FadeOutStart + Frames - 1) / 2), 0.25f, 0.001f);
  EXPECT_NEAR(Left(s, Frames - 1), 0.0f, tolerance);
  for (int64_t f = FadeOutStart + 1; f < Frames; ++f) ASSERT_LE(Left(s, f), Left(s, f - 1) + tolerance) << f;
}

TEST_F(ConversionRunTest, AFileShorterThanTheFadeOutIsOneBlockWithBothRamps) {
  constexpr int64_t Frames = 22050;  // half a second
  AddRow("Short", LevelSource("Short.wav", Frames));
  state.OutputFormat = 1;
  state.FadeIn = state.FadeOut = true;
  state.FadeInTime = state.FadeOutTime = 1;
  Convert();
  const std::vector<float> s = FfmpegDecodedSamples(Out("Short.wav").string());
  ASSERT_EQ(static_cast<int64_t>(s.size()), 2 * Frames);
  // Rising then falling gain on the same block: 0.5 x t x (1 - t).
  EXPECT_NEAR(Left(s, 0), 0.0f, 1e-4f);
  EXPECT_NEAR(Left(s, Frames / 4), 0.5f * 0.25f * 0.75f, 0.001f);
  EXPECT_NEAR(Left(s, Frames / 2), 0.125f, 0.001f);
  EXPECT_NEAR(Left(s, Frames - 1), 0.0f, 1e-4f);
  // One block: the row's pass and one block's pass.
  EXPECT_EQ(host.pumps, 2);
}

TEST_F(ConversionRunTest, ASourceOfExactlyOneBlockEndsAfterThatBlock) {
  AddRow("One", SineSource("One.wav", TConversionRun::BlockFrames));
  state.OutputFormat = 1;
  Convert();
  EXPECT_EQ(host.pumps, 2);
  // Position 2033 of 2034: 9995; then 0 after the row and at the end.
  EXPECT_EQ(host.progress, (std::vector<int32_t>{0, 9995, 0, 0}));
  EXPECT_EQ(FfmpegDecodedFrames(Out("One.wav").string()), TConversionRun::BlockFrames);
}

TEST_F(ConversionRunTest, AStopLeavesAShorterDecodableOutputAndEndsTheRun) {
  AddRow("Long", SineSource("Long.wav", WholeBlocks));
  AddRow("Next", SineSource("Next.wav", 4410));
  host.rows[0].record.Artist = "Someone";
  state.OutputFormat = 0;
  // Pass 1 is the row's, passes 2..4 come before blocks 1..3.
  host.onPump = [this](int pass) {
    if (pass == 5) state.Busy = false;
  };
  Convert();
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"完成", "未转换"}));
  EXPECT_EQ(FfmpegDecodedFrames(Out("Long.mp3").string()), 3 * TConversionRun::BlockFrames);
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"Long.mp3"});
  EXPECT_FALSE(state.Busy);
  EXPECT_EQ(host.resets, 1);
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_FALSE(writer.IsOpen());
}

TEST_F(ConversionRunTest, SameCaptionsGetNumberedNamesAndNothingIsOverwritten) {
  const std::string source = SineSource("Song.wav", 4410);
  AddRow("Song", source);
  AddRow("Song", source);
  AddRow("Song.flac", source);
  fs::create_directories(OutDir());
  WriteFileBytes(Out("Song_1.wav"), "keep");
  state.OutputFormat = 1;
  state.Playing = true;
  // A format change during the run takes effect at the next run.
  host.onPump = [this](int) { state.OutputFormat = 3; };
  Convert();
  EXPECT_EQ(host.previewStops, 1) << "a playing preview is stopped first";
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Song.wav", "Song_1.wav", "Song_2.wav", "Song_3.wav"}));
  EXPECT_EQ(ReadFileBytes(Out("Song_1.wav")), "keep");
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"完成", "完成", "完成"}));
}

TEST_F(ConversionRunTest, BadRowsAreReportedAndTheRunGoesOn) {
  const std::string missing = (dir / "src" / "Gone.wav").string();
  const std::string corrupt = (dir / "src" / "Broken.wav").string();
  WriteFileBytes(corrupt, std::string("RIFF\x10\0\0\0WAVEjunk", 16) + std::string(3000, '\x7f'));
  const std::string good = SineSource("Good.wav", 4410);
  fs::create_directories(OutDir());
  WriteFileBytes(Out("Full.wav"), "");
  for (int n = 1; n <= 100; ++n) WriteFileBytes(Out("Full_" + std::to_string(n) + ".wav"), "");
  AddRow("Gone", missing);
  AddRow("Broken", corrupt);
  AddRow("Full", good);
  AddRow("Good", good);
  state.OutputFormat = 1;
  Convert();
  EXPECT_EQ(host.infos, std::vector<std::string>{missing + " 已被移除."});
  ASSERT_EQ(host.errors.size(), 2u);
  EXPECT_NE(host.errors[0].find(corrupt), std::string::npos) << host.errors[0];
  EXPECT_NE(host.errors[1].find("Full"), std::string::npos) << host.errors[1];
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"未转换", "失败", "失败", "完成"}));
  EXPECT_TRUE(fs::exists(Out("Good.wav")));
  EXPECT_FALSE(fs::exists(Out("Broken.wav")));
  EXPECT_EQ(OutputNames().size(), 102u) << "no temporary file is left behind";
  EXPECT_FALSE(state.Busy);
}

// Fails the n-th block write, after earlier blocks reached the output.
class FailingWriter : public TAudioFile2 {
 public:
  int failAt = 0;
  int writes = 0;
  void WriteSamples(const TSampleBlock& block) override {
    if (++writes == failAt) throw AudioError("disk full");
    TAudioFile2::WriteSamples(block);
  }
};

TEST_F(ConversionRunTest, AWriteFailureRemovesThatRowsOutputAndTheNextRowIsConverted) {
  FailingWriter failing;
  failing.SetEnabled(true);
  failing.failAt = 3;
  TRunContext ctx{state, store, reader, failing, encoder, transform, host};
  AddRow("First", SineSource("First.wav", WholeBlocks));
  AddRow("Second", SineSource("Second.wav", 4410));
  state.OutputFormat = 0;
  TConversionRun(ctx).Run();
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(host.errors[0].find("First.wav"), std::string::npos);
  EXPECT_NE(host.errors[0].find("disk full"), std::string::npos);
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"失败", "完成"}));
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"Second.mp3"});
}

TEST_F(ConversionRunTest, RunsThatCannotStartTouchNoRow) {
  AddRow("Song", SineSource("Song.wav", 4410));
  fs::create_directories(OutDir());
  WriteFileBytes(dir / "file", "");
  struct Case {
    const char* what;
    std::function<void()> given;
    std::string error;  // "" when the run returns without a word
  };
  const Case cases[] = {
      {"folder under a file", [&] { store.Write(keys::FormatDir, (dir / "file" / "sub").string()); },
       "无法创建输出目录: " + (dir / "file" / "sub").string()},
      {"bad command line", [&] { host.commandLine = "--no-such-option"; }, "输出格式设置有误"},
      {"already busy", [&] { state.Busy = true; }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    store.Write(keys::FormatDir, OutDir().string());
    host.commandLine.clear();
    host.errors.clear();
    state.OutputFormat = 0;
    c.given();
    Convert();
    if (c.error.empty()) {
      EXPECT_TRUE(host.errors.empty());
      EXPECT_TRUE(state.Busy) << "the running run keeps its flag";
      state.Busy = false;
    } else {
      ASSERT_EQ(host.errors.size(), 1u);
      EXPECT_EQ(host.errors[0].rfind(c.error, 0), 0u) << host.errors[0];
      EXPECT_FALSE(state.Busy);
    }
    EXPECT_EQ(host.Statuses(), std::vector<std::string>{"未转换"});
    EXPECT_TRUE(OutputNames().empty());
  }
  host.rows.clear();
  Convert();
  EXPECT_EQ(host.infos, std::vector<std::string>{"请添加文件!"});
}

TEST_F(ConversionRunTest, ANestedFolderIsCreatedAndAnEmptyOneMeansTheMusicFolder) {
  AddRow("Song", SineSource("Song.wav", 4410));
  state.OutputFormat = 1;
  store.Write(keys::FormatDir, (dir / "a" / "b").string());
  Convert();
  EXPECT_TRUE(fs::exists(dir / "a" / "b" / "Song.wav"));
  EXPECT_EQ(state.OutputDir, (dir / "a" / "b").string());

  const char* oldHome = getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  setenv("HOME", dir.Path().c_str(), 1);
  if (DefaultOutputDir() != (dir / "Music").string()) {
    setenv("HOME", savedHome.c_str(), 1);
    GTEST_SKIP() << "the music folder does not follow HOME here";
  }
  store.Write(keys::FormatDir, "");
  Convert();
  setenv("HOME", savedHome.c_str(), 1);
  EXPECT_TRUE(fs::exists(dir / "Music" / "Song.wav"));
  EXPECT_EQ(state.OutputDir, (dir / "Music").string());
}

}  // namespace
