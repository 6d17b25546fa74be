// A decoder that hands out a file's samples as interleaved floats.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tonvara::audio {

class SampleSource {
 public:
  virtual ~SampleSource() = default;
  virtual int Rate() const = 0;
  virtual int Channels() const = 0;
  // Appends the next decoded frames to out; false once nothing is left.
  virtual bool Decode(std::vector<float>& out) = 0;
  // Frames the whole file decodes to, counted without keeping the samples.
  // Uses up this source: open a new one to read.
  virtual int64_t CountFrames() = 0;
};

// VOX (headerless Dialogic ADPCM, mono) at the given rate through libsndfile.
std::unique_ptr<SampleSource> OpenVoxSource(const std::string& path, int rate);
// Everything else through FFmpeg.
std::unique_ptr<SampleSource> OpenFfmpegSource(const std::string& path);

}  // namespace tonvara::audio
