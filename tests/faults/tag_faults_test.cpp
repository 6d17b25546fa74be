// A tag write that runs out of disk halfway through its copy of the file:
// the output is left exactly as the encoder wrote it (or, inside a run,
// removed with its row failed), never truncated, and no temporary file
// stays behind. With room again the same write tags the file fully.
#include <gtest/gtest.h>

#include "app/conversion_run.h"
#include "tags/tag_transfer.h"
#include "tests/faults/fault_rig.h"
#include "tests/tags/ffmpeg_tool.h"

namespace fs = std::filesystem;
using namespace tonvara::test;

namespace {

struct Case {
  const char* name;
  int32_t format;
  const char* extension;
};

const Case Cases[] = {
    {"Mp3", FormatMp3, ".mp3"},
    {"Ogg", FormatOgg, ".ogg"},
    {"Wma", FormatWma, ".wma"},
};

AudioFileinfo Record(const std::string& title) {
  AudioFileinfo r;
  r.Title = title;
  r.Artist = "歌手";
  r.Album = "专辑";
  return r;
}

class TagFaults : public FaultRig, public ::testing::WithParamInterface<Case> {
 protected:
  // The size of the tagged output of the list's only row; the output goes.
  uint64_t ConvertedSize() {
    TConversionRun(context).Run();
    const fs::path out = OutDirOnDisk() / (host.rows[0].caption + GetParam().extension);
    const uint64_t size = fs::file_size(out);
    fs::remove(out);
    return size;
  }
};

TEST_P(TagFaults, AWriterOutOfRoomLeavesTheOutputAsTheEncoderWroteIt) {
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small disk is not allowed here";
  const Case& c = GetParam();
  state.OutputFormat = c.format;
  AddSineRow("Song", 3 * 44100);
  TConversionRun(context).Run();  // the row has no tags: nothing written
  const std::string output = (OutDirOnDisk() / (std::string("Song") + c.extension)).string();
  const std::string encoded = ReadFileBytes(output);
  ASSERT_GT(encoded.size(), 8000u);

  disk.Fill(encoded.size() / 2);
  try {
    TransferTags(output, Record("标题"));
    ADD_FAILURE() << "the tag write went through on a full disk";
  } catch (const TagTransferError& e) {
    EXPECT_NE(std::string(e.what()).find(output), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFileBytes(output), encoded) << "the output was changed";
  ExpectOutputs({std::string("Song") + c.extension});

  disk.Unfill();
  TransferTags(output, Record("标题"));
  EXPECT_EQ(tagtest::ProbeTags(output)["title"], "标题");
  EXPECT_EQ(tagtest::ProbeTags(output)["album"], "专辑");
  ExpectDecodes(std::string("Song") + c.extension, 3 * 44100);
  ExpectOutputs({std::string("Song") + c.extension});
}

TEST_P(TagFaults, InARunTheRowFailsAloneAndItsOutputGoes) {
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small disk is not allowed here";
  const Case& c = GetParam();
  state.OutputFormat = c.format;
  AddSineRow("B", 3 * 44100);
  host.rows[0].record = Record("B");
  const uint64_t size = ConvertedSize();
  AddSineRow("A", 11025);
  AddSineRow("C", 11025);
  std::swap(host.rows[0], host.rows[1]);  // A, B, C
  for (FakeRow& row : host.rows) row.record = Record(row.caption);
  ASSERT_TRUE(host.errors.empty());

  // Room for the encoder's output and half a copy of it when B starts.
  bool filled = false, freed = false;
  const std::string a = std::string("A") + c.extension;
  host.onPump = [&](int) {
    if (!filled && fs::exists(OutDirOnDisk() / a)) {
      disk.Fill(size + size / 2);
      filled = true;
    } else if (filled && !freed && !host.errors.empty()) {
      disk.Unfill();
      freed = true;
    }
  };
  TConversionRun(context).Run();
  ASSERT_TRUE(filled);

  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"完成", "失败", "完成"}));
  ASSERT_EQ(host.errors.size(), 1u);
  const std::string b = (OutDirOnDisk() / (std::string("B") + c.extension)).string();
  EXPECT_NE(host.errors[0].find(b), std::string::npos) << host.errors[0];
  // The ASF layer answers only yes or no, so its message has no system cause.
  if (c.format != FormatWma) {
    EXPECT_TRUE(NamesCause(host.errors[0], {ENOSPC})) << host.errors[0];
  }
  ExpectOutputs({a, std::string("C") + c.extension});
  EXPECT_EQ(tagtest::ProbeTags((OutDirOnDisk() / (std::string("C") + c.extension)).string())["title"], "C");
  ExpectSourcesUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Formats, TagFaults, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
