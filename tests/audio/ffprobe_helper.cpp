#include "tests/audio/ffprobe_helper.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>

namespace tonvara::test {
namespace {

struct PipeCloser {
  void operator()(FILE* f) const { pclose(f); }
};

std::string RunAndCapture(const std::string& command) {
  std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
  if (!pipe) return {};
  std::string out;
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, n);
  return out;
}

std::map<std::string, std::string> KeyValues(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    // The stream's entries come first; keep them over the container's.
    values.emplace(key, line.substr(eq + 1));
  }
  return values;
}

int64_t Number(const std::map<std::string, std::string>& values, const std::string& key) {
  auto it = values.find(key);
  if (it == values.end()) return 0;
  return std::atoll(it->second.c_str());
}

}  // namespace

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

ProbedAudio ProbeAudio(const std::string& path) {
  std::string stream = RunAndCapture(
      "ffprobe -v error -select_streams a:0 -show_entries "
      "stream=codec_name,sample_rate,channels,bits_per_sample,bit_rate "
      "-of default=noprint_wrappers=1 " + ShellQuote(path) + " 2>/dev/null");
  std::string format = RunAndCapture(
      "ffprobe -v error -show_entries format=format_name,duration,bit_rate "
      "-of default=noprint_wrappers=1 " + ShellQuote(path) + " 2>/dev/null");
  auto s = KeyValues(stream);
  auto f = KeyValues(format);
  ProbedAudio probed;
  probed.ok = s.count("codec_name") > 0;
  if (!probed.ok) return probed;
  probed.codec_name = s["codec_name"];
  probed.format_name = f["format_name"];
  probed.sample_rate = static_cast<int>(Number(s, "sample_rate"));
  probed.channels = static_cast<int>(Number(s, "channels"));
  probed.bits_per_sample = static_cast<int>(Number(s, "bits_per_sample"));
  probed.bit_rate = Number(s, "bit_rate");
  if (probed.bit_rate == 0) probed.bit_rate = Number(f, "bit_rate");
  probed.duration = std::atof(f["duration"].c_str());
  return probed;
}

std::vector<float> FfmpegDecodedSamples(const std::string& path) {
  std::string raw = RunAndCapture("ffmpeg -v error -nostdin -i " + ShellQuote(path) +
                                  " -map 0:a:0 -f f32le -c:a pcm_f32le - 2>/dev/null");
  std::vector<float> samples(raw.size() / sizeof(float));
  if (!samples.empty()) std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(float));
  return samples;
}

int64_t FfmpegDecodedFrames(const std::string& path) {
  ProbedAudio probed = ProbeAudio(path);
  if (!probed.ok || probed.channels <= 0) return -1;
  std::unique_ptr<FILE, PipeCloser> pipe(popen(("ffmpeg -v error -nostdin -i " + ShellQuote(path) +
                                                " -map 0:a:0 -f f32le -c:a pcm_f32le - 2>/dev/null")
                                                   .c_str(),
                                               "r"));
  if (!pipe) return -1;
  int64_t bytes = 0;
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) bytes += static_cast<int64_t>(n);
  return bytes / (4 * probed.channels);
}

bool RunFfmpeg(const std::string& arguments) {
  std::string command = "ffmpeg -v error -nostdin -n " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

}  // namespace tonvara::test
