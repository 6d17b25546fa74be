// Tags through the whole program: files with Chinese tags added to the file
// list, edited in the tag editor, converted and normalized by the runs; every
// output read back by our readers and by ffprobe.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QCoreApplication>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

#include "app/conversion_run.h"
#include "app/file_list.h"
#include "app/main_window.h"
#include "app/normalization_run.h"
#include "app/run_host.h"
#include "app/tag_step.h"
#include "platform/audio/audio_file.h"
#include "platform/audio/audio_transform.h"
#include "platform/audio/lame_encoder.h"
#include "settings/settings_store.h"
#include "platform/dialogs.h"
#include "tags/file_extension.h"
#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tags/tag_editor_dialog.h"
#include "tags/wm_audio_info.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"

namespace fs = std::filesystem;

namespace {

struct Expected {
  std::string title, artist, album, year, genre;
};

// Our reader's view of an output, and what must stay empty in it.
Expected OurTags(const std::string& path, std::string& leftEmpty) {
  const std::string ext = tags::LowerExtension(path);
  if (ext == ".mp3") {
    ReadID3Tag(path);
    leftEmpty = ID3Tag.Comment + ID3Tag.Track;
    return {ID3Tag.Title, ID3Tag.Artist, ID3Tag.Album, ID3Tag.Year, ID3Tag.Genre};
  }
  if (ext == ".ogg") {
    OGGTag t;
    ReadOggComments(path, t);
    leftEmpty = t.Comment + t.TrackNumber;
    return {t.Title, t.Artist, t.Album, t.Date, t.Genre};
  }
  WMATagData t{};
  ReadWMATags(path, t);
  leftEmpty = WMAFieldText(t.Description);
  return {WMAFieldText(t.Title), WMAFieldText(t.Author), WMAFieldText(t.Album), WMAFieldText(t.Year),
          WMAFieldText(t.Genre)};
}

void ExpectTagged(const fs::path& file, const Expected& e) {
  SCOPED_TRACE(file.filename().string());
  ASSERT_TRUE(fs::exists(file));
  std::string leftEmpty;
  const Expected ours = OurTags(file.string(), leftEmpty);
  EXPECT_EQ(ours.title, e.title);
  EXPECT_EQ(ours.artist, e.artist);
  EXPECT_EQ(ours.album, e.album);
  EXPECT_EQ(ours.year, e.year);
  EXPECT_EQ(ours.genre, e.genre);
  EXPECT_EQ(leftEmpty, "") << "comment and track are not carried over";

  auto probed = tagtest::ProbeTags(file.string());
  EXPECT_EQ(probed["title"], e.title);
  EXPECT_EQ(probed["artist"], e.artist);
  EXPECT_EQ(probed["album"], e.album);
  EXPECT_EQ(probed.count("date") ? probed["date"] : probed["wm/year"], e.year);
  EXPECT_EQ(probed["genre"], e.genre);
  EXPECT_EQ(probed["comment"] + probed["description"], "");
  EXPECT_GT(tonvara::test::FfmpegDecodedFrames(file.string()), 0);
}

// The runs' view of the list as the main window gives it: captions, paths
// and statuses from the list's cells, records from FileInfos.
class ListRunHost : public IRunHost {
 public:
  ListRunHost(QTreeWidget& lv, TMainState& state) : lv_(lv), state_(state) {}

  std::vector<std::string> boxes;
  std::function<void(int)> onPump;  // with the pass number, 1 first

  int RowCount() const override { return lv_.topLevelItemCount(); }
  std::string RowCaption(int row) const override { return Cell(row, Tfm_main::ColTitle); }
  std::string RowPath(int row) const override { return Cell(row, Tfm_main::ColPath); }
  void SetRowStatus(int row, const std::string& status) override {
    lv_.topLevelItem(row)->setText(Tfm_main::ColStatus, QString::fromStdString(status));
  }
  AudioFileinfo RowRecord(int row) const override {
    return static_cast<std::size_t>(row) < state_.FileInfos.size() ? state_.FileInfos[row] : AudioFileinfo{};
  }
  void ShowInfo(const std::string& text) override { boxes.push_back(text); }
  void ShowError(const std::string& text) override { boxes.push_back(text); }
  void ShowProgress(int32_t) override {}
  void ResetProgressAfterRun() override { state_.Busy = false; }
  void ProcessMessages(bool) override {
    QCoreApplication::processEvents();
    if (onPump) onPump(++pumps_);
  }
  void SetTimer1(bool) override {}
  void StopPreview() override {}
  std::string CommandLineText() const override { return {}; }

 private:
  std::string Cell(int row, int column) const { return lv_.topLevelItem(row)->text(column).toStdString(); }

  QTreeWidget& lv_;
  TMainState& state_;
  int pumps_ = 0;
};

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() {
    fs::create_directories(dir / "src");
    lv.setColumnCount(Tfm_main::ColPath + 1);
    reader.SetEnabled(true);
    writer.SetEnabled(true);
    store.Write(keys::FormatDir, Out().string());
    list.TagStep = ReadAddedFileTags;
  }

  fs::path Out() const { return dir / "out"; }
  // A sine encoded by FFmpeg, tagged by FFmpeg: an independent source.
  std::string Source(const std::string& name, const std::string& codec, const std::string& title,
                     const std::string& artist, const std::string& album, const char* seconds = "0.5") {
    const std::string path = (dir / "src" / name).string();
    tagtest::MakeSine(path, {"-t", seconds, "-c:a", codec, "-metadata", "title=" + title, "-metadata",
                             "artist=" + artist, "-metadata", "album=" + album, "-metadata", "comment=原评论"});
    return path;
  }
  void Add(const std::vector<std::string>& paths) {
    QStringList names;
    for (const std::string& p : paths) names << QString::fromStdString(p);
    list.AddDropped(names);
  }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> s;
    for (int i = 0; i < lv.topLevelItemCount(); ++i) s.push_back(lv.topLevelItem(i)->text(column).toStdString());
    return s;
  }
  // Opens the tag editor on the list and lets `edit` work in it before OK.
  void EditTags(const std::function<void(Tfm_id3&)>& edit) {
    Tfm_id3 dlg;
    dlg.Attach(&lv, &state.FileInfos);
    dlg.FormShow();
    edit(dlg);
    dlg.btn_okClick();
  }
  void Convert(int32_t format) {
    state.OutputFormat = format;
    TConversionRun run(context);
    run.Run();
  }
  void Normalize(int32_t format) {
    state.OutputFormat = format;
    TNormalizationRun run(context);
    run.Run();
  }

  TempDir dir;
  dialogs::RecordingDialogs listBoxes;
  QTreeWidget lv;
  TMainState state;
  TSettingsStore store{dir / "tonvara.ini"};
  std::unique_ptr<TSettingsStore> listStore;
  TAudioFile2 reader;
  TAudioFile2 writer;
  TAudioFile2LameEnc encoder;
  TAudioTransform2 transform;
  ListRunHost host{lv, state};
  TRunContext context{state, store, reader, writer, encoder, transform, host};
  TFileList list{lv, state, reader, listStore};
};

TEST_F(EndToEndTest, EditedTagsReachEveryOutputOfBothRuns) {
  Add({Source("a.mp3", "libmp3lame", "晴天", "周杰伦", "叶惠美"), Source("b.ogg", "libvorbis", "红豆", "王菲", "唱游"),
       Source("c.wma", "wmav2", "传奇", "李健", "似水流年")});
  ASSERT_EQ(Column(Tfm_main::ColTitle), (std::vector<std::string>{"晴天", "红豆", "传奇"}));

  EditTags([](Tfm_id3& dlg) {
    dlg.edt_year->setText(QStringLiteral("2003"));
    dlg.Button4Click();
    dlg.edt_genre->setEditText(QStringLiteral("华语流行"));
    dlg.Button5Click();
    dlg.edt_com->setPlainText(QStringLiteral("不写入"));
    dlg.Button6Click();
  });

  const Expected sources[] = {{"晴天", "周杰伦", "叶惠美", "2003", "华语流行"},
                              {"红豆", "王菲", "唱游", "2003", "华语流行"},
                              {"传奇", "李健", "似水流年", "2003", "华语流行"}};
  for (const auto& [format, ext] : {std::pair{FormatMp3, ".mp3"}, {FormatOgg, ".ogg"}, {FormatWma, ".wma"}}) {
    SCOPED_TRACE(ext);
    Convert(format);
    EXPECT_TRUE(host.boxes.empty()) << host.boxes.front();
    EXPECT_EQ(Column(Tfm_main::ColStatus), (std::vector<std::string>{"完成", "完成", "完成"}));
    for (const Expected& e : sources) ExpectTagged(Out() / (e.title + ext), e);
  }

  // An artist given to every row with "全部" reaches every normalized copy.
  EditTags([](Tfm_id3& dlg) {
    dlg.edt_art->setText(QStringLiteral("群星"));
    dlg.Button2Click();
  });
  Normalize(FormatOgg);
  EXPECT_TRUE(host.boxes.empty()) << host.boxes.front();
  EXPECT_EQ(Column(Tfm_main::ColStatus), (std::vector<std::string>{"完成", "完成", "完成"}));
  for (Expected e : sources) {
    e.artist = "群星";
    ExpectTagged(Out() / ("Nor_" + e.title + ".ogg"), e);
  }
  // The sources keep their own tags.
  ReadID3Tag((dir / "src" / "a.mp3").string());
  EXPECT_EQ(ID3Tag.Artist, "周杰伦");
  EXPECT_EQ(ID3Tag.Year, "");
}

TEST_F(EndToEndTest, AStoppedFilesShortenedOutputIsStillTagged) {
  Add({Source("long.mp3", "libmp3lame", "停下", "某人", "某专辑", "20")});
  ASSERT_EQ(Column(Tfm_main::ColTitle), std::vector<std::string>{"停下"});
  EditTags([](Tfm_id3& dlg) { dlg.edt_year->setText(QStringLiteral("1999")); });

  // The stop command clears Busy while the block loop handles messages.
  host.onPump = [&](int pass) {
    if (pass == 40) state.Busy = false;
  };
  Convert(FormatWma);
  EXPECT_TRUE(host.boxes.empty()) << host.boxes.front();

  const fs::path out = Out() / "停下.wma";
  const int64_t frames = tonvara::test::FfmpegDecodedFrames(out.string());
  EXPECT_GT(frames, 0);
  EXPECT_LT(frames, 20 * 44100 / 2) << "the stop cut the file short";
  ExpectTagged(out, {"停下", "某人", "某专辑", "1999", ""});
}

}  // namespace
