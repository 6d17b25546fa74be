// The files the commands work on: each FILE argument, and the audio files of
// each FOLDER argument as the window's folder command adds them, passed
// through the same tag step and property step; unsupported ones are reported
// with the window's text and left out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/audio_file_info.h"
#include "app/file_properties.h"

class TSettingsStore;

namespace cli {

// One accepted file, like one row of the window's list with its record.
struct ListedFile {
  std::string path;
  std::string caption;
  AudioFileinfo record;
  TFileProperties properties;
};

struct FileSet {
  std::vector<ListedFile> files;
  int refused = 0;  // missing or unsupported files
};

// `report` receives one message (in Chinese, as the window shows it) per
// refused file.
FileSet ListFiles(const std::vector<std::string>& arguments, const TSettingsStore& store,
                  const std::function<void(const std::string&)>& report);

// The arguments as paths: folders give their audio entries in name order
// (no tag or property step); a missing path is reported and left out.
std::vector<std::string> ExpandArguments(const std::vector<std::string>& arguments,
                                         const std::function<void(const std::string&)>& report, int& refused);

}  // namespace cli
