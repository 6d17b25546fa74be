// Reader of the skin file format (described in skin/README.md and at the top
// of skin/mp3enc.dll).
#pragma once

#include <memory>
#include <string>

#include "platform/skin/skin_document.h"

// Reads skin text; `origin` (a file path or a description) names the source
// in errors. Throws SkinError with the origin and the line on any fault.
std::unique_ptr<SkinDocument> ParseSkinText(const std::string& text, const std::string& origin);
// Reads and parses a skin file; throws SkinError naming the file.
std::unique_ptr<SkinDocument> ReadSkinFile(const std::string& path);
