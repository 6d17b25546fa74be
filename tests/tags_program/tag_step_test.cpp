// The tag step of adding files: captions and records from MP3, OGG and WMA
// tags written by FFmpeg, through both add operations of the file list.
#include "app/tag_step.h"

#include <gtest/gtest.h>

#include <QTreeWidget>
#include <filesystem>

#include "app/file_list.h"
#include "app/main_window.h"
#include "platform/dialogs.h"
#include "settings/settings_store.h"
#include "tests/app/fake_audio_file.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"
#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tags/wm_audio_info.h"

namespace fs = std::filesystem;
using Kind = dialogs::RecordingDialogs::Kind;

namespace {

struct Fields {
  std::string Title, Artist, Year, Album, Comment, Genre;
  bool operator==(const Fields&) const = default;
};

Fields FieldsOf(const AudioFileinfo& r) { return {r.Title, r.Artist, r.Year, r.Album, r.Comment, r.Genre}; }

std::ostream& operator<<(std::ostream& os, const Fields& f) {
  return os << "{" << f.Title << "|" << f.Artist << "|" << f.Year << "|" << f.Album << "|" << f.Comment << "|"
            << f.Genre << "}";
}

class TagStepTest : public ::testing::Test {
 protected:
  TagStepTest() : list(lv, state, reader, store) {
    lv.setColumnCount(Tfm_main::ColPath + 1);
    list.TagStep = ReadAddedFileTags;
  }

  // A short sine encoded by FFmpeg with the given codec and tags.
  std::string Make(const fs::path& file, const std::string& codec, const std::vector<std::string>& metadata = {}) {
    std::vector<std::string> options = {"-t", "0.2", "-c:a", codec};
    for (const auto& m : metadata) options.insert(options.end(), {"-metadata", m});
    tagtest::MakeSine(file.string(), options);
    reader.files[file.string()] = {};
    return file.string();
  }
  std::string Junk(const fs::path& file) {
    WriteFileBytes(file, "OggS but not really a Vorbis stream");
    reader.files[file.string()] = {};  // the audio reader would take it: only the tag step refuses it
    return file.string();
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = 0; i < lv.topLevelItemCount(); ++i) out.push_back(lv.topLevelItem(i)->text(0).toStdString());
    return out;
  }

  TempDir dir;
  QTreeWidget lv;
  TMainState state;
  FakeAudioFile reader;
  std::unique_ptr<TSettingsStore> store;
  dialogs::RecordingDialogs boxes;
  TFileList list;
};

TEST_F(TagStepTest, AddedFilesTakeCleanedTitlesAndTheirTagFields) {
  // FFmpeg keeps comments where our readers do not look (TXXX, DESCRIPTION,
  // an extended "Description"); the next test covers them.
  const std::vector<std::string> all = {"title=  Song: One  ", "artist=周杰伦", "album=叶惠美", "genre=流行",
                                        "date=2003"};
  boxes.fileChoices.push_back({
      Make(dir / "tagged.mp3", "libmp3lame", all),
      Make(dir / "untitled.mp3", "libmp3lame", {"artist=Nobody"}),
      Make(dir / "UPPER.MP3", "libmp3lame", {"title=Loud"}),
      Make(dir / "tagged.wma", "wmav2", {"title=\t晴天 ", "artist=周杰伦", "album=叶惠美", "genre=Pop",
                                         "date=2003"}),
      Make(dir / "bare.wma", "wmav2"),
      Make(dir / "tagged.ogg", "libvorbis", {"title=A<B>C", "artist=王菲", "album=Faye", "genre=Rock",
                                             "date=1999"}),
      Make(dir / "plain.wav", "pcm_s16le", {"title=Ignored"}),
  });
  list.AddFiles();

  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Song One", "untitled.mp3", "Loud", "晴天", "bare.wma", "ABC",
                                                  "plain.wav"}));
  ASSERT_EQ(state.FileInfos.size(), 7u);
  const Fields expected[] = {
      {"Song One", "周杰伦", "", "叶惠美", "", "流行"},
      {"", "Nobody", "", "", "", ""},
      {"Loud", "", "", "", "", ""},
      {"晴天", "周杰伦", "", "叶惠美", "", "Pop"},
      {},  // no tags, although the WMA file before it had some
      {"ABC", "王菲", "", "Faye", "", "Rock"},
      {},  // WAV files keep six empty strings
  };
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(FieldsOf(state.FileInfos[i]), expected[i]) << "row " << i;
}

TEST_F(TagStepTest, CommentsComeFromEachFormatsCommentFieldAndNoFormatFillsTheYear) {
  // Tags written by our own writers, which put the comment where the
  // readers take it from.
  const std::string mp3 = Make(dir / "c.mp3", "libmp3lame");
  const std::string ogg = Make(dir / "c.ogg", "libvorbis");
  const std::string wma = Make(dir / "c.wma", "wmav2");
  ID3StructV2 id3{"标题一", "A1", "B1", "2001", "7", "评论一", "G1"};
  WriteID3Tag(mp3, id3);
  OGGTag ogt{"B2", "标题二", "A2", "评论二", "G2", "2002", "8"};
  WriteOggComments(ogg, ogt);
  WMATagData wmt{};
  SetWMAField(wmt.Title, "标题三");
  SetWMAField(wmt.Author, "A3");
  SetWMAField(wmt.Album, "B3");
  SetWMAField(wmt.Year, "2003");
  SetWMAField(wmt.Description, "评论三");
  SetWMAField(wmt.Genre, "G3");
  ASSERT_TRUE(WriteWMATags(wma, wmt));

  boxes.fileChoices.push_back({mp3, ogg, wma});
  list.AddFiles();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"标题一", "标题二", "标题三"}));
  ASSERT_EQ(state.FileInfos.size(), 3u);
  EXPECT_EQ(FieldsOf(state.FileInfos[0]), (Fields{"标题一", "A1", "", "B1", "评论一", "G1"}));
  EXPECT_EQ(FieldsOf(state.FileInfos[1]), (Fields{"标题二", "A2", "", "B2", "评论二", "G2"}));
  EXPECT_EQ(FieldsOf(state.FileInfos[2]), (Fields{"标题三", "A3", "", "B3", "评论三", "G3"}));
}

TEST_F(TagStepTest, ABrokenOggIsRefusedAndTheFilesAfterItAreAdded) {
  boxes.fileChoices.push_back({Junk(dir / "broken.ogg"), Make(dir / "after.ogg", "libvorbis", {"title=After"})});
  list.AddFiles();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"After"}));
  EXPECT_EQ(state.FileInfos.size(), 1u);
  EXPECT_EQ(boxes.Texts(Kind::Info), (std::vector<std::string>{"broken.ogg 此文件不被支持."}));

  // The same through a folder.
  TempDir folder;
  Junk(folder / "a.ogg");
  Make(folder / "b.mp3", "libmp3lame", {"title=Bee"});
  list.AddFolder([&] { return folder.Path().string(); });
  EXPECT_EQ(Captions(), (std::vector<std::string>{"After", "Bee"}));
  ASSERT_EQ(state.FileInfos.size(), 2u);
  EXPECT_EQ(state.FileInfos[1].Title, "Bee");
  EXPECT_EQ(boxes.Texts(Kind::Info).back(), "a.ogg 此文件不被支持.");
  for (int row = 0; row < 2; ++row) EXPECT_EQ(lv.topLevelItem(row)->text(Tfm_main::ColStatus), "未转换");
}

TEST(TagStep, ATitleOfOnlyForbiddenCharactersKeepsTheFileName) {
  TempDir dir;
  const std::string file = (dir / "x.mp3").string();
  tagtest::MakeSine(file, {"-t", "0.1", "-c:a", "libmp3lame", "-metadata", "title= :?* "});
  std::string caption = "x.mp3";
  AudioFileinfo record;
  record.Duration = 7;
  EXPECT_TRUE(ReadAddedFileTags(file, caption, record));
  EXPECT_EQ(caption, "x.mp3");
  EXPECT_EQ(record.Title, "");
  EXPECT_EQ(record.Duration, 7) << "the tag step leaves the duration to the property step";
}

}  // namespace
