#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "app/about_box.h"
#include "app/main_window.h"
#include "platform/dialogs.h"
#include "platform/skin/skin_widget.h"
#include "settings/dir_dialog.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"
#include "tags/tag_editor_dialog.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using Kind = dialogs::RecordingDialogs::Kind;

namespace {

class NamedElement : public ISkinObject {
 public:
  explicit NamedElement(std::string name) : name_(std::move(name)) {}
  ISkinObject* FindChild(std::string_view) override { return nullptr; }
  std::string ReadName() const override { return name_; }

 private:
  std::string name_;
};

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() {
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    StartWindow();
  }
  void StartWindow() {
    // The dialogs are the window's children: they go first.
    id3.reset();
    set.reset();
    dir.reset();
    about.reset();
    w = std::make_unique<Tfm_main>();
    about = std::make_unique<Tfm_about>(w.get());
    dir = std::make_unique<Tfm_dir>(w.get());
    set = std::make_unique<Tfm_set>(w.get());
    id3 = std::make_unique<Tfm_id3>(w.get());
    w->AttachWindows(about.get(), dir.get(), set.get(), id3.get());
    w->show();
  }
  void Click(const std::string& name) {
    NamedElement e(name);
    w->Skin1Click(&e);
  }
  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      auto* item = new QTreeWidgetItem(w->lv());
      item->setText(0, QString::number(i));
      item->setText(Tfm_main::ColPath, QStringLiteral("/nowhere/%1.wav").arg(i));
      w->State().FileInfos.emplace_back();
    }
  }
  // Answers the folder dialog once it shows.
  void AnswerDir(std::function<void()> answer) {
    auto* timer = new QTimer(dir.get());
    QObject::connect(timer, &QTimer::timeout, dir.get(), [this, timer, answer] {
      if (!dir->isVisible()) return;
      timer->deleteLater();
      answer();
    });
    timer->start(5);
  }
  fs::path SettingsFile() const { return configHome.Path() / "tonvara" / "tonvara.ini"; }

  ~CommandsTest() override { DestroyWindows(); }
  void DestroyWindows() {
    id3.reset();
    set.reset();
    dir.reset();
    about.reset();
    w.reset();
  }

  TempDir configHome;
  dialogs::RecordingDialogs boxes;
  std::unique_ptr<Tfm_main> w;
  std::unique_ptr<Tfm_about> about;
  std::unique_ptr<Tfm_dir> dir;
  std::unique_ptr<Tfm_set> set;
  std::unique_ptr<Tfm_id3> id3;
};

TEST_F(CommandsTest, MenuElementsOpenTheirMenusRelativeToTheWindowFrame) {
  struct Case {
    const char* element;
    QMenu* menu;
    int dx, dy;
  };
  const Case cases[] = {{"b_Add", w->p_file(), 12, 285},
                        {"file", w->p_file(), 12, 66},
                        {"action", w->p_action(), 52, 66},
                        {"help", w->p_help(), 232, 66}};
  for (const Case& c : cases) {
    Click(c.element);
    EXPECT_EQ(w->LastPopup(), c.menu) << c.element;
    EXPECT_EQ(w->LastPopupPos(), w->frameGeometry().topLeft() + QPoint(c.dx, c.dy)) << c.element;
    c.menu->hide();
  }
}

TEST_F(CommandsTest, MenusHoldTheirEntriesInOrderWithIcons) {
  auto entries = [](QMenu* m) {
    std::vector<std::string> out;
    for (QAction* a : m->actions()) {
      out.push_back(a->isSeparator() ? "-" : a->text().toStdString());
      if (!a->isSeparator()) {
        EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
      }
    }
    return out;
  };
  EXPECT_EQ(entries(w->p_file()), (std::vector<std::string>{"添加文件", "添加文件夹"}));
  EXPECT_EQ(entries(w->p_action()), (std::vector<std::string>{"规范化", "转换", "-", "播放", "-", "停止"}));
  EXPECT_EQ(entries(w->p_help()), (std::vector<std::string>{"内容", "关于"}));
}

TEST_F(CommandsTest, UnknownNamesAndOtherLetterCaseDoNothing) {
  AddRows(2);
  w->lv()->topLevelItem(0)->setSelected(true);
  for (const char* name : {"B_ADD", "b_add", "Form", "pb", "", "b_remove "}) Click(name);
  EXPECT_EQ(w->LastPopup(), nullptr);
  EXPECT_EQ(w->lv()->topLevelItemCount(), 2);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CommandsTest, ListAndStopElementsRunTheirCommands) {
  AddRows(3);
  w->lv()->topLevelItem(1)->setSelected(true);
  Click("b_remove");
  EXPECT_EQ(w->lv()->topLevelItemCount(), 2);
  EXPECT_EQ(w->State().FileInfos.size(), 2u);
  Click("b_clear");
  EXPECT_EQ(w->lv()->topLevelItemCount(), 0);
  EXPECT_TRUE(w->State().FileInfos.empty());
  w->State().Busy = true;
  Click("b_stop");
  EXPECT_FALSE(w->State().Busy);
  Click("p_play");
  EXPECT_EQ(boxes.Texts(Kind::Info), (std::vector<std::string>{"请添加文件!"}));
}

TEST_F(CommandsTest, DialogCommandsAreRefusedWhileBusy) {
  w->State().Busy = true;
  for (const char* name : {"b_dir", "b_open", "b_id3", "setting"}) Click(name);
  EXPECT_EQ(boxes.Texts(Kind::Info), std::vector<std::string>(4, "请首先停止转换!"));
  EXPECT_TRUE(boxes.opened.empty());
  EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(CommandsTest, OpenFolderAndHelpGoToTheDesktopsOpener) {
  w->State().OutputDir = "/home/u/音乐";
  Click("b_open");
  Click("helpp");
  w->p_help()->actions()[0]->trigger();  // "内容"
  const std::string help =
      QUrl::fromLocalFile(QString::fromStdString((fs::path(QCoreApplication::applicationDirPath().toStdString()) /
                                                  "help" / "tonvara.html")
                                                     .string()))
          .toString()
          .toStdString();
  EXPECT_EQ(boxes.opened,
            (std::vector<std::string>{QUrl::fromLocalFile(QStringLiteral("/home/u/音乐")).toString().toStdString(),
                                      help, help}));
}

TEST_F(CommandsTest, ChoosingTheOutputFolderShowsItAndStoresItAtOnce) {
  const std::string before = w->SkinLabel1()->Caption();
  AnswerDir([this] { dir->btn_cancelClick(); });
  Click("b_dir");
  EXPECT_EQ(w->SkinLabel1()->Caption(), before);
  EXPECT_FALSE(fs::exists(SettingsFile())) << "a cancelled choice writes nothing";
  EXPECT_EQ(dir->windowTitle().toStdString(), "输出目录");

  TempDir chosen;
  ASSERT_TRUE(dir->SelectPath(chosen.Path().string()));
  AnswerDir([this] { dir->btn_okClick(); });
  Click("b_dir");
  EXPECT_EQ(w->SkinLabel1()->Caption(), chosen.Path().string());
  EXPECT_EQ(w->State().OutputDir, chosen.Path().string());
  EXPECT_EQ(TSettingsStore(SettingsFile()).ReadString("Format", "Dir", ""), chosen.Path().string());

  // The next start begins with it, even when this one never shuts down properly.
  StartWindow();
  EXPECT_EQ(w->State().OutputDir, chosen.Path().string());
}

TEST_F(CommandsTest, TheListClickFollowsTheSelectionExceptWhilePlaying) {
  AddRows(5);
  w->lv()->topLevelItem(2)->setSelected(true);
  w->lvClick();
  EXPECT_EQ(w->State().CurrentRow, 2);
  w->lv()->clearSelection();  // a click on empty space
  w->lvClick();
  EXPECT_TRUE(w->lv()->topLevelItem(2)->isSelected());
  w->State().Playing = true;
  w->lv()->clearSelection();
  w->lv()->topLevelItem(4)->setSelected(true);
  w->lvClick();
  EXPECT_EQ(w->State().CurrentRow, 2);
}

TEST_F(CommandsTest, TheMenuStopEndsARunWhenNothingPlays) {
  w->State().Busy = true;
  w->MenuStop();
  EXPECT_FALSE(w->State().Busy);
  Click("p_stop");  // nothing plays: nothing happens
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CommandsTest, TheAboutBoxOpensBesideTheWindowAndItsLinksGoToTheOpener) {
  w->p_help()->actions()[1]->trigger();  // "关于"
  EXPECT_TRUE(about->isVisible());
  EXPECT_FALSE(about->isModal());
  EXPECT_EQ(about->pos(), w->frameGeometry().topLeft());
  EXPECT_EQ(about->size(), QSize(294, 277));
  about->LinkClick(Tfm_about::HomePage);
  about->LinkClick(std::string("mailto:") + Tfm_about::SupportMail);
  EXPECT_EQ(boxes.opened, (std::vector<std::string>{"https://tonvara.example.org",
                                                    "mailto:support@tonvara.example.org"}));
  about->hide();
}

}  // namespace
