// The player's event flow on the silent device (TONVARA_AUDIO_OUTPUT=null),
// which consumes samples in real time.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "platform/audio/audio_player.h"
#include "tests/audio/audio_test_util.h"

using namespace tonvara::test;

namespace {

// Pumps the main thread's events until `done` or the timeout.
template <typename Done>
bool PumpUntil(Done done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}

// The preview's pattern: two blocks at the start, one more per event, empty
// blocks once the "file" is used up.
struct Preview {
  TAudioPlayer2 player;
  int blocksLeft = 0;
  int requests = 0;
  int ends = 0;
  bool offMainThread = false;
  QElapsedTimer clock;
  qint64 firstEndMs = -1;

  void QueueNextBlock() {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) offMainThread = true;
    if (blocksLeft > 0) {
      --blocksLeft;
      player.LoadSamples(Sine(8000, 2, 800));  // 100 ms
    } else {
      player.LoadSamples(TSampleBlock());
    }
  }

  explicit Preview(int blocks) : blocksLeft(blocks) {
    QObject::connect(&player, &TAudioPlayer2::OnRequestOnLoadArray, [this] {
      ++requests;
      QueueNextBlock();
    });
    QObject::connect(&player, &TAudioPlayer2::OnEndArrayPlay, [this] {
      if (firstEndMs < 0) firstEndMs = clock.elapsed();
      ++ends;
      QueueNextBlock();
    });
  }

  void Start() {
    clock.start();
    player.SetFormat(8000, 2);
    player.Play();
    QueueNextBlock();
    QueueNextBlock();
  }
};

TEST(Player, AsksForBlocksOnTheMainThreadAndPlaysThemInRealTime) {
  Preview preview(5);  // 500 ms of sound in all
  preview.Start();
  ASSERT_TRUE(PumpUntil([&] { return preview.ends > 0; }, 5000));
  EXPECT_EQ(preview.blocksLeft, 0);
  EXPECT_GE(preview.requests, 3);
  EXPECT_FALSE(preview.offMainThread);
  // Real-time consumption: the end comes only after the sound's duration.
  EXPECT_GE(preview.firstEndMs, 450);
  EXPECT_LT(preview.firstEndMs, 3000);
  // Past the end, empty blocks keep the player quiet rather than busy.
  int requests = preview.requests;
  PumpUntil([] { return false; }, 200);
  EXPECT_LE(preview.requests, requests + 1);
  EXPECT_LE(preview.ends, 2);
  preview.player.Stop();
}

TEST(Player, StopEndsPlaybackAtOnceAndSilencesTheEvents) {
  Preview preview(0);
  preview.player.SetFormat(8000, 2);
  preview.player.Play();
  preview.player.LoadSamples(Sine(8000, 2, 80000));  // 10 s
  PumpUntil([] { return false; }, 100);
  QElapsedTimer timer;
  timer.start();
  preview.player.Stop();
  EXPECT_LT(timer.elapsed(), 500);
  EXPECT_FALSE(preview.player.IsPlaying());
  int seen = preview.requests + preview.ends;
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(preview.requests + preview.ends, seen);
}

TEST(Player, PlaysAgainAfterAStopAndRefusesBlocksOfTheWrongShape) {
  Preview preview(1);
  preview.Start();
  preview.player.Stop();
  preview.blocksLeft = 1;
  preview.ends = 0;
  preview.player.Play();
  preview.QueueNextBlock();
  EXPECT_TRUE(PumpUntil([&] { return preview.ends > 0; }, 3000));
  EXPECT_THROW(preview.player.LoadSamples(Sine(8000, 1, 10)), AudioError);
  EXPECT_THROW(preview.player.SetFormat(0, 2), AudioError);
  preview.player.Stop();
}

}  // namespace
