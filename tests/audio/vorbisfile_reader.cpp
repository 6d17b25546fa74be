#include "tests/audio/vorbisfile_reader.h"

#include <vorbis/vorbisfile.h>

namespace tonvara::test {
namespace {

class VorbisFile {
 public:
  explicit VorbisFile(const std::string& path) : open_(ov_fopen(path.c_str(), &file_) == 0) {}
  ~VorbisFile() {
    if (open_) ov_clear(&file_);
  }
  VorbisFile(const VorbisFile&) = delete;
  VorbisFile& operator=(const VorbisFile&) = delete;

  bool Open() const { return open_; }
  OggVorbis_File* Get() { return &file_; }

 private:
  OggVorbis_File file_{};
  bool open_;
};

}  // namespace

int64_t VorbisfileDecodedFrames(const std::string& path) {
  VorbisFile file(path);
  if (!file.Open()) return -1;
  int64_t frames = 0;
  int section = 0;
  float** pcm = nullptr;
  long n;
  while ((n = ov_read_float(file.Get(), &pcm, 4096, &section)) != 0) {
    if (n < 0) return -1;
    if (section == 0) frames += n;
  }
  return frames;
}

}  // namespace tonvara::test
