// The skin file beside the program missing or broken: one error box naming
// it, the built-in skin in its place, the commands working, the window
// closing normally, and the broken file left as it was.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include "app/main_window.h"
#include "platform/dialogs.h"
#include "platform/skin.h"
#include "platform/skin/skin_widget.h"
#include "tests/audio/audio_test_util.h"
#include "tests/faults/small_disk.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using namespace tonvara::test;

namespace {

enum class SkinFile { Missing, Folder, Text };

struct Case {
  const char* name;
  SkinFile kind;
  std::string text;
};

std::string NoiseBytes() {
  std::string s;
  uint32_t x = 12345;
  for (int i = 0; i < 4096; ++i) {
    x = x * 1103515245u + 12345u;
    s.push_back(static_cast<char>(x >> 24));
  }
  return s;
}

std::vector<Case> Cases() {
  const std::string skin = TSkin::BuiltInSkinText();
  return {
      {"Missing", SkinFile::Missing, ""},
      {"AFolder", SkinFile::Folder, ""},
      {"Empty", SkinFile::Text, ""},
      {"Noise", SkinFile::Text, NoiseBytes()},
      {"NotUtf8", SkinFile::Text, "tonvara-skin 1\n# \xff\xfe\xc3\n"},
      {"HeaderOnly", SkinFile::Text, "tonvara-skin 1\n"},
      {"NoMainForm", SkinFile::Text, "tonvara-skin 1\nform Other {\n  rect 0 0 100 100\n}\n"},
      {"CutInHalf", SkinFile::Text, skin.substr(0, skin.size() / 2)},
  };
}

class SkinFaults : public ::testing::TestWithParam<Case> {
 protected:
  SkinFaults() {
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    fs::create_directories(dir / "config" / "tonvara");
    fs::create_directories(dir / "program");
    WriteFileBytes(dir / "config" / "tonvara" / "tonvara.ini", "[Format]\nDir=" + (dir / "out").string() + "\nint=1\n");
  }
  fs::path SkinPath() const { return dir / "program" / "mp3enc.dll"; }

  TempDir dir;
  dialogs::RecordingDialogs boxes;
};

TEST_P(SkinFaults, TheBuiltInSkinTakesOverAfterOneErrorBox) {
  const Case& c = GetParam();
  if (c.kind == SkinFile::Folder) fs::create_directory(SkinPath());
  if (c.kind == SkinFile::Text) WriteFileBytes(SkinPath(), c.text);

  Tfm_main window(dir / "program");
  window.show();
  const auto errors = boxes.Texts(dialogs::RecordingDialogs::Kind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(SkinPath().string()), std::string::npos) << errors[0];
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(window.size(), QSize(609, 380));

  ISkinObject* root = window.Skin1()->GetWindowRoot(&window);
  ASSERT_NE(root, nullptr);
  for (const char* name : {"pb", "pbpos", "b_Add", "b_convert", "b_stop"})
    EXPECT_NE(root->FindChild(name), nullptr) << name;

  // The skin's own convert button works.
  const std::string source = (dir / "Song.wav").string();
  TAudioFile2 w;
  WriteWithOurWriter(w, source, Sine(44100, 2, 4410), 44100);
  window.FileList().AddDropped({QString::fromStdString(source)});
  window.Skin1Click(root->FindChild("b_convert"));
  EXPECT_EQ(window.lv()->topLevelItem(0)->text(Tfm_main::ColStatus).toStdString(), "完成");
  EXPECT_EQ(FolderNames(dir / "out"), std::vector<std::string>{"Song.wav"});
  EXPECT_EQ(boxes.boxes.size(), 1u);

  EXPECT_TRUE(window.close());
  if (c.kind == SkinFile::Text) {
    EXPECT_EQ(ReadFileBytes(SkinPath()), c.text) << "the skin file was changed";
  }
  if (c.kind == SkinFile::Folder) {
    EXPECT_TRUE(fs::is_directory(SkinPath()));
  }
}

INSTANTIATE_TEST_SUITE_P(Window, SkinFaults, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
