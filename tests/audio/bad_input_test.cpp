// Damaged and misnamed inputs: the reader throws a clear error or opens
// with a consistent count (DurationMs 0 when nothing decodes); it never
// crashes, hangs or changes the file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

#include "platform/audio/audio_file.h"
#include "platform/audio/lame_encoder.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/support/temp_dir.h"

using namespace tonvara::test;
namespace fs = std::filesystem;

namespace {

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xff);
  return bytes;
}

// A valid file of the given extension written by our writers.
std::string ValidBytes(const TempDir& dir, const std::string& ext) {
  std::string path = (dir / ("valid" + ext)).string();
  TAudioFile2 writer;
  writer.SetWavFormat(22050, 2, 16);
  writer.SetWmaProfile(13);
  writer.SetOggFormat(22050, 2, 0, 0, 0, 300);
  WriteWithOurWriter(writer, path, Sine(22050, 2, 22050), 22050);
  std::string bytes = ReadFileBytes(path);
  fs::remove(path);
  return bytes;
}

std::string Truncated(const std::string& bytes, double part) {
  return bytes.substr(0, static_cast<std::size_t>(static_cast<double>(bytes.size()) * part));
}

// A WAV header whose data chunk claims far more than the file holds.
std::string LyingWav(const std::string& wav) {
  std::string bytes = wav;
  auto at = bytes.find("data");
  uint32_t huge = 0x7ffffff0;
  if (at != std::string::npos) std::memcpy(&bytes[at + 4], &huge, 4);
  uint32_t riff = 0x7ffffff8;
  std::memcpy(&bytes[4], &riff, 4);
  return bytes;
}

// A WAV header claiming zero channels.
std::string NoChannelWav(const std::string& wav) {
  std::string bytes = wav;
  auto at = bytes.find("fmt ");
  if (at != std::string::npos) bytes[at + 10] = bytes[at + 11] = 0;
  return bytes;
}

void ExpectSafeRead(const std::string& path) {
  std::string before = ReadFileBytes(path);
  TAudioFile2 reader;
  reader.SetEnabled(true);
  try {
    reader.OpenRead(path, 0, 1);
  } catch (const AudioError& e) {
    EXPECT_NE(std::string(e.what()).find(fs::path(path).filename().string()), std::string::npos) << e.what();
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(ReadFileBytes(path), before);
    return;
  }
  // Opened: the count is still what the blocks deliver.
  int64_t count = reader.SampleCount();
  EXPECT_EQ(ReadAllFrames(reader, 4096), count);
  if (count == 0) {
    EXPECT_EQ(reader.DurationMs(), 0);
  }
  reader.Close();
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(BadInput, DamagedAndMisnamedFilesAreHandledSafely) {
  TempDir dir;
  const std::string mp3 = ValidBytes(dir, ".mp3");
  const std::string ogg = ValidBytes(dir, ".ogg");
  const std::string wma = ValidBytes(dir, ".wma");
  const std::string wav = ValidBytes(dir, ".wav");
  const std::string rm = ReadFileBytes(std::string(TONVARA_AUDIO_TEST_DATA) + "/sine.rm");
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"random.mp3", RandomBytes(20000, 1)},
      {"random.ogg", RandomBytes(20000, 2)},
      {"random.wma", RandomBytes(20000, 3)},
      {"random.rm", RandomBytes(20000, 4)},
      {"random.wav", RandomBytes(20000, 5)},
      {"tiny.mp3", "\xff\xfb"},
      {"empty.mp3", ""},
      {"empty.vox", ""},
      {"half.mp3", Truncated(mp3, 0.5)},
      {"header.mp3", Truncated(mp3, 0.02)},
      {"half.ogg", Truncated(ogg, 0.5)},
      {"header.ogg", Truncated(ogg, 0.05)},
      {"half.wma", Truncated(wma, 0.5)},
      {"header.wma", Truncated(wma, 0.05)},
      {"half.rm", Truncated(rm, 0.5)},
      {"header.rm", Truncated(rm, 0.1)},
      {"half.wav", Truncated(wav, 0.5)},
      {"lying.wav", LyingWav(wav)},
      {"nochannels.wav", NoChannelWav(wav)},
      {"wav-named.mp3", wav},
      {"mp3-with-junk.mp3", mp3 + RandomBytes(5000, 6)},
      {"junk-then-mp3.mp3", RandomBytes(3000, 7) + mp3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = (dir / c.name).string();
    WriteFileBytes(path, c.bytes);
    ExpectSafeRead(path);
  }
}

TEST(BadInput, LyingWavHeaderStillCountsWhatIsThere) {
  TempDir dir;
  std::string path = (dir / "lying.wav").string();
  WriteFileBytes(path, LyingWav(ValidBytes(dir, ".wav")));
  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.OpenRead(path, 0, 1);
  EXPECT_EQ(reader.SampleCount(), 22050);
  EXPECT_EQ(reader.DurationMs(), 1000);
}

TEST(BadInput, MissingFilesAndFoldersAreErrorsNamingThem) {
  TempDir dir;
  fs::create_directory(dir / "x.mp3");
  for (const std::string& name : {(dir / "x.mp3").string(), (dir / "absent.mp3").string(),
                                  (dir / "absent.vox").string()}) {
    TAudioFile2 reader;
    reader.SetEnabled(true);
    try {
      reader.OpenRead(name, 0, 1);
      ADD_FAILURE() << name << " opened";
    } catch (const AudioError& e) {
      EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
    }
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.DurationMs(), 0);
  }
}

TEST(BadInput, ReadingAndWritingWithoutAnOpenFileIsSafe) {
  TAudioFile2 file;
  file.SetEnabled(true);
  EXPECT_EQ(file.ReadSamples(100).UpperBound(), -1);
  EXPECT_THROW(file.WriteSamples(Sine(8000, 1, 10)), AudioError);
  EXPECT_NO_THROW(file.Close());
  EXPECT_EQ(file.SampleCount(), 0);
}

}  // namespace
