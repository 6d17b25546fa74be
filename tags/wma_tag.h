// WMATag: the tag record of WMA files, the attribute names, and the entry to
// the attribute layer that creates an info object for a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/asf.h"
#include "tags/text_codec.h"

// The record exchanged with callers: fixed-size UTF-8 fields, zero-terminated
// when shorter than their width.
struct WMATagData {
  std::int32_t Status;  // -1 when tags were read, 0 otherwise
  char Year[128];
  std::uint16_t Track;
  char Author[128];
  char Title[128];
  char Album[128];
  char Description[255];
  char LegacyField3[128];
  char Genre[32];
};

// The text of a field: its bytes up to the terminator or its width.
template <std::size_t N>
std::string WMAFieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// Puts a text into a field, cut at a character boundary to fit its width.
template <std::size_t N>
void SetWMAField(char (&field)[N], std::string_view text) {
  const std::string fitted = tags::CutUtf8(text, N);
  std::memset(field, 0, N);
  std::memcpy(field, fitted.data(), fitted.size());
}

inline constexpr std::u16string_view g_wszWMTitle = u"Title";
inline constexpr std::u16string_view g_wszWMAuthor = u"Author";
inline constexpr std::u16string_view g_wszWMAlbumTitle = u"WM/AlbumTitle";
inline constexpr std::u16string_view g_wszWMYear = u"WM/Year";
inline constexpr std::u16string_view g_wszWMTrackNumber = u"WM/TrackNumber";
inline constexpr std::u16string_view g_wszWMTrack = u"WM/Track";
inline constexpr std::u16string_view g_wszWMDescription = u"Description";
inline constexpr std::u16string_view g_wszWMGenre = u"WM/Genre";

// The attribute layer is part of the program, so it is always there.
bool WMASdkAvailable();

// Creates the info object for a file: 0 on success.
int WMAudioCreateInfo(const std::string& fileName, std::unique_ptr<asf::InfoObject>& info);
