// The command line: a command, its options and its files and folders.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

// A command line that cannot be carried out; the text says why in one line.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Command { Help, Version, Convert, Info, Tags };

// The options of "convert"; unset ones take the settings file's values.
struct ConvertOptions {
  std::optional<int32_t> format;  // output format index
  std::string outputDir;
  bool normalize = false;
  std::optional<int32_t> fadeIn;   // seconds; 0 switches the fade off
  std::optional<int32_t> fadeOut;
  std::optional<std::string> title, artist, album, year, genre;
  int jobs = 0;  // files at once; 0 for one per core
  std::string configFile;
};

struct Arguments {
  Command command = Command::Help;
  bool json = false;
  ConvertOptions convert;
  std::vector<std::string> inputs;  // files and folders, in the order given
};

// Parses the words after the program name. Options may come before, between
// or after the files; "--" ends the options. Throws UsageError.
Arguments ParseArguments(const std::vector<std::string>& words);

}  // namespace cli
