#include "tags/tag_transfer.h"

// Filled in with the tag writers.
void TransferTags(const std::string&, const AudioFileinfo&) {}
