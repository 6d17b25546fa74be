#include "tags/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace tags {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence at the start of s, or 0.
std::size_t Utf8SequenceLength(std::string_view s, char32_t* code = nullptr) {
  const auto b0 = static_cast<unsigned char>(s[0]);
  std::size_t len;
  char32_t c;
  if (b0 < 0x80) {
    if (code) *code = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, c = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, c = b0 & 0x07;
  } else {
    return 0;
  }
  if (s.size() < len) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values beyond U+10FFFF are not valid.
  if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
      (c >= 0xD800 && c <= 0xDFFF)) {
    return 0;
  }
  if (code) *code = c;
  return len;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Owns one iconv conversion descriptor.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // False when the input holds an invalid or incomplete sequence.
  bool Convert(std::string_view in, std::string& out) {
    std::vector<char> buffer(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return false;
    out.assign(buffer.data(), buffer.size() - dstLeft);
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool IsAscii(std::string_view bytes) {
  for (unsigned char c : bytes) {
    if (c >= 0x80) return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t len = Utf8SequenceLength(bytes);
    if (len == 0) return false;
    bytes.remove_prefix(len);
  }
  return true;
}

std::string SanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t len = Utf8SequenceLength(bytes);
    if (len == 0) {
      AppendUtf8(out, kReplacement);
      bytes.remove_prefix(1);
    } else {
      out.append(bytes.substr(0, len));
      bytes.remove_prefix(len);
    }
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) AppendUtf8(out, c);
  return out;
}

bool Gb18030ToUtf8(std::string_view bytes, std::string& utf8) {
  Converter converter("UTF-8", "GB18030");
  return converter.ok() && converter.Convert(bytes, utf8);
}

bool HoldsCjk(std::string_view utf8) {
  while (!utf8.empty()) {
    char32_t c = 0;
    const std::size_t len = Utf8SequenceLength(utf8, &c);
    if (len == 0) return false;
    utf8.remove_prefix(len);
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
        (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF) ||
        (c >= 0x20000 && c <= 0x2FFFF)) {
      return true;
    }
  }
  return false;
}

std::string Decode8Bit(std::string_view bytes) {
  if (IsAscii(bytes) || IsValidUtf8(bytes)) return std::string(bytes);
  std::string chinese;
  if (Gb18030ToUtf8(bytes, chinese) && HoldsCjk(chinese)) return chinese;
  return Latin1ToUtf8(bytes);
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    char32_t c = 0;
    std::size_t len = Utf8SequenceLength(utf8, &c);
    if (len == 0) c = kReplacement, len = 1;
    utf8.remove_prefix(len);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return out;
}

std::string Utf16ToBytes(std::u16string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t u : text) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

std::string CutUtf8(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return std::string(utf8);
  std::size_t end = maxBytes;
  // Step back over continuation bytes to the start of the cut character.
  while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  return std::string(utf8.substr(0, end));
}

std::string TrimControl(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace tags
