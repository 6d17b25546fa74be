#include "cli/file_set.h"

#include <filesystem>
#include <system_error>

#include "app/file_list.h"
#include "app/tag_step.h"
#include "platform/audio/audio_file.h"
#include "settings/settings_store.h"

namespace cli {

namespace {

constexpr const char* MissingSuffix = " 不存在.";

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

}  // namespace

std::vector<std::string> ExpandArguments(const std::vector<std::string>& arguments,
                                         const std::function<void(const std::string&)>& report, int& refused) {
  std::vector<std::string> paths;
  for (const std::string& argument : arguments) {
    if (IsFolder(argument)) {
      for (const std::string& name : FolderEntryNames(argument))
        if (IsListedAudioExtension(name)) paths.push_back(JoinPath(argument, name));
    } else if (Exists(argument)) {
      paths.push_back(argument);
    } else {
      report(argument + MissingSuffix);
      ++refused;
    }
  }
  return paths;
}

FileSet ListFiles(const std::vector<std::string>& arguments, const TSettingsStore& store,
                  const std::function<void(const std::string&)>& report) {
  FileSet set;
  TAudioFile2 reader;
  reader.SetEnabled(true);
  const int32_t voxRate = VoxReadRate(&store);
  for (const std::string& path : ExpandArguments(arguments, report, set.refused)) {
    ListedFile file;
    file.path = path;
    file.caption = FileNameOf(path);
    // The tag step first, then the property step, as for a row of the list.
    const bool tagsRead = ReadAddedFileTags(path, file.caption, file.record);
    const std::optional<TFileProperties> properties =
        tagsRead ? ReadFileProperties(reader, voxRate, path) : std::nullopt;
    if (!properties) {
      report(UnsupportedFileText(path));
      ++set.refused;
      continue;
    }
    file.properties = *properties;
    file.record.Duration = properties->DurationMs;
    set.files.push_back(std::move(file));
  }
  return set;
}

}  // namespace cli
