#include "cli/text_table.h"

#include <algorithm>

namespace cli {

namespace {

// The code point starting at `i`, advancing `i`; invalid bytes count as one
// narrow character each.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  int length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || i + static_cast<std::size_t>(length) > s.size()) {
    ++i;
    return U'?';
  }
  char32_t c = length == 1 ? b : b & (0x7F >> length);
  for (int k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  i += static_cast<std::size_t>(length);
  return c;
}

int CellsOf(char32_t c) {
  if (c >= 0x300 && c <= 0x36F) return 0;  // combining marks
  const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
                    (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
                    (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
                    (c >= 0x20000 && c <= 0x3FFFD);
  return wide ? 2 : 1;
}

std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }, ' ');
  return text;
}

}  // namespace

int DisplayWidth(std::string_view text) {
  int cells = 0;
  for (std::size_t i = 0; i < text.size();) cells += CellsOf(NextCodePoint(text, i));
  return cells;
}

std::string FitWidth(std::string_view text, int cells) {
  if (DisplayWidth(text) <= cells) return std::string(text);
  if (cells <= 0) return {};
  int used = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t next = i;
    const int w = CellsOf(NextCodePoint(text, next));
    if (used + w > cells - 1) break;
    used += w;
    i = next;
  }
  return std::string(text.substr(0, i)) + "…";
}

std::string TextTable::Render() const {
  std::size_t columns = 0;
  for (const auto& row : rows_) columns = std::max(columns, row.size());
  std::vector<int> widths(columns, 0);
  for (const auto& row : rows_)
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(OneLine(row[c])));

  std::string out;
  for (const auto& row : rows_) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string cell = OneLine(row[c]);
      line += cell;
      if (c + 1 < row.size()) line.append(static_cast<std::size_t>(widths[c] - DisplayWidth(cell) + 2), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  return out;
}

}  // namespace cli
