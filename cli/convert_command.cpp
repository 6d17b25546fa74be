#include "cli/convert_command.h"

#include <unistd.h>

#include <thread>

#include "app/main_settings.h"
#include "cli/file_set.h"
#include "cli/job_scheduler.h"
#include "cli/messages.h"
#include "cli/progress_view.h"
#include "cli/stop_signals.h"
#include "settings/settings_store.h"

namespace cli {

namespace {

constexpr int StoppedStatus = 130;
constexpr int RefreshMs = 200;

// A fade of 0 seconds is no fade; otherwise on, with that length.
void ApplyFade(const std::optional<int32_t>& seconds, bool& on, int32_t& time) {
  if (!seconds) return;
  on = *seconds > 0;
  if (on) time = *seconds;
}

TMainState MainState(const ConvertOptions& options, const TSettingsStore& store) {
  TMainState state;
  LoadMainSettings(store, state);
  if (options.format) state.OutputFormat = *options.format;
  ApplyFade(options.fadeIn, state.FadeIn, state.FadeInTime);
  ApplyFade(options.fadeOut, state.FadeOut, state.FadeOutTime);
  return state;
}

// What the tag editor's "全部" buttons and OK do: the field of every record
// takes the text, and a non-empty title becomes the row's caption.
void ApplyTagOptions(const ConvertOptions& options, std::vector<ListedFile>& files) {
  for (ListedFile& f : files) {
    if (options.title) f.record.Title = *options.title;
    if (options.artist) f.record.Artist = *options.artist;
    if (options.album) f.record.Album = *options.album;
    if (options.year) f.record.Year = *options.year;
    if (options.genre) f.record.Genre = *options.genre;
    if (!f.record.Title.empty() && options.title) f.caption = f.record.Title;
  }
}

int Workers(int requested) {
  if (requested > 0) return requested;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace

int RunConvert(const Arguments& args, const TSettingsStore& store) {
  const ConvertOptions& options = args.convert;
  FileSet set = ListFiles(args.inputs, store, PrintProblem);
  if (set.files.empty()) {
    PrintProblem("请添加文件!");
    return 1;
  }
  ApplyTagOptions(options, set.files);

  JobSetup setup;
  setup.state = MainState(options, store);
  setup.settingsFile = store.FileName();
  setup.outputDir = options.outputDir;
  setup.normalize = options.normalize;

  JobScheduler* schedulerRef = nullptr;
  ProgressView view(set.files, isatty(STDERR_FILENO) == 1,
                    [&schedulerRef](std::size_t job) { return schedulerRef ? schedulerRef->Progress(job) : 0; });
  JobScheduler scheduler(setup, set.files, view);
  schedulerRef = &scheduler;
  {
    StopSignals signals([&scheduler] { scheduler.Stop(); });
    scheduler.Run(Workers(options.jobs), [&view] { view.Refresh(); }, RefreshMs);
  }
  view.Finish(set.refused);

  if (scheduler.Stopped()) return StoppedStatus;
  return view.Failed() > 0 || set.refused > 0 ? 1 : 0;
}

}  // namespace cli
