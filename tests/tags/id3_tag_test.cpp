#include "tags/id3_tag.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tags/tag_error.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"
#include "tests/tags/tag_bytes.h"

namespace {

using tagtest::Id3Frame;
using tagtest::Id3Tag;

std::string Text(const std::string& s) { return std::string(1, '\0') + s; }
const std::string kAudio = "\xFF\xFB\x90\x64 not really audio, but bytes that must survive";

mode_t ModeOf(const std::filesystem::path& p) {
  struct stat st {};
  stat(p.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(Id3Write, EmptyRecordGivesThe101ByteTagInFrontOfTheAudio) {
  TempDir dir;
  const auto file = dir / "a.mp3";
  WriteFileBytes(file, kAudio);
  WriteID3Tag(file, ID3StructV2{});

  std::string expected("ID3\x03\x00\x00\x00\x00\x00\x5B", 10);
  for (const char* id : {"TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON"}) {
    expected += std::string(id) + std::string("\0\0\0\x01\0\0\0", 7);
  }
  expected += std::string("COMM\0\0\0\x05\0\0\0eng\0", 15);
  expected += std::string(10, '\0');
  ASSERT_EQ(expected.size(), 101u);
  EXPECT_EQ(ReadFileBytes(file), expected + kAudio);
  EXPECT_EQ(tagtest::FolderEntries(dir.Path()), std::vector<std::string>{"a.mp3"});
}

TEST(Id3Write, ReplacesAnExistingTagAndKeepsTheAudioAndTheMode) {
  TempDir dir;
  const auto file = dir / "a.mp3";
  WriteFileBytes(file, Id3Tag(Id3Frame("TIT2", Text("Old")) + Id3Frame("APIC", std::string(500, 'p')), 4) + kAudio);
  chmod(file.c_str(), 0444);

  ID3StructV2 tag;
  tag.Title = "New";
  tag.Artist = "Someone";
  WriteID3Tag(file, tag);
  EXPECT_EQ(ReadFileBytes(file), BuildID3Tag(tag) + kAudio);
  EXPECT_EQ(ModeOf(file), 0444u);

  ReadID3Tag(file);
  EXPECT_EQ(ID3Tag.Title, "New");
  EXPECT_EQ(ID3Tag.Artist, "Someone");
}

TEST(Id3Write, ThroughALinkReplacesTheFileItNames) {
  TempDir dir;
  const auto file = dir / "a.mp3";
  const auto link = dir / "link.mp3";
  WriteFileBytes(file, kAudio);
  std::filesystem::create_symlink(file, link);
  ID3StructV2 tag;
  tag.Title = "Linked";
  WriteID3Tag(link, tag);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(file), BuildID3Tag(tag) + kAudio);
}

TEST(Id3Write, AllFieldsRoundTripAndLongTextsGrowTheirFrame) {
  TempDir dir;
  const auto file = dir / "a.mp3";
  WriteFileBytes(file, kAudio);
  ID3StructV2 tag{"Title", "Artist", "Album", "1999", "07", "A comment", "(17)"};
  tag.Title = std::string(300, 'x') + "end";
  tag.Comment = "长" + std::string(400, 'c') + "尾";
  WriteID3Tag(file, tag);
  ReadID3Tag(file);
  EXPECT_EQ(ID3Tag.Title, tag.Title);
  EXPECT_EQ(ID3Tag.Artist, "Artist");
  EXPECT_EQ(ID3Tag.Album, "Album");
  EXPECT_EQ(ID3Tag.Year, "1999");
  EXPECT_EQ(ID3Tag.Track, "07");
  EXPECT_EQ(ID3Tag.Comment, tag.Comment);
  EXPECT_EQ(ID3Tag.Genre, "(17)");
}

TEST(Id3Write, MissingFileRaisesAndCreatesNothing) {
  TempDir dir;
  try {
    WriteID3Tag(dir / "none.mp3", ID3StructV2{});
    FAIL() << "no error raised";
  } catch (const TagError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open " + (dir / "none.mp3").string() + ": ", 0), 0u) << e.what();
  }
  EXPECT_TRUE(tagtest::FolderEntries(dir.Path()).empty());
}

TEST(Id3Write, ChineseTextIsReadBackByUsAndByFfmpeg) {
  TempDir dir;
  const auto file = (dir / "sine.mp3").string();
  tagtest::MakeSine(file, {"-c:a", "libmp3lame", "-b:a", "128k", "-metadata", "title=Old title"});
  const std::string samples = tagtest::DecodeSamples(file);
  ASSERT_FALSE(samples.empty());

  ID3StructV2 tag;
  tag.Title = "月亮代表我的心";
  tag.Artist = "邓丽君";
  tag.Album = "Album";
  tag.Comment = "评论 comment";
  WriteID3Tag(file, tag);

  ReadID3Tag(file);
  EXPECT_EQ(ID3Tag.Title, tag.Title);
  EXPECT_EQ(ID3Tag.Artist, tag.Artist);
  EXPECT_EQ(ID3Tag.Comment, tag.Comment);

  auto probed = tagtest::ProbeTags(file);
  EXPECT_EQ(probed["title"], tag.Title);
  EXPECT_EQ(probed["artist"], tag.Artist);
  EXPECT_EQ(probed["album"], "Album");
  EXPECT_EQ(probed["comment"], tag.Comment);
  EXPECT_EQ(tagtest::DecodeSamples(file), samples);

  // Writing again replaces the tag rather than stacking a second one.
  WriteID3Tag(file, tag);
  const std::string bytes = ReadFileBytes(file);
  EXPECT_EQ(bytes.find("ID3", 3), std::string::npos);
  EXPECT_EQ(tagtest::DecodeSamples(file), samples);
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::string title;
  std::string artist = "";
  std::string comment = "";
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class Id3Read : public testing::TestWithParam<ReadCase> {};

TEST_P(Id3Read, FindsTheFields) {
  TempDir dir;
  const auto file = dir / "t.mp3";
  WriteFileBytes(file, GetParam().bytes);
  chmod(file.c_str(), 0444);
  ID3Tag.Title = "left over";
  ReadID3Tag(file);
  EXPECT_EQ(ID3Tag.Title, GetParam().title);
  EXPECT_EQ(ID3Tag.Artist, GetParam().artist);
  EXPECT_EQ(ID3Tag.Comment, GetParam().comment);
  // Reading never changes the file.
  EXPECT_EQ(ReadFileBytes(file), GetParam().bytes);
  EXPECT_EQ(ModeOf(file), 0444u);
}

const std::string kTitle = Id3Frame("TIT2", Text("Title"));
const std::string kGbkTitle = "\xD6\xD0\xCE\xC4\xB8\xE8\xC7\xFA";  // 中文歌曲

INSTANTIATE_TEST_SUITE_P(
    Cases, Id3Read,
    testing::Values(
        ReadCase{"NoTag", kAudio, ""},
        ReadCase{"ShorterThanAHeader", "ID3\x03", ""},
        ReadCase{"PictureBeforeTitle", Id3Tag(Id3Frame("APIC", std::string(300, '\xAB')) + kTitle) + kAudio, "Title"},
        ReadCase{"SecondTitleWins", Id3Tag(kTitle + Id3Frame("TIT2", Text("Second"))), "Second"},
        ReadCase{"V24SyncSafeFrameSizes",
                 Id3Tag(Id3Frame("TXXX", std::string(200, '\x01'), 4) + Id3Frame("TIT2", Text("Title"), 4), 4), "Title"},
        ReadCase{"DeclaredSizeBeyondFileKeepsWhatFits",
                 Id3Tag(kTitle + Id3Frame("TPE1", Text("Cut off")).substr(0, 14), 3, 100000), "Title"},
        ReadCase{"FrameBeyondTagEndsTheWalk",
                 Id3Tag(kTitle + "TPE1" + tagtest::BigEndian32(5000) + std::string(2, '\0') + Text("X")), "Title"},
        ReadCase{"PaddingEndsTheWalk",
                 Id3Tag(kTitle + std::string(20, '\0') + Id3Frame("TPE1", Text("Hidden"))), "Title"},
        ReadCase{"SpacesTrimmed", Id3Tag(Id3Frame("TIT2", Text("  Song One \t"))), "Song One"},
        ReadCase{"GbkUnderEncoding0", Id3Tag(Id3Frame("TIT2", Text(kGbkTitle))), "中文歌曲"},
        ReadCase{"Latin1UnderEncoding0", Id3Tag(Id3Frame("TIT2", Text("Caf\xE9"))), "Café"},
        ReadCase{"Utf8UnderEncoding0", Id3Tag(Id3Frame("TIT2", Text("中文"))), "中文"},
        ReadCase{"Utf16WithBom",
                 Id3Tag(Id3Frame("TIT2", std::string("\x01\xFF\xFE\x2D\x4E\x87\x65\0\0", 9))), "中文"},
        ReadCase{"Utf16BigEndian", Id3Tag(Id3Frame("TIT2", std::string("\x02\x4E\x2D\x65\x87", 5))), "中文"},
        ReadCase{"Utf8Encoding", Id3Tag(Id3Frame("TPE1", "\x03" "歌手")), "", "歌手"},
        ReadCase{"Comment", Id3Tag(Id3Frame("COMM", std::string("\0eng\0Nice song", 14))), "", "", "Nice song"},
        ReadCase{"DescribedCommentDoesNotHideTheUsersOne",
                 Id3Tag(Id3Frame("COMM", std::string("\0eng\0Mine", 9)) +
                        Id3Frame("COMM", std::string("\0engiTunNORM\0 0000A1", 20))),
                 "", "", "Mine"},
        ReadCase{"Utf16Comment",
                 Id3Tag(Id3Frame("COMM", std::string("\x01" "eng\xFF\xFE\0\0\xFF\xFE\x7D\x59", 12))), "", "", "好"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Id3Read, GenreAndYearComeBackAsText) {
  TempDir dir;
  const auto file = dir / "t.mp3";
  WriteFileBytes(file, Id3Tag(Id3Frame("TCON", Text("(17)")) + Id3Frame("TYER", Text("2003"))));
  ReadID3Tag(file);
  EXPECT_EQ(ID3Tag.Genre, "(17)");
  EXPECT_EQ(ID3Tag.Year, "2003");
}

}  // namespace
