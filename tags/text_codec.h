// Text conversions the tag formats need: every text inside the program is
// UTF-8; tag files hold Latin-1, GBK/GB18030, UTF-8 or UTF-16.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tags {

bool IsAscii(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
// Valid UTF-8; every byte that does not start a valid sequence becomes U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);
std::string Latin1ToUtf8(std::string_view bytes);
// False when the bytes are not valid GB18030.
bool Gb18030ToUtf8(std::string_view bytes, std::string& utf8);
// True when the text holds a CJK ideograph or CJK punctuation.
bool HoldsCjk(std::string_view utf8);
// Text of unknown 8-bit encoding: ASCII, else UTF-8 when valid, else GB18030
// when it decodes to text holding CJK characters, else Latin-1.
std::string Decode8Bit(std::string_view bytes);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Invalid input bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// UTF-16 code units from bytes; an odd last byte is dropped.
std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian);
std::string Utf16ToBytes(std::u16string_view text, bool bigEndian);

// The longest prefix of at most maxBytes that ends on a character boundary.
std::string CutUtf8(std::string_view utf8, std::size_t maxBytes);
// Removes leading and trailing bytes of value 0x20 or below.
std::string TrimControl(std::string_view text);

}  // namespace tags
