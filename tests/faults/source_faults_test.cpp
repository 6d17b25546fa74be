// A source file deleted or truncated after it was added and before the run
// reaches it, through the window: the row is reported once by name, nothing
// half-written is left, and the next row is converted.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include "app/main_window.h"
#include "platform/audio/lame_encoder.h"
#include "platform/dialogs.h"
#include "tests/audio/audio_test_util.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/faults/small_disk.h"
#include "tests/runs/window_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using namespace tonvara::test;
using Kind = dialogs::RecordingDialogs::Kind;

namespace {

enum class Change { Deleted, Emptied, HeaderOnly, Halved };

struct Case {
  const char* name;
  const char* sourceFormat;  // the extension the middle source is written in
  Change change;
  bool normalize = false;
};

const Case Cases[] = {
    {"WavDeleted", ".wav", Change::Deleted},
    {"WavEmptied", ".wav", Change::Emptied},
    {"WavHeaderOnly", ".wav", Change::HeaderOnly},
    {"WavHalved", ".wav", Change::Halved},
    {"Mp3Emptied", ".mp3", Change::Emptied},
    {"Mp3Halved", ".mp3", Change::Halved},
    {"OggHalved", ".ogg", Change::Halved},
    {"WmaHalved", ".wma", Change::Halved},
    {"NormalizeWavDeleted", ".wav", Change::Deleted, true},
    {"NormalizeWavHeaderOnly", ".wav", Change::HeaderOnly, true},
    {"NormalizeMp3Halved", ".mp3", Change::Halved, true},
};

class SourceFaults : public ::testing::TestWithParam<Case>, protected WindowFixture {
 protected:
  static void Damage(const std::string& path, Change change) {
    const std::string bytes = ReadFileBytes(path);
    switch (change) {
      case Change::Deleted: fs::remove(path); break;
      case Change::Emptied: WriteFileBytes(path, ""); break;
      case Change::HeaderOnly: WriteFileBytes(path, bytes.substr(0, 44)); break;
      case Change::Halved: WriteFileBytes(path, bytes.substr(0, bytes.size() / 2)); break;
    }
  }

};

TEST_P(SourceFaults, TheChangedSourceIsReportedOnceAndTheNextRowIsConverted) {
  const Case& c = GetParam();
  const int64_t frames = 44100;
  const std::string first = Source("A.wav", frames / 4);
  const std::string middle = Source(std::string("B") + c.sourceFormat, frames);
  const std::string last = Source("C.wav", frames / 4);
  Add({first, middle, last});
  ASSERT_EQ(window.lv()->topLevelItemCount(), 3);
  ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;

  Damage(middle, c.change);
  const std::string damaged = ReadFileBytes(middle);
  window.State().NorVolume = 90;
  if (c.normalize) window.RunNormalization();
  else window.RunConversion();

  const std::string prefix = c.normalize ? "Nor_" : "";
  const std::vector<std::string> statuses = Statuses();
  ASSERT_EQ(statuses.size(), 3u);
  EXPECT_EQ(statuses[0], "完成");
  EXPECT_EQ(statuses[2], "完成");
  const auto infos = boxes.Texts(Kind::Info);
  const auto errors = boxes.Texts(Kind::Error);
  std::vector<std::string> expected{prefix + "A.wav"};
  if (c.change == Change::Deleted) {
    EXPECT_EQ(infos, std::vector<std::string>{middle + " 已被移除."});
    EXPECT_TRUE(errors.empty());
  } else if (statuses[1] == "失败") {
    // A source cut so short that nothing can be read fails its row with one
    // message.
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(middle), std::string::npos) << errors[0];
    EXPECT_TRUE(infos.empty());
  } else {
    // What is left of a cut source is converted; the output is whole.
    EXPECT_EQ(statuses[1], "完成");
    EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
    expected.push_back(prefix + "B.wav");
    const int64_t decoded = FfmpegDecodedFrames((Out() / (prefix + "B.wav")).string());
    EXPECT_GT(decoded, 0);
    EXPECT_LE(decoded, frames + 4096);
  }
  if (c.change == Change::Emptied || c.change == Change::HeaderOnly) {
    EXPECT_EQ(statuses[1], "失败");
  }
  expected.push_back(prefix + "C.wav");
  EXPECT_EQ(FolderNames(Out()), expected);
  EXPECT_EQ(FfmpegDecodedFrames((Out() / (prefix + "C.wav")).string()), frames / 4);
  if (c.change != Change::Deleted) {
    EXPECT_EQ(ReadFileBytes(middle), damaged) << "the source was changed";
  }
  EXPECT_FALSE(window.State().Busy);
  EXPECT_TRUE(window.close());
}

INSTANTIATE_TEST_SUITE_P(Window, SourceFaults, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
