#include "app/preview.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidget>

#include "app/main_window.h"
#include "platform/dialogs.h"
#include "tests/audio/audio_test_util.h"
#include "tests/support/temp_dir.h"

using Kind = dialogs::RecordingDialogs::Kind;

namespace {

class RecordingPlayer : public IAudioPlayer2 {
 public:
  void SetFormat(int32_t rate, int32_t channels) override { log.push_back("format " + std::to_string(rate) + " " + std::to_string(channels)); }
  void Play() override { log.push_back("play"); }
  void LoadSamples(const TSampleBlock& block) override {
    log.push_back("load " + std::to_string(block.Frames()));
    samples.insert(samples.end(), block.Samples().begin(), block.Samples().end());
  }
  void Stop() override { log.push_back("stop"); }
  std::vector<std::string> log;
  std::vector<float> samples;
};

class PreviewTest : public ::testing::Test {
 protected:
  PreviewTest() : preview(state, lv, reader, player) {
    lv.setColumnCount(Tfm_main::ColPath + 1);
    reader.SetEnabled(true);
  }
  // Rows for WAV files of the given lengths (frames, 8000 Hz mono).
  void AddFiles(std::initializer_list<int64_t> lengths) {
    for (int64_t frames : lengths) {
      const std::string path = (dir / ("f" + std::to_string(lv.topLevelItemCount()) + ".wav")).string();
      TAudioFile2 writer;
      writer.SetWavFormat(8000, 1, 16);
      tonvara::test::WriteWithOurWriter(writer, path, tonvara::test::Sine(8000, 1, frames), 8000);
      auto* item = new QTreeWidgetItem(&lv);
      item->setText(Tfm_main::ColPath, QString::fromStdString(path));
    }
  }
  std::string Status(int row) const { return lv.topLevelItem(row)->text(Tfm_main::ColStatus).toStdString(); }

  TempDir dir;
  QTreeWidget lv;
  TMainState state;
  TAudioFile2 reader;
  RecordingPlayer player;
  dialogs::RecordingDialogs boxes;
  TPreview preview;
};

TEST_F(PreviewTest, WithoutASelectionTheLastRowPlaysInBlocksOfItsSamples) {
  AddFiles({100, 441000 + 500});
  preview.PlayPreview();
  EXPECT_TRUE(state.Playing);
  EXPECT_EQ(state.CurrentRow, 1);
  EXPECT_EQ(Status(1), "播放中");
  EXPECT_EQ(player.log, (std::vector<std::string>{"format 8000 1", "play", "load 441000", "load 500"}));
  preview.QueueNextBlock();  // the end of the file: empty blocks, still playing
  EXPECT_EQ(player.log.back(), "load 0");
  EXPECT_EQ(Status(1), "播放中");

  TAudioFile2 direct;
  direct.SetEnabled(true);
  direct.OpenRead(lv.topLevelItem(1)->text(Tfm_main::ColPath).toStdString(), 0, 1);
  const TSampleBlock all = direct.ReadSamples(1000000);
  EXPECT_EQ(player.samples, all.Samples());
}

TEST_F(PreviewTest, ASecondPlayChangesNothingAndTheStopsWriteTheirStatus) {
  AddFiles({100, 100, 100});
  lv.topLevelItem(0)->setSelected(true);
  preview.PlayPreview();
  ASSERT_EQ(state.CurrentRow, 0);
  lv.topLevelItem(0)->setSelected(false);
  const auto logged = player.log.size();
  preview.PlayPreview();
  EXPECT_EQ(state.CurrentRow, 0);
  EXPECT_EQ(player.log.size(), logged);

  EXPECT_TRUE(preview.StopPlaying("Stop"));
  EXPECT_FALSE(state.Playing);
  EXPECT_EQ(Status(0), "Stop");
  EXPECT_FALSE(preview.StopPlaying("Stop")) << "nothing plays";
  state.CurrentRow = 1;
  lv.topLevelItem(1)->setSelected(true);
  preview.PlayPreview();
  preview.StopPlaying("停止");
  EXPECT_EQ(Status(1), "停止");
}

TEST_F(PreviewTest, NothingStartsWhileBusyAndAnEmptyListIsRefused) {
  preview.PlayPreview();
  EXPECT_EQ(boxes.Texts(Kind::Info), (std::vector<std::string>{"请添加文件!"}));
  AddFiles({100});
  state.Busy = true;
  preview.PlayPreview();
  EXPECT_FALSE(state.Playing);
  EXPECT_TRUE(player.log.empty());
}

TEST_F(PreviewTest, ARowBeyondTheListPlaysTheSelectedRowAndABadFileNeverLooksPlaying) {
  AddFiles({100, 100});
  state.CurrentRow = 7;
  lv.topLevelItem(0)->setSelected(true);
  preview.PlayPreview();
  EXPECT_EQ(state.CurrentRow, 0);
  preview.StopPlaying("Stop");

  lv.topLevelItem(1)->setText(Tfm_main::ColPath, QString::fromStdString((dir / "gone.wav").string()));
  lv.topLevelItem(0)->setSelected(false);
  lv.topLevelItem(1)->setSelected(true);
  state.CurrentRow = 1;
  preview.PlayPreview();
  EXPECT_FALSE(state.Playing);
  EXPECT_EQ(boxes.Texts(Kind::Error).size(), 1u);
  EXPECT_NE(Status(1), "播放中");
}

TEST(PreviewOnTheSilentDevice, AShortFilePlayedToItsEndKeepsPlayingUntilStopped) {
  TempDir configHome;
  setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
  dialogs::RecordingDialogs boxes;
  TempDir dir;
  const std::string path = (dir / "short.wav").string();
  TAudioFile2 writer;
  writer.SetWavFormat(8000, 1, 16);
  tonvara::test::WriteWithOurWriter(writer, path, tonvara::test::Sine(8000, 1, 800), 8000);

  Tfm_main w;
  w.show();
  auto* item = new QTreeWidgetItem(w.lv());
  item->setText(Tfm_main::ColPath, QString::fromStdString(path));
  w.State().FileInfos.emplace_back();
  w.PlayPreview();
  ASSERT_TRUE(w.State().Playing);
  QTest::qWait(500);  // the file lasts 100 ms
  EXPECT_TRUE(w.State().Playing);
  EXPECT_EQ(item->text(Tfm_main::ColStatus).toStdString(), "播放中");
  w.SkinStop();
  EXPECT_FALSE(w.State().Playing);
  EXPECT_EQ(item->text(Tfm_main::ColStatus).toStdString(), "Stop");
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
