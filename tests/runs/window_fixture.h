// The real main window on the offscreen platform with its own settings file
// (output folder dir/out, format WAV), sources written by our own writers,
// and the list's statuses: shared by the tests that drive the window's runs.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/audio/lame_encoder.h"
#include "platform/dialogs.h"
#include "tests/audio/audio_test_util.h"
#include "tests/support/temp_dir.h"

class WindowFixture {
 protected:
  WindowFixture() {
    namespace fs = std::filesystem;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    fs::create_directories(dir / "config" / "tonvara");
    fs::create_directories(dir / "src");
    WriteFileBytes(dir / "config" / "tonvara" / "tonvara.ini", "[Format]\nDir=" + Out().string() + "\nint=1\n");
    window.show();
  }

  std::filesystem::path Out() const { return dir / "out"; }
  // A stereo 44.1 kHz sine, encoded in the format of the name.
  std::string Source(const std::string& name, int64_t frames) {
    const std::string path = (dir / "src" / name).string();
    TAudioFile2 w;
    TAudioFile2LameEnc encoder;
    w.SetMp3Encoder(&encoder);
    tonvara::test::WriteWithOurWriter(w, path, tonvara::test::Sine(44100, 2, frames), 44100);
    return path;
  }
  void Add(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& p : paths) list << QString::fromStdString(p);
    window.FileList().AddDropped(list);
  }
  std::vector<std::string> Statuses() {
    std::vector<std::string> s;
    for (int i = 0; i < window.lv()->topLevelItemCount(); ++i)
      s.push_back(window.lv()->topLevelItem(i)->text(Tfm_main::ColStatus).toStdString());
    return s;
  }

  TempDir dir;
  dialogs::RecordingDialogs boxes;
  Tfm_main window;
};
