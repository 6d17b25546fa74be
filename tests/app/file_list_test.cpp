#include "app/file_list.h"

#include <gtest/gtest.h>

#include <QTreeWidget>
#include <filesystem>

#include "app/list_text.h"
#include "app/main_window.h"
#include "platform/dialogs.h"
#include "settings/settings_store.h"
#include "tests/app/fake_audio_file.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using Kind = dialogs::RecordingDialogs::Kind;

namespace {

TEST(ListText, FormatDuration) {
  const std::pair<int32_t, const char*> cases[] = {
      {0, "00:00:00"}, {59999, "00:00:59"}, {3725000, "01:02:05"}, {360000000, "100:00:00"}};
  for (const auto& [ms, text] : cases) EXPECT_EQ(FormatDuration(ms), text) << ms;
}

TEST(ListText, SizeText) {
  const std::pair<uint64_t, const char*> cases[] = {
      {3690000, "3.52MB"}, {0, "0.00MB"}, {1294336000, "1234.40MB"}, {1048576, "1.00MB"}, {5240000, "5.00MB"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
}

TEST(ListText, CleanNameRemovesEveryForbiddenCharacter) {
  EXPECT_EQ(CleanName("AC/DC: Live?"), "ACDC Live");
  EXPECT_EQ(CleanName("a*b?c|d:e/f\\g<h>i\"j"), "abcdefghij");
  EXPECT_EQ(CleanName("周杰伦 - 晴天.mp3"), "周杰伦 - 晴天.mp3");
  EXPECT_EQ(CleanName("../../etc"), "....etc");
}

TEST(ListText, ChannelAndRateTexts) {
  EXPECT_EQ(ChannelText(1), " 单声");
  EXPECT_EQ(ChannelText(2), " 立体声");
  EXPECT_EQ(ChannelText(6), " 立体声");
  EXPECT_EQ(RateText(44100), "44100 Hz");
}

class FileListTest : public ::testing::Test {
 protected:
  FileListTest() : list(lv, state, reader, store) { lv.setColumnCount(Tfm_main::ColPath + 1); }

  std::string File(const std::string& name, std::size_t bytes = 10, FakeAudioProps props = {}) {
    const fs::path p = dir / name;
    WriteFileBytes(p, std::string(bytes, 'x'));
    reader.files[p.string()] = props;
    return p.string();
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = 0; i < lv.topLevelItemCount(); ++i) out.push_back(lv.topLevelItem(i)->text(0).toStdString());
    return out;
  }
  std::vector<int32_t> Durations() const {
    std::vector<int32_t> out;
    for (const auto& r : state.FileInfos) out.push_back(r.Duration);
    return out;
  }
  std::string Cell(int row, int column) const { return lv.topLevelItem(row)->text(column).toStdString(); }

  TempDir dir;
  QTreeWidget lv;
  TMainState state;
  FakeAudioFile reader;
  std::unique_ptr<TSettingsStore> store;
  dialogs::RecordingDialogs boxes;
  TFileList list;
};

TEST_F(FileListTest, AddedFilesShowTheirPropertiesAndUnsupportedOnesAreDropped) {
  const std::string a = File("a.mp3", 3690000, {44100, 2, 3725000});
  const std::string b = (dir / "b.mp3").string();  // unknown to the reader
  WriteFileBytes(b, "junk");
  const std::string c = File("c.ogg", 0, {22050, 1, 59999});
  boxes.fileChoices.push_back({a, b, c});
  list.AddFiles();

  EXPECT_EQ(Captions(), (std::vector<std::string>{"a.mp3", "c.ogg"}));
  EXPECT_EQ(Durations(), (std::vector<int32_t>{3725000, 59999}));
  EXPECT_EQ(Cell(0, Tfm_main::ColRate), "44100 Hz");
  EXPECT_EQ(Cell(0, Tfm_main::ColChannels), " 立体声");
  EXPECT_EQ(Cell(0, Tfm_main::ColDuration), "01:02:05");
  EXPECT_EQ(Cell(0, Tfm_main::ColSize), "3.52MB");
  EXPECT_EQ(Cell(0, Tfm_main::ColStatus), "未转换");
  EXPECT_EQ(Cell(0, Tfm_main::ColPath), a);
  EXPECT_EQ(Cell(1, Tfm_main::ColChannels), " 单声");
  EXPECT_EQ(Cell(1, Tfm_main::ColSize), "0.00MB");
  EXPECT_EQ(boxes.Texts(Kind::Info), (std::vector<std::string>{"b.mp3 此文件不被支持."}));
  EXPECT_FALSE(reader.open) << "the reader is closed after every file";

  ASSERT_EQ(boxes.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs::QtFilterString(boxes.fileRequests[0].filters),
            "所有支持的文件 (*.mp3 *.wav *.wma *.ogg);;MP3 文件(*.mp3) (*.mp3);;WAV 文件(*.wav) (*.wav);;"
            "WMA 文件(*.wma) (*.wma);;OGG 文件(*.ogg) (*.ogg);;所有文件(*.*) (*)");
}

TEST_F(FileListTest, AFileWithoutDurationIsUnsupportedAndTheReaderIsReset) {
  const std::string silent = File("empty.wav", 44, {44100, 2, 0});
  boxes.fileChoices.push_back({silent});
  list.AddFiles();
  EXPECT_EQ(lv.topLevelItemCount(), 0);
  EXPECT_TRUE(state.FileInfos.empty());
  EXPECT_EQ(boxes.Texts(Kind::Info), (std::vector<std::string>{"empty.wav 此文件不被支持."}));
  const std::vector<std::string> tail(reader.log.end() - 3, reader.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"close", "disable", "enable"}));
}

TEST_F(FileListTest, TheVoxReadRateComesFromTheSettings) {
  TempDir config;
  store = std::make_unique<TSettingsStore>(config / "tonvara.ini");
  store->WriteInt(keys::VoxRate, 0);
  boxes.fileChoices.push_back({File("call.vox")});
  list.AddFiles();
  EXPECT_EQ(reader.log.front(), "open " + (dir / "call.vox").string() + " vox 8000");
  store.reset();
  boxes.fileChoices.push_back({File("call2.vox")});
  list.AddFiles();
  EXPECT_NE(std::find(reader.log.begin(), reader.log.end(), "open " + (dir / "call2.vox").string() + " vox 44100"),
            reader.log.end());
}

TEST_F(FileListTest, AFolderAddsItsOwnAudioEntriesInNameOrder) {
  TempDir folder;
  WriteFileBytes(folder / "c.rm", "x");
  WriteFileBytes(folder / "a.MP3", "x");
  WriteFileBytes(folder / "b.txt", "x");
  WriteFileBytes(folder / ".hidden.wav", "x");
  fs::create_directory(folder / "sub");
  WriteFileBytes(folder / "sub" / "d.mp3", "x");
  fs::create_directory(folder / "x.mp3");
  for (const char* name : {"c.rm", "a.MP3", ".hidden.wav", "sub/d.mp3"}) reader.files[(folder / name).string()] = {};

  list.AddFolder([&] { return folder.Path().string(); });
  EXPECT_EQ(Captions(), (std::vector<std::string>{".hidden.wav", "a.MP3", "c.rm"}));
  EXPECT_EQ(Cell(1, Tfm_main::ColPath), (folder / "a.MP3").string());
  EXPECT_EQ(boxes.Texts(Kind::Info), (std::vector<std::string>{"x.mp3 此文件不被支持."}));
  EXPECT_EQ(state.FileInfos.size(), 3u);

  boxes.boxes.clear();
  list.AddFolder([] { return std::string(); });
  EXPECT_EQ(lv.topLevelItemCount(), 3) << "a cancelled folder dialog adds nothing";
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FileListTest, RemovingSelectedRowsKeepsTheOtherRecordsInStep) {
  std::vector<std::string> files;
  for (int i = 1; i <= 5; ++i) files.push_back(File(std::to_string(i) + ".wav", 1, {8000, 1, i * 1000}));
  boxes.fileChoices.push_back(files);
  list.AddFiles();
  lv.topLevelItem(1)->setSelected(true);
  lv.topLevelItem(3)->setSelected(true);
  list.RemoveSelected();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"1.wav", "3.wav", "5.wav"}));
  EXPECT_EQ(Durations(), (std::vector<int32_t>{1000, 3000, 5000}));
  list.ClearList();
  EXPECT_EQ(lv.topLevelItemCount(), 0);
  EXPECT_TRUE(state.FileInfos.empty());
}

TEST_F(FileListTest, TheTitleColumnNarrowsAboveTenRows) {
  std::vector<std::string> files;
  for (int i = 0; i < 11; ++i) files.push_back(File("f" + std::to_string(i) + ".wav"));
  boxes.fileChoices.push_back(std::vector<std::string>(files.begin(), files.begin() + 10));
  list.AddFiles();
  EXPECT_EQ(lv.columnWidth(0), 120);
  boxes.fileChoices.push_back({files[10]});
  list.AddFiles();
  EXPECT_EQ(lv.columnWidth(0), 105);
  lv.topLevelItem(0)->setSelected(true);
  list.RemoveSelected();
  EXPECT_EQ(lv.columnWidth(0), 120);
}

TEST_F(FileListTest, EveryListCommandIsRefusedWhileBusy) {
  boxes.fileChoices.push_back({File("a.wav")});
  list.AddFiles();
  lv.topLevelItem(0)->setSelected(true);
  state.Busy = true;
  boxes.fileChoices.push_back({File("b.wav")});
  list.AddFiles();
  list.AddFolder([&] { return dir.Path().string(); });
  list.AddDropped({QString::fromStdString(File("c.wav"))});
  list.RemoveSelected();
  list.ClearList();
  EXPECT_EQ(boxes.Texts(Kind::Info), std::vector<std::string>(5, "请首先停止转换!"));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a.wav"}));
  EXPECT_EQ(state.FileInfos.size(), 1u);
  EXPECT_EQ(boxes.fileRequests.size(), 1u) << "no dialog opens while busy";
}

TEST_F(FileListTest, DroppedFilesAndFoldersAreAdded) {
  TempDir folder;
  WriteFileBytes(folder / "in.ogg", "x");
  reader.files[(folder / "in.ogg").string()] = {};
  list.AddDropped({QString::fromStdString(File("one.wav")), QString::fromStdString(folder.Path().string())});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"one.wav", "in.ogg"}));
}

TEST_F(FileListTest, TheTagStepRunsBeforeThePropertiesAndMayRenameOrRefuseTheRow) {
  std::vector<std::string> seen;
  list.TagStep = [&](const std::string& path, std::string& caption, AudioFileinfo& record) {
    seen.push_back(caption + " " + std::to_string(reader.log.size()));
    if (FileNameOf(path) == "bad.ogg") return false;
    record.Title = "Title of " + caption;
    caption = "Song " + caption;
    return true;
  };
  boxes.fileChoices.push_back({File("a.mp3"), File("bad.ogg"), File("b.mp3")});
  list.AddFiles();
  EXPECT_EQ(seen, (std::vector<std::string>{"a.mp3 0", "bad.ogg 2", "b.mp3 2"}));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Song a.mp3", "Song b.mp3"}));
  EXPECT_EQ(state.FileInfos[1].Title, "Title of b.mp3");
  EXPECT_EQ(boxes.Texts(Kind::Info), (std::vector<std::string>{"bad.ogg 此文件不被支持."}));
}

}  // namespace
