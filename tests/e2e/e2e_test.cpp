// Drives the real program's windows with the mouse: files added through the
// "添加" menu, the output folder through "浏览…", conversions to every format
// through "转换" and normalization through the "操作" menu. With
// TONVARA_SCREENSHOT_DIR set it also saves the pictures used in the docs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/about_box.h"
#include "app/main_window.h"
#include "platform/dialogs.h"
#include "platform/skin/skin_widget.h"
#include "settings/dir_dialog.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"
#include "tags/tag_editor_dialog.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using Kind = dialogs::RecordingDialogs::Kind;

namespace {

std::string ScreenshotDir() {
  const char* d = std::getenv("TONVARA_SCREENSHOT_DIR");
  return d ? d : "";
}

void Save(QWidget* widget, const std::string& name) {
  if (ScreenshotDir().empty() || !widget) return;
  widget->grab().save(QString::fromStdString(ScreenshotDir() + "/" + name));
}

// Runs `action` once `ready` holds, polling from the event loop (modal
// dialogs and pop-up menus run their own loops).
void When(std::function<bool()> ready, std::function<void()> action) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, qApp, [timer, ready, action] {
    if (!ready()) return;
    timer->stop();
    timer->deleteLater();
    action();
  });
  timer->start(10);
}

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() {
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    w = std::make_unique<Tfm_main>();
    about = new Tfm_about(w.get());
    dir = new Tfm_dir(w.get());
    set = new Tfm_set(w.get());
    id3 = new Tfm_id3(w.get());
    w->AttachWindows(about, dir, set, id3);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  }

  void ClickElement(const std::string& name) {
    const QRect r = w->Skin1()->ElementRect(name);
    ASSERT_FALSE(r.isEmpty()) << name;
    QTest::mouseClick(w->Skin1(), Qt::LeftButton, {}, r.center());
  }
  // Clicks a skin element that opens a pop-up menu, then the menu's entry.
  void ClickMenuEntry(const std::string& element, const QString& entry) {
    bool clicked = false;
    When([this] { return w->LastPopup() && w->LastPopup()->isVisible(); },
         [this, entry, &clicked, element] {
           QMenu* menu = w->LastPopup();
           Save(menu, "menu-" + element + ".png");
           for (QAction* a : menu->actions())
             if (a->text() == entry) {
               QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
               clicked = true;
             }
         });
    ClickElement(element);
    QTRY_VERIFY_WITH_TIMEOUT(clicked, 5000);
    QApplication::processEvents();
  }
  std::string Status(int row) const { return w->lv()->topLevelItem(row)->text(Tfm_main::ColStatus).toStdString(); }

  TempDir configHome;
  TempDir sources;
  TempDir out;
  dialogs::RecordingDialogs boxes;
  std::unique_ptr<Tfm_main> w;
  Tfm_about* about;
  Tfm_dir* dir;
  Tfm_set* set;
  Tfm_id3* id3;
};

TEST_F(ProgramTest, AddConvertToEveryFormatAndNormalizeByClicking) {
  // Two generated sources: 3 s stereo at 44.1 kHz and 2 s mono at 22.05 kHz.
  std::vector<std::string> files;
  for (auto [name, rate, channels, seconds] :
       {std::tuple{"晴天.wav", 44100, 2, 3}, std::tuple{"tone.wav", 22050, 1, 2}}) {
    TAudioFile2 writer;
    writer.SetWavFormat(rate, channels, 16);
    const std::string path = (sources / name).string();
    tonvara::test::WriteWithOurWriter(writer, path, tonvara::test::Sine(rate, channels, int64_t{rate} * seconds), rate);
    files.push_back(path);
  }

  // Files through "添加" -> "添加文件".
  boxes.fileChoices.push_back(files);
  ClickMenuEntry("b_Add", QStringLiteral("添加文件"));
  ASSERT_EQ(w->lv()->topLevelItemCount(), 2);
  EXPECT_EQ(Status(0), "未转换");
  EXPECT_EQ(w->lv()->topLevelItem(1)->text(Tfm_main::ColRate).toStdString(), "22050 Hz");

  // The output folder through "浏览…".
  ASSERT_TRUE(dir->SelectPath(out.Path().string()));
  When([this] { return dir->isVisible(); }, [this] { QTest::mouseClick(dir->findChild<QWidget*>("btn_ok"), Qt::LeftButton); });
  ClickElement("b_dir");
  EXPECT_EQ(w->SkinLabel1()->Caption(), out.Path().string());

  // Every format through "转换"; a screenshot while the run is under way.
  bool shotTaken = false;
  const char* exts[] = {".mp3", ".wav", ".wma", ".ogg", ".vox"};
  for (int format = 0; format < 5; ++format) {
    w->scmb()->setCurrentIndex(format);
    if (format == 0)
      When([this] { return w->State().Busy; }, [this, &shotTaken] {
        Save(w.get(), "main-window-running.png");
        shotTaken = true;
      });
    ClickElement("b_convert");
    EXPECT_FALSE(w->State().Busy);
    for (int row = 0; row < 2; ++row) EXPECT_EQ(Status(row), "完成") << exts[format];
  }
  for (const char* stem : {"晴天", "tone"})
    for (const char* ext : exts) {
      const fs::path output = out.Path() / (std::string(stem) + ext);
      ASSERT_TRUE(fs::exists(output)) << output;
      if (std::string(ext) == ".vox") continue;  // headerless: nothing to probe
      const auto probed = tonvara::test::ProbeAudio(output.string());
      EXPECT_TRUE(probed.ok) << output;
      EXPECT_GT(probed.duration, 1.5) << output;
    }

  // Normalized copies through "操作" -> "规范化", as OGG.
  w->scmb()->setCurrentIndex(3);
  ClickMenuEntry("action", QStringLiteral("规范化"));
  QTRY_VERIFY_WITH_TIMEOUT(!w->State().Busy, 60000);
  EXPECT_TRUE(fs::exists(out.Path() / "Nor_晴天.ogg"));
  EXPECT_TRUE(fs::exists(out.Path() / "Nor_tone.ogg"));
  EXPECT_EQ(boxes.Texts(Kind::Error), std::vector<std::string>{});

  // Preview of the first row, stopped from the skin.
  QTest::mouseClick(w->lv()->viewport(), Qt::LeftButton, {}, w->lv()->visualItemRect(w->lv()->topLevelItem(0)).center());
  QApplication::processEvents();
  ClickElement("p_play");
  EXPECT_TRUE(w->State().Playing);
  EXPECT_EQ(Status(0), "播放中");
  Save(w.get(), "main-window.png");
  ClickElement("p_stop");
  EXPECT_FALSE(w->State().Playing);
  EXPECT_EQ(Status(0), "Stop");
}

TEST_F(ProgramTest, TheOtherMenusTheAboutBoxAndTheTagEditorOpen) {
  ClickMenuEntry("help", QStringLiteral("关于"));
  EXPECT_TRUE(about->isVisible());
  Save(about, "about.png");
  about->hide();

  ClickMenuEntry("file", QStringLiteral("添加文件"));  // cancelled file dialog: nothing added
  EXPECT_EQ(w->lv()->topLevelItemCount(), 0);

  bool editorSeen = false;
  When([this] { return id3->isVisible(); }, [this, &editorSeen] {
    editorSeen = true;
    Save(id3, "tag-editor.png");
    id3->btn_cancelClick();
  });
  ClickElement("b_id3");
  EXPECT_TRUE(editorSeen);

  bool settingsSeen = false;
  When([this] { return set->isVisible(); }, [this, &settingsSeen] {
    settingsSeen = true;
    set->CancelClick();
  });
  ClickElement("setting");
  EXPECT_TRUE(settingsSeen);
  EXPECT_TRUE(boxes.Texts(Kind::Error).empty());
}

}  // namespace
