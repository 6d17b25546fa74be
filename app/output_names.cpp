#include "app/output_names.h"

#include <filesystem>
#include <system_error>

#include "app/list_text.h"

namespace {

constexpr int MaxNumberedNames = 100;

// A name counts as taken when anything is there, a dangling link included.
bool OnDisk(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(path, ec);
  return !ec && status.type() != std::filesystem::file_type::not_found;
}

}  // namespace

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
  const std::size_t dot = name.rfind('.');
  std::string result(dot == std::string_view::npos ? name : name.substr(0, dot));
  result += extension;
  return result;
}

std::string NumberingStem(std::string_view caption) {
  const std::size_t dot = caption.find('.');
  if (dot == std::string_view::npos || dot == 0) return std::string(caption);
  return std::string(caption.substr(0, dot));
}

std::optional<std::string> FreeOutputPath(const std::string& folder, std::string_view prefix,
                                          std::string_view caption, std::string_view extension) {
  return FreeOutputPath(folder, prefix, caption, extension, {});
}

std::optional<std::string> FreeOutputPath(const std::string& folder, std::string_view prefix,
                                          std::string_view caption, std::string_view extension,
                                          const std::function<bool(const std::string& path)>& reserved) {
  const auto Taken = [&](const std::string& path) { return OnDisk(path) || (reserved && reserved(path)); };
  const std::string clean = CleanName(caption);
  const std::string base = folder + std::string(prefix);
  std::string candidate = base + ReplaceExtension(clean, extension);
  if (!Taken(candidate)) return candidate;
  const std::string stem = NumberingStem(clean);
  for (int n = 1; n <= MaxNumberedNames; ++n) {
    candidate = base + ReplaceExtension(stem + "_" + std::to_string(n), extension);
    if (!Taken(candidate)) return candidate;
  }
  return std::nullopt;
}
