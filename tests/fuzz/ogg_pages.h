// Ogg pages carry a checksum that nearly every mutation breaks, and a page
// that fails it is skipped before any of our code sees it. The Ogg targets
// therefore put a correct checksum on every whole page of their input.
#pragma once

#include <string>

namespace fuzz {

// The bytes with the checksum of each complete "OggS" page set right.
std::string WithPageChecksums(std::string bytes);

}  // namespace fuzz
