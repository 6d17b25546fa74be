// Adds every audio file of a folder to a list, as the folder command does
// (tag step and property step included), and prints the time per file.
//   add_folder_bench FOLDER
#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>

#include "app/file_list.h"
#include "app/main_window.h"
#include "app/tag_step.h"
#include "platform/audio/audio_file.h"
#include "platform/dialogs.h"
#include "settings/settings_store.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  dialogs::RecordingDialogs boxes;  // unsupported files are counted, not shown
  QTreeWidget lv;
  lv.setColumnCount(Tfm_main::ColPath + 1);
  TMainState state;
  TAudioFile2 reader;
  reader.SetEnabled(true);
  std::unique_ptr<TSettingsStore> store;
  TFileList list(lv, state, reader, store);
  list.TagStep = ReadAddedFileTags;

  const auto start = std::chrono::steady_clock::now();
  list.AddFolder([&] { return std::string(argv[1]); });
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const int rows = lv.topLevelItemCount();
  std::printf("rows %d refused %zu total_ms %.1f ms_per_file %.2f\n", rows, boxes.boxes.size(), ms,
              rows ? ms / rows : 0.0);
  return rows > 0 ? 0 : 1;
}
