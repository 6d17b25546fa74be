// Drives one conversion or normalization run over one file and prints the
// run's wall time and the process's peak resident memory.
//
//   runs_bench convert|normalize|baseline mp3|wav|wma|ogg|vox INPUT OUTDIR [--window]
//
// "baseline" is the bare block loop of the audio component's own converter
// (bench/audio_convert.cpp), timed the same way in the same process. Without
// --window the run reports to a host with no widgets that still
// handles the pending messages before every block; with --window the real
// main window drives it on the current Qt platform (offscreen in the
// script), skin drawing included. The encoder settings match
// bench/audio_convert.cpp's.
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/conversion_run.h"
#include "app/main_window.h"
#include "app/normalization_run.h"
#include "app/output_format.h"
#include "platform/audio/audio_transform.h"
#include "platform/audio/lame_encoder.h"
#include "platform/dialogs.h"
#include "settings/settings_store.h"

namespace fs = std::filesystem;

namespace {

class BenchHost : public IRunHost {
 public:
  BenchHost(TMainState& state, std::string path) : state_(state), path_(std::move(path)) {}

  int RowCount() const override { return 1; }
  std::string RowCaption(int) const override { return fs::path(path_).filename().string(); }
  std::string RowPath(int) const override { return path_; }
  void SetRowStatus(int, const std::string& status) override { status_ = status; }
  AudioFileinfo RowRecord(int) const override { return {}; }
  void ShowInfo(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  void ShowError(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    failed_ = true;
  }
  void ShowProgress(int32_t) override {
    const auto start = std::chrono::steady_clock::now();
    ++progressCalls;
    hostSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  void ResetProgressAfterRun() override { state_.Busy = false; }
  // Like the window: passes closer together than 5 ms are skipped.
  void ProcessMessages(bool userInput) override {
    const auto start = std::chrono::steady_clock::now();
    if (start - lastPass_ < std::chrono::milliseconds(5)) {
      hostSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      return;
    }
    lastPass_ = start;
    ++pumps;
    QCoreApplication::processEvents(userInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    hostSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  void SetTimer1(bool on) override {
    if (on)
      timer.start();
    else
      timer.stop();
  }
  void StopPreview() override {}
  std::string CommandLineText() const override { return {}; }

  bool Ok() const { return !failed_ && status_ == "完成"; }
  long pumps = 0;
  long progressCalls = 0;
  double hostSeconds = 0;  // inside the message pump and the progress calls
  QTimer timer;

 private:
  TMainState& state_;
  std::string path_;
  std::string status_;
  std::chrono::steady_clock::time_point lastPass_{};
  bool failed_ = false;
};

int32_t FormatIndex(const std::string& name) {
  const char* names[] = {"mp3", "wav", "wma", "ogg", "vox"};
  for (int32_t i = 0; i < 5; ++i)
    if (name == names[i]) return i;
  return -1;
}

void WriteSettings(TSettingsStore& store, const std::string& outDir, int32_t format) {
  store.Write(keys::FormatDir, outDir);
  store.WriteInt(keys::FormatInt, format);
  store.WriteInt(keys::Mp3Bitrate, 11);  // 128 kbit/s
  store.WriteInt(keys::Mp3Quality, 5);
  store.WriteInt(keys::Mp3Channel, 2);   // joint stereo, LAME's own choice at 128 kbit/s
  store.WriteFlag(keys::OggQualityMode, true);
  store.WriteInt(keys::OggQuality, 300);
  store.WriteInt(keys::WmaFormat, 9);    // profile 10: 44.1 kHz stereo, 128 kbit/s
  store.WriteInt(keys::WavMode, 0);      // 44.1 kHz stereo 16-bit
  store.WriteInt(keys::VoxRate, 0);      // 8000 Hz
}

// audio_convert's loop: open, blocks of 2034 frames (one second for OGG),
// close; configured as the runs configure it.
bool Baseline(const TSettingsStore& settings, const std::string& input, const std::string& outDir, int32_t format) {
  try {
    TAudioFile2 reader, writer;
    TAudioFile2LameEnc encoder;
    reader.SetEnabled(true);
    writer.SetEnabled(true);
    ConfigureOutputFormat(format, settings, writer, encoder, {});
    fs::create_directories(outDir);
    reader.OpenRead(input, 0, 1);
    writer.SetInputFormat(reader.StreamSampleRate(), reader.StreamChannels());
    writer.OpenWrite((fs::path(outDir) / ("baseline" + OutputExtension(format))).string(), 0);
    const int64_t block = format == FormatOgg ? int64_t{reader.StreamSampleRate()} * reader.StreamChannels() : 2034;
    while (true) {
      TSampleBlock samples = reader.ReadSamples(block);
      if (samples.UpperBound() == -1) break;
      writer.WriteSamples(samples);
    }
    reader.Close();
    writer.Close();
    return true;
  } catch (const AudioError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return false;
  }
}

// CPU seconds of the process so far, all threads: less disturbed by other
// work on a shared machine than the wall clock.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// What the window adds to a run, measured apart from the audio work so that
// other load on the machine does not drown it: seconds per message pass with
// nothing pending, and per progress change drawn on the skin.
struct WindowCosts {
  double pump = 0;
  double draw = 0;
};
WindowCosts MeasureWindowCosts(Tfm_main& w) {
  using Clock = std::chrono::steady_clock;
  constexpr int Passes = 20000, Draws = 500;
  WindowCosts costs;
  auto start = Clock::now();
  for (int i = 0; i < Passes; ++i) QCoreApplication::processEvents();
  costs.pump = std::chrono::duration<double>(Clock::now() - start).count() / Passes;
  w.State().Busy = true;
  start = Clock::now();
  for (int i = 0; i < Draws; ++i) {
    w.ShowProgress(i % 2 ? 8000 : 2000);  // a new bar length and percentage every time
    QCoreApplication::processEvents();
  }
  costs.draw = std::chrono::duration<double>(Clock::now() - start).count() / Draws - costs.pump;
  w.ResetProgressAfterRun();
  return costs;
}

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: runs_bench convert|normalize mp3|wav|wma|ogg|vox INPUT OUTDIR [--window]\n");
    return 2;
  }
  const std::string mode = argv[1], input = argv[3], outDir = argv[4];
  const bool window = argc > 5 && std::string(argv[5]) == "--window";
  const int32_t format = FormatIndex(argv[2]);
  if ((mode != "convert" && mode != "normalize" && mode != "baseline") || format < 0) return 2;

  QApplication app(argc, argv);
  TSettingsStore settings("tonvara.ini");
  WriteSettings(settings, outDir, format);

  double seconds = 0, cpu = 0, cpuStart = 0;
  bool ok = false;
  long pumps = 0;
  double hostSeconds = 0;
  if (window) {
    TAudioFile2 reader;
    reader.SetEnabled(true);
    dialogs::RecordingDialogs boxes;
    Tfm_main w(fs::path(QCoreApplication::applicationDirPath().toStdString()) / "bin");
    w.show();
    QStringList files{QString::fromStdString(input)};
    w.FileList().AddDropped(files);
    // The first showing (fonts, skin) is drawn before the clock starts.
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    cpuStart = CpuSeconds();
    if (mode == "convert")
      w.RunConversion();
    else
      w.RunNormalization();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = CpuSeconds() - cpuStart;
    QTreeWidgetItem* row = w.lv()->topLevelItem(0);
    ok = row && row->text(Tfm_main::ColStatus) == QStringLiteral("完成");
    for (const auto& box : boxes.boxes) std::fprintf(stderr, "%s\n", box.text.c_str());
    const WindowCosts costs = MeasureWindowCosts(w);
    // The run asks for a pass once per row and once per block, of which the
    // window makes at most one each 5 ms; it draws at most 25 times a second
    // and at most once per bar length or percentage.
    reader.OpenRead(input, 0, 1);
    const double blocks = static_cast<double>(reader.SampleCount() / 2033 + 2);
    const double passes = std::min(blocks, seconds / 0.005 + 2);
    const double draws = std::min(542.0, 25 * seconds + 4);
    reader.Close();
    std::printf("pump_us=%.2f draw_us=%.1f window_s=%.4f ", costs.pump * 1e6, costs.draw * 1e6,
                passes * costs.pump + draws * costs.draw);
  } else if (mode == "baseline") {
    const auto start = std::chrono::steady_clock::now();
    cpuStart = CpuSeconds();
    ok = Baseline(settings, input, outDir, format);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = CpuSeconds() - cpuStart;
  } else {
    TMainState state;
    state.OutputFormat = format;
    TAudioFile2 reader, writer;
    reader.SetEnabled(true);
    writer.SetEnabled(true);
    TAudioFile2LameEnc encoder;
    TAudioTransform2 transform;
    BenchHost host(state, input);
    host.timer.setInterval(1000);
    TRunContext context{state, settings, reader, writer, encoder, transform, host};
    const auto start = std::chrono::steady_clock::now();
    cpuStart = CpuSeconds();
    if (mode == "convert") {
      TConversionRun(context).Run();
    } else {
      TNormalizationRun run(context);
      QObject::connect(&host.timer, &QTimer::timeout, [&run] { run.Timer1Timer(); });
      run.Run();
    }
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = CpuSeconds() - cpuStart;
    ok = host.Ok();
    pumps = host.pumps;
    hostSeconds = host.hostSeconds;
  }
  std::printf("seconds=%.3f cpu=%.3f host_s=%.4f peak_mib=%.1f pumps=%ld ok=%d\n", seconds, cpu, hostSeconds,
              PeakMiB(), pumps, ok ? 1 : 0);
  return ok ? 0 : 1;
}
