// libvorbisfile as a second independent reader of Ogg Vorbis: FFmpeg drops
// the last 128 frames of a stream whose audio fits on one page, where
// libvorbisfile decodes exactly what the final granule position states.
#pragma once

#include <cstdint>
#include <string>

namespace tonvara::test {

// Frames of the first logical stream as libvorbisfile decodes them; -1 when
// the file does not open.
int64_t VorbisfileDecodedFrames(const std::string& path);

}  // namespace tonvara::test
