// tonvara-cli end to end: the built program run on generated files, its
// outputs read back by FFmpeg's tools, its JSON parsed with Qt.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/audio/audio_file.h"
#include "platform/audio/lame_encoder.h"
#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"

namespace tonvara::test {
namespace {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
 protected:
  CliTest() { fs::create_directories(dir / "config"); }

  // A generated source written by our own writer for its extension.
  std::string Source(const std::string& relative, const TSampleBlock& block, int rate = 44100) {
    const fs::path path = dir / relative;
    fs::create_directories(path.parent_path());
    TAudioFile2 writer;
    TAudioFile2LameEnc encoder;
    writer.SetMp3Encoder(&encoder);
    WriteWithOurWriter(writer, path.string(), block, rate);
    return path.string();
  }
  std::string SineSource(const std::string& relative, double seconds, int channels = 2, int rate = 44100,
                         double frequency = 440) {
    return Source(relative, Sine(rate, channels, static_cast<int64_t>(seconds * rate), frequency), rate);
  }
  std::string LevelSource(const std::string& relative, double seconds, float level) {
    TSampleBlock block(2, static_cast<int64_t>(seconds * 44100));
    std::fill(block.Samples().begin(), block.Samples().end(), level);
    return Source(relative, block);
  }
  std::string Garbage(const std::string& relative) {
    const fs::path path = dir / relative;
    fs::create_directories(path.parent_path());
    std::string bytes(6000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
    WriteFileBytes(path, bytes);
    return path.string();
  }
  std::string Out(const std::string& name = "out") const { return (dir / name).string(); }

  CliResult Cli(const std::vector<std::string>& args, CliOptions options = {}) {
    if (options.configHome.empty()) options.configHome = dir / "config";
    return RunCli(args, options);
  }

  std::vector<std::string> Names(const std::string& folder) const {
    std::vector<std::string> names;
    if (!fs::exists(folder)) return names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
};

QJsonArray JsonArray(const std::string& text) {
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
  EXPECT_TRUE(doc.isArray()) << text;
  return doc.array();
}

std::string Str(const QJsonObject& o, const char* key) { return o.value(key).toString().toStdString(); }

float Peak(const std::vector<float>& samples, std::size_t from, std::size_t to) {
  float peak = 0;
  for (std::size_t i = from; i < std::min(to, samples.size()); ++i) peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

TEST_F(CliTest, UsageErrorsExitTwoWithAOneLineHint) {
  const std::string wav = SineSource("a.wav", 0.2);
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"decode", wav},
      {"convert"},
      {"convert", "--bogus", wav},
      {"convert", "-f", "flac", wav},
      {"convert", "-j", "0", wav},
      {"convert", "--fade-in", "21", wav},
      {"convert", "--fade-out", "x", wav},
      {"convert", wav, "-o"},
      {"convert", "--json", wav},
      {"info", "--normalize", wav},
      {"tags", "--title", "T", wav},
      {"info", "--config", (dir / "missing.ini").string(), wav},
      {"--version", "extra"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    const CliResult r = Cli(args);
    EXPECT_EQ(r.code, 2) << joined;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << joined << r.err;
    EXPECT_NE(r.err.find("tonvara-cli --help"), std::string::npos) << joined << r.err;
    EXPECT_TRUE(r.out.empty()) << joined;
  }
  EXPECT_TRUE(Names(Out()).empty());

  const CliResult help = Cli({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("tonvara-cli convert"), std::string::npos);
  const CliResult version = Cli({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("tonvara-cli ", 0), 0u);
}

// A folder adds its audio entries in name order, no subfolders; every file
// passes the tag step (cleaned title as caption) and the property step.
TEST_F(CliTest, InfoJsonListsAFolderLikeTheWindowsFolderCommand) {
  const std::string mp3 = SineSource("music/a.MP3", 1.0);
  ID3StructV2 tag;
  tag.Title = " Song: One ";
  tag.Artist = "歌手";
  tag.Album = "Album";
  tag.Comment = "note";
  WriteID3Tag(mp3, tag);
  const std::string wav = SineSource("music/b.wav", 1.5, 1, 22050);
  WriteFileBytes(dir / "music" / "c.txt", "text");
  SineSource("music/sub/d.wav", 0.5);
  Garbage("music/e.ogg");

  const CliResult r = Cli({"info", "--json", (dir / "music").string()}, {.lang = "zh_CN.UTF-8"});
  EXPECT_EQ(r.code, 1) << "an unsupported file fails the command";
  EXPECT_NE(r.err.find("e.ogg 此文件不被支持."), std::string::npos) << r.err;

  const QJsonArray files = JsonArray(r.out);
  ASSERT_EQ(files.size(), 2);
  const QJsonObject a = files[0].toObject();
  const QJsonObject b = files[1].toObject();
  EXPECT_EQ(Str(a, "path"), mp3);
  EXPECT_EQ(Str(a, "caption"), "Song One");
  EXPECT_EQ(Str(a, "title"), "Song One");
  EXPECT_EQ(Str(a, "artist"), "歌手");
  EXPECT_EQ(Str(a, "album"), "Album");
  EXPECT_EQ(Str(a, "comment"), "note");
  EXPECT_EQ(Str(a, "year"), "") << "no format fills the year";
  EXPECT_EQ(a["sample_rate"].toInt(), 44100);
  EXPECT_EQ(a["channels"].toInt(), 2);
  EXPECT_EQ(a["duration_ms"].toInt(), 1000) << "exact, by the frames decoded";
  EXPECT_NEAR(a["duration_ms"].toInt(), ProbeAudio(mp3).duration * 1000, 60) << "ffprobe counts the encoder's padding";
  EXPECT_EQ(a["size_bytes"].toInteger(), static_cast<qint64>(fs::file_size(mp3)));

  EXPECT_EQ(Str(b, "caption"), "b.wav");
  EXPECT_EQ(Str(b, "title"), "");
  EXPECT_EQ(b["sample_rate"].toInt(), 22050);
  EXPECT_EQ(b["channels"].toInt(), 1);
  EXPECT_EQ(b["duration_ms"].toInt(), 1500);
  EXPECT_EQ(b["size_bytes"].toInteger(), static_cast<qint64>(fs::file_size(wav)));

  // The readable table: a header and one line per file, in the same order.
  const CliResult table = Cli({"info", wav, mp3});
  EXPECT_EQ(table.code, 0) << table.err;
  EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 3) << table.out;
  EXPECT_LT(table.out.find("b.wav"), table.out.find("Song One"));
  EXPECT_NE(table.out.find("22050 Hz"), std::string::npos);
}

TEST_F(CliTest, TagsJsonGivesTheFieldsOfEachFormatsReader) {
  const std::string mp3 = SineSource("t.mp3", 0.5);
  ID3StructV2 id3;
  id3.Title = "标题";
  id3.Artist = "Artist";
  id3.Year = "1999";
  id3.Track = "7";
  id3.Genre = "Rock";
  WriteID3Tag(mp3, id3);
  const std::string ogg = SineSource("t.ogg", 0.5);
  OGGTag comments;
  comments.Title = "Ogg title";
  comments.Date = "2001";
  comments.TrackNumber = "3";
  ASSERT_TRUE(WriteOggComments(ogg, comments));
  const std::string wav = SineSource("t.wav", 0.5);

  const CliResult r = Cli({"tags", "--json", mp3, ogg, wav});
  ASSERT_EQ(r.code, 0) << r.err;
  const QJsonArray files = JsonArray(r.out);
  ASSERT_EQ(files.size(), 3);
  const QJsonObject m = files[0].toObject();
  EXPECT_EQ(Str(m, "path"), mp3);
  EXPECT_EQ(Str(m, "title"), "标题");
  EXPECT_EQ(Str(m, "artist"), "Artist");
  EXPECT_EQ(Str(m, "year"), "1999");
  EXPECT_EQ(Str(m, "track"), "7");
  EXPECT_EQ(Str(m, "genre"), "Rock");
  EXPECT_TRUE(m.contains("comment") && m.contains("album"));
  const QJsonObject o = files[1].toObject();
  EXPECT_EQ(Str(o, "title"), "Ogg title");
  EXPECT_EQ(Str(o, "year"), "2001");
  EXPECT_EQ(Str(o, "track"), "3");
  const QJsonObject w = files[2].toObject();
  EXPECT_EQ(w.keys(), QStringList{"path"}) << "WAV files have no tag reader";

  const CliResult missing = Cli({"tags", (dir / "none.mp3").string(), mp3});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("none.mp3: no such file or folder."), std::string::npos) << missing.err;
  EXPECT_NE(missing.out.find("标题"), std::string::npos) << "the other files are still shown";
}

// Format, folder and every encoder key come from the settings file, read
// as the window reads it; the file is never written.
TEST_F(CliTest, ConvertTakesItsDefaultsFromTheSettingsFile) {
  const std::string wav = SineSource("src/a.wav", 1.0);
  const fs::path ini = dir / "other.ini";
  const std::string settings = "[Format]\nint=1\nDir=" + Out() + "\n[wav]\nmode=2\nfrequency=3\nchannel=0\nbit=0\n";
  WriteFileBytes(ini, settings);

  CliResult r = Cli({"convert", "--config", ini.string(), "-j", "1", wav});
  ASSERT_EQ(r.code, 0) << r.err;
  ProbedAudio p = ProbeAudio(Out() + "/a.wav");
  EXPECT_EQ(p.codec_name, "pcm_u8");
  EXPECT_EQ(p.sample_rate, 16000);
  EXPECT_EQ(p.channels, 1);
  EXPECT_EQ(ReadFileBytes(ini), settings);

  // The settings file of the window, in the configuration folder; -f and -o
  // override it for this command only.
  fs::create_directories(dir / "config" / "tonvara");
  const fs::path userIni = dir / "config" / "tonvara" / "tonvara.ini";
  const std::string user = "[Format]\nint=1\nDir=" + Out("unused") + "\n[ogg]\nchannel=0\nfrequency=8\n";
  WriteFileBytes(userIni, user);
  r = Cli({"convert", "-f", "ogg", "-o", Out("ogg"), wav});
  ASSERT_EQ(r.code, 0) << r.err;
  p = ProbeAudio(Out("ogg") + "/a.ogg");
  EXPECT_EQ(p.codec_name, "vorbis");
  EXPECT_EQ(p.sample_rate, 48000);
  EXPECT_EQ(p.channels, 1);
  EXPECT_FALSE(fs::exists(Out("unused")));
  EXPECT_EQ(ReadFileBytes(userIni), user);
}

TEST_F(CliTest, FadesAndNormalizationAreThoseOfTheRuns) {
  const std::string src = LevelSource("src/level.wav", 3.0, 0.5f);

  CliResult r = Cli({"convert", "-f", "wav", "-o", Out(), "--fade-in", "1", "--fade-out", "1", src});
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<float> s = FfmpegDecodedSamples(Out() + "/level.wav");
  ASSERT_EQ(s.size(), 2u * 3 * 44100);
  EXPECT_LT(Peak(s, 0, 200), 0.01f) << "fade-in starts silent";
  EXPECT_NEAR(s[2 * 22050], 0.25f, 0.01f) << "half way through the one-second fade-in";
  EXPECT_NEAR(Peak(s, 2 * 60000, 2 * 80000), 0.5f, 0.001f) << "the middle is untouched";
  EXPECT_LT(Peak(s, s.size() - 200, s.size()), 0.01f) << "fade-out ends silent";

  // Normalization: "Nor_" copies at the stored target (98 percent by
  // default), no fades, and the next run takes a numbered name.
  for (int run = 0; run < 2; ++run) {
    r = Cli({"convert", "--normalize", "-f", "wav", "-o", Out("nor"), "--fade-in", "1", src});
    ASSERT_EQ(r.code, 0) << r.err;
  }
  EXPECT_EQ(Names(Out("nor")), (std::vector<std::string>{"Nor_level.wav", "Nor_level_1.wav"}));
  s = FfmpegDecodedSamples(Out("nor") + "/Nor_level.wav");
  ASSERT_FALSE(s.empty());
  EXPECT_NEAR(s.front(), 0.98f, 0.001f);
  EXPECT_NEAR(Peak(s, 0, s.size()), 0.98f, 0.001f);
}

// One file the property step refuses, one whose every output name is
// taken: both are named, the command ends with 1, the others are converted.
TEST_F(CliTest, AMixedBatchConvertsTheGoodFilesAndNamesTheBadOnes) {
  SineSource("batch/a.wav", 1.0);
  Garbage("batch/b.mp3");
  SineSource("batch/c.wav", 1.0);
  SineSource("batch/d.wav", 1.0);
  fs::create_directories(Out());
  WriteFileBytes(Out() + "/c.mp3", "");
  for (int n = 1; n <= 100; ++n) WriteFileBytes(Out() + "/c_" + std::to_string(n) + ".mp3", "");

  const CliResult r = Cli({"convert", "-f", "mp3", "-o", Out(), "-j", "2", (dir / "batch").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("b.mp3: this file is not supported."), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("batch/c.wav: in the output folder"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("failed: " + (dir / "batch" / "c.wav").string()), std::string::npos) << r.err;
  for (const char* name : {"a.mp3", "d.mp3"}) {
    const ProbedAudio p = ProbeAudio(Out() + "/" + name);
    EXPECT_EQ(p.codec_name, "mp3") << name;
    EXPECT_NEAR(p.duration, 1.0, 0.1) << name;
  }
  EXPECT_EQ(Names(Out()).size(), 103u) << "nothing else was written, no temporary file is left";
  EXPECT_TRUE(ReadFileBytes(Out() + "/c.mp3").empty()) << "an existing file is never overwritten";
}

// Parallel files give the outputs of one file at a time: the same names in
// list order (same captions numbered, an existing name skipped) and the same
// decoded samples.
TEST_F(CliTest, ParallelConversionGivesTheSameOutputsAsOneAtATime) {
  const std::vector<std::string> sources = {
      SineSource("one/song.wav", 1.0, 2, 44100, 440), SineSource("two/song.wav", 1.0, 2, 44100, 660),
      SineSource("x.wav", 0.7, 1, 22050), SineSource("y.wav", 1.2), SineSource("z.wav", 0.3, 2, 48000)};
  std::vector<std::vector<std::string>> names;
  for (const char* jobs : {"1", "3"}) {
    const std::string out = Out(std::string("out") + jobs);
    fs::create_directories(out);
    WriteFileBytes(out + "/y.mp3", "keep");
    std::vector<std::string> args = {"convert", "-f", "mp3", "-o", out, "-j", jobs};
    args.insert(args.end(), sources.begin(), sources.end());
    const CliResult r = Cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(out + "/y.mp3"), "keep");
    names.push_back(Names(out));
  }
  EXPECT_EQ(names[0],
            (std::vector<std::string>{"song.mp3", "song_1.mp3", "x.mp3", "y.mp3", "y_1.mp3", "z.mp3"}));
  EXPECT_EQ(names[1], names[0]);
  for (const std::string& name : names[0]) {
    if (name == "y.mp3") continue;
    const std::vector<float> serial = FfmpegDecodedSamples(Out("out1") + "/" + name);
    EXPECT_FALSE(serial.empty()) << name;
    EXPECT_EQ(FfmpegDecodedSamples(Out("out3") + "/" + name), serial) << name;
  }
  // The first of the two songs is the first row's.
  const std::vector<float> first = FfmpegDecodedSamples(Out("out3") + "/song.mp3");
  const std::vector<float> second = FfmpegDecodedSamples(Out("out3") + "/song_1.mp3");
  EXPECT_NE(first, second);
}

// The tag options set every file's record as the tag editor's "all" buttons
// do, and the title becomes the caption: distinct numbered names.
TEST_F(CliTest, TagOptionsReachMp3OggAndWmaOutputs) {
  const std::string a = SineSource("src/a.wav", 0.5);
  const std::string b = SineSource("src/b.wav", 0.5);
  for (const std::string ext : {"mp3", "ogg", "wma"}) {
    const std::string out = Out(ext);
    const CliResult r = Cli({"convert", "-f", ext, "-o", out, "--title", "晚歌: Live", "--artist", "歌手",
                             "--album", "Album", "--year", "2024", "--genre", "Jazz", a, b});
    ASSERT_EQ(r.code, 0) << ext << r.err;
    EXPECT_EQ(Names(out), (std::vector<std::string>{"晚歌 Live." + ext, "晚歌 Live_1." + ext}));
    for (const std::string& name : Names(out)) {
      auto tags = tagtest::ProbeTags(out + "/" + name);
      EXPECT_EQ(tags["title"], "晚歌: Live") << name;
      EXPECT_EQ(tags["artist"], "歌手") << name;
      EXPECT_EQ(tags["album"], "Album") << name;
      EXPECT_EQ(tags["genre"], "Jazz") << name;
      const std::string year = ext == "wma" ? tags["wm/year"] : tags["date"];
      EXPECT_EQ(year, "2024") << name;
    }
  }
}

TEST_F(CliTest, MessagesAndProgressLinesFollowTheLocale) {
  const std::string a = SineSource("src/a.wav", 0.3);
  const std::string gone = (dir / "src" / "gone.wav").string();
  const std::string mp3 = Out() + "/a.mp3";

  CliResult r = Cli({"convert", "-f", "mp3", "-o", Out(), a, gone}, {.lang = "C"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("gone.wav: no such file or folder."), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("[1/1] done: " + a + " -> " + mp3), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("1 file: 1 done, 1 not supported or missing"), std::string::npos) << r.err;

  fs::remove(mp3);
  r = Cli({"convert", "-f", "mp3", "-o", Out(), a, gone}, {.lang = "zh_CN.UTF-8"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("gone.wav 不存在."), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("[1/1] 完成: " + a + " -> " + mp3), std::string::npos) << r.err;
}

// A stop (SIGTERM, or Ctrl+C on a terminal) ends the running file and
// removes its cut-short output; no further file starts.
TEST_F(CliTest, AStopLeavesNoOutputThatLooksFinished) {
  const std::string a = SineSource("src/long.wav", 120.0);
  const std::string b = SineSource("src/next.wav", 1.0);
  // Once the writer has its temporary file, the file is under way.
  const CliResult r = Cli({"convert", "-f", "mp3", "-o", Out(), "-j", "1", a, b},
                          {.stopWhen = [&] { return !Names(Out()).empty(); }});
  EXPECT_EQ(r.code, 130) << r.err;
  EXPECT_NE(r.err.find("stopped: " + a), std::string::npos) << r.err;
  EXPECT_TRUE(Names(Out()).empty()) << "no partial output and no temporary file";
}

}  // namespace
}  // namespace tonvara::test
