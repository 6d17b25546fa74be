#include "cli/tags_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <optional>
#include <utility>

#include "cli/file_set.h"
#include "cli/messages.h"
#include "cli/text_table.h"
#include "tags/file_extension.h"
#include "tags/id3_tag.h"
#include "tags/ogg_comments.h"
#include "tags/tag_error.h"
#include "tags/wm_audio_info.h"

namespace cli {

namespace {

// The field names in output order; a format fills those it has.
constexpr const char* FieldNames[] = {"title", "artist", "album", "year", "genre", "comment", "track"};

struct FileTags {
  std::string path;
  std::vector<std::pair<std::string, std::string>> fields;  // in FieldNames order
};

FileTags Mp3Tags(const std::string& path) {
  ReadID3Tag(path);
  return {path,
          {{"title", ID3Tag.Title},
           {"artist", ID3Tag.Artist},
           {"album", ID3Tag.Album},
           {"year", ID3Tag.Year},
           {"genre", ID3Tag.Genre},
           {"comment", ID3Tag.Comment},
           {"track", ID3Tag.Track}}};
}

FileTags OggTags(const std::string& path) {
  OGGTag tag;
  ReadOggComments(path, tag);
  return {path,
          {{"title", tag.Title},
           {"artist", tag.Artist},
           {"album", tag.Album},
           {"year", tag.Date},
           {"genre", tag.Genre},
           {"comment", tag.Comment},
           {"track", tag.TrackNumber}}};
}

FileTags WmaTags(const std::string& path) {
  WMATagData tag{};
  ReadWMATags(path, tag);
  return {path,
          {{"title", WMAFieldText(tag.Title)},
           {"artist", WMAFieldText(tag.Author)},
           {"album", WMAFieldText(tag.Album)},
           {"year", WMAFieldText(tag.Year)},
           {"genre", WMAFieldText(tag.Genre)},
           {"comment", WMAFieldText(tag.Description)},
           {"track", tag.Track == 0 ? std::string() : std::to_string(tag.Track)}}};
}

// Formats without a tag reader give the path alone.
std::optional<FileTags> ReadTags(const std::string& path) {
  const std::string ext = tags::LowerExtension(path);
  try {
    if (ext == ".mp3") return Mp3Tags(path);
    if (ext == ".ogg") return OggTags(path);
    if (ext == ".wma") return WmaTags(path);
  } catch (const TagError& e) {
    PrintProblem(path + ": " + e.what());
    return std::nullopt;
  }
  return FileTags{path, {}};
}

QJsonObject JsonOf(const FileTags& t) {
  QJsonObject o;
  o["path"] = QString::fromStdString(t.path);
  for (const auto& [name, value] : t.fields) o[QString::fromUtf8(name)] = QString::fromStdString(value);
  return o;
}

std::string Table(const std::vector<FileTags>& all) {
  TextTable table({Tr("路径", "Path"), Tr("标题", "Title"), Tr("艺术家", "Artist"), Tr("专辑", "Album"),
                   Tr("年份", "Year"), Tr("流派", "Genre"), Tr("备注", "Comment"), Tr("音轨", "Track")});
  for (const FileTags& t : all) {
    std::vector<std::string> row{t.path};
    for (const char* name : FieldNames) {
      std::string value = "-";
      for (const auto& [n, v] : t.fields)
        if (n == name) value = v;
      row.push_back(value);
    }
    table.AddRow(std::move(row));
  }
  return table.Render();
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

int RunTags(const Arguments& args) {
  int failed = 0;
  std::vector<FileTags> all;
  for (const std::string& path : ExpandArguments(args.inputs, PrintProblem, failed)) {
    if (auto t = ReadTags(path))
      all.push_back(std::move(*t));
    else
      ++failed;
  }
  if (args.json) {
    QJsonArray array;
    for (const FileTags& t : all) array.append(JsonOf(t));
    Print(QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString());
  } else if (!all.empty()) {
    Print(Table(all));
  }
  return failed > 0 ? 1 : 0;
}

}  // namespace cli
