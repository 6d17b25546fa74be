#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  fs::path File() const { return dir / "tonvara.ini"; }
  void Given(const std::string& text) { WriteFileBytes(File(), text); }
  std::string Text() const { return ReadFileBytes(File()); }

  TempDir dir;
};

TEST_F(SettingsStoreTest, SectionsAndKeysMatchInAnyLetterCase) {
  Given("[FORMAT]\nDIR = /music/new \n[nor]\nVOL=77\n");
  TSettingsStore store(File());
  EXPECT_EQ(store.ReadString("Format", "Dir", "x"), "/music/new");
  EXPECT_EQ(store.ReadInteger("Nor", "vol", 98), 77);
  EXPECT_EQ(store.ReadInteger("Nor", "missing", 98), 98);
  EXPECT_EQ(store.ReadString("Missing", "Dir", "def"), "def");

  store.WriteInteger("NOR", "Vol", 50);
  EXPECT_EQ(Text(), "[FORMAT]\nDIR = /music/new \n[nor]\nVOL=50\n");
}

TEST_F(SettingsStoreTest, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEndOfTheFile) {
  Given("; kept\n[Format]\nDir=/a\n\n[Fade]\nIn=1\n");
  TSettingsStore store(File());
  store.WriteInteger("format", "int", 3);
  store.WriteBool("Nor", "flag", true);
  EXPECT_EQ(Text(), "; kept\n[Format]\nDir=/a\nint=3\n\n[Fade]\nIn=1\n\n[Nor]\nflag=1\n");
}

TEST_F(SettingsStoreTest, TheFirstWriteCreatesTheFileAndItsFolder) {
  TSettingsStore store(dir / "sub" / "deeper" / "tonvara.ini");
  store.WriteString("Format", "Dir", "/home/u/音乐");
  EXPECT_EQ(ReadFileBytes(dir / "sub" / "deeper" / "tonvara.ini"), "[Format]\nDir=/home/u/音乐\n");
}

TEST_F(SettingsStoreTest, WindowsLineEndingsAreKept) {
  Given("[Format]\r\nDir=/a\r\n");
  TSettingsStore store(File());
  EXPECT_EQ(store.ReadString("Format", "Dir", ""), "/a");
  store.WriteInteger("Format", "int", 1);
  EXPECT_EQ(Text(), "[Format]\r\nDir=/a\r\nint=1\r\n");

  // Each line keeps its own ending, so a stray CR still reads as it did.
  Given("[Format]\nDir=/a\r\r\nint=2\r\r\n[Fade]\nIn=1");
  EXPECT_EQ(store.ReadInteger("Format", "int", 7), 7);
  store.WriteInteger("Fade", "In", 3);
  store.WriteInteger("Fade", "Out", 4);
  EXPECT_EQ(Text(), "[Format]\nDir=/a\r\r\nint=2\r\r\n[Fade]\nIn=3\nOut=4\n");
  EXPECT_EQ(store.ReadString("Format", "Dir", ""), "/a\r");
  EXPECT_EQ(store.ReadInteger("Format", "int", 7), 7);
}

TEST_F(SettingsStoreTest, IntegerAndBooleanValueKinds) {
  struct Case {
    const char* stored;
    int32_t expected;
  };
  const Case cases[] = {
      {"0x1F", 31}, {"0X1f", 31}, {"-12", -12}, {"+7", 7}, {"abc", -5}, {"", -5}, {"0x", -5},
      {"12abc", -5}, {"0xFFFFFFFF", -1}, {"99999999999", -5}, {"\"42\"", 42}, {"2", 2}};
  for (const Case& c : cases) {
    Given(std::string("[s]\nk=") + c.stored + "\n");
    TSettingsStore store(File());
    EXPECT_EQ(store.ReadInteger("s", "k", -5), c.expected) << "stored: " << c.stored;
  }
  Given("[s]\ntwo=2\nzero=0\nbad=yes\n");
  TSettingsStore store(File());
  EXPECT_TRUE(store.ReadBool("s", "two", false));
  EXPECT_FALSE(store.ReadBool("s", "zero", true));
  EXPECT_TRUE(store.ReadBool("s", "bad", true));
  EXPECT_FALSE(store.ReadBool("s", "bad", false));
  store.WriteBool("s", "two", true);
  store.WriteBool("s", "zero", false);
  EXPECT_EQ(store.ReadString("s", "two", ""), "1");
  EXPECT_EQ(store.ReadString("s", "zero", ""), "0");
}

TEST_F(SettingsStoreTest, StringValues) {
  const std::string longText(3000, 'a');
  const std::string chinese = std::string(2046, 'b') + "音";  // the character would straddle 2047
  Given("[s]\nempty=\nlong=" + longText + "\ncut=" + chinese + "\n");
  TSettingsStore store(File());
  EXPECT_EQ(store.ReadString("s", "empty", "default"), "");
  EXPECT_EQ(store.ReadString("s", "long", ""), std::string(2047, 'a'));
  EXPECT_EQ(store.ReadString("s", "cut", ""), std::string(2046, 'b'));

  store.WriteString("s", "multi", "one\ntwo");
  EXPECT_EQ(store.ReadString("s", "multi", ""), "one two");
}

TEST_F(SettingsStoreTest, EveryReadAndWriteGoesToTheFile) {
  TSettingsStore one(File());
  TSettingsStore two(File());
  one.WriteInteger("Nor", "vol", 60);
  EXPECT_EQ(two.ReadInteger("Nor", "vol", 98), 60);
  Given("[Nor]\nvol=61\n");
  EXPECT_EQ(one.ReadInteger("Nor", "vol", 98), 61);
}

TEST_F(SettingsStoreTest, WritesReplaceTheFileAtomicallyAndKeepItsMode) {
  Given("[Format]\nDir=/a\n");
  ::chmod(File().c_str(), 0640);
  TSettingsStore store(File());
  for (int i = 0; i < 20; ++i) store.WriteInteger("Fade", "Intime", i);
  struct stat st {};
  ASSERT_EQ(::stat(File().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir.Path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1) << "no temporary file is left behind";
  EXPECT_EQ(Text(), "[Format]\nDir=/a\n\n[Fade]\nIntime=19\n");
}

TEST_F(SettingsStoreTest, AWriteThroughASymbolicLinkKeepsTheLink) {
  Given("[Format]\nDir=/a\n");
  const fs::path link = dir / "link.ini";
  fs::create_symlink(File(), link);
  TSettingsStore(link).WriteInteger("Format", "int", 2);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Text(), "[Format]\nDir=/a\nint=2\n");
}

TEST_F(SettingsStoreTest, ARefusedWriteRaisesUnableToWriteAndLeavesTheFileUntouched) {
  const std::string original = "[Format]\nDir=/a\n";
  struct Case {
    const char* name;
    bool needsNonRoot;
    fs::path file;
    std::function<void()> arrange;
  };
  const fs::path readOnlyFolder = dir / "ro";
  const fs::path blocked = dir / "blocked";
  const Case cases[] = {
      {"read-only file", false, File(),
       [&] {
         Given(original);
         ::chmod(File().c_str(), 0444);
       }},
      {"folder is a file", false, blocked / "tonvara.ini", [&] { WriteFileBytes(blocked, "x"); }},
      {"read-only folder", true, readOnlyFolder / "tonvara.ini",
       [&] {
         fs::create_directory(readOnlyFolder);
         WriteFileBytes(readOnlyFolder / "tonvara.ini", original);
         ::chmod(readOnlyFolder.c_str(), 0555);
       }},
  };
  for (const Case& c : cases) {
    if (c.needsNonRoot && ::geteuid() == 0) continue;  // root writes into any folder
    c.arrange();
    const std::string before = ReadFileBytes(c.file);
    TSettingsStore store(c.file);
    try {
      store.WriteInteger("Format", "int", 1);
      ADD_FAILURE() << c.name << ": the write was not refused";
    } catch (const SettingsWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + c.file.string()) << c.name;
    }
    EXPECT_EQ(ReadFileBytes(c.file), before) << c.name;
  }
}

TEST_F(SettingsStoreTest, KeyTableReadsGiveTheKeysDefaultOutsideTheirRange) {
  Given(
      "[Format]\nint=7\n[Fade]\nIntime=0\nOuttime=21\nIn=2\n[Nor]\nvol=101\n"
      "[wma]\nformat=47\n[mp3]\nbitrate=-1\nquality=9\n[MP3VBR]\nvbr quality=x\n");
  TSettingsStore store(File());
  EXPECT_EQ(store.ReadInt(keys::FormatInt), 0);
  EXPECT_EQ(store.ReadInt(keys::FadeInTime), 5);
  EXPECT_EQ(store.ReadInt(keys::FadeOutTime), 5);
  EXPECT_TRUE(store.ReadFlag(keys::FadeIn));
  EXPECT_FALSE(store.ReadFlag(keys::FadeOut));
  EXPECT_EQ(store.ReadInt(keys::NorVol), 98);
  EXPECT_EQ(store.ReadInt(keys::WmaFormat), 9);
  EXPECT_EQ(store.ReadInt(keys::Mp3Bitrate), 9);
  EXPECT_EQ(store.ReadInt(keys::Mp3Quality), 9);
  EXPECT_EQ(store.ReadInt(keys::VbrQuality), 4);
  EXPECT_EQ(store.ReadRunInt(keys::VbrQuality), 5);
  EXPECT_TRUE(store.ReadFlag(keys::VbrHeader));
  EXPECT_EQ(store.Read(keys::FormatDir), DefaultOutputDir());
}

TEST(SettingsLocation, BareNameLivesInTheConfigurationFolder) {
  TempDir home;
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
  TSettingsStore store("tonvara.ini");
  EXPECT_EQ(store.FileName(), home.Path() / "tonvara" / "tonvara.ini");
  store.WriteInteger("Format", "int", 4);
  EXPECT_EQ(ReadFileBytes(home.Path() / "tonvara" / "tonvara.ini"), "[Format]\nint=4\n");
  setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

}  // namespace
