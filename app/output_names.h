// Output file names of the runs: the row's caption, cleaned of the
// characters a file name may not hold, with the output's extension, and
// numbered candidates when that name is taken. Nothing is ever overwritten.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The part from the name's last "." on replaced by `extension` (".wav");
// without a "." the extension is appended.
std::string ReplaceExtension(std::string_view name, std::string_view extension);

// The stem of the numbered names: the caption up to its first ".", or the
// whole caption when it has none or starts with it.
std::string NumberingStem(std::string_view caption);

// The first free path in `folder` (ending in "/"): prefix + caption with the
// new extension, then prefix + stem + "_1" .. "_100" with it. The caption is
// cleaned first, so it never names another folder. Empty when all 101 names
// are taken.
std::optional<std::string> FreeOutputPath(const std::string& folder, std::string_view prefix,
                                          std::string_view caption, std::string_view extension);

// The same, with the paths for which `reserved` is true counted as taken too
// (names promised to outputs that are still being written).
std::optional<std::string> FreeOutputPath(const std::string& folder, std::string_view prefix,
                                          std::string_view caption, std::string_view extension,
                                          const std::function<bool(const std::string& path)>& reserved);
