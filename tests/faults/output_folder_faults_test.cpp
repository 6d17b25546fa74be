// The output folder made read-only, deleted, replaced by a file or filled up
// during a run, between two rows or in the middle of a file. The row that
// meets the fault fails with one message naming it and the cause, nothing
// half-written stays behind, and once the fault is gone the next row is
// converted.
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/conversion_run.h"
#include "app/normalization_run.h"
#include "tests/faults/fault_rig.h"

namespace fs = std::filesystem;
using namespace tonvara::test;

namespace {

enum class Fault { ReadOnly, Deleted, FileInItsPlace, Full };
enum class When { BetweenRows, MidFile };
enum class Run { Conversion, Normalization };

struct Case {
  const char* name;
  Fault fault;
  When when;
  Run run = Run::Conversion;
  int32_t format = FormatWav;
};

const Case Cases[] = {
    {"ReadOnlyBetweenRows", Fault::ReadOnly, When::BetweenRows},
    {"ReadOnlyMidFile", Fault::ReadOnly, When::MidFile},
    {"DeletedBetweenRows", Fault::Deleted, When::BetweenRows},
    {"DeletedMidFile", Fault::Deleted, When::MidFile},
    {"FileInItsPlaceBetweenRows", Fault::FileInItsPlace, When::BetweenRows},
    {"FileInItsPlaceMidFile", Fault::FileInItsPlace, When::MidFile},
    {"FullBetweenRows", Fault::Full, When::BetweenRows},
    {"FullMidFile", Fault::Full, When::MidFile},
    {"FullMidFileMp3", Fault::Full, When::MidFile, Run::Conversion, FormatMp3},
    {"FullMidFileWma", Fault::Full, When::MidFile, Run::Conversion, FormatWma},
    {"FullMidFileOgg", Fault::Full, When::MidFile, Run::Conversion, FormatOgg},
    {"FullMidFileVox", Fault::Full, When::MidFile, Run::Conversion, FormatVox},
    {"NormalizeReadOnlyBetweenRows", Fault::ReadOnly, When::BetweenRows, Run::Normalization},
    {"NormalizeFullBetweenRows", Fault::Full, When::BetweenRows, Run::Normalization},
    {"NormalizeDeletedMidFile", Fault::Deleted, When::MidFile, Run::Normalization},
};

std::string Extension(int32_t format) {
  switch (format) {
    case FormatMp3: return ".mp3";
    case FormatWma: return ".wma";
    case FormatOgg: return ".ogg";
    case FormatVox: return ".vox";
    default: return ".wav";
  }
}

class OutputFolderFaults : public FaultRig, public ::testing::WithParamInterface<Case> {
 protected:
  bool NeedsDisk() const { return GetParam().fault == Fault::Full; }

  void Apply() {
    const fs::path out = OutDirOnDisk();
    switch (GetParam().fault) {
      case Fault::ReadOnly:
        if (geteuid() == 0) {
          readOnly = std::make_unique<ReadOnlyView>(out);
          ASSERT_TRUE(readOnly->Active());
        } else {
          fs::permissions(out, fs::perms::owner_read | fs::perms::owner_exec);
        }
        break;
      case Fault::Deleted: fs::remove_all(out); break;
      case Fault::FileInItsPlace:
        fs::remove_all(out);
        WriteFileBytes(out, "not a folder");
        break;
      case Fault::Full: disk.Fill(); break;
    }
  }
  void Undo() {
    const fs::path out = OutDirOnDisk();
    switch (GetParam().fault) {
      case Fault::ReadOnly:
        readOnly.reset();
        if (geteuid() != 0) fs::permissions(out, fs::perms::owner_all);
        break;
      case Fault::Deleted: break;  // the run makes the folder again
      case Fault::FileInItsPlace: fs::remove(out); break;
      case Fault::Full: disk.Unfill(); break;
    }
  }

  std::unique_ptr<ReadOnlyView> readOnly;
};

TEST_P(OutputFolderFaults, TheFaultyRowFailsAloneAndNothingIsLeftHalfWritten) {
  const Case& c = GetParam();
  if (NeedsDisk() && !disk.Mounted()) GTEST_SKIP() << "mounting a small disk is not allowed here";
  const std::string prefix = c.run == Run::Normalization ? "Nor_" : "";
  const std::string ext = Extension(c.format);
  const std::string a = prefix + "A" + ext, b = prefix + "B" + ext, cc = prefix + "C" + ext;
  const int64_t shortFrames = 11025, longFrames = 5 * 44100;
  AddSineRow("A", shortFrames);
  AddSineRow("B", longFrames);
  AddSineRow("C", shortFrames);
  state.OutputFormat = c.format;
  state.NorVolume = 90;

  // In the middle of a file: at the second block of B (the worker of a
  // normalization writes in one go, so at its start).
  bool applied = false, undone = false;
  int passesWritingB = 0;
  host.onPump = [&](int) {
    if (!applied) {
      if (Writing(b, false)) ++passesWritingB;
      const bool ready = c.when == When::BetweenRows
                             ? fs::exists(OutDirOnDisk() / a) && passesWritingB == 0
                             : passesWritingB >= (c.run == Run::Conversion ? 2 : 1);
      if (ready) {
        Apply();
        applied = true;
      }
    } else if (!undone && !host.errors.empty()) {
      Undo();
      undone = true;
    }
  };
  if (c.run == Run::Conversion) {
    TConversionRun run(context);
    run.Run();
  } else {
    TNormalizationRun run(context);
    run.Run();
  }
  ASSERT_TRUE(applied) << "the fault never came";
  if (!undone) Undo();

  // Only a deleted folder between rows is no fault: the run makes it again.
  const bool bFails = !(c.fault == Fault::Deleted && c.when == When::BetweenRows);
  const bool aGone = c.fault == Fault::Deleted || c.fault == Fault::FileInItsPlace;
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"完成", bFails ? "失败" : "完成", "完成"}));
  EXPECT_TRUE(host.infos.empty());
  if (bFails) {
    ASSERT_EQ(host.errors.size(), 1u) << (host.errors.empty() ? "" : host.errors.back());
    EXPECT_NE(host.errors[0].find(host.rows[1].path), std::string::npos) << host.errors[0];
    const int cause = c.fault == Fault::ReadOnly ? (geteuid() == 0 ? EROFS : EACCES)
                      : c.fault == Fault::Full   ? ENOSPC
                      : c.fault == Fault::Deleted ? ENOENT
                                                  : ENOTDIR;
    EXPECT_TRUE(NamesCause(host.errors[0], {cause, EEXIST})) << host.errors[0];
  } else {
    EXPECT_TRUE(host.errors.empty()) << host.errors.front();
  }

  std::vector<std::string> expected;
  if (!aGone) expected.push_back(a);
  if (!bFails) expected.push_back(b);
  expected.push_back(cc);
  // A temporary file cannot be removed from a folder that is read-only at
  // that moment; it stays hidden and never takes the output's name.
  ExpectOutputs(expected, c.fault == Fault::ReadOnly && c.when == When::MidFile);
  if (!aGone) ExpectDecodes(a, shortFrames);
  if (!bFails) ExpectDecodes(b, longFrames);
  ExpectDecodes(cc, shortFrames);
  ExpectSourcesUnchanged();
  EXPECT_FALSE(state.Busy);
}

INSTANTIATE_TEST_SUITE_P(Runs, OutputFolderFaults, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
