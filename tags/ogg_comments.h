// Ogg: the seven Vorbis comments of an OGG file, read and replaced.
#pragma once

#include <vorbis/codec.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/vcedit.h"

// The comment fields exchanged with callers, UTF-8.
struct OGGTag {
  std::string Album;
  std::string Title;
  std::string Artist;
  std::string Comment;
  std::string Genre;
  std::string Date;
  std::string TrackNumber;
};

// The comment names the reader recognises, index for index with OGGTag.
inline const std::array<const char*, 7> OggFieldNames = {"album",   "title", "artist",     "comment",
                                                         "genre", "date",  "tracknumber"};

// One parsed comment. Name is empty when the comment has no usable name;
// Value is then the whole comment.
struct TStrComment {
  std::string Name;
  std::string Value;
  std::string Entry;
};
using TStrComments = std::vector<TStrComment>;

// One record per comment of the list, in order.
TStrComments ParseComments(const vorbis_comment& comments);
void FreeComments(TStrComments& list);
// Appends "name=value" text to the state's comment list.
void AddComment(const std::string& text, vcedit_state* state);

// The callbacks handed to the editing layer; the data source is a FILE*.
std::size_t StreamRead(void* buffer, std::size_t size, std::size_t count, void* source);
std::size_t StreamWrite(const void* buffer, std::size_t size, std::size_t count, void* destination);

// Replaces the record with the seven trimmed values found. Raises TagError
// "Cannot open <file>: <text>" when the file is no Ogg Vorbis stream or
// cannot be opened. Never changes the file.
void ReadOggComments(const std::string& fileName, OGGTag& tag);

// Replaces every comment of the file with the record's non-empty fields.
// True when the file was replaced by the rewritten stream, its permission
// bits kept. Raises TagError
// "Cannot open <file>: <text>" or "Cannot write comments[: <text>]"; the
// file is then left as it was and no temporary file remains.
bool WriteOggComments(const std::string& fileName, OGGTag tag);
