#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fuzz {
namespace {

namespace fs = std::filesystem;

fs::path BaseFolder() {
  std::error_code ec;
  if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path(ec);
}

// Made once; the destructor removes the folder when the process exits.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (BaseFolder() / "tonvara-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) Fail("cannot create the scratch folder " + pattern);
    path_ = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

const fs::path& ScratchDir() {
  static const Scratch scratch;
  return scratch.Path();
}

std::string WriteInput(const std::uint8_t* data, std::size_t size, const std::string& name) {
  const fs::path path = ScratchDir() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) Fail("cannot write the input to " + path.string());
  return path.string();
}

std::string WriteInput(const std::string& bytes, const std::string& name) {
  return WriteInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), name);
}

std::size_t ScratchFileCount() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(ScratchDir())) ++n;
  return n;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

void PrepareQtEnvironment() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::setenv("XDG_CONFIG_HOME", ScratchDir().c_str(), 1);
}

}  // namespace fuzz
