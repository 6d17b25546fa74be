#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <cstdlib>

#include "platform/dialogs.h"
#include "platform/skin/skin_widget.h"
#include "settings/settings_store.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1); }

  fs::path SettingsFile() const { return configHome.Path() / "tonvara" / "tonvara.ini"; }
  void GivenSettings(const std::string& text) {
    fs::create_directories(SettingsFile().parent_path());
    WriteFileBytes(SettingsFile(), text);
  }

  TempDir configHome;
  dialogs::RecordingDialogs boxes;
};

TEST_F(MainWindowTest, StartsWithTheDefaultsWithoutASettingsFile) {
  Tfm_main w;
  w.show();
  const TMainState& s = w.State();
  EXPECT_EQ(w.SkinLabel1()->Caption(), DefaultOutputDir());
  EXPECT_EQ(s.OutputDir, DefaultOutputDir());
  EXPECT_EQ(s.OutputFormat, 0);
  EXPECT_EQ(w.scmb()->currentText().toStdString(), "MP3");
  EXPECT_FALSE(s.FadeIn);
  EXPECT_FALSE(s.FadeOut);
  EXPECT_EQ(s.FadeInTime, 5);
  EXPECT_EQ(s.FadeOutTime, 5);
  EXPECT_EQ(s.NorVolume, 98);
  EXPECT_FALSE(s.Busy);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_FALSE(fs::exists(SettingsFile())) << "start-up only reads";
  EXPECT_EQ(w.windowTitle().toStdString(), "Tonvara");
  EXPECT_EQ(w.size(), QSize(609, 380));
}

TEST_F(MainWindowTest, AtRestTheBarIsEmptyAndThePercentageBlank) {
  Tfm_main w;
  w.show();
  ISkinObject* root = w.Skin1()->GetWindowRoot(&w);
  ASSERT_NE(root, nullptr);
  auto* pb = QueryInterface<ISkinElementPlacement>(root->FindChild("pb"));
  ASSERT_NE(pb, nullptr);
  EXPECT_EQ(pb->GetPlacement().Right, pb->GetPlacement().Left);
  EXPECT_EQ(w.Progress().BarRect().Left, pb->GetPlacement().Left);

  w.State().Busy = true;
  w.ShowProgress(2500);
  EXPECT_EQ(pb->GetPlacement().Right, pb->GetPlacement().Left + 111);
  w.ResetProgressAfterRun();
  EXPECT_FALSE(w.State().Busy);
  EXPECT_EQ(pb->GetPlacement().Right, pb->GetPlacement().Left);
}

TEST_F(MainWindowTest, StoredFormatSelectsItsEntryAndAChangeIsStoredAtClose) {
  GivenSettings("[Format]\nint=2\n");
  Tfm_main w;
  w.show();
  EXPECT_EQ(w.scmb()->currentText().toStdString(), "WMA");
  EXPECT_EQ(w.State().OutputFormat, 2);
  w.scmb()->setCurrentIndex(3);
  EXPECT_EQ(w.State().OutputFormat, 3);
  w.close();
  EXPECT_EQ(TSettingsStore(SettingsFile()).ReadInteger("Format", "int", -1), 3);
}

TEST_F(MainWindowTest, StoredValuesOutsideTheirRangesReadAsDefaults) {
  GivenSettings("[Format]\nint=9\nDir=/data/音乐\n[Fade]\nIn=1\nIntime=0\nOuttime=12\n[Nor]\nvol=250\n");
  Tfm_main w;
  w.show();
  EXPECT_EQ(w.State().OutputFormat, 0);
  EXPECT_EQ(w.scmb()->currentIndex(), 0);
  EXPECT_EQ(w.State().OutputDir, "/data/音乐");
  EXPECT_EQ(w.SkinLabel1()->Caption(), "/data/音乐");
  EXPECT_TRUE(w.State().FadeIn);
  EXPECT_EQ(w.State().FadeInTime, 5);
  EXPECT_EQ(w.State().FadeOutTime, 12);
  EXPECT_EQ(w.State().NorVolume, 98);
}

TEST_F(MainWindowTest, ClosingWritesTheSevenValuesInOrder) {
  {
    Tfm_main w;
    w.show();
    w.State().OutputDir = "/tmp/out/";
    w.State().Busy = true;
    w.close();
    EXPECT_FALSE(w.State().Busy);
    EXPECT_EQ(w.Settings(), nullptr) << "the store is released";
  }
  EXPECT_EQ(ReadFileBytes(SettingsFile()),
            "[Format]\nDir=/tmp/out/\nint=0\n\n[Fade]\nIn=0\nOut=0\nIntime=5\nOuttime=5\n\n[Nor]\nvol=98\n");
}

TEST_F(MainWindowTest, ARefusedShutdownWriteIsReportedAndTheWindowStillCloses) {
  GivenSettings("[Format]\nint=1\n");
  fs::permissions(SettingsFile(), fs::perms::owner_read | fs::perms::group_read);
  Tfm_main w;
  w.show();
  EXPECT_TRUE(w.close());
  ASSERT_EQ(boxes.Texts(dialogs::RecordingDialogs::Kind::Error).size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Unable to write to " + SettingsFile().string());
  EXPECT_EQ(ReadFileBytes(SettingsFile()), "[Format]\nint=1\n");
}

TEST_F(MainWindowTest, AMissingSkinFileFallsBackToTheBuiltInSkinWithOneErrorBox) {
  TempDir emptyProgramFolder;
  Tfm_main w(emptyProgramFolder.Path());
  w.show();
  const auto errors = boxes.Texts(dialogs::RecordingDialogs::Kind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find((emptyProgramFolder.Path() / "mp3enc.dll").string()), std::string::npos) << errors[0];
  ISkinObject* root = w.Skin1()->GetWindowRoot(&w);
  ASSERT_NE(root, nullptr);
  EXPECT_NE(root->FindChild("pb"), nullptr);
  EXPECT_NE(root->FindChild("b_Add"), nullptr);
}

TEST_F(MainWindowTest, TheListHasItsSixColumnsAndAHiddenPathColumn) {
  Tfm_main w;
  const QTreeWidget* lv = w.lv();
  EXPECT_EQ(lv->geometry(), QRect(12, 100, 446, 201));
  const char* captions[] = {"文件标题", "频率", "声道", "时间", "大小", "状态"};
  const int widths[] = {120, 70, 60, 60, 60, 70};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(lv->headerItem()->text(i).toStdString(), captions[i]);
    EXPECT_EQ(lv->columnWidth(i), widths[i]);
    EXPECT_FALSE(lv->isColumnHidden(i));
  }
  EXPECT_TRUE(lv->isColumnHidden(Tfm_main::ColPath));
  EXPECT_EQ(lv->header()->length(), 440) << "the hidden path column takes no room";
  EXPECT_EQ(lv->topLevelItemCount(), 0);
  EXPECT_EQ(lv->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_FALSE(lv->header()->sectionsClickable());
}

TEST_F(MainWindowTest, StartUpSwitchesTheAudioFilesOn) {
  Tfm_main w;
  EXPECT_FALSE(w.AudioFileRead().Enabled());
  w.show();
  EXPECT_TRUE(w.AudioFileRead().Enabled());
  EXPECT_TRUE(w.AudioFilewrite().Enabled());
}

TEST_F(MainWindowTest, StopWorkEndsARunAndAsksTheNormalizationWorkerToEnd) {
  Tfm_main w;
  int requests = 0;
  w.RequestNormalizeTermination = [&] { ++requests; };
  w.State().Busy = true;
  w.StopWork();
  EXPECT_FALSE(w.State().Busy);
  EXPECT_EQ(requests, 0);
  w.State().Busy = true;
  w.State().NormalizeRunning = true;
  w.State().NormalizeStage = 2;
  w.State().Playing = true;
  w.StopWork();
  EXPECT_EQ(requests, 1);
  EXPECT_FALSE(w.State().NormalizeRunning);
  EXPECT_EQ(w.State().NormalizeStage, 0);
  EXPECT_TRUE(w.State().Playing) << "the preview is not touched";
}

}  // namespace
