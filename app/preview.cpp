#include "app/preview.h"
#include "app/messages.h"

#include <QTreeWidget>

#include "app/main_window.h"
#include "platform/audio.h"
#include "platform/dialogs.h"

TPreview::TPreview(TMainState& state, QTreeWidget& lv, IAudioFile2& reader, IAudioPlayer2& player)
    : state_(state), lv_(lv), reader_(reader), player_(player) {}

int TPreview::ChooseRow() const {
  const int count = lv_.topLevelItemCount();
  if (state_.CurrentRow >= 0 && state_.CurrentRow < count) return state_.CurrentRow;
  // Rows were removed since the row was chosen: play the first selected one.
  for (int i = 0; i < count; ++i)
    if (lv_.topLevelItem(i)->isSelected()) return i;
  return count - 1;
}

void TPreview::PlayPreview() {
  const int count = lv_.topLevelItemCount();
  if (count == 0) {
    dialogs::ShowInfo(messages::AddFilesFirst);
    return;
  }
  if (lv_.selectedItems().isEmpty() && !state_.Playing) state_.CurrentRow = count - 1;
  if (state_.Playing || state_.Busy) return;

  state_.CurrentRow = ChooseRow();
  const std::string path = lv_.topLevelItem(state_.CurrentRow)->text(Tfm_main::ColPath).toStdString();
  try {
    if (reader_.IsOpen()) reader_.Close();
    reader_.OpenRead(path, 0, 1);
    player_.SetFormat(reader_.StreamSampleRate(), reader_.StreamChannels());
    player_.Play();
    state_.Playing = true;
    QueueNextBlock();
    QueueNextBlock();
  } catch (const AudioError& e) {
    // A file that cannot be played never looks like a playing one.
    player_.Stop();
    state_.Playing = false;
    dialogs::ShowError(e.what());
    return;
  }
  SetStatus(state_.CurrentRow, "播放中");
}

void TPreview::QueueNextBlock() {
  if (!state_.Playing || !reader_.IsOpen()) return;
  try {
    player_.LoadSamples(reader_.ReadSamples(RefillFrames));
  } catch (const AudioError& e) {
    // A file that breaks off while playing ends the preview.
    StopPlaying("停止");
    dialogs::ShowError(e.what());
  }
}

bool TPreview::StopPlaying(const char* status) {
  if (!state_.Playing) return false;
  player_.Stop();
  state_.Playing = false;
  SetStatus(state_.CurrentRow, status);
  return true;
}

void TPreview::SetStatus(int row, const char* status) {
  if (QTreeWidgetItem* item = lv_.topLevelItem(row)) item->setText(Tfm_main::ColStatus, QString::fromUtf8(status));
}
