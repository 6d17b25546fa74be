#include "tests/fuzz/ogg_pages.h"

#include <ogg/ogg.h>

#include <cstddef>

namespace fuzz {

std::string WithPageChecksums(std::string bytes) {
  constexpr std::size_t kHeader = 27;  // up to and including the segment count
  std::size_t pos = 0;
  while ((pos = bytes.find("OggS", pos)) != std::string::npos) {
    if (bytes.size() - pos < kHeader) break;
    auto* header = reinterpret_cast<unsigned char*>(bytes.data() + pos);
    const std::size_t segments = header[26];
    if (bytes.size() - pos < kHeader + segments) break;
    std::size_t body = 0;
    for (std::size_t i = 0; i < segments; ++i) body += header[kHeader + i];
    const std::size_t headerLen = kHeader + segments;
    if (bytes.size() - pos - headerLen < body) break;
    ogg_page page{header, static_cast<long>(headerLen), header + headerLen, static_cast<long>(body)};
    ogg_page_checksum_set(&page);
    pos += headerLen + body;
  }
  return bytes;
}

}  // namespace fuzz
