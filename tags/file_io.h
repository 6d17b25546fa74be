// Files as the tag units use them: streams closed on every path, and a
// replacement file that puts a new version in place atomically.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace tags {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens for reading; on failure returns null and sets error to the system's text.
FilePtr OpenForReading(const std::string& path, std::string* error);
// Length of an open file, or -1.
std::int64_t FileLength(std::FILE* f);
// Copies everything from the current position of in to out.
bool CopyRest(std::FILE* in, std::FILE* out);

// A new version of a file, written to a uniquely named temporary file beside
// it (beside the file a link names). Commit flushes it to disk, gives it the
// original's permission bits (and owner, where allowed) and renames it over
// the original, so a crash or a full disk leaves either the old
// file or the new one. Without Commit the temporary file is removed.
class ReplacementFile {
 public:
  explicit ReplacementFile(std::string target);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Open(std::string* error);
  std::FILE* Stream() const { return stream_.get(); }
  const std::string& TemporaryPath() const { return tempPath_; }
  bool Commit(std::string* error);

 private:
  void Discard();

  std::string target_;
  std::string tempPath_;
  FilePtr stream_;
  bool committed_ = false;
};

}  // namespace tags
