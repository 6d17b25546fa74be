#include <gtest/gtest.h>
#include "settings/settings_store.h"
TEST(SettingsStore, Placeholder) { SUCCEED(); }
