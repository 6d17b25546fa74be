#include "tags/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tags {
namespace {

std::string SystemText(int err) { return std::strerror(err); }

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FilePtr OpenForReading(const std::string& path, std::string* error) {
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f && error) *error = SystemText(errno);
  return f;
}

std::int64_t FileLength(std::FILE* f) {
  struct stat st {};
  if (fstat(fileno(f), &st) != 0) return -1;
  return st.st_size;
}

bool CopyRest(std::FILE* in, std::FILE* out) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
    if (n > 0 && std::fwrite(buffer.data(), 1, n, out) != n) return false;
    if (n < buffer.size()) return !std::ferror(in);
  }
}

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {
  // A link is followed, so the file it names is replaced, not the link.
  std::error_code ec;
  const auto real = std::filesystem::canonical(target_, ec);
  if (!ec) target_ = real.string();
}

ReplacementFile::~ReplacementFile() {
  if (!committed_) Discard();
}

bool ReplacementFile::Open(std::string* error) {
  // A hidden, unique name in the same folder, so the rename stays on one file
  // system and never meets another file.
  std::string pattern = FolderOf(target_) + "/." + NameOf(target_) + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    if (error) *error = SystemText(errno);
    return false;
  }
  tempPath_ = pattern;
  stream_.reset(fdopen(fd, "wb"));
  if (!stream_) {
    if (error) *error = SystemText(errno);
    close(fd);
    Discard();
    return false;
  }
  return true;
}

bool ReplacementFile::Commit(std::string* error) {
  auto fail = [&](int err) {
    if (error) *error = SystemText(err);
    Discard();
    return false;
  };
  if (!stream_) return fail(EBADF);
  if (std::fflush(stream_.get()) != 0 || std::ferror(stream_.get())) return fail(errno ? errno : EIO);
  const int fd = fileno(stream_.get());
  struct stat original {};
  if (stat(target_.c_str(), &original) == 0) {
    // Owner and group are kept where the system allows it; the mode always.
    if (fchown(fd, original.st_uid, original.st_gid) != 0) {
      [[maybe_unused]] const int ignored = fchown(fd, static_cast<uid_t>(-1), original.st_gid);
    }
    if (fchmod(fd, original.st_mode & 07777) != 0) return fail(errno);
  }
  if (fsync(fd) != 0) return fail(errno);
  if (std::fclose(stream_.release()) != 0) return fail(errno);
  if (std::rename(tempPath_.c_str(), target_.c_str()) != 0) return fail(errno);
  committed_ = true;
  // Make the rename itself durable.
  const int dir = open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

void ReplacementFile::Discard() {
  stream_.reset();
  if (!tempPath_.empty()) unlink(tempPath_.c_str());
  tempPath_.clear();
}

}  // namespace tags
