// Writes a row's tags into a file that a run produced, by the file's
// extension: ID3v2 for ".mp3", WMA attributes for ".wma", Vorbis comments
// for ".ogg"; other outputs get none.
#pragma once

#include <stdexcept>
#include <string>

#include "app/audio_file_info.h"

// A tag writer that failed; the text names the file and the cause.
class TagTransferError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void TransferTags(const std::string& outputPath, const AudioFileinfo& record);
