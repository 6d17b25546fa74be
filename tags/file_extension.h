// The extension that picks a file's tag format.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace tags {

// The path's extension with its dot, in lower case; empty when the file
// name has none.
inline std::string LowerExtension(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace tags
