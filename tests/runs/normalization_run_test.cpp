#include "app/normalization_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "tests/audio/ffprobe_helper.h"
#include "tests/runs/run_fixture.h"

namespace fs = std::filesystem;
using namespace tonvara::test;

namespace {

// A reader whose reads wait until the test opens the gate, and which fails
// every read of one chosen file; reads run on the worker thread.
class GatedReader : public TAudioFile2 {
 public:
  std::atomic<bool> gateOpen{true};
  std::string failFor;  // set before the run starts
  void OpenRead(const std::string& name, int32_t a, int32_t b) override {
    failing_ = !failFor.empty() && name == failFor;
    TAudioFile2::OpenRead(name, a, b);
  }
  TSampleBlock ReadSamples(int64_t frames) override {
    while (!gateOpen) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (failing_) throw AudioError("decoder gave up");
    return TAudioFile2::ReadSamples(frames);
  }

 private:
  std::atomic<bool> failing_{false};
};

class NormalizationRunTest : public RunFixture {
 protected:
  NormalizationRunTest() {
    gated.SetEnabled(true);
    state.OutputFormat = 1;
  }
  // The stop command: Busy false; the worker asked to end.
  void Stop() {
    state.Busy = false;
    if (state.NormalizeRunning) {
      run.RequestTermination();
      state.NormalizeRunning = false;
      state.NormalizeStage = 0;
    }
  }
  float Peak(const std::string& path) {
    const std::vector<float> s = FfmpegDecodedSamples(path);
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    return peak;
  }

  GatedReader gated;
  TRunContext gatedContext{state, store, gated, writer, encoder, transform, host};
  TNormalizationRun run{gatedContext};
};

TEST_F(NormalizationRunTest, WritesNorCopiesAtTheTargetPeakWithoutFades) {
  const std::string source = SineSource("Song.wav", 44100, 2);  // peak 0.5
  AddRow("Song", source);
  AddRow("Song.mp3", source);
  state.NorVolume = 80;
  state.FadeIn = state.FadeOut = true;
  run.Run();
  EXPECT_TRUE(host.errors.empty());
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"完成", "完成"}));
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Nor_Song.wav", "Nor_Song_1.wav"}));
  const std::string out = Out("Nor_Song.wav").string();
  EXPECT_EQ(FfmpegDecodedFrames(out), 44100);
  EXPECT_NEAR(Peak(out), 0.80f, 0.005f);
  // No fade: the first cycle already reaches the peak.
  const std::vector<float> s = FfmpegDecodedSamples(out);
  const float firstPeak = *std::max_element(s.begin(), s.begin() + 2 * 101);
  EXPECT_NEAR(firstPeak, 0.80f, 0.01f);
  EXPECT_FALSE(state.Busy);
  EXPECT_FALSE(state.NormalizeRunning);
  EXPECT_FALSE(host.timerOn);
  EXPECT_EQ(run.NormalizeProgress(), 0);
  EXPECT_EQ(host.progress.back(), 0);
  EXPECT_NE(std::find(host.progress.begin(), host.progress.end(), 10000), host.progress.end());
}

TEST_F(NormalizationRunTest, TimerProgressHoldsAtTenPercentWhileTheFileIsRead) {
  AddRow("Song", SineSource("Song.wav", 44100));
  gated.gateOpen = false;
  std::size_t shownWhileReading = 0;
  // Every pass is a timer tick while the timer is on.
  host.onPump = [&](int pass) {
    if (host.timerOn) run.Timer1Timer();
    if (pass == 30) {
      shownWhileReading = host.progress.size();
      gated.gateOpen = true;
    }
  };
  run.Run();
  ASSERT_GT(shownWhileReading, 10u);
  const std::vector<int32_t> reading(host.progress.begin(), host.progress.begin() + shownWhileReading);
  EXPECT_LE(*std::max_element(reading.begin(), reading.end()), 1000);
  EXPECT_EQ(reading.back(), 1000) << "the bar creeps up to the hold";
  EXPECT_EQ(reading[1], 200) << "2 percent a tick";
  const std::vector<int32_t> after(host.progress.begin() + shownWhileReading, host.progress.end());
  EXPECT_NE(std::find(after.begin(), after.end(), 2000), after.end());
  EXPECT_NE(std::find(after.begin(), after.end(), 10000), after.end());
  EXPECT_EQ(host.Statuses(), std::vector<std::string>{"完成"});
  EXPECT_FALSE(host.timerOn);
}

TEST_F(NormalizationRunTest, AStopWhileReadingLeavesAnOutputWithoutSamplesAndNoFurtherRows) {
  AddRow("First", SineSource("First.wav", 44100));
  AddRow("Second", SineSource("Second.wav", 4410));
  gated.gateOpen = false;
  host.onPump = [&](int pass) {
    if (pass == 10) Stop();
    if (pass == 15) gated.gateOpen = true;
  };
  run.Run();
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"完成", "未转换"}));
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"Nor_First.wav"});
  EXPECT_EQ(FfmpegDecodedFrames(Out("Nor_First.wav").string()), 0);
  EXPECT_GT(host.userInputHeld, 0) << "clicks wait until the worker has ended";
  EXPECT_FALSE(state.Busy);
  EXPECT_FALSE(state.NormalizeRunning);
  EXPECT_EQ(state.NormalizeStage, 0);
  EXPECT_FALSE(gated.IsOpen());
  EXPECT_FALSE(writer.IsOpen());
}

TEST_F(NormalizationRunTest, AnErrorInTheWorkerFailsThatRowAndTheRunGoesOn) {
  const std::string bad = SineSource("Bad.wav", 44100);
  AddRow("Bad", bad);
  AddRow("Good", SineSource("Good.wav", 4410));
  gated.failFor = bad;  // the second row reads normally
  run.Run();
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(host.errors[0].find(bad), std::string::npos) << host.errors[0];
  EXPECT_NE(host.errors[0].find("decoder gave up"), std::string::npos);
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"失败", "完成"}));
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"Nor_Good.wav"});
  EXPECT_FALSE(state.Busy);
  EXPECT_FALSE(state.NormalizeRunning);
}

TEST_F(NormalizationRunTest, TimerTickRules) {
  struct Case {
    bool running;
    int32_t stage;
    int32_t progress;
    int32_t expected;
    bool shown;
  };
  const Case cases[] = {
      {false, 0, 400, 400, false}, {true, 0, 400, 600, true},    {true, 0, 900, 1000, true},
      {true, 1, 1000, 1200, true}, {true, 1, 1900, 2000, true},  {true, 2, 2000, 2200, true},
      {true, 2, 9900, 10100, true}, {true, 3, 10000, 10000, false},
  };
  state.Busy = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.progress);
    TNormalizeStatus& shared = run.Status();
    shared.running = c.running;
    shared.stage = c.stage;
    shared.progress = c.progress;
    host.progress.clear();
    host.timerOn = true;
    run.Timer1Timer();
    EXPECT_EQ(run.NormalizeProgress(), c.expected);
    if (c.shown) EXPECT_EQ(host.progress, std::vector<int32_t>{std::min(c.expected, 10000)});
    else EXPECT_TRUE(host.progress.empty());
    EXPECT_EQ(host.timerOn, c.progress != 10000 || !c.running) << "done: the timer stops";
  }
}

}  // namespace
