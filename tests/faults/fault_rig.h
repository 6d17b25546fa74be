// The run fixture with its output folder on a small disk of its own, and the
// checks every fault case makes afterwards: no hidden or half-written file in
// the output folder, the sources byte for byte as they were, and each
// finished output readable by FFmpeg.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "settings/fixed_lists.h"
#include "tests/audio/ffprobe_helper.h"
#include "tests/faults/small_disk.h"
#include "tests/runs/run_fixture.h"

namespace tonvara::test {

class FaultRig : public RunFixture {
 protected:
  FaultRig() : disk(dir / "disk", 4u << 20) {
    std::filesystem::create_directories(OutDirOnDisk());
    store.Write(keys::FormatDir, OutDirOnDisk().string());
  }

  std::filesystem::path OutDirOnDisk() const { return dir / "disk" / "out"; }

  // A row whose source is a sine of `frames`; its bytes are kept to compare.
  void AddSineRow(const std::string& caption, int64_t frames) {
    const std::string path = SineSource(caption + ".wav", frames);
    AddRow(caption, path);
    sourceBytes[path] = ReadFileBytes(path);
  }

  void ExpectSourcesUnchanged() const {
    for (const auto& [path, bytes] : sourceBytes)
      EXPECT_EQ(ReadFileBytes(path), bytes) << path << " was changed";
  }

  // The output folder holds exactly these finished files, nothing hidden
  // unless `hiddenAllowed` (a folder that was read-only when the writer
  // tried to remove its temporary file).
  void ExpectOutputs(const std::vector<std::string>& names, bool hiddenAllowed = false) const {
    std::vector<std::string> present = FolderNames(OutDirOnDisk());
    if (hiddenAllowed) std::erase_if(present, [](const std::string& n) { return n.starts_with("."); });
    EXPECT_EQ(present, names);
  }

  // FFmpeg decodes about `frames` from the output (exactly, for WAV); VOX,
  // which FFmpeg cannot open, is read back by our reader at the stored rate.
  void ExpectDecodes(const std::string& name, int64_t frames) const {
    const std::string path = (OutDirOnDisk() / name).string();
    if (name.ends_with(".vox")) {
      const int32_t rate = lists::SampleRates[static_cast<std::size_t>(store.ReadInt(keys::VoxRate))];
      TAudioFile2 voxReader;
      voxReader.SetEnabled(true);
      voxReader.SetVoxFormat(rate);
      voxReader.OpenRead(path, 0, 1);
      EXPECT_NEAR(static_cast<double>(voxReader.SampleCount()), frames * rate / 44100.0, 2) << path;
      return;
    }
    const int64_t decoded = FfmpegDecodedFrames(path);
    if (name.ends_with(".wav")) {
      EXPECT_EQ(decoded, frames) << path;
    } else {
      EXPECT_GT(decoded, frames * 9 / 10) << path;
      EXPECT_LT(decoded, frames * 11 / 10 + 4096) << path;
    }
  }

  // A hidden file of the row being written, as the writer names it.
  bool Writing(const std::string& outputName, bool withData) const {
    for (const std::string& n : FolderNames(OutDirOnDisk())) {
      if (!n.starts_with("." + outputName + ".")) continue;
      std::error_code ec;
      if (!withData || std::filesystem::file_size(OutDirOnDisk() / n, ec) > 0) return true;
    }
    return false;
  }

  SmallDisk disk;
  std::map<std::string, std::string> sourceBytes;
};

// True when `text` holds the system's words for one of `errors`.
inline bool NamesCause(const std::string& text, std::initializer_list<int> errors) {
  for (int e : errors)
    if (text.find(std::strerror(e)) != std::string::npos) return true;
  return false;
}

}  // namespace tonvara::test
