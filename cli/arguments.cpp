#include "cli/arguments.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

#include "app/main_state.h"
#include "cli/messages.h"

namespace cli {

namespace {

constexpr int32_t MaxFadeSeconds = 20;
constexpr int MaxJobs = 256;

[[noreturn]] void Fail(std::string_view chinese, std::string_view english, const std::string& detail = {}) {
  throw UsageError(Tr(chinese, english) + detail);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

int32_t Integer(const std::string& option, const std::string& text, int32_t min, int32_t max) {
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
    Fail("选项 " + option + " 的值无效: ", "invalid value for " + option + ": ",
         "\"" + text + "\" (" + std::to_string(min) + ".." + std::to_string(max) + ")");
  return value;
}

int32_t FormatIndex(const std::string& text) {
  static const std::map<std::string, int32_t> formats = {
      {"mp3", FormatMp3}, {"wav", FormatWav}, {"wma", FormatWma}, {"ogg", FormatOgg}, {"vox", FormatVox}};
  const auto it = formats.find(Lower(text));
  if (it == formats.end()) Fail("未知的输出格式: ", "unknown output format: ", "\"" + text + "\" (mp3|wav|wma|ogg|vox)");
  return it->second;
}

Command CommandOf(const std::string& word) {
  if (word == "convert") return Command::Convert;
  if (word == "info") return Command::Info;
  if (word == "tags") return Command::Tags;
  Fail("未知的命令: ", "unknown command: ", "\"" + word + "\"");
}

// The options of each command that take a value, and what they set.
using Setter = std::function<void(Arguments&, const std::string& option, const std::string& value)>;

const std::map<std::string, Setter>& ValueOptions() {
  static const std::map<std::string, Setter> options = {
      {"-f", [](Arguments& a, const std::string&, const std::string& v) { a.convert.format = FormatIndex(v); }},
      {"--format", [](Arguments& a, const std::string&, const std::string& v) { a.convert.format = FormatIndex(v); }},
      {"-o", [](Arguments& a, const std::string&, const std::string& v) { a.convert.outputDir = v; }},
      {"--output", [](Arguments& a, const std::string&, const std::string& v) { a.convert.outputDir = v; }},
      {"--fade-in",
       [](Arguments& a, const std::string& o, const std::string& v) { a.convert.fadeIn = Integer(o, v, 0, MaxFadeSeconds); }},
      {"--fade-out",
       [](Arguments& a, const std::string& o, const std::string& v) { a.convert.fadeOut = Integer(o, v, 0, MaxFadeSeconds); }},
      {"--title", [](Arguments& a, const std::string&, const std::string& v) { a.convert.title = v; }},
      {"--artist", [](Arguments& a, const std::string&, const std::string& v) { a.convert.artist = v; }},
      {"--album", [](Arguments& a, const std::string&, const std::string& v) { a.convert.album = v; }},
      {"--year", [](Arguments& a, const std::string&, const std::string& v) { a.convert.year = v; }},
      {"--genre", [](Arguments& a, const std::string&, const std::string& v) { a.convert.genre = v; }},
      {"-j", [](Arguments& a, const std::string& o, const std::string& v) { a.convert.jobs = Integer(o, v, 1, MaxJobs); }},
      {"--jobs",
       [](Arguments& a, const std::string& o, const std::string& v) { a.convert.jobs = Integer(o, v, 1, MaxJobs); }},
      {"--config", [](Arguments& a, const std::string&, const std::string& v) { a.convert.configFile = v; }},
  };
  return options;
}

bool ConvertOnly(const std::string& option) { return option != "--config"; }

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& words) : words_(words) {}

  Arguments Parse() {
    if (words_.empty()) Fail("缺少命令", "missing command");
    const std::string& first = words_[0];
    if (first == "--help" || first == "-h") return Only(Command::Help);
    if (first == "--version" || first == "-V") return Only(Command::Version);
    if (!first.empty() && first[0] == '-') Fail("未知的选项: ", "unknown option: ", first);
    args_.command = CommandOf(first);
    for (next_ = 1; next_ < words_.size();) Word();
    if (args_.command == Command::Help) return args_;
    if (args_.inputs.empty()) Fail("缺少文件或文件夹", "missing file or folder");
    return args_;
  }

 private:
  Arguments Only(Command command) {
    if (words_.size() > 1) Fail("多余的参数: ", "unexpected argument: ", words_[1]);
    args_.command = command;
    return args_;
  }

  void Word() {
    const std::string word = words_[next_++];
    if (endOfOptions_ || word == "-" || word.empty() || word[0] != '-') {
      args_.inputs.push_back(word);
      return;
    }
    if (word == "--") {
      endOfOptions_ = true;
      return;
    }
    if (word == "--help" || word == "-h") {
      args_.command = Command::Help;
      return;
    }
    if (word == "--json") {
      if (args_.command == Command::Convert) Fail("convert 命令没有选项 ", "convert has no option ", word);
      args_.json = true;
      return;
    }
    if (word == "--normalize") {
      RequireConvert(word);
      args_.convert.normalize = true;
      return;
    }
    ValueOption(word);
  }

  void ValueOption(const std::string& word) {
    std::string option = word;
    std::optional<std::string> value;
    if (const auto eq = word.find('='); word.rfind("--", 0) == 0 && eq != std::string::npos) {
      option = word.substr(0, eq);
      value = word.substr(eq + 1);
    } else if (word.size() > 2 && word[1] != '-' && ValueOptions().count(word.substr(0, 2))) {
      option = word.substr(0, 2);  // "-j4", "-fogg"
      value = word.substr(2);
    }
    const auto it = ValueOptions().find(option);
    if (it == ValueOptions().end()) Fail("未知的选项: ", "unknown option: ", option);
    if (ConvertOnly(option)) RequireConvert(option);
    if (!value) {
      if (next_ >= words_.size()) Fail("选项缺少值: ", "option needs a value: ", option);
      value = words_[next_++];
    }
    it->second(args_, option, *value);
  }

  void RequireConvert(const std::string& option) {
    if (args_.command != Command::Convert) Fail("只有 convert 命令有选项 ", "only convert has the option ", option);
  }

  const std::vector<std::string>& words_;
  std::size_t next_ = 0;
  bool endOfOptions_ = false;
  Arguments args_;
};

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& words) { return Parser(words).Parse(); }

}  // namespace cli
