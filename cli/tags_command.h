// "tags": the fields that our reader for each file's format gives.
#pragma once

#include "cli/arguments.h"

namespace cli {

// Prints the table or the JSON array on standard output; returns the exit
// status (1 when any file was missing or its tags could not be read).
int RunTags(const Arguments& args);

}  // namespace cli
