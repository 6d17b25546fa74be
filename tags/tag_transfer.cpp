#include "tags/tag_transfer.h"

#include "tags/file_extension.h"
#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tags/tag_error.h"
#include "tags/wm_audio_info.h"

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& cause) {
  throw TagTransferError("“" + path + "”：无法写入标签（" + cause + "）");
}

// The row's comment and duration stay behind; so do the track numbers.
void WriteMp3(const std::string& path, const AudioFileinfo& record) {
  ID3StructV2 tag;
  tag.Title = record.Title;
  tag.Artist = record.Artist;
  tag.Album = record.Album;
  tag.Year = record.Year;
  tag.Genre = record.Genre;
  WriteID3Tag(path, tag);
}

void WriteWma(const std::string& path, const AudioFileinfo& record) {
  WMATagData tag{};
  SetWMAField(tag.Title, record.Title);
  SetWMAField(tag.Author, record.Artist);
  SetWMAField(tag.Album, record.Album);
  SetWMAField(tag.Year, record.Year);
  SetWMAField(tag.Genre, record.Genre);
  // The writer only answers yes or no; a no on a file our own writer just
  // finished means it could not be rewritten, which is as much a failure as
  // the other writers' errors.
  if (!WriteWMATags(path, tag)) Fail(path, "无法改写 ASF 文件头");
}

void WriteOgg(const std::string& path, const AudioFileinfo& record) {
  OGGTag tag;
  tag.Title = record.Title;
  tag.Artist = record.Artist;
  tag.Album = record.Album;
  tag.Date = record.Year;
  tag.Genre = record.Genre;
  WriteOggComments(path, tag);
}

}  // namespace

void TransferTags(const std::string& outputPath, const AudioFileinfo& record) {
  const std::string ext = tags::LowerExtension(outputPath);
  try {
    if (ext == ".mp3") {
      WriteMp3(outputPath, record);
    } else if (ext == ".wma") {
      WriteWma(outputPath, record);
    } else if (ext == ".ogg") {
      WriteOgg(outputPath, record);
    }
  } catch (const TagError& e) {
    Fail(outputPath, e.what());
  }
}
