// The ID3v2 reader on any bytes, then the writer that puts a new tag in front
// of them: the new tag must read back as written, what followed the old tag
// must follow the new one untouched, and a refused write must leave the file
// as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tags/id3_tag.h"
#include "tags/tag_error.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const ID3StructV2 kWritten{"标题 Title", "Artist", "专辑", "2024", "7", "注释", "Rock"};

bool SameRecord(const ID3StructV2& a, const ID3StructV2& b) {
  for (const auto& frame : ID3FrameIds) {
    if (a.*frame.field != b.*frame.field) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::WriteInput(data, size, "input.mp3");
  ReadID3Tag(path);

  try {
    WriteID3Tag(path, kWritten);
  } catch (const TagError&) {
    if (fuzz::FileBytes(path) != original) fuzz::Fail("a refused tag write changed the file");
    return 0;
  }
  if (fuzz::ScratchFileCount() != 1) fuzz::Fail("the tag write left a temporary file");
  const std::string written = fuzz::FileBytes(path);
  const std::string tag = BuildID3Tag(kWritten);
  if (written.compare(0, tag.size(), tag) != 0) fuzz::Fail("the file does not start with the new tag");
  const std::string rest = written.substr(tag.size());
  if (rest.size() > original.size() || original.compare(original.size() - rest.size(), rest.size(), rest) != 0) {
    fuzz::Fail("what follows the new tag is not the end of the original file");
  }
  ReadID3Tag(path);
  if (!SameRecord(ID3Tag, kWritten)) fuzz::Fail("the written tag does not read back");
  return 0;
}
