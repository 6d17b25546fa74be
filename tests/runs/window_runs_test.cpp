// The runs driven through the real main window on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "app/main_window.h"
#include "platform/dialogs.h"
#include "platform/skin.h"
#include "platform/skin/skin_widget.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/runs/window_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using namespace tonvara::test;

namespace {

class WindowRunsTest : public ::testing::Test, protected WindowFixture {
 protected:
  void ExpectAtRest() {
    EXPECT_FALSE(window.State().Busy);
    EXPECT_FALSE(window.State().NormalizeRunning);
    EXPECT_FALSE(window.Timer1().isActive());
    ISkinObject* root = window.Skin1()->GetWindowRoot(&window);
    ASSERT_NE(root, nullptr);
    auto* pb = QueryInterface<ISkinElementPlacement>(root->FindChild("pb"));
    ASSERT_NE(pb, nullptr);
    EXPECT_EQ(pb->GetPlacement().Right, pb->GetPlacement().Left) << "the bar is empty after a run";
  }

};

TEST_F(WindowRunsTest, ConvertsTheListedFilesFromTheContextMenu) {
  Add({Source("Alpha.wav", 44100), Source("Beta.wav", 22050)});
  ASSERT_EQ(window.lv()->topLevelItemCount(), 2);
  QAction* convert = window.ListMenu()->findChild<QAction*>("listConvert");
  ASSERT_NE(convert, nullptr);
  ASSERT_TRUE(convert->isEnabled());
  convert->trigger();
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"完成", "完成"}));
  EXPECT_EQ(FfmpegDecodedFrames((Out() / "Alpha.wav").string()), 44100);
  EXPECT_EQ(FfmpegDecodedFrames((Out() / "Beta.wav").string()), 22050);
  ExpectAtRest();

  // An empty list is refused with its message.
  window.ClearList();
  window.RunConversion();
  EXPECT_EQ(boxes.Texts(dialogs::RecordingDialogs::Kind::Info), std::vector<std::string>{"请添加文件!"});
}

TEST_F(WindowRunsTest, ARunStopsAPlayingPreviewFirst) {
  Add({Source("Song.wav", 44100)});
  window.lv()->topLevelItem(0)->setSelected(true);
  window.PlayPreview();
  ASSERT_TRUE(window.State().Playing);
  window.RunConversion();
  EXPECT_FALSE(window.State().Playing);
  EXPECT_EQ(Statuses(), std::vector<std::string>{"完成"});
  EXPECT_TRUE(fs::exists(Out() / "Song.wav"));
}

TEST_F(WindowRunsTest, NormalizesWithTheTimerAndStopsThroughStopWork) {
  Add({Source("Song.wav", 44100)});
  window.State().NorVolume = 50;
  window.RunNormalization();
  EXPECT_EQ(Statuses(), std::vector<std::string>{"完成"});
  const std::vector<float> s = FfmpegDecodedSamples((Out() / "Nor_Song.wav").string());
  ASSERT_FALSE(s.empty());
  float peak = 0;
  for (float v : s) peak = std::max(peak, std::fabs(v));
  EXPECT_NEAR(peak, 0.5f, 0.005f);
  ExpectAtRest();

  // A stop while the worker runs ends the run after that row.
  window.ClearList();
  Add({Source("Long.wav", 30 * 44100), Source("Next.wav", 4410)});
  QTimer stopper;
  int stops = 0;
  QObject::connect(&stopper, &QTimer::timeout, &window, [&] {
    if (!window.State().NormalizeRunning) return;
    ++stops;
    window.StopWork();
  });
  stopper.start(1);
  window.RunNormalization();
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"完成", "未转换"}));
  EXPECT_TRUE(fs::exists(Out() / "Nor_Long.wav"));
  EXPECT_FALSE(fs::exists(Out() / "Nor_Next.wav"));
  ExpectAtRest();
}

}  // namespace
