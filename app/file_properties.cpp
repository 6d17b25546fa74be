#include "app/file_properties.h"

#include <QDir>
#include <filesystem>
#include <system_error>

#include "app/file_list.h"
#include "platform/audio.h"
#include "settings/fixed_lists.h"
#include "settings/settings_store.h"

namespace {

constexpr const char* UnsupportedSuffix = " 此文件不被支持.";

uint64_t FileSize(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : size;
}

// Leaves the reader closed and ready for the next file.
void ResetReader(IAudioFile2& reader) {
  try {
    reader.Close();
  } catch (const AudioError&) {
  }
  reader.SetEnabled(false);
  reader.SetEnabled(true);
}

}  // namespace

std::optional<TFileProperties> ReadFileProperties(IAudioFile2& reader, int32_t voxRate, const std::string& path) {
  TFileProperties p;
  try {
    if (reader.IsOpen()) reader.Close();
    reader.SetVoxFormat(voxRate);
    reader.OpenRead(path, 0, 1);
    p.DurationMs = reader.DurationMs();
    p.SampleRate = reader.SampleRate();
    p.Channels = reader.Channels();
  } catch (const AudioError&) {
    p.DurationMs = 0;
  }
  if (p.DurationMs == 0) {
    ResetReader(reader);
    return std::nullopt;
  }
  reader.Close();
  p.SizeBytes = FileSize(path);
  return p;
}

int32_t VoxReadRate(const TSettingsStore* store) {
  const int32_t index = store ? store->ReadInt(keys::VoxRate) : keys::VoxRate.def;
  return lists::SampleRates[static_cast<std::size_t>(index)];
}

std::string UnsupportedFileText(const std::string& path) { return FileNameOf(path) + UnsupportedSuffix; }

std::vector<std::string> FolderEntryNames(const std::string& folder) {
  const QDir dir(QString::fromStdString(folder));
  const QStringList names =
      dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  std::vector<std::string> result;
  result.reserve(static_cast<std::size_t>(names.size()));
  for (const QString& name : names) result.push_back(name.toStdString());
  return result;
}
