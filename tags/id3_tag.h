// Unit2: the text frames of an ID3v2 tag at the start of an MP3 file.
#pragma once

#include <array>
#include <string>

// The tag fields exchanged with callers, UTF-8.
struct ID3StructV2 {
  std::string Title;
  std::string Artist;
  std::string Album;
  std::string Year;
  std::string Track;
  std::string Comment;
  std::string Genre;
};

// Where ReadID3Tag leaves its result; callers read and may change it.
extern ID3StructV2 ID3Tag;

struct ID3FrameId {
  const char* id;
  std::string ID3StructV2::*field;
};

// Frame identifiers in the order of a written tag (track before year).
inline const std::array<ID3FrameId, 7> ID3FrameIds = {{
    {"TIT2", &ID3StructV2::Title},
    {"TPE1", &ID3StructV2::Artist},
    {"TALB", &ID3StructV2::Album},
    {"TRCK", &ID3StructV2::Track},
    {"TYER", &ID3StructV2::Year},
    {"TCON", &ID3StructV2::Genre},
    {"COMM", &ID3StructV2::Comment},
}};

void ClearID3Tag();

// Fills ID3Tag with the trimmed texts of the file's tag, or leaves it empty
// when the file has no readable tag. Never reports an error, never changes
// the file.
void ReadID3Tag(const std::string& fileName);

// Puts an ID3v2.3 tag of the seven frames in front of the file's audio,
// replacing an ID3v2 tag already at its start. Raises TagError when the file
// cannot be read or the new version cannot be written; the file is then left
// as it was.
void WriteID3Tag(const std::string& fileName, ID3StructV2 tag);

// The bytes of the tag WriteID3Tag writes for a record.
std::string BuildID3Tag(const ID3StructV2& tag);
