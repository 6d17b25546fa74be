// Builders of hand-made tag bytes for the tag tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tagtest {

inline std::string BigEndian32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

inline std::string SyncSafe32(std::uint32_t v) {
  return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
          static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

inline std::string LittleEndian(std::uint64_t v, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

inline std::uint64_t Little(const std::string& b, std::size_t at, int bytes = 8) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

inline std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// An ID3v2.3 frame (plain size) or ID3v2.4 frame (sync-safe size).
inline std::string Id3Frame(const std::string& id, const std::string& data, int major = 3) {
  const auto size = static_cast<std::uint32_t>(data.size());
  return id + (major == 4 ? SyncSafe32(size) : BigEndian32(size)) + std::string(2, '\0') + data;
}

// A tag header over the frames; declaredSize replaces the true size when given.
inline std::string Id3Tag(const std::string& frames, int major = 3, std::int64_t declaredSize = -1) {
  const auto size = static_cast<std::uint32_t>(declaredSize >= 0 ? declaredSize : frames.size());
  return std::string("ID3") + static_cast<char>(major) + std::string(2, '\0') + SyncSafe32(size) + frames;
}

// Names of the entries of a folder.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  return names;
}

}  // namespace tagtest
