// The Ogg Vorbis comment reader and the comment-editing layer's open on any
// bytes (with the page checksums made right); where the stream opens, the
// comments are rewritten and must read back as written, and a refused write
// must leave the file as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tags/ogg_comments.h"
#include "tags/tag_error.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/ogg_pages.h"

namespace {

OGGTag Written() {
  OGGTag t;
  t.Album = "专辑";
  t.Title = "Title";
  t.Artist = "艺术家";
  t.Comment = "comment";
  t.Genre = "Rock";
  t.Date = "2024";
  t.TrackNumber = "7";
  return t;
}

bool SameTag(const OGGTag& a, const OGGTag& b) {
  return a.Album == b.Album && a.Title == b.Title && a.Artist == b.Artist && a.Comment == b.Comment &&
         a.Genre == b.Genre && a.Date == b.Date && a.TrackNumber == b.TrackNumber;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string original =
      fuzz::WithPageChecksums(std::string(reinterpret_cast<const char*>(data), size));
  const std::string path = fuzz::WriteInput(original, "input.ogg");
  OGGTag tag;
  try {
    ReadOggComments(path, tag);
  } catch (const TagError&) {
    return 0;  // no Ogg Vorbis stream: refused, as it should be
  }

  const OGGTag written = Written();
  try {
    WriteOggComments(path, written);
  } catch (const TagError&) {
    if (fuzz::FileBytes(path) != original) fuzz::Fail("a refused comment write changed the file");
    if (fuzz::ScratchFileCount() != 1) fuzz::Fail("a refused comment write left a temporary file");
    return 0;
  }
  if (fuzz::ScratchFileCount() != 1) fuzz::Fail("the comment write left a temporary file");
  OGGTag again;
  try {
    ReadOggComments(path, again);
  } catch (const TagError& e) {
    fuzz::Fail(std::string("the rewritten file no longer opens: ") + e.what());
  }
  if (!SameTag(again, written)) fuzz::Fail("the written comments do not read back");
  return 0;
}
