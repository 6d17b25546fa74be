#include "cli/messages.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace cli {

namespace {

std::string_view MessageLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return {};
}

// Chinese phrases of the messages the front end passes on, with their
// English. Applied in this order, so a longer phrase comes before a phrase
// it contains; whatever is left over stays as it was (paths, numbers and the
// libraries' own English).
constexpr std::array<std::pair<std::string_view, std::string_view>, 66> Phrases{{
    // Runs and file list.
    {" 不存在.", ": no such file or folder."},
    {" 此文件不被支持.", ": this file is not supported."},
    {" 已被移除.", " has been removed."},
    {"请添加文件!", "Please add files!"},
    {" 转换失败:\n", ": conversion failed:\n"},
    {"未知的输出格式: ", "Unknown output format: "},
    {"输出格式设置有误: ", "The output format settings are wrong: "},
    {"无法创建输出目录: ", "Cannot create the output folder: "},
    {": 输出目录 ", ": in the output folder "},
    {" 的输出文件名及其 100 个编号名称都已存在, 此文件未转换.",
     ", the output name and its 100 numbered names all exist; this file was not converted."},
    {" 中 ", ", "},
    {"规范化失败", "normalization failed"},
    // Tag writers.
    {"无法写入标签", "cannot write the tags"},
    {"无法改写 ASF 文件头", "cannot rewrite the ASF header"},
    // Audio component.
    {"音频对象未启用", "the audio object is not enabled"},
    {"音频对象仍打开着另一个文件，请先关闭", "the audio object still has another file open"},
    {"输入采样格式无效", "invalid input sample format"},
    {"不支持的输出格式（扩展名应为 .mp3、.wav、.wma、.ogg 或 .vox）",
     "unsupported output format (the extension must be .mp3, .wav, .wma, .ogg or .vox)"},
    {"写入失败：没有打开的输出文件", "write failed: no output file is open"},
    {"写入的声道数与输入格式不符", "the block's channels do not match the input format"},
    {"解码失败", "decoding failed"},
    {"不是文件或不存在", "is not a file or does not exist"},
    {"文件是空的", "the file is empty"},
    {"无法识别的音频格式", "unrecognized audio format"},
    {"无法读取音频格式信息", "cannot read the audio format information"},
    {"不支持这种音频编码", "this audio coding is not supported"},
    {"文件中没有音频", "the file holds no audio"},
    {"内存不足", "out of memory"},
    {"无法打开音频解码器", "cannot open the audio decoder"},
    {"无法确定采样率或声道数", "cannot tell the sample rate or the channels"},
    {"采样格式转换失败", "sample format conversion failed"},
    {"无法确定采样大小", "cannot tell the sample size"},
    {"MP3 编码器命令行", "MP3 encoder command line"},
    {"MP3 预设编号无效", "invalid MP3 preset number"},
    {"MP3 备选预设编号无效", "invalid MP3 alternative preset number"},
    {"无法创建输出文件", "cannot create the output file"},
    {"MP3 编码失败", "MP3 encoding failed"},
    {"LAME 错误 ", "LAME error "},
    {"无法写入 MP3 信息帧", "cannot write the MP3 info frame"},
    {"无法完成输出文件", "cannot finish the output file"},
    {"无法初始化 MP3 编码器", "cannot initialize the MP3 encoder"},
    {"MP3 编码器不接受这些设置（码率、采样率或声道组合无效）",
     "the MP3 encoder refuses these settings (invalid bit rate, sample rate or channels)"},
    {"写入失败", "write failed"},
    {"MP3 编码器设置对象无效", "invalid MP3 encoder settings object"},
    {"OGG 码率无效", "invalid OGG bit rate"},
    {"Vorbis 编码器不支持这个组合：", "the Vorbis encoder does not support this combination: "},
    {"无法初始化 Vorbis 编码器", "cannot initialize the Vorbis encoder"},
    {"文件已存在，不会覆盖", "the file exists and is not overwritten"},
    {"输出文件夹不存在", "the output folder does not exist"},
    {"采样率或声道数无效", "invalid sample rate or channels"},
    {"无法初始化重采样", "cannot initialize resampling"},
    {"重采样失败", "resampling failed"},
    {"不支持的采样格式", "unsupported sample format"},
    {"VOX 采样率无效", "invalid VOX sample rate"},
    {"无法读取 VOX 文件", "cannot read the VOX file"},
    {"WAV 采样位数应为 8、16、24 或 32", "WAV sample size must be 8, 16, 24 or 32"},
    {"FFmpeg 中没有 WMA 编码器", "FFmpeg has no WMA encoder"},
    {"WMA 格式编号无效：", "invalid WMA format number: "},
    {" 个声道", " channels"},
    {"码率", "bit rate"},
    {"声道", "channels"},
    // Punctuation last.
    {"：", ": "},
    {"（", " ("},
    {"）", ")"},
    {"、", ", "},
    {"，", ", "},
}};

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  std::size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

}  // namespace

bool ChineseMessages() {
  const std::string_view locale = MessageLocale();
  return locale.empty() || locale.substr(0, 2) == "zh";
}

std::string Tr(std::string_view chinese, std::string_view english) {
  return std::string(ChineseMessages() ? chinese : english);
}

std::string UserText(const std::string& chinese) {
  if (ChineseMessages()) return chinese;
  std::string text = chinese;
  for (const auto& [from, to] : Phrases) text = ReplaceAll(std::move(text), from, to);
  // Quotation marks around file names.
  text = ReplaceAll(std::move(text), "“", "\"");
  return ReplaceAll(std::move(text), "”", "\"");
}

void PrintProblem(const std::string& chinese) {
  const std::string line = "tonvara-cli: " + UserText(chinese) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace cli
