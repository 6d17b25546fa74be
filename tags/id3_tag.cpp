#include "tags/id3_tag.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "tags/file_io.h"
#include "tags/tag_error.h"
#include "tags/text_codec.h"

ID3StructV2 ID3Tag;

namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kPaddingSize = 10;
constexpr std::size_t kCommentIndex = 6;
constexpr std::uint32_t kMaxSyncSafe = (1u << 28) - 1;

// The reader's working record for one call.
struct TagInfo {
  unsigned char Header[kHeaderSize] = {};
  std::int64_t FileSize = 0;
  std::array<std::string, 7> FrameTexts;
  bool commentHasDescription = false;
};

std::uint32_t SyncSafe(const unsigned char* b) {
  return (std::uint32_t{b[0]} << 21) | (std::uint32_t{b[1]} << 14) | (std::uint32_t{b[2]} << 7) | b[3];
}

std::uint32_t BigEndian32(const unsigned char* b) {
  return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
}

int FrameIndex(const unsigned char* id) {
  for (std::size_t i = 0; i < ID3FrameIds.size(); ++i) {
    if (std::memcmp(id, ID3FrameIds[i].id, 4) == 0) return static_cast<int>(i);
  }
  return -1;
}

bool ReadExactly(std::FILE* f, std::int64_t offset, void* buffer, std::size_t size) {
  return fseeko(f, offset, SEEK_SET) == 0 && std::fread(buffer, 1, size, f) == size;
}

// Undoes unsynchronisation: every 0xFF 0x00 becomes 0xFF.
std::string Resync(std::string_view data) {
  std::string out;
  out.reserve(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    out += data[i];
    if (static_cast<unsigned char>(data[i]) == 0xFF && i + 1 < data.size() && data[i + 1] == 0) ++i;
  }
  return out;
}

bool IsWide(unsigned char encoding) { return encoding == 1 || encoding == 2; }

// Length of the string at the start of data up to its terminator in the
// given encoding; terminatorSize is set to the terminator's length, 0 when
// the string runs to the end.
std::size_t StringLength(std::string_view data, unsigned char encoding, std::size_t& terminatorSize) {
  if (IsWide(encoding)) {
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
      if (data[i] == 0 && data[i + 1] == 0) return terminatorSize = 2, i;
    }
  } else {
    const auto zero = data.find('\0');
    if (zero != std::string_view::npos) return terminatorSize = 1, zero;
  }
  terminatorSize = 0;
  return data.size();
}

std::string DecodeString(std::string_view bytes, unsigned char encoding) {
  switch (encoding) {
    case 1: {
      bool bigEndian = false;
      if (bytes.size() >= 2) {
        const auto a = static_cast<unsigned char>(bytes[0]);
        const auto b = static_cast<unsigned char>(bytes[1]);
        if ((a == 0xFE && b == 0xFF) || (a == 0xFF && b == 0xFE)) {
          bigEndian = a == 0xFE;
          bytes.remove_prefix(2);
        }
      }
      return tags::Utf16ToUtf8(tags::Utf16FromBytes(bytes, bigEndian));
    }
    case 2:
      return tags::Utf16ToUtf8(tags::Utf16FromBytes(bytes, true));
    case 3:
      return tags::SanitizeUtf8(bytes);
    default:
      return tags::Decode8Bit(bytes);
  }
}

// Takes the first string off the front of data and decodes it.
std::string TakeString(std::string_view& data, unsigned char encoding) {
  std::size_t terminator = 0;
  const std::size_t len = StringLength(data, encoding, terminator);
  std::string text = DecodeString(data.substr(0, len), encoding);
  data.remove_prefix(len + terminator);
  return text;
}

// Text of a text frame: the encoding byte, then the text. A first byte that
// is no known encoding is taken as part of an 8-bit text.
std::string TextFrameText(std::string_view data) {
  if (data.empty()) return {};
  const auto encoding = static_cast<unsigned char>(data[0]);
  if (encoding > 3) return TakeString(data, 0);
  data.remove_prefix(1);
  return TakeString(data, encoding);
}

// Text of a comment frame: encoding, language, short description, text.
std::string CommentFrameText(std::string_view data, bool& hasDescription) {
  hasDescription = false;
  if (data.size() < 4) return {};
  auto encoding = static_cast<unsigned char>(data[0]);
  if (encoding > 3) encoding = 0;
  data.remove_prefix(4);
  hasDescription = !TakeString(data, encoding).empty();
  return TakeString(data, encoding);
}

void StoreFrame(TagInfo& info, int index, std::string_view data) {
  if (static_cast<std::size_t>(index) != kCommentIndex) {
    info.FrameTexts[index] = TextFrameText(data);
    return;
  }
  // Comments with a short description ("iTunNORM" and the like) hold data of
  // other programs; the user's comment is the one without.
  bool hasDescription = false;
  std::string text = CommentFrameText(data, hasDescription);
  if (hasDescription && !info.commentHasDescription && !info.FrameTexts[index].empty()) return;
  info.FrameTexts[index] = std::move(text);
  info.commentHasDescription = hasDescription;
}

// Frame data as stored, with the format flags of the frame undone; nullopt
// when the frame is compressed or encrypted.
std::optional<std::string> FrameData(std::string data, int major, bool tagUnsync, unsigned char formatFlags) {
  if (major == 4) {
    if (formatFlags & 0x0C) return std::nullopt;  // compressed or encrypted
    std::size_t skip = ((formatFlags & 0x40) ? 1 : 0) + ((formatFlags & 0x01) ? 4 : 0);
    if (formatFlags & 0x02 || tagUnsync) data = Resync(data);
    return data.size() < skip ? std::string() : data.substr(skip);
  }
  if (formatFlags & 0xC0) return std::nullopt;  // compressed or encrypted
  if (tagUnsync) data = Resync(data);
  if (formatFlags & 0x20) return data.empty() ? std::string() : data.substr(1);
  return data;
}

// Walks the frames between the header and the tag end. A frame reaching
// beyond the tag, or the zero bytes of padding, end the walk.
void ReadFrames(std::FILE* f, TagInfo& info) {
  const int major = info.Header[3];
  const unsigned char flags = info.Header[5];
  std::int64_t tagEnd = std::int64_t{SyncSafe(info.Header + 6)} + kHeaderSize;
  if (tagEnd > info.FileSize) tagEnd = info.FileSize;
  std::int64_t pos = kHeaderSize;

  if ((flags & 0x40) && (major == 3 || major == 4)) {  // extended header
    unsigned char size[4];
    if (!ReadExactly(f, pos, size, 4)) return;
    pos += major == 4 ? std::int64_t{SyncSafe(size)} : 4 + std::int64_t{BigEndian32(size)};
  }
  const bool tagUnsync = (flags & 0x80) != 0;

  while (pos + std::int64_t{kHeaderSize} <= tagEnd) {
    unsigned char frame[kHeaderSize];
    if (!ReadExactly(f, pos, frame, kHeaderSize) || frame[0] == 0) return;
    const std::int64_t size = major == 4 ? SyncSafe(frame + 4) : BigEndian32(frame + 4);
    const std::int64_t dataStart = pos + std::int64_t{kHeaderSize};
    if (dataStart + size > tagEnd) return;
    const int index = FrameIndex(frame);
    if (index >= 0) {
      std::string data(static_cast<std::size_t>(size), '\0');
      if (size > 0 && !ReadExactly(f, dataStart, data.data(), data.size())) return;
      if (auto plain = FrameData(std::move(data), major, tagUnsync, frame[9])) {
        StoreFrame(info, index, *plain);
      }
    }
    pos = dataStart + size;
  }
}

// Bytes of a text in a frame: the encoding byte, then ISO-8859-1 bytes for
// ASCII text and UTF-16 with byte-order mark for any other.
std::string EncodedText(const std::string& text, bool isComment) {
  const bool ascii = tags::IsAscii(text);
  std::string data(1, ascii ? '\0' : '\1');
  if (isComment) {
    data += "eng";
    data += ascii ? std::string(1, '\0') : std::string("\xFF\xFE\0\0", 4);
  }
  if (ascii) {
    data += text;
  } else {
    data += "\xFF\xFE";
    data += tags::Utf16ToBytes(tags::Utf8ToUtf16(text), false);
  }
  return data;
}

void AppendBigEndian32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void AppendSyncSafe(std::string& out, std::uint32_t v) {
  for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((v >> shift) & 0x7F);
}

// Size of an ID3v2 tag at the start of the file (header and footer
// included), or 0 when there is none that fits inside the file.
std::int64_t ExistingTagSize(std::FILE* f, std::int64_t fileSize) {
  unsigned char header[kHeaderSize];
  if (!ReadExactly(f, 0, header, kHeaderSize) || std::memcmp(header, "ID3", 3) != 0) return 0;
  if (header[3] < 2 || header[3] > 4 || header[3] == 0xFF || header[4] == 0xFF) return 0;
  for (int i = 6; i < 10; ++i) {
    if (header[i] & 0x80) return 0;
  }
  std::int64_t size = kHeaderSize + std::int64_t{SyncSafe(header + 6)};
  if (header[3] == 4 && (header[5] & 0x10)) size += kHeaderSize;  // footer
  return size <= fileSize ? size : 0;
}

}  // namespace

void ClearID3Tag() { ID3Tag = ID3StructV2{}; }

void ReadID3Tag(const std::string& fileName) {
  ClearID3Tag();
  TagInfo info;
  tags::FilePtr f = tags::OpenForReading(fileName, nullptr);
  if (!f) return;
  info.FileSize = tags::FileLength(f.get());
  if (info.FileSize < static_cast<std::int64_t>(kHeaderSize) ||
      !ReadExactly(f.get(), 0, info.Header, kHeaderSize) || std::memcmp(info.Header, "ID3", 3) != 0) {
    return;
  }
  ReadFrames(f.get(), info);
  for (std::size_t i = 0; i < ID3FrameIds.size(); ++i) {
    ID3Tag.*ID3FrameIds[i].field = tags::TrimControl(info.FrameTexts[i]);
  }
}

std::string BuildID3Tag(const ID3StructV2& tag) {
  std::string frames;
  for (std::size_t i = 0; i < ID3FrameIds.size(); ++i) {
    const std::string data = EncodedText(tag.*ID3FrameIds[i].field, i == kCommentIndex);
    frames += ID3FrameIds[i].id;
    AppendBigEndian32(frames, static_cast<std::uint32_t>(data.size()));
    frames += std::string(2, '\0');
    frames += data;
  }
  frames += std::string(kPaddingSize, '\0');
  if (frames.size() > kMaxSyncSafe) throw TagError("ID3 tag too large");
  std::string out("ID3\x03\x00\x00", 6);
  AppendSyncSafe(out, static_cast<std::uint32_t>(frames.size()));
  return out + frames;
}

void WriteID3Tag(const std::string& fileName, ID3StructV2 tag) {
  std::string error;
  tags::FilePtr in = tags::OpenForReading(fileName, &error);
  if (!in) throw TagError("Cannot open " + fileName + ": " + error);
  const std::string newTag = BuildID3Tag(tag);
  const std::int64_t audioStart = ExistingTagSize(in.get(), tags::FileLength(in.get()));

  tags::ReplacementFile out(fileName);
  if (!out.Open(&error)) throw TagError("Cannot write tag to " + fileName + ": " + error);
  const bool copied = std::fwrite(newTag.data(), 1, newTag.size(), out.Stream()) == newTag.size() &&
                      fseeko(in.get(), audioStart, SEEK_SET) == 0 && tags::CopyRest(in.get(), out.Stream());
  if (!copied) {
    error = std::strerror(errno ? errno : EIO);
    throw TagError("Cannot write tag to " + fileName + ": " + error);
  }
  if (!out.Commit(&error)) throw TagError("Cannot write tag to " + fileName + ": " + error);
}
