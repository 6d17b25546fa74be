#include "platform/audio/output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/audio/audio_error.h"

namespace tonvara::audio {

namespace fs = std::filesystem;

OutputFile::OutputFile(const std::string& name) : name_(name) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(name, ec))) Fail(name, "文件已存在，不会覆盖");
  fs::path target(name);
  fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  if (!fs::is_directory(folder, ec)) Fail(name, "输出文件夹不存在");
  std::string hidden = ".";
  hidden += target.filename().string();
  hidden += ".XXXXXX";
  std::string pattern = (folder / hidden).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  int fd = mkstemp(buffer.data());
  if (fd < 0) Fail(name, std::string("无法创建输出文件（") + std::strerror(errno) + "）");
  close(fd);
  temp_ = buffer.data();
}

OutputFile::~OutputFile() {
  if (!committed_) unlink(temp_.c_str());
}

void OutputFile::Commit() {
  // Hard link then unlink: the link fails if the name exists, so nothing
  // is ever replaced. File systems without hard links get a checked rename.
  if (link(temp_.c_str(), name_.c_str()) == 0) {
    unlink(temp_.c_str());
  } else {
    int err = errno;
    if (err == EEXIST) Fail(name_, "文件已存在，不会覆盖");
    std::error_code ec;
    if (fs::exists(fs::symlink_status(name_, ec))) Fail(name_, "文件已存在，不会覆盖");
    if (rename(temp_.c_str(), name_.c_str()) != 0)
      Fail(name_, std::string("无法完成输出文件（") + std::strerror(errno) + "）");
  }
  committed_ = true;
  // mkstemp gave the file mode 0600; an output gets the usual mode.
  mode_t mask = umask(0);
  umask(mask);
  chmod(name_.c_str(), 0666 & ~mask);
}

}  // namespace tonvara::audio
