// What the conversion and normalization runs need from the program that
// drives them (the main window, or a command-line front end): the list rows,
// their tag records, message boxes, the progress display, the message pump,
// the timer and the preview. The runs hold no widgets; a front end adapts its
// own to this interface.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/audio_file_info.h"
#include "app/main_state.h"

class IAudioFile2;
class IAudioFile2LameEnc;
class IAudioTransform2;
class TSettingsStore;

class IRunHost {
 public:
  virtual ~IRunHost() = default;

  // The list rows, first to last: caption, full source path, status text.
  virtual int RowCount() const = 0;
  virtual std::string RowCaption(int row) const = 0;
  virtual std::string RowPath(int row) const = 0;
  virtual void SetRowStatus(int row, const std::string& status) = 0;
  // The row's tag record; an empty one when the row has none.
  virtual AudioFileinfo RowRecord(int row) const = 0;

  // An information box with an OK button; the standard error box.
  virtual void ShowInfo(const std::string& text) = 0;
  virtual void ShowError(const std::string& text) = 0;

  // Progress of the current file, 0..10000; shown as 0 while not busy.
  virtual void ShowProgress(int32_t value) = 0;
  // End of a run: progress 0 while still busy, then Busy := false, then the
  // percentage text blanked.
  virtual void ResetProgressAfterRun() = 0;

  // Handles pending messages (stop commands, the close request, repaints,
  // timer ticks). With `userInput` false, clicks and keys wait for a later
  // pass.
  virtual void ProcessMessages(bool userInput = true) = 0;
  // Starts or stops the 1000 ms timer whose ticks call the normalization
  // run's Timer1Timer.
  virtual void SetTimer1(bool on) = 0;
  // Stops a playing preview (status "停止"), so it never reads the shared
  // reader during a run.
  virtual void StopPreview() = 0;
  // The settings dialog's current command-line text for the MP3 encoder.
  virtual std::string CommandLineText() const = 0;
};

// Everything a run works with, owned by the front end.
struct TRunContext {
  TMainState& state;
  TSettingsStore& store;
  IAudioFile2& reader;
  IAudioFile2& writer;
  IAudioFile2LameEnc& encoder;
  IAudioTransform2& transform;
  IRunHost& host;
  // A run is on the stack, also after a stop cleared Busy and before the run
  // has closed its files; no second run may start on the same objects then.
  bool runActive = false;
  // When not empty, the output folder instead of the stored "Format"/"Dir"
  // (a front end's own option; nothing is written to the store).
  std::string outputDir{};
  // When set, chooses a row's output path instead of FreeOutputPath (same
  // arguments; empty when no name is free), so that runs working side by
  // side never pick the same name.
  std::function<std::optional<std::string>(int row, const std::string& folder, std::string_view prefix,
                                           std::string_view caption, std::string_view extension)>
      outputPath{};
};
