// Runs the built tonvara-cli with its own configuration folder and locale.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tonvara::test {

struct CliResult {
  int code = -1;  // exit status; -1 when it did not end normally
  std::string out;
  std::string err;
};

struct CliOptions {
  std::string lang = "C.UTF-8";         // LANG; LC_ALL and LC_MESSAGES are cleared
  std::filesystem::path configHome{};   // XDG_CONFIG_HOME; empty keeps the test's own
  std::function<bool()> stopWhen{};     // sends SIGTERM once this holds
};

CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options = {});

}  // namespace tonvara::test
