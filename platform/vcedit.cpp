#include "platform/vcedit.h"

#include <ogg/ogg.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr long kChunkSize = 1 << 16;
// Bytes of input searched for the first page before it is called not Ogg.
constexpr long kSearchLimit = 1 << 18;

struct Packet {
  std::vector<unsigned char> bytes;
  ogg_int64_t granulepos = 0;
  ogg_int64_t packetno = 0;

  void Set(const ogg_packet& p) {
    bytes.assign(p.packet, p.packet + p.bytes);
    granulepos = p.granulepos;
    packetno = p.packetno;
  }
  ogg_packet View(bool bos) {
    ogg_packet p{};
    p.packet = bytes.data();
    p.bytes = static_cast<long>(bytes.size());
    p.b_o_s = bos ? 1 : 0;
    p.granulepos = granulepos;
    p.packetno = packetno;
    return p;
  }
};

std::vector<unsigned char> PageBytes(const ogg_page& page) {
  std::vector<unsigned char> bytes(page.header, page.header + page.header_len);
  bytes.insert(bytes.end(), page.body, page.body + page.body_len);
  return bytes;
}

}  // namespace

struct vcedit_state {
  ogg_sync_state sync{};
  ogg_stream_state stream{};
  bool streamReady = false;
  vorbis_info info{};
  vorbis_comment comments{};

  void* source = nullptr;
  vcedit_read_func read = nullptr;
  vcedit_write_func write = nullptr;
  bool opened = false;
  bool endOfInput = false;
  long bytesRead = 0;

  long serial = 0;
  Packet ident;
  Packet setup;
  long lastHeaderPage = 0;  // sequence number of the page that ends the headers
  bool endsWithHeaders = false;  // the stream's last page is its last header page
  std::vector<std::vector<unsigned char>> otherPages;  // pages of other streams met among the headers
  std::string error;

  vcedit_state() {
    ogg_sync_init(&sync);
    vorbis_info_init(&info);
    vorbis_comment_init(&comments);
  }
  ~vcedit_state() {
    ogg_sync_clear(&sync);
    if (streamReady) ogg_stream_clear(&stream);
    vorbis_comment_clear(&comments);
    vorbis_info_clear(&info);
  }

  int Fail(const char* text) {
    error = text;
    return -1;
  }

  // Next complete page of the input: 1, or 0 at the end of the input. While
  // searching for the first page, gives up after kSearchLimit bytes.
  int NextPage(ogg_page* page, bool firstPage = false) {
    for (;;) {
      const int got = ogg_sync_pageout(&sync, page);
      if (got > 0) return 1;
      if (got < 0) continue;  // bytes that are no page were skipped
      if (endOfInput || (firstPage && bytesRead >= kSearchLimit)) return 0;
      char* buffer = ogg_sync_buffer(&sync, kChunkSize);
      if (!buffer) return 0;
      const std::size_t n = read(buffer, 1, kChunkSize, source);
      if (n == 0) endOfInput = true;
      bytesRead += static_cast<long>(n);
      ogg_sync_wrote(&sync, static_cast<long>(n));
    }
  }

  bool Emit(const unsigned char* data, std::size_t size, void* destination) {
    return size == 0 || write(data, 1, size, destination) == size;
  }
  bool EmitPage(const ogg_page& page, void* destination) {
    return Emit(page.header, page.header_len, destination) && Emit(page.body, page.body_len, destination);
  }

  int Open() {
    ogg_page page;
    if (!NextPage(&page, true)) {
      return Fail(bytesRead == 0 ? "Input truncated or empty" : "Input is not an Ogg bitstream");
    }
    if (!ogg_page_bos(&page)) return Fail("Input does not start with a new logical stream");
    serial = ogg_page_serialno(&page);
    ogg_stream_init(&stream, static_cast<int>(serial));
    streamReady = true;
    lastHeaderPage = ogg_page_pageno(&page);
    endsWithHeaders = ogg_page_eos(&page);
    ogg_packet packet;
    if (ogg_stream_pagein(&stream, &page) < 0 || ogg_stream_packetout(&stream, &packet) != 1) {
      return Fail("Error reading first page of Ogg bitstream");
    }
    if (vorbis_synthesis_headerin(&info, &comments, &packet) < 0) {
      return Fail("Ogg bitstream does not contain Vorbis data");
    }
    ident.Set(packet);
    for (int header = 1; header < 3; ++header) {
      int got;
      while ((got = ogg_stream_packetout(&stream, &packet)) == 0) {
        // Pages after the end-of-stream page belong to no stream: a stream
        // that ends inside its headers is refused, not stitched together.
        if (endsWithHeaders) return Fail("Stream ends before the end of Vorbis headers");
        if (!NextPage(&page)) return Fail("EOF before end of Vorbis headers");
        if (ogg_page_serialno(&page) != serial) {
          otherPages.push_back(PageBytes(page));
          continue;
        }
        lastHeaderPage = ogg_page_pageno(&page);
        endsWithHeaders = ogg_page_eos(&page);
        if (ogg_stream_pagein(&stream, &page) < 0) return Fail("Corrupt page in the Vorbis headers");
      }
      if (got < 0 || vorbis_synthesis_headerin(&info, &comments, &packet) < 0) {
        return Fail("Corrupt secondary header");
      }
      if (header == 2) setup.Set(packet);
    }
    // Audio must start on a fresh page: page-exact copying needs it.
    if (stream.lacing_fill > stream.lacing_returned) {
      return Fail("Audio data shares a page with the Vorbis headers");
    }
    opened = true;
    return 0;
  }

  // The three headers of the new stream, with the pages of other streams
  // that came among them kept after the first page. Returns the next page
  // sequence number of the rewritten stream, or -1.
  long WriteHeaders(void* destination) {
    ogg_packet comment{};
    if (vorbis_commentheader_out(&comments, &comment) != 0) return Fail("Cannot build the comment header");
    comment.packetno = 1;
    ogg_stream_state out;
    ogg_stream_init(&out, static_cast<int>(serial));
    bool ok = true;
    ogg_page page;
    ogg_packet identPacket = ident.View(true);
    ogg_stream_packetin(&out, &identPacket);
    while (ok && ogg_stream_flush(&out, &page)) ok = EmitPage(page, destination);
    for (const auto& other : otherPages) ok = ok && Emit(other.data(), other.size(), destination);
    ogg_packet setupPacket = setup.View(false);
    setupPacket.e_o_s = endsWithHeaders ? 1 : 0;  // a stream of headers only still ends
    ogg_stream_packetin(&out, &comment);
    ogg_stream_packetin(&out, &setupPacket);
    while (ok && ogg_stream_flush(&out, &page)) ok = EmitPage(page, destination);
    const long next = out.pageno;
    ogg_stream_clear(&out);
    ogg_packet_clear(&comment);
    if (!ok) return Fail("Cannot write the output stream");
    return next;
  }

  int Write(void* destination) {
    if (!opened) {
      if (error.empty()) error = "No stream is open";
      return -1;
    }
    opened = false;  // the input is consumed by one write
    const long nextPage = WriteHeaders(destination);
    if (nextPage < 0) return -1;
    const long shift = nextPage - (lastHeaderPage + 1);
    bool firstStreamEnded = endsWithHeaders;
    ogg_page page;
    while (NextPage(&page)) {
      if (!firstStreamEnded && ogg_page_serialno(&page) == serial) {
        if (shift != 0) {
          const auto number = static_cast<unsigned long>(ogg_page_pageno(&page) + shift);
          for (int i = 0; i < 4; ++i) page.header[18 + i] = static_cast<unsigned char>(number >> (8 * i));
          ogg_page_checksum_set(&page);
        }
        firstStreamEnded = ogg_page_eos(&page);
      }
      if (!EmitPage(page, destination)) return Fail("Cannot write the output stream");
    }
    return 0;
  }
};

vcedit_state* vcedit_new_state() { return new vcedit_state(); }

int vcedit_open_callbacks(vcedit_state* state, void* source, vcedit_read_func read, vcedit_write_func write) {
  state->source = source;
  state->read = read;
  state->write = write;
  return state->Open();
}

vorbis_comment* vcedit_comments(vcedit_state* state) { return &state->comments; }

int vcedit_write(vcedit_state* state, void* destination) { return state->Write(destination); }

const char* vcedit_error(const vcedit_state* state) {
  return state->error.empty() ? nullptr : state->error.c_str();
}

void vcedit_clear(vcedit_state* state) { delete state; }
