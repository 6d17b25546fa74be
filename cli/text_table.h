// A plain-text table with aligned columns, measured in terminal cells (a
// Chinese character takes two).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The cells a UTF-8 text takes on a terminal.
int DisplayWidth(std::string_view text);
// The text cut to at most `cells` cells at a character boundary, with "…"
// when something was cut.
std::string FitWidth(std::string_view text, int cells);

class TextTable {
 public:
  explicit TextTable(std::vector<std::string> header) : rows_{std::move(header)} {}
  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  // Columns separated by two blanks; the last one is not padded. Control
  // characters in cells are shown as blanks so a row stays one line.
  std::string Render() const;

 private:
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace cli
