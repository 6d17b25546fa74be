// WMAudioInfo: seven attributes of a WMA file read into a WMATagData record
// and written back, with a parse of the legacy ASF header as the reader's
// fallback.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "tags/wma_tag.h"

// Replaces the whole record when tags are found (Status -1); leaves it as it
// was when none are. Never reports anything, never changes the file.
void ReadWMATags(const std::string& fileName, WMATagData& tag);

// Writes Author, Title, Album, Year, Description, Genre and the track number.
// True when the file was replaced by one holding them; the file keeps its
// permission bits and its data packets.
bool WriteWMATags(const std::string& fileName, WMATagData tag);

// Reads n UTF-16 units from the stream: at most the first 511 are kept, the
// rest skipped so the stream stays in step. The text ends at its first zero
// unit. False when the stream ends first.
bool ReadWideChars(std::FILE* stream, std::size_t n, std::u16string& text);
