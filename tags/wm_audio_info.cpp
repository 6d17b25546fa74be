#include "tags/wm_audio_info.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "tags/file_io.h"

namespace {

constexpr std::size_t kMaxWideChars = 511;

// Legacy header objects.
constexpr unsigned char kLegacyHeader[16] = {0xD1, 0x29, 0xE2, 0xD6, 0xDA, 0x35, 0xD1, 0x11,
                                             0x90, 0x34, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xBE};
constexpr unsigned char kLegacyFieldList[16] = {0xD5, 0x29, 0xE2, 0xD6, 0xDA, 0x35, 0xD1, 0x11,
                                                0x90, 0x34, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xBE};

std::uint64_t Little(const unsigned char* b, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[i];
  return v;
}

std::u16string UntilZero(std::u16string text) {
  const auto zero = text.find(u'\0');
  if (zero != std::u16string::npos) text.resize(zero);
  return text;
}

template <std::size_t N>
void SetFromWide(char (&field)[N], const std::u16string& text) {
  SetWMAField(field, tags::Utf16ToUtf8(UntilZero(text)));
}

// A text attribute: only a value of the text type counts.
template <std::size_t N>
void QueryText(const asf::InfoObject& info, std::u16string_view name, char (&field)[N]) {
  std::vector<char> buffer(0xFFFF);
  std::uint32_t type = 0;
  std::uint16_t length = static_cast<std::uint16_t>(buffer.size());
  if (info.QueryAttribute(name, type, buffer.data(), length) != asf::kOk || type != asf::kTypeString) return;
  SetFromWide(field, tags::Utf16FromBytes(std::string_view(buffer.data(), length), false));
}

// A number attribute: only a 32-bit number counts, kept in 16 bits.
std::uint16_t QueryNumber(const asf::InfoObject& info, std::u16string_view name) {
  unsigned char buffer[256] = {};
  std::uint32_t type = 0;
  std::uint16_t length = sizeof buffer;
  if (info.QueryAttribute(name, type, buffer, length) != asf::kOk || type != asf::kTypeDword || length != 4) return 0;
  return static_cast<std::uint16_t>(Little(buffer, 4));
}

bool ReadWithSdk(const std::string& fileName, WMATagData& local) {
  std::unique_ptr<asf::InfoObject> info;
  if (!WMASdkAvailable() || WMAudioCreateInfo(fileName, info) != asf::kOk) return false;
  local.Status = -1;
  QueryText(*info, g_wszWMTitle, local.Title);
  QueryText(*info, g_wszWMAuthor, local.Author);
  QueryText(*info, g_wszWMAlbumTitle, local.Album);
  QueryText(*info, g_wszWMYear, local.Year);
  local.Track = QueryNumber(*info, g_wszWMTrackNumber);
  if (local.Track == 0) local.Track = QueryNumber(*info, g_wszWMTrack);
  QueryText(*info, g_wszWMDescription, local.Description);
  QueryText(*info, g_wszWMGenre, local.Genre);
  info->FinishInfo();
  return true;
}

bool EqualsIgnoringCase(const std::u16string& a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A decimal number, else 0.
std::uint16_t DecimalOrZero(const std::u16string& text) {
  const std::string s = tags::Utf16ToUtf8(text);
  if (s.empty()) return 0;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return 0;
  return static_cast<std::uint16_t>(v);
}

// One field of a field list object; false when the stream ends.
bool ReadLegacyField(std::FILE* f, WMATagData& local) {
  unsigned char head[9];
  if (std::fread(head, 1, sizeof head, f) != sizeof head) return false;
  const unsigned type = head[0];
  std::u16string name;
  std::u16string value;
  if (!ReadWideChars(f, Little(head + 5, 2), name) || !ReadWideChars(f, Little(head + 7, 2), value)) return false;
  switch (type) {
    case 1: SetFromWide(local.Author, value); break;
    case 2: SetFromWide(local.Title, value); break;
    case 3: SetFromWide(local.LegacyField3, value); break;
    case 4: SetFromWide(local.Description, value); break;
    default:
      if (type < 100) break;
      if (EqualsIgnoringCase(name, g_wszWMTrack)) {
        local.Track = DecimalOrZero(value);
      } else if (EqualsIgnoringCase(name, g_wszWMYear)) {
        SetFromWide(local.Year, value);
      } else if (EqualsIgnoringCase(name, g_wszWMAlbumTitle)) {
        SetFromWide(local.Album, value);
      }
  }
  return true;
}

// The legacy header: a header object whose children include field lists.
// A cut-short stream ends the parse with what was found.
bool ReadLegacyHeader(const std::string& fileName, WMATagData& local) {
  tags::FilePtr f = tags::OpenForReading(fileName, nullptr);
  if (!f) return false;
  unsigned char object[24];
  if (std::fread(object, 1, sizeof object, f.get()) != sizeof object ||
      std::memcmp(object, kLegacyHeader, 16) != 0) {
    return false;
  }
  local.Status = -1;
  std::uint64_t remaining = Little(object + 16, 8);
  while (remaining > 0) {
    if (std::fread(object, 1, sizeof object, f.get()) != sizeof object) break;
    const std::uint64_t size = Little(object + 16, 8);
    if (size == 0 || size > remaining) break;
    remaining -= size;
    if (std::memcmp(object, kLegacyFieldList, 16) == 0) {
      unsigned char count[2];
      if (std::fread(count, 1, 2, f.get()) != 2) break;
      bool complete = true;
      for (std::uint64_t i = 0; i < Little(count, 2) && complete; ++i) complete = ReadLegacyField(f.get(), local);
      if (!complete) break;
    } else if (size < 24 || fseeko(f.get(), static_cast<off_t>(size - 24), SEEK_CUR) != 0) {
      break;
    }
  }
  return true;
}

}  // namespace

bool ReadWideChars(std::FILE* stream, std::size_t n, std::u16string& text) {
  text.clear();
  if (n == 0) return true;
  const std::size_t kept = n < kMaxWideChars ? n : kMaxWideChars;
  std::string bytes(kept * 2, '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), stream) != bytes.size()) return false;
  if (n > kept) {
    // Skip by reading, so a stream cut short is noticed here too.
    std::vector<char> rest((n - kept) * 2);
    if (std::fread(rest.data(), 1, rest.size(), stream) != rest.size()) return false;
  }
  text = UntilZero(tags::Utf16FromBytes(bytes, false));
  return true;
}

void ReadWMATags(const std::string& fileName, WMATagData& tag) {
  WMATagData local{};
  if (ReadWithSdk(fileName, local)) {
    tag = local;
    return;
  }
  if (ReadLegacyHeader(fileName, local)) tag = local;
}

bool WriteWMATags(const std::string& fileName, WMATagData tag) {
  std::unique_ptr<asf::InfoObject> info;
  if (!WMASdkAvailable() || WMAudioCreateInfo(fileName, info) != asf::kOk) return false;
  const std::pair<std::u16string_view, std::string> texts[] = {
      {g_wszWMAuthor, WMAFieldText(tag.Author)},   {g_wszWMTitle, WMAFieldText(tag.Title)},
      {g_wszWMAlbumTitle, WMAFieldText(tag.Album)}, {g_wszWMYear, WMAFieldText(tag.Year)},
      {g_wszWMDescription, WMAFieldText(tag.Description)}, {g_wszWMGenre, WMAFieldText(tag.Genre)}};
  for (const auto& [name, text] : texts) {
    if (!tags::IsValidUtf8(text)) continue;  // a text that cannot be converted is not stored
    std::u16string wide = tags::Utf8ToUtf16(text);
    wide.push_back(u'\0');
    const std::string bytes = tags::Utf16ToBytes(wide, false);
    info->StoreAttribute(name, asf::kTypeString, bytes.data(), static_cast<std::uint16_t>(bytes.size()));
  }
  const unsigned char track[4] = {static_cast<unsigned char>(tag.Track & 0xFF),
                                  static_cast<unsigned char>(tag.Track >> 8), 0, 0};
  info->StoreAttribute(g_wszWMTrackNumber, asf::kTypeDword, track, sizeof track);
  return info->FinishInfo() == asf::kOk;
}
