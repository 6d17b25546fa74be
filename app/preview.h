// The preview: plays one listed file through the player, fed with blocks of
// the shared reader whenever the player asks for more.
#pragma once

#include <cstdint>

#include "app/main_state.h"

class IAudioFile2;
class IAudioPlayer2;
class QTreeWidget;

class TPreview {
 public:
  static constexpr int64_t RefillFrames = 441000;

  TPreview(TMainState& state, QTreeWidget& lv, IAudioFile2& reader, IAudioPlayer2& player);

  void PlayPreview();
  // Handler of both player events.
  void QueueNextBlock();
  // Stops a playing preview and writes `status` into its row; false when
  // nothing played.
  bool StopPlaying(const char* status);

 private:
  int ChooseRow() const;
  void SetStatus(int row, const char* status);

  TMainState& state_;
  QTreeWidget& lv_;
  IAudioFile2& reader_;
  IAudioPlayer2& player_;
};
