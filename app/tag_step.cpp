#include "app/tag_step.h"

// Filled in with the tag readers.
bool ReadAddedFileTags(const std::string&, std::string&, AudioFileinfo&) { return true; }
