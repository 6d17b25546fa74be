#include "tests/tags/ffmpeg_tool.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

namespace tagtest {

int Run(const std::string& program, const std::vector<std::string>& args, std::string* out) {
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  QProcess process;
  process.start(QString::fromStdString(program), list);
  if (!process.waitForFinished(60000)) return -1;
  if (out) *out = process.readAllStandardOutput().toStdString();
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void MakeSine(const std::string& path, const std::vector<std::string>& outputOptions) {
  std::vector<std::string> args = {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                                   "sine=frequency=440:duration=1:sample_rate=44100"};
  args.insert(args.end(), outputOptions.begin(), outputOptions.end());
  args.push_back(path);
  ASSERT_EQ(Run("ffmpeg", args), 0) << "ffmpeg could not make " << path;
}

std::map<std::string, std::string> ProbeTags(const std::string& path) {
  std::string json;
  EXPECT_EQ(Run("ffprobe", {"-v", "error", "-show_entries", "format_tags:stream_tags", "-of", "json", path}, &json), 0);
  std::map<std::string, std::string> tags;
  const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
  auto add = [&](const QJsonObject& object) {
    for (auto it = object.begin(); it != object.end(); ++it) {
      tags[it.key().toLower().toStdString()] = it.value().toString().toStdString();
    }
  };
  add(root.value("format").toObject().value("tags").toObject());
  const auto streams = root.value("streams").toArray();
  if (!streams.isEmpty()) add(streams.first().toObject().value("tags").toObject());
  return tags;
}

std::string DecodeSamples(const std::string& path) {
  std::string samples;
  EXPECT_EQ(Run("ffmpeg", {"-nostdin", "-v", "error", "-i", path, "-f", "f32le", "-"}, &samples), 0);
  return samples;
}

}  // namespace tagtest
