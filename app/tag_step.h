// Reading the tags of a file just added to the list into its record.
#pragma once

#include <string>

#include "app/audio_file_info.h"

// Fills `record` from the file's tags and replaces `caption` with the cleaned
// title when there is one. False when the file is to be refused.
bool ReadAddedFileTags(const std::string& path, std::string& caption, AudioFileinfo& record);
