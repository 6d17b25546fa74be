// The WMA tag reader on any bytes: the ASF attribute layer, and the legacy
// header parse it falls back to. Where the attribute layer takes the file,
// the tags are written and must read back as written, with every byte after
// the header unchanged; a refused write must leave the file as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tags/wm_audio_info.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

WMATagData Written() {
  WMATagData t{};
  SetWMAField(t.Title, "标题 Title");
  SetWMAField(t.Author, "Artist");
  SetWMAField(t.Album, "专辑");
  SetWMAField(t.Year, "2024");
  SetWMAField(t.Description, "注释");
  SetWMAField(t.Genre, "Rock");
  t.Track = 7;
  return t;
}

bool SameTags(const WMATagData& a, const WMATagData& b) {
  return WMAFieldText(a.Title) == WMAFieldText(b.Title) && WMAFieldText(a.Author) == WMAFieldText(b.Author) &&
         WMAFieldText(a.Album) == WMAFieldText(b.Album) && WMAFieldText(a.Year) == WMAFieldText(b.Year) &&
         WMAFieldText(a.Description) == WMAFieldText(b.Description) &&
         WMAFieldText(a.Genre) == WMAFieldText(b.Genre) && a.Track == b.Track;
}

// The header object's size, read from its first 24 bytes.
std::uint64_t HeaderSize(const std::string& file) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(file[16 + i]);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::WriteInput(data, size, "input.wma");
  WMATagData tag{};
  ReadWMATags(path, tag);
  if (fuzz::FileBytes(path) != original) fuzz::Fail("reading the tags changed the file");

  const WMATagData written = Written();
  if (!WriteWMATags(path, written)) {
    if (fuzz::FileBytes(path) != original) fuzz::Fail("a refused tag write changed the file");
    if (fuzz::ScratchFileCount() != 1) fuzz::Fail("a refused tag write left a temporary file");
    return 0;
  }
  if (fuzz::ScratchFileCount() != 1) fuzz::Fail("the tag write left a temporary file");
  // A header was read from the original, so both files hold one.
  const std::string rewritten = fuzz::FileBytes(path);
  if (rewritten.size() < 30 || HeaderSize(rewritten) > rewritten.size() ||
      rewritten.substr(HeaderSize(rewritten)) != original.substr(HeaderSize(original))) {
    fuzz::Fail("the rewrite changed what follows the header");
  }
  WMATagData again{};
  ReadWMATags(path, again);
  if (again.Status != -1 || !SameTags(again, written)) fuzz::Fail("the written tags do not read back");
  return 0;
}
