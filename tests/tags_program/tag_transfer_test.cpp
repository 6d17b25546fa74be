// Tag transfer into run outputs: files written by our audio writers, tagged
// from a row's record, read back by our readers and by ffprobe.
#include "tags/tag_transfer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/audio/audio_file.h"
#include "tags/file_extension.h"
#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tags/text_codec.h"
#include "tags/wm_audio_info.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
constexpr int64_t kFrames = 22050;

// An output as a run leaves it: a sine through our writer, closed.
std::string WriteOutput(const TempDir& dir, const std::string& name) {
  const std::string path = (dir / name).string();
  TAudioFile2 writer;
  if (name.ends_with(".vox")) writer.SetVoxFormat(8000);
  tonvara::test::WriteWithOurWriter(writer, path, tonvara::test::Sine(kRate, 2, kFrames), kRate);
  return path;
}

AudioFileinfo ChineseRecord() {
  AudioFileinfo r;
  r.Title = "晴天";
  r.Artist = "周杰伦";
  r.Album = "叶惠美";
  r.Year = "2003";
  r.Genre = "流行";
  r.Comment = "不应写入的评论";
  r.Duration = 269000;
  return r;
}

// What our reader for the extension finds, in the record's terms;
// `extra` collects what must stay empty (comment, track).
AudioFileinfo ReadBack(const std::string& path, std::string& extra) {
  AudioFileinfo r;
  const std::string ext = tags::LowerExtension(path);
  if (ext == ".mp3") {
    ReadID3Tag(path);
    r = {ID3Tag.Title, ID3Tag.Artist, ID3Tag.Year, ID3Tag.Album, "", ID3Tag.Genre};
    extra = ID3Tag.Comment + ID3Tag.Track;
  } else if (ext == ".ogg") {
    OGGTag t;
    ReadOggComments(path, t);
    r = {t.Title, t.Artist, t.Date, t.Album, "", t.Genre};
    extra = t.Comment + t.TrackNumber;
  } else {
    WMATagData t{};
    ReadWMATags(path, t);
    r = {WMAFieldText(t.Title), WMAFieldText(t.Author), WMAFieldText(t.Year), WMAFieldText(t.Album), "",
         WMAFieldText(t.Genre)};
    extra = WMAFieldText(t.Description) + (t.Track ? std::to_string(t.Track) : "");
  }
  return r;
}

TEST(TagTransfer, Mp3OggAndWmaOutputsCarryTheRowsTagsAsFfmpegReadsThem) {
  TempDir dir;
  for (const char* name : {"out.mp3", "out.ogg", "out.wma", "UPPER.MP3"}) {
    SCOPED_TRACE(name);
    const std::string path = WriteOutput(dir, name);
    const int64_t framesBefore = tonvara::test::FfmpegDecodedFrames(path);
    ASSERT_GT(framesBefore, 0);

    TransferTags(path, ChineseRecord());

    std::string extra;
    const AudioFileinfo back = ReadBack(path, extra);
    EXPECT_EQ(back.Title, "晴天");
    EXPECT_EQ(back.Artist, "周杰伦");
    EXPECT_EQ(back.Album, "叶惠美");
    EXPECT_EQ(back.Year, "2003");
    EXPECT_EQ(back.Genre, "流行");
    EXPECT_EQ(extra, "") << "comment and track are never carried over";

    auto tags = tagtest::ProbeTags(path);
    EXPECT_EQ(tags["title"], "晴天");
    EXPECT_EQ(tags["artist"], "周杰伦");
    EXPECT_EQ(tags["album"], "叶惠美");
    EXPECT_EQ(tags["genre"], "流行");
    EXPECT_EQ(tags.count("date") ? tags["date"] : tags["wm/year"], "2003");
    EXPECT_EQ(tags["comment"] + tags["description"], "") << "an MP3 tag holds it empty";
    EXPECT_TRUE(tags["track"] == "" || tags["track"] == "0") << "WMA files hold track number 0";
    EXPECT_EQ(tonvara::test::FfmpegDecodedFrames(path), framesBefore) << "the audio is untouched";
  }
}

TEST(TagTransfer, WavAndVoxOutputsGetNothing) {
  TempDir dir;
  for (const char* name : {"out.wav", "out.vox"}) {
    const std::string path = WriteOutput(dir, name);
    const std::string before = ReadFileBytes(path);
    ASSERT_FALSE(before.empty());
    TransferTags(path, ChineseRecord());
    EXPECT_EQ(ReadFileBytes(path), before) << name;
  }
}

TEST(TagTransfer, AnEmptyRecordGivesEmptyTagsInPlaceOfTheOldOnes) {
  TempDir dir;
  for (const char* name : {"again.mp3", "again.ogg", "again.wma"}) {
    SCOPED_TRACE(name);
    const std::string path = WriteOutput(dir, name);
    TransferTags(path, ChineseRecord());
    TransferTags(path, AudioFileinfo{});
    std::string extra;
    const AudioFileinfo back = ReadBack(path, extra);
    EXPECT_EQ(back.Title + back.Artist + back.Album + back.Year + back.Genre + extra, "");
    EXPECT_GT(tonvara::test::FfmpegDecodedFrames(path), 0);
  }
}

TEST(TagTransfer, WmaTextsLongerThanTheirFieldsAreCutAtACharacterBoundary) {
  TempDir dir;
  const std::string path = WriteOutput(dir, "long.wma");
  AudioFileinfo r;
  for (int i = 0; i < 60; ++i) r.Title += "长";  // 180 bytes, the field holds 128
  r.Genre = "a流行流行流行流行流行流行";            // 37 bytes, the field holds 32
  TransferTags(path, r);

  const auto tags = tagtest::ProbeTags(path);
  const std::string title = tags.count("title") ? tags.at("title") : "";
  const std::string genre = tags.count("genre") ? tags.at("genre") : "";
  EXPECT_EQ(title, r.Title.substr(0, 126)) << "42 whole characters";
  EXPECT_EQ(genre, r.Genre.substr(0, 31)) << "'a' and 10 whole characters";
  EXPECT_TRUE(tags::IsValidUtf8(title));
}

TEST(TagTransfer, AWriterErrorNamesTheFileAndLeavesItAsItWas) {
  TempDir dir;
  const struct {
    const char* name;
    const char* bytes;  // nullptr: the file does not exist
  } cases[] = {{"missing.mp3", nullptr},
               {"missing.ogg", nullptr},
               {"missing.wma", nullptr},
               {"junk.ogg", "not an ogg stream at all"},
               {"junk.wma", "not an asf header either"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = dir / c.name;
    if (c.bytes) WriteFileBytes(path, c.bytes);
    try {
      TransferTags(path.string(), ChineseRecord());
      ADD_FAILURE() << "no error";
    } catch (const TagTransferError& e) {
      EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
    if (c.bytes) {
      EXPECT_EQ(ReadFileBytes(path), c.bytes);
    } else {
      EXPECT_FALSE(fs::exists(path));
    }
  }
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir.Path())) left.insert(entry.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"junk.ogg", "junk.wma"})) << "no temporary file stays behind";
}

}  // namespace
