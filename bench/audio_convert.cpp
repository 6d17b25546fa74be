// Converts one file through the audio component the way a conversion run
// does: blocks of 2034 frames (one second of samples for OGG), the output
// format chosen by the extension, with the settings the benchmark compares
// against the ffmpeg command line.
#include <cstdio>
#include <string>

#include "platform/audio/audio_file.h"
#include "platform/audio/lame_encoder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: audio_convert INPUT OUTPUT\n");
    return 2;
  }
  const std::string input = argv[1], output = argv[2];
  const std::string ext = output.substr(output.rfind('.'));
  try {
    TAudioFile2 reader, writer;
    TAudioFile2LameEnc lame;
    reader.SetEnabled(true);
    writer.SetEnabled(true);
    // MP3: 128 kbit/s CBR, quality 5; OGG: quality 3; WMA: profile 10
    // (44.1 kHz stereo, 128 kbit/s); WAV: 44.1 kHz stereo 16-bit.
    lame.SetBitrate(128);
    lame.SetQuality(5);
    writer.SetMp3Encoder(&lame);
    writer.SetOggFormat(0, 0, 0, 0, 0, 300);
    writer.SetWmaProfile(10);
    writer.SetWavFormat(44100, 2, 16);
    writer.SetVoxFormat(8000);

    reader.OpenRead(input, 0, 1);
    writer.SetInputFormat(reader.StreamSampleRate(), reader.StreamChannels());
    writer.OpenWrite(output, 0);
    const int64_t block = ext == ".ogg" ? int64_t{reader.StreamSampleRate()} * reader.StreamChannels() : 2034;
    while (true) {
      TSampleBlock samples = reader.ReadSamples(block);
      if (samples.UpperBound() == -1) break;
      writer.WriteSamples(samples);
    }
    reader.Close();
    writer.Close();
  } catch (const AudioError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
