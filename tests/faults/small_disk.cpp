#include "tests/faults/small_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

namespace tonvara::test {

SmallDisk::SmallDisk(const fs::path& where, uint64_t bytes) : path_(where) {
  fs::create_directories(path_);
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
  mounted_ = ::mount("tonvara-test", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
}

void SmallDisk::Fill(uint64_t leave) {
  const int fd = ::open(FillerPath().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd < 0) return;
  const std::vector<char> zeros(4096, 0);
  while (::write(fd, zeros.data(), zeros.size()) > 0) {
  }
  // Whatever a short last write left is taken too, then `leave` given back.
  while (::write(fd, zeros.data(), 1) > 0) {
  }
  struct stat st {};
  if (leave > 0 && ::fstat(fd, &st) == 0) {
    const auto size = static_cast<uint64_t>(st.st_size);
    [[maybe_unused]] const int r = ::ftruncate(fd, static_cast<off_t>(size > leave ? size - leave : 0));
  }
  ::close(fd);
}

void SmallDisk::Unfill() {
  std::error_code ec;
  fs::remove(FillerPath(), ec);
}

uint64_t SmallDisk::FreeBytes() const {
  struct statvfs s {};
  if (::statvfs(path_.c_str(), &s) != 0) return 0;
  return static_cast<uint64_t>(s.f_bavail) * s.f_frsize;
}

ReadOnlyView::ReadOnlyView(const fs::path& folder) : path_(folder) {
  bound_ = ::mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) == 0;
  active_ = bound_ && ::mount(nullptr, path_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

ReadOnlyView::~ReadOnlyView() {
  if (bound_) ::umount2(path_.c_str(), MNT_DETACH);
}

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return names;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tonvara::test
