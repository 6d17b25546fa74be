// Test entry: a QApplication on the offscreen platform, and the user's
// settings kept out of reach by a temporary configuration folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "tests/support/temp_dir.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("TONVARA_AUDIO_OUTPUT")) setenv("TONVARA_AUDIO_OUTPUT", "null", 1);
  TempDir configHome;
  setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
