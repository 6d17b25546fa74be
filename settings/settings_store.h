// The settings file: an INI file read and written straight through on every
// call (no cached copy), with case-insensitive sections and keys.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/settings_keys.h"

// A write the system refused; the text is "Unable to write to <file>".
class SettingsWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSettingsStore {
 public:
  // Longest string value a read returns, in bytes (cut at a UTF-8 boundary).
  static constexpr std::size_t MaxStringLength = 2047;

  // Opens the store on a bare file name ("tonvara.ini", placed in the
  // configuration folder) or on a full path.
  explicit TSettingsStore(const std::filesystem::path& name);

  // $XDG_CONFIG_HOME/tonvara/<bareName>, or ~/.config/tonvara/<bareName>.
  static std::filesystem::path ConfigPath(const std::filesystem::path& bareName);

  const std::filesystem::path& FileName() const { return file_; }

  // Reads never fail: a missing file, section or key, or a malformed value,
  // gives the default.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // Writes take effect in the file at once; the file is replaced atomically.
  // A refused write throws SettingsWriteError and leaves the file as it was.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Access through the key table: a stored value outside the key's range
  // reads as the key's default.
  std::string Read(const SettingKey& key) const;     // String and Folder keys
  int32_t ReadInt(const SettingKey& key) const;       // Integer and ListIndex keys
  int32_t ReadRunInt(const SettingKey& key) const;    // same, with the key's run default
  bool ReadFlag(const SettingKey& key) const;         // Boolean keys
  void Write(const SettingKey& key, std::string_view value);
  void WriteInt(const SettingKey& key, int32_t value);
  void WriteFlag(const SettingKey& key, bool value);

 private:
  int32_t ReadInRange(const SettingKey& key, int32_t def) const;

  std::filesystem::path file_;
};

// The user's music folder (the default output folder).
std::string DefaultOutputDir();
