// A run host without widgets for the run tests: rows in a vector, boxes,
// progress and timer recorded, and a hook on every message pass.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/run_host.h"

namespace tonvara::test {

struct FakeRow {
  std::string caption;
  std::string path;
  std::string status = "未转换";
  AudioFileinfo record;
};

class FakeRunHost : public IRunHost {
 public:
  explicit FakeRunHost(TMainState& state) : state_(state) {}

  std::vector<FakeRow> rows;
  std::vector<std::string> infos;
  std::vector<std::string> errors;
  std::vector<int32_t> progress;  // as shown: 0 while not busy
  int pumps = 0;
  int userInputHeld = 0;          // passes that held back clicks and keys
  int resets = 0;
  int previewStops = 0;
  bool timerOn = false;
  std::string commandLine;
  // Runs on every message pass with its number (1 first).
  std::function<void(int)> onPump;

  int RowCount() const override { return static_cast<int>(rows.size()); }
  std::string RowCaption(int row) const override { return rows.at(row).caption; }
  std::string RowPath(int row) const override { return rows.at(row).path; }
  void SetRowStatus(int row, const std::string& status) override { rows.at(row).status = status; }
  AudioFileinfo RowRecord(int row) const override { return rows.at(row).record; }
  void ShowInfo(const std::string& text) override { infos.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void ShowProgress(int32_t value) override { progress.push_back(state_.Busy ? std::min(value, 10000) : 0); }
  void ResetProgressAfterRun() override {
    ShowProgress(0);
    state_.Busy = false;
    ++resets;
  }
  void ProcessMessages(bool userInput) override {
    ++pumps;
    if (!userInput) ++userInputHeld;
    if (onPump) onPump(pumps);
  }
  void SetTimer1(bool on) override { timerOn = on; }
  void StopPreview() override {
    ++previewStops;
    state_.Playing = false;
  }
  std::string CommandLineText() const override { return commandLine; }

  std::vector<std::string> Statuses() const {
    std::vector<std::string> s;
    for (const FakeRow& r : rows) s.push_back(r.status);
    return s;
  }

 private:
  TMainState& state_;
};

}  // namespace tonvara::test
