// The state that the main window shares with the runs, the preview and the
// dialogs.
#pragma once

#include <cstdint>
#include <string>

#include "app/audio_file_info.h"

// Output format index.
enum OutputFormatIndex : int32_t { FormatMp3 = 0, FormatWav = 1, FormatWma = 2, FormatOgg = 3, FormatVox = 4 };

struct TMainState {
  bool Busy = false;              // a conversion or normalization run is in progress
  bool NormalizeRunning = false;  // the normalization worker is running
  int32_t NormalizeStage = 0;     // stage of the normalization worker
  bool Playing = false;           // the preview plays
  int32_t CurrentRow = 0;         // the row the preview plays
  int32_t OutputFormat = FormatMp3;
  std::string OutputDir;
  bool FadeIn = false;
  bool FadeOut = false;
  int32_t FadeInTime = 5;   // seconds
  int32_t FadeOutTime = 5;  // seconds
  int32_t NorVolume = 98;   // percent of full scale
  TFileInfos FileInfos;
};
