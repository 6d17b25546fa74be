// tonvara-cli: the window program's conversions, normalization, tag and file
// information from the command line.
extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/convert_command.h"
#include "cli/help_text.h"
#include "cli/info_command.h"
#include "cli/messages.h"
#include "cli/tags_command.h"
#include "settings/settings_store.h"

namespace {

constexpr int UsageStatus = 2;
constexpr const char* SettingsFileName = "tonvara.ini";

void Print(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

int UsageFailure(const std::string& why) {
  Print(stderr, "tonvara-cli: " + why + "\n" + cli::UsageHint() + "\n");
  return UsageStatus;
}

// The settings file the window reads, or the one --config names, which
// must exist: a mistyped name would silently give every default.
TSettingsStore OpenSettings(const std::string& configFile) {
  if (configFile.empty()) return TSettingsStore(SettingsFileName);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(configFile, ec))
    throw cli::UsageError(cli::Tr("设置文件不存在: ", "no such settings file: ") + configFile);
  return TSettingsStore(std::filesystem::absolute(configFile));
}

int Run(const std::vector<std::string>& words) {
  const cli::Arguments args = cli::ParseArguments(words);
  switch (args.command) {
    case cli::Command::Help:
      Print(stdout, cli::HelpText());
      return 0;
    case cli::Command::Version:
      Print(stdout, cli::VersionText());
      return 0;
    case cli::Command::Tags:
      return cli::RunTags(args);
    case cli::Command::Info:
      return cli::RunInfo(args, OpenSettings(args.convert.configFile));
    case cli::Command::Convert:
      return cli::RunConvert(args, OpenSettings(args.convert.configFile));
  }
  return UsageStatus;
}

// FFmpeg's own log lines would stand between ours; every failure it reports
// reaches the user through the audio component's error, naming the file.
void SilentLog(void*, int, const char*, va_list) {}

}  // namespace

int main(int argc, char** argv) {
  av_log_set_callback(SilentLog);
  // Qt's core only (folder listing, the music folder, JSON); no display.
  QCoreApplication app(argc, argv);
  std::vector<std::string> words(argv + 1, argv + argc);
  try {
    return Run(words);
  } catch (const cli::UsageError& e) {
    return UsageFailure(e.what());
  }
}
