// The property step of the file list without the list: what the audio
// component says about a file (rate, channels, duration) and its size, or
// that the file is unsupported. The list and the command-line front end both
// take their rows from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class IAudioFile2;
class TSettingsStore;

struct TFileProperties {
  int32_t SampleRate = 0;
  int32_t Channels = 0;
  int32_t DurationMs = 0;
  uint64_t SizeBytes = 0;
};

// Opens the file on `reader` (".vox" at `voxRate` Hz), takes its properties
// and closes it again. Empty when the component cannot open it or finds no
// duration: the file is unsupported, and the reader is reset for the next file.
std::optional<TFileProperties> ReadFileProperties(IAudioFile2& reader, int32_t voxRate, const std::string& path);

// The rate VOX files are read at: the stored "VOX"/"VOX" position, or the
// key's default without a store.
int32_t VoxReadRate(const TSettingsStore* store);

// The file name followed by " 此文件不被支持.".
std::string UnsupportedFileText(const std::string& path);

// The entries of one folder (files and folders, hidden ones included, no
// "." and ".."), sorted by name.
std::vector<std::string> FolderEntryNames(const std::string& folder);
