// Converts every file of a folder through the main window's conversion run
// (on the current Qt platform, offscreen in bench/load.sh) and reports how the
// process's memory and open descriptors hold up across the batch.
//
//   load_bench FOLDER OUTDIR [--format mp3|wav|wma|ogg|vox] [--every N]
//
// After the first 100 finished rows, every N rows after that (default: a
// tenth of the batch) and at the end it prints the peak and the current
// resident memory and the open descriptors; before and after the run it
// counts the descriptors, and names any the run left open. It writes the
// output folder and format into the settings file of $XDG_CONFIG_HOME, so run
// it with a temporary one.
//
// Exit status: 0 when every file of the folder was listed and converted,
// every output exists and no descriptor was left open; 1 otherwise; 2 for a
// usage error.
#include <unistd.h>

#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

#include "app/file_run.h"
#include "app/main_window.h"
#include "platform/dialogs.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace fs = std::filesystem;

namespace {

constexpr int FirstReport = 100;

struct Memory {
  double peakMiB = 0;     // VmHWM
  double residentMiB = 0; // VmRSS
};

Memory ReadMemory() {
  Memory m;
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    long kb = 0;
    if (std::sscanf(line.c_str(), "VmHWM: %ld kB", &kb) == 1) m.peakMiB = kb / 1024.0;
    if (std::sscanf(line.c_str(), "VmRSS: %ld kB", &kb) == 1) m.residentMiB = kb / 1024.0;
  }
  return m;
}

// The process's open descriptors and what each refers to; the one the
// listing itself holds (on /proc/PID/fd) is left out.
std::map<int, std::string> OpenDescriptors() {
  const std::string listing = "/proc/" + std::to_string(getpid()) + "/fd";
  std::map<int, std::string> fds;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(listing, ec)) {
    std::error_code linkError;
    const std::string target = fs::read_symlink(entry.path(), linkError).string();
    if (linkError || target == listing) continue;
    fds[std::stoi(entry.path().filename().string())] = target;
  }
  return fds;
}

// Descriptors in `a` that `b` does not hold, or holds on another file.
void PrintMissing(const char* what, const std::map<int, std::string>& a, const std::map<int, std::string>& b) {
  for (const auto& [fd, target] : a) {
    const auto it = b.find(fd);
    if (it == b.end() || it->second != target) std::fprintf(stderr, "%s: fd %d -> %s\n", what, fd, target.c_str());
  }
}

int32_t FormatIndex(const std::string& name) {
  const char* names[] = {"mp3", "wav", "wma", "ogg", "vox"};
  for (int32_t i = 0; i < 5; ++i)
    if (name == names[i]) return i;
  return -1;
}

std::size_t CountFiles(const fs::path& folder) {
  std::size_t n = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.is_regular_file()) ++n;
  return n;
}

void PrintReport(int rows, int fds) {
  const Memory m = ReadMemory();
  std::printf("rows=%d peak_mib=%.1f rss_mib=%.1f fds=%d\n", rows, m.peakMiB, m.residentMiB, fds);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: load_bench FOLDER OUTDIR [--format mp3|wav|wma|ogg|vox] [--every N]\n");
    return 2;
  }
  const std::string folder = argv[1], outDir = argv[2];
  int32_t format = 0;
  int every = 0;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--format")
      format = FormatIndex(argv[i + 1]);
    else if (option == "--every")
      every = std::atoi(argv[i + 1]);
    else
      format = -1;
  }
  if (format < 0 || every < 0 || (argc - 3) % 2 != 0) {
    std::fprintf(stderr, "load_bench: unknown option\n");
    return 2;
  }

  QApplication app(argc, argv);
  {
    // The window reads these at its first showing.
    TSettingsStore settings("tonvara.ini");
    settings.Write(keys::FormatDir, outDir);
    settings.WriteInt(keys::FormatInt, format);
  }
  dialogs::RecordingDialogs boxes;  // a failed row is counted, no box blocks
  Tfm_main w;
  w.show();
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  const std::map<int, std::string> fdsAtStart = OpenDescriptors();

  const auto addStart = std::chrono::steady_clock::now();
  w.FileList().AddDropped(QStringList{QString::fromStdString(folder)});
  const double addSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - addStart).count();
  const int rows = w.lv()->topLevelItemCount();
  if (every == 0) every = std::max(FirstReport, rows / 10);
  std::printf("files=%zu listed=%d add_s=%.1f\n", CountFiles(folder), rows, addSeconds);
  PrintReport(0, static_cast<int>(fdsAtStart.size()));

  // A row is finished when the run sets its status to done or failed; the
  // figures are read there, between two files, with nothing open.
  int finished = 0, done = 0;
  QObject::connect(w.lv(), &QTreeWidget::itemChanged, [&](QTreeWidgetItem* item, int column) {
    if (column != Tfm_main::ColStatus) return;
    const QString text = item->text(column);
    const bool isDone = text == QString::fromUtf8(status::Done);
    if (!isDone && text != QString::fromUtf8(status::Failed)) return;
    ++finished;
    if (isDone) ++done;
    if (finished == FirstReport || finished % every == 0)
      PrintReport(finished, static_cast<int>(OpenDescriptors().size()));
  });
  const std::map<int, std::string> fdsBefore = OpenDescriptors();
  const auto runStart = std::chrono::steady_clock::now();
  w.RunConversion();
  const double runSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart).count();
  const std::map<int, std::string> fdsAfter = OpenDescriptors();
  if (finished % every != 0) PrintReport(finished, static_cast<int>(fdsAfter.size()));

  const std::size_t outputs = CountFiles(outDir);
  std::printf("run_s=%.1f done=%d failed=%d outputs=%zu boxes=%zu fds_before=%zu fds_after=%zu\n", runSeconds,
              done, finished - done, outputs, boxes.boxes.size(), fdsBefore.size(), fdsAfter.size());
  for (const auto& box : boxes.boxes) std::fprintf(stderr, "box: %s\n", box.text.c_str());
  PrintMissing("left open by the run", fdsAfter, fdsBefore);
  PrintMissing("closed during the run", fdsBefore, fdsAfter);

  // Every file of the folder must have been listed, converted and written.
  const bool ok = rows > 0 && static_cast<std::size_t>(rows) == CountFiles(folder) && done == rows && outputs == static_cast<std::size_t>(rows) &&
                  fdsAfter.size() <= fdsBefore.size();
  return ok ? 0 : 1;
}
