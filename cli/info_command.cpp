#include "cli/info_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "app/list_text.h"
#include "cli/file_set.h"
#include "cli/messages.h"
#include "cli/text_table.h"

namespace cli {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QJsonObject JsonOf(const ListedFile& f) {
  QJsonObject o;
  o["path"] = Q(f.path);
  o["caption"] = Q(f.caption);
  o["sample_rate"] = f.properties.SampleRate;
  o["channels"] = f.properties.Channels;
  o["duration_ms"] = f.properties.DurationMs;
  o["size_bytes"] = static_cast<qint64>(f.properties.SizeBytes);
  o["title"] = Q(f.record.Title);
  o["artist"] = Q(f.record.Artist);
  o["album"] = Q(f.record.Album);
  o["year"] = Q(f.record.Year);
  o["genre"] = Q(f.record.Genre);
  o["comment"] = Q(f.record.Comment);
  return o;
}

std::string ChannelsText(int32_t channels) {
  if (ChineseMessages()) return ChannelText(channels).substr(1);  // without the list's leading blank
  return channels == 1 ? "mono" : "stereo";
}

std::string Table(const std::vector<ListedFile>& files) {
  TextTable table({Tr("文件标题", "Title"), Tr("频率", "Rate"), Tr("声道", "Channels"), Tr("时间", "Duration"),
                   Tr("大小", "Size"), Tr("艺术家", "Artist"), Tr("专辑", "Album"), Tr("路径", "Path")});
  for (const ListedFile& f : files)
    table.AddRow({f.caption, RateText(f.properties.SampleRate), ChannelsText(f.properties.Channels),
                  FormatDuration(f.properties.DurationMs), SizeText(f.properties.SizeBytes), f.record.Artist,
                  f.record.Album, f.path});
  return table.Render();
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

int RunInfo(const Arguments& args, const TSettingsStore& store) {
  const FileSet set = ListFiles(args.inputs, store, PrintProblem);
  if (args.json) {
    QJsonArray array;
    for (const ListedFile& f : set.files) array.append(JsonOf(f));
    Print(QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString());
  } else if (!set.files.empty()) {
    Print(Table(set.files));
  }
  return set.refused > 0 ? 1 : 0;
}

}  // namespace cli
