// Corrupt and cut-short inputs for every reader (and the writers): no crash,
// no hang, no read past a buffer (the sanitizer build checks the last), and a
// file that cannot be rewritten is left as it was.
#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include <random>

#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tags/tag_error.h"
#include "tags/wm_audio_info.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"
#include "tests/tags/tag_bytes.h"

namespace {

constexpr int kCasesPerSeed = 150;

// Seeds a mutation generator that always gives the same cases.
class Mutator {
 public:
  explicit Mutator(std::string seed) : seed_(std::move(seed)) {}

  // Case i: a cut at one of a spread of lengths, or a few bytes changed near
  // the start, where the headers are, or anywhere.
  std::string Case(int i) {
    std::string s = seed_;
    if (i % 5 == 0) return s.substr(0, Below(s.size()));
    const int changes = 1 + static_cast<int>(Below(6));
    const std::size_t region = i % 2 ? std::min<std::size_t>(s.size(), 600) : s.size();
    for (int c = 0; c < changes; ++c) {
      const std::size_t at = Below(region);
      switch (Below(4)) {
        case 0: s[at] = static_cast<char>(Below(256)); break;
        case 1: s[at] = static_cast<char>(s[at] ^ (1 << Below(8))); break;
        case 2: s[at] = '\xFF'; break;
        default: s.replace(at, std::min<std::size_t>(4, s.size() - at), std::string(4, Below(2) ? '\xFF' : '\0'));
      }
    }
    return s;
  }

 private:
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }
  std::string seed_;
  std::mt19937 rng_{12345};
};

// Recomputes the checksum of every Ogg page that still parses, so mutations
// inside pages reach the header parsing instead of being dropped as bad pages.
std::string FixOggChecksums(std::string s) {
  for (std::size_t pos = s.find("OggS"); pos != std::string::npos; pos = s.find("OggS", pos + 1)) {
    if (s.size() - pos < 27) break;
    const auto segments = static_cast<unsigned char>(s[pos + 26]);
    if (s.size() - pos < 27u + segments) break;
    std::size_t body = 0;
    for (int k = 0; k < segments; ++k) body += static_cast<unsigned char>(s[pos + 27 + k]);
    if (s.size() - pos - 27 - segments < body) continue;
    ogg_page page{reinterpret_cast<unsigned char*>(&s[pos]), 27 + segments,
                  reinterpret_cast<unsigned char*>(&s[pos + 27 + segments]), static_cast<long>(body)};
    ogg_page_checksum_set(&page);
  }
  return s;
}

template <typename Check>
void ForEachCase(const std::string& seed, Check check) {
  Mutator mutator(seed);
  for (int i = 0; i < kCasesPerSeed; ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    check(i, mutator.Case(i));
  }
}

TEST(Mutation, Id3Reader) {
  TempDir dir;
  const std::string file = (dir / "m.mp3").string();
  ID3StructV2 record{"标题", "Artist", "Album", "2001", "3", "Comment", "Rock"};
  const std::string v23 = BuildID3Tag(record) + std::string(64, '\x55');
  const std::string v24 = tagtest::Id3Tag(
      tagtest::Id3Frame("TIT2", "\x03T", 4) + tagtest::Id3Frame("COMM", std::string("\x01" "eng\xFF\xFE\0\0\xFF\xFE\x7D\x59", 12), 4) +
          std::string("TPE1\0\0\0\x05\0\x03\x01\0\0\x01\x41", 15),
      4);
  for (const std::string& seed : {v23, v24}) {
    ForEachCase(seed, [&](int i, const std::string& bytes) {
      WriteFileBytes(file, bytes);
      ReadID3Tag(file);
      if (i % 10 == 1) {
        WriteID3Tag(file, record);
        ReadID3Tag(file);
        EXPECT_EQ(ID3Tag.Title, "标题");
      }
    });
  }
}

TEST(Mutation, OggReaderAndWriter) {
  TempDir dir;
  const std::string source = (dir / "seed.ogg").string();
  tagtest::MakeSine(source, {"-t", "0.2", "-c:a", "libvorbis", "-metadata", "title=Seed", "-metadata", "artist=A"});
  const std::string seed = ReadFileBytes(source);
  const std::string file = (dir / "m.ogg").string();
  ForEachCase(seed, [&](int i, std::string bytes) {
    if (i % 3) bytes = FixOggChecksums(std::move(bytes));
    WriteFileBytes(file, bytes);
    OGGTag tag;
    try {
      ReadOggComments(file, tag);
    } catch (const TagError&) {
    }
    if (i % 4 == 1) {
      try {
        OGGTag record;
        record.Title = "Ti";
        WriteOggComments(file, record);
      } catch (const TagError&) {
        EXPECT_EQ(ReadFileBytes(file), bytes);
      }
    }
    EXPECT_EQ(tagtest::FolderEntries(dir.Path()).size(), 2u);
  });
}

TEST(Mutation, WmaReaderAndWriter) {
  TempDir dir;
  const std::string source = (dir / "seed.wma").string();
  tagtest::MakeSine(source, {"-t", "0.2", "-c:a", "wmav2", "-metadata", "title=Seed", "-metadata", "album=B"});
  const std::string current = ReadFileBytes(source);
  std::string legacy = std::string("\xD1\x29\xE2\xD6\xDA\x35\xD1\x11\x90\x34\x00\xA0\xC9\x03\x49\xBE", 16);
  const std::string fields = std::string("\x02\0\0\0\0\0\0\x02\0T\0i\0", 13) +
                             std::string("\x64\0\0\0\0\x07\0\x01\0W\0M\0/\0Y\0e\0a\0r\0" "1\0", 25);
  const std::string fieldList = std::string("\xD5\x29\xE2\xD6\xDA\x35\xD1\x11\x90\x34\x00\xA0\xC9\x03\x49\xBE", 16) +
                                tagtest::LittleEndian(24 + 2 + fields.size(), 8) + tagtest::LittleEndian(2, 2) + fields;
  legacy += tagtest::LittleEndian(24 + fieldList.size(), 8) + fieldList;
  const std::string file = (dir / "m.wma").string();
  for (const std::string& seed : {current, legacy}) {
    ForEachCase(seed, [&](int i, const std::string& bytes) {
      WriteFileBytes(file, bytes);
      WMATagData tag{};
      ReadWMATags(file, tag);
      if (i % 4 == 1) {
        WMATagData record{};
        SetWMAField(record.Title, "新");
        if (!WriteWMATags(file, record)) {
          EXPECT_EQ(ReadFileBytes(file), bytes);
        }
        ReadWMATags(file, tag);
      }
      EXPECT_EQ(tagtest::FolderEntries(dir.Path()).size(), 2u);
    });
  }
}

}  // namespace
