// TAudioPlayer2: plays queued blocks on a worker thread and asks for more
// on the thread that created it.
#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio.h"

class TAudioPlayer2 : public QObject, public IAudioPlayer2 {
  Q_OBJECT

 public:
  explicit TAudioPlayer2(QObject* parent = nullptr);
  ~TAudioPlayer2() override;

  // Takes effect at the next Play.
  void SetFormat(int32_t rate, int32_t channels) override;
  // Starts playing what is queued and what is loaded later; nothing
  // happens when already playing.
  void Play() override;
  // The block must hold the channel count given to SetFormat. An empty
  // block is accepted and plays nothing.
  void LoadSamples(const TSampleBlock& block) override;
  // Stops at once, drops the queue; events still on their way are dropped.
  void Stop() override;
  bool IsPlaying() const { return worker_.joinable(); }

 signals:
  // The block now playing is the last one queued: load the next.
  void OnRequestOnLoadArray();
  // Everything queued has been played.
  void OnEndArrayPlay();

 private:
  void Run(int rate, int channels, unsigned session);
  void Post(bool end, unsigned session);

  int rate_ = 44100;
  int channels_ = 2;
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::vector<float>> queue_;
  bool stop_ = false;
  std::atomic<unsigned> session_{0};
};
