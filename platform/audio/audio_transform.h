// TAudioTransform2: gain changes on blocks, in place.
#pragma once

#include "platform/audio.h"

class TAudioTransform2 : public IAudioTransform2 {
 public:
  void ApplyGainRamp(TSampleBlock& block, float start, float end) override;
  void Normalize(TSampleBlock& block, float percent, int32_t channel = -1) override;
};
