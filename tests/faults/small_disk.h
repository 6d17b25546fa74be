// A small tmpfs mounted on a folder for the life of the object, so that a
// full or read-only disk bites root too. Where mounting is not allowed (a
// user without the right) Mounted() is false and the cases that need it skip.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tonvara::test {

class SmallDisk {
 public:
  SmallDisk(const std::filesystem::path& where, uint64_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Mounted() const { return mounted_; }
  const std::filesystem::path& Path() const { return path_; }

  // Takes all free space but `leave` bytes (rounded down to whole pages)
  // with a filler file at the top of the disk; Unfill gives it back.
  void Fill(uint64_t leave = 0);
  void Unfill();
  uint64_t FreeBytes() const;
  std::filesystem::path FillerPath() const { return path_ / "filler"; }

 private:
  std::filesystem::path path_;
  bool mounted_ = false;
};

// A folder made read-only for everyone, root included, for the life of the
// object: a read-only bind mount of it on itself. Files opened before keep
// writing; new files, links and renames in the folder fail.
class ReadOnlyView {
 public:
  explicit ReadOnlyView(const std::filesystem::path& folder);
  ~ReadOnlyView();
  ReadOnlyView(const ReadOnlyView&) = delete;
  ReadOnlyView& operator=(const ReadOnlyView&) = delete;
  bool Active() const { return active_; }

 private:
  std::filesystem::path path_;
  bool bound_ = false;
  bool active_ = false;
};

// Names in a folder, hidden ones included, sorted; empty when it is missing.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

}  // namespace tonvara::test
