#include "app/conversion_run.h"

#include "app/mul_div.h"
#include "platform/audio.h"

// The frames of `seconds` by the file's own count and duration; a file too
// short to have a duration in milliseconds uses its rate instead.
int64_t TConversionRun::FadeFrames(int32_t seconds) const {
  const IAudioFile2& reader = ctx_.reader;
  if (reader.DurationMs() <= 0) return static_cast<int64_t>(seconds) * reader.StreamSampleRate();
  return MulDiv64(static_cast<int64_t>(seconds) * 1000, reader.SampleCount(), reader.DurationMs());
}

int64_t TConversionRun::BlockSize(int64_t position, int64_t fadeInFrames, int64_t fadeOutFrames) const {
  const IAudioFile2& reader = ctx_.reader;
  int64_t size = format_ == FormatOgg ? static_cast<int64_t>(reader.StreamSampleRate()) * reader.Channels()
                                      : BlockFrames;
  if (fadeIn_ && position == 0) size = fadeInFrames;
  if (fadeOut_ && reader.SampleCount() - position <= fadeOutFrames) size = reader.SampleCount() - position;
  return size;
}

void TConversionRun::TransferSamples() {
  IAudioFile2& reader = ctx_.reader;
  IRunHost& host = ctx_.host;
  const int64_t count = reader.SampleCount();
  const int64_t fadeInFrames = FadeFrames(fadeInTime_);
  const int64_t fadeOutFrames = FadeFrames(fadeOutTime_);
  int64_t position = 0;
  while (true) {
    host.ProcessMessages();
    if (!ctx_.state.Busy) return;

    const bool fadeIn = fadeIn_ && position == 0;
    const bool fadeOut = fadeOut_ && count - position <= fadeOutFrames;
    TSampleBlock block = reader.ReadSamples(BlockSize(position, fadeInFrames, fadeOutFrames));
    if (block.UpperBound() == -1) {
      if (position == 0) throw AudioError(NoReadableAudioText);
      host.ShowProgress(0);
      return;
    }
    if (fadeIn) ctx_.transform.ApplyGainRamp(block, 0.0f, 100.0f);
    if (fadeOut) ctx_.transform.ApplyGainRamp(block, 100.0f, 0.0f);

    // The run's own count: one frame less than the block holds.
    position += block.UpperBound();
    host.ShowProgress(static_cast<int32_t>(MulDiv64(position, 10000, count)));
    ctx_.writer.WriteSamples(block);
    if (!(count - position >= EndFrames && block.UpperBound() > 0)) return;
  }
}
