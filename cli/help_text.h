// The text of --help and --version.
#pragma once

#include <string>

namespace cli {

std::string HelpText();
std::string VersionText();
// The one-line hint after a usage error.
std::string UsageHint();

}  // namespace cli
