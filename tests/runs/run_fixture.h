// A run context over real audio objects, a settings file and an output
// folder in a temporary folder, with sources written by our own WAV writer.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/run_host.h"
#include "platform/audio/audio_file.h"
#include "platform/audio/audio_transform.h"
#include "platform/audio/lame_encoder.h"
#include "settings/settings_store.h"
#include "tests/audio/audio_test_util.h"
#include "tests/runs/fake_run_host.h"
#include "tests/support/temp_dir.h"

namespace tonvara::test {

class RunFixture : public ::testing::Test {
 protected:
  RunFixture() {
    reader.SetEnabled(true);
    writer.SetEnabled(true);
    std::filesystem::create_directories(dir / "src");
    store.Write(keys::FormatDir, OutDir().string());
  }

  std::filesystem::path OutDir() const { return dir / "out"; }
  std::filesystem::path Out(const std::string& name) const { return OutDir() / name; }

  // A stereo 44.1 kHz 16-bit WAV holding `frames` of `block`'s pattern.
  std::string Source(const std::string& name, const TSampleBlock& block, int rate = 44100) {
    const std::string path = (dir / "src" / name).string();
    TAudioFile2 w;
    WriteWithOurWriter(w, path, block, rate);
    return path;
  }
  std::string SineSource(const std::string& name, int64_t frames, int channels = 2, int rate = 44100) {
    return Source(name, Sine(rate, channels, frames), rate);
  }
  // Every sample at `level`: gains show directly in the output's samples.
  std::string LevelSource(const std::string& name, int64_t frames, float level = 0.5f) {
    TSampleBlock block(2, frames);
    std::fill(block.Samples().begin(), block.Samples().end(), level);
    return Source(name, block);
  }
  void AddRow(const std::string& caption, const std::string& path) {
    FakeRow row;
    row.caption = caption;
    row.path = path;
    host.rows.push_back(row);
  }
  void Setting(std::string_view section, std::string_view key, int32_t value) {
    store.WriteInteger(section, key, value);
  }

  // Names in the output folder, hidden temporary files included.
  std::vector<std::string> OutputNames() const {
    std::vector<std::string> names;
    if (!std::filesystem::exists(OutDir())) return names;
    for (const auto& e : std::filesystem::directory_iterator(OutDir())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  TMainState state;
  TSettingsStore store{dir / "tonvara.ini"};
  TAudioFile2 reader;
  TAudioFile2 writer;
  TAudioFile2LameEnc encoder;
  TAudioTransform2 transform;
  FakeRunHost host{state};
  TRunContext context{state, store, reader, writer, encoder, transform, host};
};

}  // namespace tonvara::test
