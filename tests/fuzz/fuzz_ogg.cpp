// The Ogg Vorbis comment reader and the comment-editing layer's open on any
// bytes (with the page checksums made right); where the stream opens, the
// comments are rewritten and must read back as written with the audio
// packets unchanged, and a refused write must leave the file as it was.
#include <ogg/ogg.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

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

// The audio packets of the first logical stream (every packet after its three
// headers, up to its last page), as libogg reassembles them from the pages.
std::vector<std::string> AudioPackets(const std::string& bytes) {
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
  std::memcpy(buffer, bytes.data(), bytes.size());
  ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
  ogg_stream_state stream;
  bool started = false;
  bool ended = false;
  long packets = 0;
  std::vector<std::string> audio;
  ogg_page page;
  int got;
  while (!ended && (got = ogg_sync_pageout(&sync, &page)) != 0) {
    if (got < 0) continue;
    if (!started) {
      ogg_stream_init(&stream, ogg_page_serialno(&page));
      started = true;
    }
    if (ogg_page_serialno(&page) != stream.serialno) continue;
    ended = ogg_page_eos(&page);
    ogg_stream_pagein(&stream, &page);
    ogg_packet packet;
    while ((got = ogg_stream_packetout(&stream, &packet)) != 0) {
      if (got > 0 && ++packets > 3) audio.emplace_back(reinterpret_cast<const char*>(packet.packet), packet.bytes);
    }
  }
  if (started) ogg_stream_clear(&stream);
  ogg_sync_clear(&sync);
  return audio;
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
  if (AudioPackets(fuzz::FileBytes(path)) != AudioPackets(original)) fuzz::Fail("the rewrite changed the audio");
  return 0;
}
