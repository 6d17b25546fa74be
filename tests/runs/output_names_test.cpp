#include "app/output_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST(OutputNamesTest, FreeNamesInTurnAsEachOutputAppears) {
  struct Case {
    const char* prefix;
    const char* caption;
    const char* extension;
    std::vector<std::string> names;  // the first free name, taken in turn
  };
  const Case cases[] = {
      {"", "Song", ".wav", {"Song.wav", "Song_1.wav", "Song_2.wav"}},
      {"", "Song.mp3", ".wav", {"Song.wav", "Song_1.wav"}},
      {"", "Live. Vol 2", ".wav", {"Live.wav", "Live_1.wav"}},
      {"", "a.b.c", ".ogg", {"a.b.ogg", "a_1.ogg"}},
      {"Nor_", "Song", ".mp3", {"Nor_Song.mp3", "Nor_Song_1.mp3"}},
      {"Nor_", "Song.wma", ".mp3", {"Nor_Song.mp3", "Nor_Song_1.mp3"}},
      // Characters a file name may not hold are dropped, so the name stays
      // in the output folder.
      {"", "AC/DC - Back", ".wav", {"ACDC - Back.wav", "ACDC - Back_1.wav"}},
      {"", "x/../../etc/passwd", ".wav", {"x....wav", "x_1.wav"}},
      {"", "Q: *why*?", ".vox", {"Q why.vox", "Q why_1.vox"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    TempDir dir;
    const std::string folder = dir.Path().string() + "/";
    for (const std::string& expected : c.names) {
      const auto path = FreeOutputPath(folder, c.prefix, c.caption, c.extension);
      ASSERT_TRUE(path.has_value());
      EXPECT_EQ(*path, folder + expected);
      WriteFileBytes(*path, "taken");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(c.names.size()));
  }
}

TEST(OutputNamesTest, NoNameWhenTheNameAndAllHundredNumberedOnesAreTaken) {
  TempDir dir;
  const std::string folder = dir.Path().string() + "/";
  WriteFileBytes(dir / "Song.wav", "");
  for (int n = 1; n <= 99; ++n) WriteFileBytes(dir / ("Song_" + std::to_string(n) + ".wav"), "");
  EXPECT_EQ(FreeOutputPath(folder, "", "Song", ".wav"), folder + "Song_100.wav");
  // A dangling link counts as taken too: nothing is written through it.
  fs::create_symlink(dir / "nowhere", dir / "Song_100.wav");
  EXPECT_EQ(FreeOutputPath(folder, "", "Song", ".wav"), std::nullopt);
}

TEST(OutputNamesTest, ExtensionAndStemRules) {
  EXPECT_EQ(ReplaceExtension("Song", ".wav"), "Song.wav");
  EXPECT_EQ(ReplaceExtension("Song.", ".wav"), "Song.wav");
  EXPECT_EQ(ReplaceExtension("Live. Vol 2", ".wav"), "Live.wav");
  EXPECT_EQ(NumberingStem("a.b.c"), "a");
  EXPECT_EQ(NumberingStem("Song"), "Song");
  EXPECT_EQ(NumberingStem(".hidden"), ".hidden");
}

}  // namespace
