// The settings file unwritable, deleted while the program runs, or holding
// garbage, met at start-up, by the output-folder command, by the settings
// dialog's OK and at shutdown. A refused write gives one error box naming
// the file per action and leaves the file as it was; the program goes on.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "app/about_box.h"
#include "app/main_window.h"
#include "platform/dialogs.h"
#include "platform/skin/skin_widget.h"
#include "settings/dir_dialog.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"
#include "tags/tag_editor_dialog.h"
#include "tests/faults/small_disk.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using Kind = dialogs::RecordingDialogs::Kind;

namespace {

enum class Fault { ReadOnlyFile, FolderInItsPlace, DeletedWhileRunning, ConfigFolderDeleted, Garbage };

struct Case {
  const char* name;
  Fault fault;
};

const Case Cases[] = {
    {"ReadOnlyFile", Fault::ReadOnlyFile},
    {"FolderInItsPlace", Fault::FolderInItsPlace},
    {"DeletedWhileRunning", Fault::DeletedWhileRunning},
    {"ConfigFolderDeletedWhileRunning", Fault::ConfigFolderDeleted},
    {"Garbage", Fault::Garbage},
};

// Noise with line breaks, NULs and bytes that are not UTF-8, some of it
// looking like the program's own keys with values out of range.
std::string Garbage() {
  using namespace std::string_literals;
  std::string s = "\x89PNG\x00\x01\xff\xfe garbage [Format\nint=banana\n[Format]\nint=77\nDir\n"s;
  uint32_t x = 7;
  for (int i = 0; i < 3000; ++i) {
    x = x * 1103515245u + 12345u;
    const char c = static_cast<char>(x >> 24);
    s.push_back(c == '\r' || c == '[' ? 'x' : c);
  }
  s += "\n[Nor]\nvol=1000\n[Fade]\nIntime=0\nIn=yes\n";
  return s;
}

class SettingsFaults : public ::testing::TestWithParam<Case> {
 protected:
  SettingsFaults() {
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    fs::create_directories(SettingsFile().parent_path());
    window = std::make_unique<Tfm_main>();
    about = std::make_unique<Tfm_about>(window.get());
    dir = std::make_unique<Tfm_dir>(window.get());
    set = std::make_unique<Tfm_set>(window.get());
    id3 = std::make_unique<Tfm_id3>(window.get());
    window->AttachWindows(about.get(), dir.get(), set.get(), id3.get());
  }
  ~SettingsFaults() override {
    id3.reset();
    set.reset();
    dir.reset();
    about.reset();
    window.reset();
  }
  fs::path SettingsFile() const { return configHome.Path() / "tonvara" / "tonvara.ini"; }

  // The output-folder command, answered with `folder`.
  void ChooseOutputFolder(const std::string& folder) {
    ASSERT_TRUE(dir->SelectPath(folder));
    auto* timer = new QTimer(dir.get());
    QObject::connect(timer, &QTimer::timeout, dir.get(), [this, timer] {
      if (!dir->isVisible()) return;
      timer->deleteLater();
      dir->btn_okClick();
    });
    timer->start(5);
    window->ChooseOutputFolder();
  }
  // The settings dialog with the normalization level set to 80 and OK
  // pressed; Cancel when a refused write kept it open.
  void SettingsOk(bool* stayedOpen) {
    QTimer::singleShot(0, set.get(), [this, stayedOpen] {
      set->cb_nor->setCurrentIndex(79);
      set->Ok->click();
      *stayedOpen = set->isVisible();
      if (*stayedOpen) set->CancelClick();
    });
    window->ShowSettings();
  }
  std::vector<std::string> Errors() const { return boxes.Texts(Kind::Error); }

  TempDir configHome;
  TempDir chosen;
  dialogs::RecordingDialogs boxes;
  std::unique_ptr<Tfm_main> window;
  std::unique_ptr<Tfm_about> about;
  std::unique_ptr<Tfm_dir> dir;
  std::unique_ptr<Tfm_set> set;
  std::unique_ptr<Tfm_id3> id3;
};

TEST_P(SettingsFaults, EveryCommandGoesOnAndTheFileIsNeverDamaged) {
  const Fault fault = GetParam().fault;
  const std::string stored = "[Format]\nDir=/srv/音乐\nint=3\n\n[Nor]\nvol=70\n";
  const bool refused = fault == Fault::ReadOnlyFile || fault == Fault::FolderInItsPlace;
  if (fault == Fault::Garbage) {
    WriteFileBytes(SettingsFile(), Garbage());
  } else if (fault == Fault::FolderInItsPlace) {
    fs::create_directory(SettingsFile());
  } else {
    WriteFileBytes(SettingsFile(), stored);
  }
  if (fault == Fault::ReadOnlyFile) fs::permissions(SettingsFile(), fs::perms::owner_read | fs::perms::group_read);
  const std::string before = ReadFileBytes(SettingsFile());

  // Start-up reads what it can; nothing to report.
  window->show();
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
  ISkinObject* root = window->Skin1()->GetWindowRoot(window.get());
  ASSERT_NE(root, nullptr);
  if (fault == Fault::Garbage || fault == Fault::FolderInItsPlace) {
    EXPECT_EQ(window->State().OutputFormat, 0);
    EXPECT_EQ(window->State().NorVolume, 98);
    EXPECT_EQ(window->State().FadeInTime, 5);
  } else {
    EXPECT_EQ(window->State().OutputFormat, 3);
    EXPECT_EQ(window->State().OutputDir, "/srv/音乐");
    EXPECT_EQ(window->State().NorVolume, 70);
  }
  if (fault == Fault::DeletedWhileRunning) fs::remove(SettingsFile());
  if (fault == Fault::ConfigFolderDeleted) fs::remove_all(SettingsFile().parent_path());

  // The output-folder command: the new folder is used either way.
  ChooseOutputFolder(chosen.Path().string());
  EXPECT_EQ(window->State().OutputDir, chosen.Path().string());
  EXPECT_EQ(window->SkinLabel1()->Caption(), chosen.Path().string());
  EXPECT_EQ(Errors().size(), refused ? 1u : 0u);

  // The settings dialog's OK: kept open by a refused write, closed otherwise.
  bool stayedOpen = false;
  SettingsOk(&stayedOpen);
  EXPECT_EQ(stayedOpen, refused);
  EXPECT_EQ(window->State().NorVolume, 80);
  EXPECT_EQ(Errors().size(), refused ? 2u : 0u);

  // Shutdown: the window closes whatever the file does.
  EXPECT_TRUE(window->close());
  EXPECT_EQ(window->Settings(), nullptr);
  if (refused) {
    EXPECT_EQ(Errors(), std::vector<std::string>(3, "Unable to write to " + SettingsFile().string()));
    EXPECT_EQ(boxes.boxes.size(), 3u);
    if (fault == Fault::ReadOnlyFile) {
      EXPECT_EQ(ReadFileBytes(SettingsFile()), before) << "the file was changed";
    }
    if (fault == Fault::FolderInItsPlace) {
      EXPECT_TRUE(fs::is_directory(SettingsFile()));
    }
    EXPECT_EQ(tonvara::test::FolderNames(SettingsFile().parent_path()), std::vector<std::string>{"tonvara.ini"});
    return;
  }
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
  const TSettingsStore store(SettingsFile());
  EXPECT_EQ(store.Read(keys::FormatDir), chosen.Path().string());
  EXPECT_EQ(store.ReadInt(keys::NorVol), 80);
  EXPECT_EQ(tonvara::test::FolderNames(SettingsFile().parent_path()), std::vector<std::string>{"tonvara.ini"});
  if (fault == Fault::Garbage) {
    // The file is the program's own, yet its other bytes are kept.
    const std::string after = ReadFileBytes(SettingsFile());
    EXPECT_GE(after.size(), before.size());
    EXPECT_NE(after.find("\x89PNG"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Window, SettingsFaults, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
