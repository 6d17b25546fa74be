// The tag record of one list row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AudioFileinfo {
  std::string Title;
  std::string Artist;
  std::string Year;
  std::string Album;
  std::string Comment;
  std::string Genre;
  int32_t Duration = 0;  // milliseconds
};

// Element i belongs to list row i.
using TFileInfos = std::vector<AudioFileinfo>;
