#include <gtest/gtest.h>
#include "platform/skin/skin_widget.h"
TEST(Skin, Placeholder) {}
