// The conversion run: every row becomes a new file of the chosen format,
// read, faded and written block by block on the calling thread, with the
// messages handled before every block so that a stop gets through.
#pragma once

#include <cstdint>

#include "app/file_run.h"

class TConversionRun : public TFileRun {
 public:
  static constexpr int64_t BlockFrames = 2034;
  // The file ends when fewer frames than this remain by the run's count.
  static constexpr int64_t EndFrames = 100;

  using TFileRun::TFileRun;

 protected:
  std::string OutputPrefix() const override { return {}; }
  void TransferSamples() override;

 private:
  int64_t FadeFrames(int32_t seconds) const;
  int64_t BlockSize(int64_t position, int64_t fadeInFrames, int64_t fadeOutFrames) const;
};
