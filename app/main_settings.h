// Loading the main-window settings at start-up and writing them back at
// shutdown.
#pragma once

#include "app/main_state.h"
#include "settings/settings_store.h"

// Fills the main-window values of `state` from the store, in start-up order.
void LoadMainSettings(const TSettingsStore& store, TMainState& state);
// Writes the seven main-window values in shutdown order; a refused write
// throws SettingsWriteError and the later values are not written.
void SaveMainSettings(TSettingsStore& store, const TMainState& state);
