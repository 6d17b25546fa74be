// "info": what the window's list shows of each file, and its tag record.
#pragma once

#include "cli/arguments.h"

class TSettingsStore;

namespace cli {

// Prints the table or the JSON array on standard output; returns the exit
// status (1 when any file was missing or unsupported).
int RunInfo(const Arguments& args, const TSettingsStore& store);

}  // namespace cli
