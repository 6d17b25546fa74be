// What the fuzz targets share: a scratch folder of their own, the input
// written to a file in it for readers that take a path, a way to stop with a
// message when a check fails, and the Qt application some readers need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz {

// This process's scratch folder (in /dev/shm when it can, so writes and
// fsync cost little); made on first use, removed at exit.
const std::filesystem::path& ScratchDir();

// Writes the input as the whole content of <scratch>/<name>, replacing the
// previous one, and returns the file's path.
std::string WriteInput(const std::uint8_t* data, std::size_t size, const std::string& name);
std::string WriteInput(const std::string& bytes, const std::string& name);

// Entries in the scratch folder: a write that cleaned up leaves only the input.
std::size_t ScratchFileCount();

// The whole file; empty when it cannot be read.
std::string FileBytes(const std::string& path);

// Reports a broken expectation on stderr and aborts, so that libFuzzer keeps
// the input as a crash.
[[noreturn]] void Fail(const std::string& what);

// Points Qt at the offscreen platform and the configuration folder at the
// scratch folder, before any Qt application exists.
void PrepareQtEnvironment();

// One Qt application of the given class for the whole process. It is never
// destroyed: Qt's teardown among the exit handlers crashes, and the fuzzer
// ends the process with exit().
template <class App>
App& QtApplication() {
  PrepareQtEnvironment();
  static int argc = 1;
  static char name[] = "tonvara-fuzz";
  static char* argv[] = {name, nullptr};
  static App* const app = new App(argc, argv);
  return *app;
}

}  // namespace fuzz
