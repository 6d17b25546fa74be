// The audio component's reader on any bytes: OpenRead, then ReadSamples until
// the empty block, once through FFmpeg (a file name that gives no hint of
// the format, as with a mislabelled file) and once as VOX. Every block must
// hold the channels the file reports, and the blocks together the frames it
// promised.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/audio.h"
#include "platform/audio/audio_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/ogg_pages.h"

namespace {

constexpr std::int64_t kBlockFrames = 4096;

void ReadAll(const std::string& path) {
  TAudioFile2 reader;
  reader.SetEnabled(true);
  reader.SetVoxFormat(8000);
  try {
    reader.OpenRead(path);
  } catch (const AudioError&) {
    if (reader.IsOpen()) fuzz::Fail("a failed open left the reader open");
    return;  // refused with a message: what a bad file should get
  }
  if (reader.SampleRate() <= 0 || reader.Channels() <= 0) fuzz::Fail("an open file reports no rate or channels");
  std::int64_t total = 0;
  try {
    for (;;) {
      const TSampleBlock block = reader.ReadSamples(kBlockFrames);
      if (block.Empty()) break;
      if (block.Channels() != reader.Channels()) fuzz::Fail("a block holds another channel count");
      if (block.Frames() > kBlockFrames) fuzz::Fail("a block is longer than asked for");
      if (block.Samples().size() % static_cast<std::size_t>(reader.Channels()) != 0) {
        fuzz::Fail("a block ends inside a frame");
      }
      for (const float sample : block.Samples()) {
        if (!std::isfinite(sample)) fuzz::Fail("a block holds a sample that is not a number");
      }
      total += block.Frames();
    }
  } catch (const AudioError&) {
    return;  // a decoding failure reported in words
  }
  if (total != reader.SampleCount()) {
    fuzz::Fail("the blocks hold " + std::to_string(total) + " frames, the file promised " +
               std::to_string(reader.SampleCount()));
  }
  reader.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Ogg pages with their checksums set, so FFmpeg's Ogg demuxer reads them.
  const std::string bytes = fuzz::WithPageChecksums(std::string(reinterpret_cast<const char*>(data), size));
  ReadAll(fuzz::WriteInput(bytes, "input.audio"));
  ReadAll(fuzz::WriteInput(bytes, "input.vox"));
  return 0;
}
