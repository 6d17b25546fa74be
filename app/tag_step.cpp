#include "app/tag_step.h"

#include "app/list_text.h"
#include "tags/file_extension.h"
#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tags/tag_error.h"
#include "tags/text_codec.h"
#include "tags/wm_audio_info.h"

namespace {

// A title fit to be a caption and, later, an output file name.
std::string CleanTitle(const std::string& title) { return tags::TrimControl(CleanName(title)); }

void TakeTitle(const std::string& title, std::string& caption, AudioFileinfo& record) {
  record.Title = title;
  if (!title.empty()) caption = title;
}

void ReadWma(const std::string& path, std::string& caption, AudioFileinfo& record) {
  // A fresh record each time: the reader leaves it untouched when the file
  // has no tags, and the previous file's tags must not carry over.
  WMATagData tag{};
  ReadWMATags(path, tag);
  TakeTitle(CleanTitle(WMAFieldText(tag.Title)), caption, record);
  record.Artist = WMAFieldText(tag.Author);
  record.Album = WMAFieldText(tag.Album);
  record.Genre = WMAFieldText(tag.Genre);
  record.Comment = WMAFieldText(tag.Description);
}

void ReadOgg(const std::string& path, std::string& caption, AudioFileinfo& record) {
  OGGTag tag;
  ReadOggComments(path, tag);
  TakeTitle(CleanTitle(tag.Title), caption, record);
  record.Artist = tag.Artist;
  record.Album = tag.Album;
  record.Genre = tag.Genre;
  record.Comment = tag.Comment;
}

void ReadMp3(const std::string& path, std::string& caption, AudioFileinfo& record) {
  ReadID3Tag(path);
  ID3Tag.Title = CleanTitle(ID3Tag.Title);
  TakeTitle(ID3Tag.Title, caption, record);
  record.Artist = ID3Tag.Artist;
  record.Album = ID3Tag.Album;
  record.Genre = ID3Tag.Genre;
  record.Comment = ID3Tag.Comment;
}

}  // namespace

bool ReadAddedFileTags(const std::string& path, std::string& caption, AudioFileinfo& record) {
  const std::string ext = tags::LowerExtension(path);
  if (ext == ".wma") {
    ReadWma(path, caption, record);
  } else if (ext == ".ogg") {
    // A file that is no Ogg Vorbis stream is refused like an unsupported
    // one, so the rest of the files still get added.
    try {
      ReadOgg(path, caption, record);
    } catch (const TagError&) {
      return false;
    }
  } else if (ext == ".mp3") {
    ReadMp3(path, caption, record);
  }
  return true;
}
