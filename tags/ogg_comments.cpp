#include "tags/ogg_comments.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "tags/file_io.h"
#include "tags/tag_error.h"
#include "tags/text_codec.h"

namespace {

struct StateDeleter {
  void operator()(vcedit_state* s) const { vcedit_clear(s); }
};
using StatePtr = std::unique_ptr<vcedit_state, StateDeleter>;

// The OGGTag fields in the order of OggFieldNames.
constexpr std::array<std::string OGGTag::*, 7> kFields = {
    &OGGTag::Album, &OGGTag::Title, &OGGTag::Artist, &OGGTag::Comment,
    &OGGTag::Genre, &OGGTag::Date,  &OGGTag::TrackNumber};

// Vorbis comment field names are bytes 0x20..0x7D other than "=".
bool IsFieldName(std::string_view name) {
  for (unsigned char c : name) {
    if (c < 0x20 || c > 0x7D || c == '=') return false;
  }
  return true;
}

std::string LowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string ErrorText(const vcedit_state* state) {
  const char* text = vcedit_error(state);
  return text ? text : "";
}

tags::FilePtr OpenSource(const std::string& fileName) {
  std::string error;
  tags::FilePtr f = tags::OpenForReading(fileName, &error);
  if (!f) throw TagError("Cannot open " + fileName + ": " + error);
  return f;
}

// A state with the file's stream opened, or TagError "Cannot open ...".
StatePtr OpenStream(const std::string& fileName, std::FILE* source) {
  StatePtr state(vcedit_new_state());
  if (vcedit_open_callbacks(state.get(), source, StreamRead, StreamWrite) != 0) {
    throw TagError("Cannot open " + fileName + ": " + ErrorText(state.get()));
  }
  return state;
}

}  // namespace

TStrComments ParseComments(const vorbis_comment& comments) {
  TStrComments list;
  for (int i = 0; i < comments.comments; ++i) {
    const std::string_view text(comments.user_comments[i], static_cast<std::size_t>(comments.comment_lengths[i]));
    TStrComment c;
    const auto equals = text.find('=');
    if (equals != std::string_view::npos && IsFieldName(text.substr(0, equals))) {
      c.Name = std::string(text.substr(0, equals));
      c.Value = tags::SanitizeUtf8(text.substr(equals + 1));
    } else {
      c.Value = tags::SanitizeUtf8(text);
    }
    c.Entry = c.Name.empty() ? c.Value : c.Name + "=" + c.Value;
    list.push_back(std::move(c));
  }
  return list;
}

void FreeComments(TStrComments& list) { TStrComments().swap(list); }

void AddComment(const std::string& text, vcedit_state* state) {
  vorbis_comment_add(vcedit_comments(state), tags::SanitizeUtf8(text).c_str());
}

std::size_t StreamRead(void* buffer, std::size_t size, std::size_t count, void* source) {
  if (size == 0 || count == 0 || !source) return 0;
  return std::fread(buffer, 1, size * count, static_cast<std::FILE*>(source)) / size;
}

std::size_t StreamWrite(const void* buffer, std::size_t size, std::size_t count, void* destination) {
  if (size == 0 || count == 0 || !destination) return 0;
  return std::fwrite(buffer, 1, size * count, static_cast<std::FILE*>(destination)) / size;
}

void ReadOggComments(const std::string& fileName, OGGTag& tag) {
  std::array<std::string, 7> values;
  tags::FilePtr source = OpenSource(fileName);
  StatePtr state = OpenStream(fileName, source.get());
  TStrComments list = ParseComments(*vcedit_comments(state.get()));
  for (const TStrComment& c : list) {
    const std::string name = LowerAscii(c.Name);
    for (std::size_t i = 0; i < OggFieldNames.size(); ++i) {
      if (!c.Name.empty() && name == OggFieldNames[i]) {
        values[i] = c.Value;
        break;
      }
    }
  }
  FreeComments(list);
  for (std::size_t i = 0; i < kFields.size(); ++i) tag.*kFields[i] = tags::TrimControl(values[i]);
}

bool WriteOggComments(const std::string& fileName, OGGTag tag) {
  tags::FilePtr source = OpenSource(fileName);
  StatePtr state = OpenStream(fileName, source.get());

  vorbis_comment_clear(vcedit_comments(state.get()));
  const std::pair<const char*, const std::string*> written[] = {
      {"Title=", &tag.Title}, {"Artist=", &tag.Artist}, {"Album=", &tag.Album},
      {"TrackNumber=", &tag.TrackNumber}, {"Date=", &tag.Date}, {"Genre=", &tag.Genre},
      {"Comment=", &tag.Comment}};
  for (const auto& [name, value] : written) {
    if (!value->empty()) AddComment(name + *value, state.get());
  }

  std::string error;
  tags::ReplacementFile out(fileName);
  if (!out.Open(&error)) throw TagError("Cannot write comments: " + error);
  errno = 0;
  if (vcedit_write(state.get(), out.Stream()) != 0) {
    // A refused write of the system (a full disk) is named by its cause.
    const int err = errno;
    error = std::ferror(out.Stream()) && err != 0 ? std::strerror(err) : ErrorText(state.get());
    throw TagError(error.empty() ? std::string("Cannot write comments") : "Cannot write comments: " + error);
  }
  source.reset();
  if (!out.Commit(&error)) throw TagError("Cannot write comments: " + error);
  return true;
}
