// "convert": the window's conversion or normalization run over the listed
// files, with the settings file's values and the command line's options.
#pragma once

#include "cli/arguments.h"

class TSettingsStore;

namespace cli {

// Exit status: 0 when every file was converted, 1 when any failed or was
// refused, 130 when stopped by Ctrl+C or SIGTERM.
int RunConvert(const Arguments& args, const TSettingsStore& store);

}  // namespace cli
