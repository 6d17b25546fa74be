// Owning wrapper for a libsndfile handle.
#pragma once

#include <sndfile.h>

#include <memory>

namespace tonvara::audio {

struct SndfileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

}  // namespace tonvara::audio
