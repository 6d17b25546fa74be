// Generated test signals and small helpers shared by the audio tests.
#pragma once

#include <cmath>
#include <string>

#include "platform/audio/audio_file.h"

namespace tonvara::test {

// A sine of `frequency` Hz at `amplitude` of full scale on every channel.
inline TSampleBlock Sine(int rate, int channels, int64_t frames, double frequency = 440,
                         double amplitude = 0.5) {
  TSampleBlock block(channels, frames);
  for (int64_t f = 0; f < frames; ++f) {
    float v = static_cast<float>(amplitude * std::sin(2 * M_PI * frequency * static_cast<double>(f) / rate));
    for (int c = 0; c < channels; ++c) block.Data()[f * channels + c] = v;
  }
  return block;
}

// Writes `block` through our writer in pieces of `chunk` frames.
inline void WriteWithOurWriter(TAudioFile2& writer, const std::string& path, const TSampleBlock& block,
                               int rate, int64_t chunk = 2034) {
  writer.SetEnabled(true);
  writer.SetInputFormat(rate, block.Channels());
  writer.OpenWrite(path, 0);
  writer.SetInputFormat(rate, block.Channels());
  for (int64_t start = 0; start < block.Frames(); start += chunk) {
    int64_t n = std::min(chunk, block.Frames() - start);
    TSampleBlock part(block.Channels(), n);
    std::copy_n(block.Data() + start * block.Channels(), n * block.Channels(), part.Data());
    writer.WriteSamples(part);
  }
  writer.Close();
}

// Reads the whole file in blocks of `chunk` frames; counts what was read.
inline int64_t ReadAllFrames(TAudioFile2& reader, int64_t chunk = 2034) {
  int64_t total = 0;
  while (true) {
    TSampleBlock block = reader.ReadSamples(chunk);
    if (block.UpperBound() == -1) break;
    total += block.Frames();
  }
  return total;
}

}  // namespace tonvara::test
