// Line-oriented reader of skin files. Every statement is one line of
// whitespace-separated words ("quoted strings" may hold spaces); a line that
// ends in "{" opens a block, a line holding only "}" closes it.
#include "platform/skin/skin_parser.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTransform>
#include <cctype>
#include <charconv>
#include <map>

namespace {

constexpr qint64 kMaxSkinFileBytes = 4 * 1024 * 1024;
// Limits that keep a hostile file from exhausting the stack or the time: how
// deep elements may nest below their form, and how many style lines all the
// "use" statements of a file may apply together (the default skin applies
// a few hundred).
constexpr int kMaxNesting = 32;
constexpr std::size_t kMaxStyleLinesUsed = 100'000;

struct Word {
  std::string text;
  bool quoted = false;
};

struct Line {
  int number = 0;
  std::vector<Word> words;
  bool OpensBlock() const { return words.size() >= 2 && !words.back().quoted && words.back().text == "{"; }
  bool ClosesBlock() const { return words.size() == 1 && !words[0].quoted && words[0].text == "}"; }
};

class Parser {
 public:
  Parser(const std::string& text, std::string origin) : text_(text), origin_(std::move(origin)) {}
  std::unique_ptr<SkinDocument> Run();

 private:
  [[noreturn]] void Fail(int line, const std::string& message) const;

  void SplitLines();
  Line SplitLine(std::string_view text, int number) const;

  void ReadHeader();
  void ReadTopLevel();
  size_t ReadStyle(size_t index);
  size_t ReadElement(size_t index, SkinElement* parent);
  void ApplyProperty(SkinElement& element, const Line& line, int depth = 0);
  void CheckComplete() const;

  // Value readers; each fails with the line on a bad word.
  int Int(const Line& line, size_t i) const;
  double Real(const Line& line, std::string_view word) const;
  QColor Color(const Line& line, size_t i) const;
  SkinState StateOf(const Line& line, std::string_view suffix) const;
  void NeedArgs(const Line& line, size_t min, size_t max) const;
  SkinIconShape IconShape(const Line& line, size_t i, bool stroke, double width) const;
  QPainterPath Path(const Line& line, const std::string& text) const;

  const std::string& text_;
  std::string origin_;
  std::vector<Line> lines_;
  size_t next_ = 0;
  std::unique_ptr<SkinDocument> doc_ = std::make_unique<SkinDocument>();
  std::map<std::string, std::vector<Line>, std::less<>> styles_;
  std::size_t styleLinesUsed_ = 0;
};

void Parser::Fail(int line, const std::string& message) const {
  if (line > 0) throw SkinError("皮肤文件 " + origin_ + " 第 " + std::to_string(line) + " 行: " + message);
  throw SkinError("皮肤文件 " + origin_ + ": " + message);
}

std::unique_ptr<SkinDocument> Parser::Run() {
  SplitLines();
  ReadHeader();
  ReadTopLevel();
  CheckComplete();
  return std::move(doc_);
}

void Parser::SplitLines() {
  QStringDecoder utf8(QStringDecoder::Utf8);
  (void)QString(utf8(QByteArrayView(text_.data(), static_cast<qsizetype>(text_.size()))));
  if (utf8.hasError()) Fail(0, "不是有效的 UTF-8 文本");
  int number = 0;
  size_t start = 0;
  while (start <= text_.size()) {
    size_t end = text_.find('\n', start);
    if (end == std::string::npos) end = text_.size();
    std::string_view raw(text_.data() + start, end - start);
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (number == 1 && raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);  // byte order mark
    Line line = SplitLine(raw, number);
    if (!line.words.empty()) lines_.push_back(std::move(line));
    start = end + 1;
  }
}

Line Parser::SplitLine(std::string_view text, int number) const {
  Line line;
  line.number = number;
  size_t i = 0;
  auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
  while (i < text.size()) {
    while (i < text.size() && isSpace(text[i])) ++i;
    if (i >= text.size()) break;
    if (line.words.empty() && text[i] == '#') break;  // comment line
    Word word;
    if (text[i] == '"') {
      word.quoted = true;
      ++i;
      bool closed = false;
      while (i < text.size()) {
        char c = text[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\') {
          if (i >= text.size()) break;
          char e = text[i++];
          if (e == 'n') word.text += '\n';
          else if (e == '"' || e == '\\') word.text += e;
          else Fail(number, std::string("未知的转义 \\") + e);
          continue;
        }
        word.text += c;
      }
      if (!closed) Fail(number, "字符串缺少结尾的引号");
      if (i < text.size() && !isSpace(text[i])) Fail(number, "字符串后缺少空格");
    } else {
      while (i < text.size() && !isSpace(text[i])) {
        if (text[i] == '"') Fail(number, "词中间出现引号");
        word.text += text[i++];
      }
    }
    line.words.push_back(std::move(word));
  }
  return line;
}

void Parser::ReadHeader() {
  if (lines_.empty()) Fail(0, "文件是空的, 不是 Tonvara 皮肤文件");
  const Line& first = lines_[0];
  if (first.words[0].text != "tonvara-skin" || first.words[0].quoted)
    Fail(first.number, "不是 Tonvara 皮肤文件 (第一条语句应为 \"tonvara-skin 1\")");
  NeedArgs(first, 1, 1);
  if (first.words[1].text != "1") Fail(first.number, "不支持的皮肤格式版本 \"" + first.words[1].text + "\"");
  next_ = 1;
}

void Parser::ReadTopLevel() {
  while (next_ < lines_.size()) {
    const Line& line = lines_[next_];
    const std::string& key = line.words[0].text;
    if (line.ClosesBlock()) Fail(line.number, "多余的 \"}\"");
    if (line.OpensBlock()) {
      if (line.words.size() != 3) Fail(line.number, "块的开头应为 \"<类型> <名称> {\"");
      if (key == "style") {
        next_ = ReadStyle(next_);
      } else if (key == "form") {
        next_ = ReadElement(next_, nullptr);
      } else if (key == "panel" || key == "text" || key == "button" || key == "bar") {
        Fail(line.number, "元素 \"" + line.words[1].text + "\" 必须位于一个 form 之内");
      } else {
        Fail(line.number, "未知的元素类型 \"" + key + "\"");
      }
      continue;
    }
    if (key == "color") {
      NeedArgs(line, 2, 2);
      const std::string& name = line.words[1].text;
      if (doc_->NamedColor(name)) Fail(line.number, "颜色 \"" + name + "\" 重复定义");
      doc_->DefineColor(name, Color(line, 2));
    } else if (key == "fonts") {
      NeedArgs(line, 1, 16);
      QStringList families;
      for (size_t i = 1; i < line.words.size(); ++i) families << QString::fromStdString(line.words[i].text);
      doc_->SetFontFamilies(families);
    } else {
      Fail(line.number, "未知的语句 \"" + key + "\"");
    }
    ++next_;
  }
}

size_t Parser::ReadStyle(size_t index) {
  const Line& open = lines_[index];
  const std::string& name = open.words[1].text;
  if (styles_.count(name)) Fail(open.number, "样式 \"" + name + "\" 重复定义");
  std::vector<Line> body;
  size_t i = index + 1;
  for (; i < lines_.size() && !lines_[i].ClosesBlock(); ++i) {
    if (lines_[i].OpensBlock()) Fail(lines_[i].number, "样式中不能包含元素");
    body.push_back(lines_[i]);
  }
  if (i >= lines_.size()) Fail(open.number, "样式 \"" + name + "\" 缺少结尾的 \"}\"");
  // Try the style on a scratch element so its faults are reported here.
  SkinElement scratch("", SkinKind::Panel, nullptr, open.number);
  for (const Line& line : body) ApplyProperty(scratch, line);
  styles_[name] = std::move(body);
  return i + 1;
}

size_t Parser::ReadElement(size_t index, SkinElement* parent) {
  const Line& open = lines_[index];
  static const std::map<std::string, SkinKind, std::less<>> kinds = {
      {"form", SkinKind::Form}, {"panel", SkinKind::Panel}, {"text", SkinKind::Text},
      {"button", SkinKind::Button}, {"bar", SkinKind::Bar}};
  auto kind = kinds.find(open.words[0].text);
  if (kind == kinds.end()) Fail(open.number, "未知的元素类型 \"" + open.words[0].text + "\"");
  if (open.words.size() != 3) Fail(open.number, "块的开头应为 \"<类型> <名称> {\"");
  if (kind->second == SkinKind::Form && parent) Fail(open.number, "form 不能位于其他元素之内");
  int depth = 0;
  for (const SkinElement* p = parent; p; p = p->Parent()) ++depth;
  if (depth > kMaxNesting) Fail(open.number, "元素嵌套超过 " + std::to_string(kMaxNesting) + " 层");
  const std::string& name = open.words[1].text;
  if (name.empty()) Fail(open.number, "元素名称不能为空");
  if (SkinElement* other = doc_->Find(name))
    Fail(open.number, "元素名称 \"" + name + "\" 重复 (第 " + std::to_string(other->Line()) + " 行已用过)");
  SkinElement* element = doc_->Add(std::make_unique<SkinElement>(name, kind->second, parent, open.number));

  size_t i = index + 1;
  while (i < lines_.size() && !lines_[i].ClosesBlock()) {
    if (lines_[i].OpensBlock()) {
      i = ReadElement(i, element);
    } else {
      ApplyProperty(*element, lines_[i]);
      ++i;
    }
  }
  if (i >= lines_.size()) Fail(open.number, "元素 \"" + name + "\" 缺少结尾的 \"}\"");
  if (!element->HasRect()) Fail(open.number, "元素 \"" + name + "\" 缺少 rect");
  SkinLook& look = element->Look();
  if (!look.iconShapes.empty() && look.iconBox.isEmpty())
    Fail(open.number, "元素 \"" + name + "\" 有 icon 但没有 iconbox");
  return i + 1;
}

void Parser::ApplyProperty(SkinElement& element, const Line& line, int depth) {
  const std::string& word = line.words[0].text;
  if (line.words[0].quoted) Fail(line.number, "属性名不能加引号");
  const size_t dot = word.find('.');
  const std::string key = word.substr(0, dot);
  const std::string suffix = dot == std::string::npos ? "" : word.substr(dot + 1);
  const bool stateful = key == "fill" || key == "border" || key == "color" || key == "iconcolor";
  if (!suffix.empty() && !stateful) Fail(line.number, "属性 \"" + key + "\" 没有 hover/pressed 形式");
  const auto state = static_cast<size_t>(StateOf(line, suffix));
  SkinLook& look = element.Look();

  if (key == "rect") {
    NeedArgs(line, 4, 4);
    const int w = Int(line, 3), h = Int(line, 4);
    if (w < 0 || h < 0) Fail(line.number, "rect 的宽和高不能为负");
    element.SetRect(QRect(Int(line, 1), Int(line, 2), w, h));
    element.MarkRectGiven();
  } else if (key == "fill") {
    NeedArgs(line, 1, 2);
    const QColor top = Color(line, 1);
    look.fill.values[state] = SkinFill{top, line.words.size() == 3 ? Color(line, 2) : top};
  } else if (key == "border") {
    NeedArgs(line, 1, 2);
    const double width = line.words.size() == 3 ? Real(line, line.words[2].text) : 1.0;
    if (width < 0 || width > 20) Fail(line.number, "边框宽度超出 0 到 20");
    look.border.values[state] = SkinBorder{Color(line, 1), width};
  } else if (key == "color") {
    NeedArgs(line, 1, 1);
    look.text.values[state] = Color(line, 1);
  } else if (key == "iconcolor") {
    NeedArgs(line, 1, 1);
    look.icon.values[state] = Color(line, 1);
  } else if (key == "radius") {
    NeedArgs(line, 1, 1);
    look.radius = Int(line, 1);
    if (look.radius < 0) Fail(line.number, "radius 不能为负");
  } else if (key == "shadow") {
    NeedArgs(line, 2, 2);
    look.shadowSize = Int(line, 1);
    if (look.shadowSize < 0 || look.shadowSize > 16) Fail(line.number, "shadow 超出 0 到 16");
    look.shadowColor = Color(line, 2);
  } else if (key == "font") {
    NeedArgs(line, 1, 2);
    look.fontSize = Int(line, 1);
    if (look.fontSize < 6 || look.fontSize > 72) Fail(line.number, "字号超出 6 到 72");
    if (line.words.size() == 3) {
      static const std::map<std::string, int, std::less<>> weights = {
          {"light", 300}, {"normal", 400}, {"medium", 500}, {"demibold", 600}, {"bold", 700}};
      auto named = weights.find(line.words[2].text);
      look.fontWeight = named != weights.end() ? named->second : Int(line, 2);
      if (look.fontWeight < 100 || look.fontWeight > 900) Fail(line.number, "字重超出 100 到 900");
    }
  } else if (key == "align") {
    NeedArgs(line, 1, 1);
    const std::string& a = line.words[1].text;
    if (a == "left") look.align = Qt::AlignLeft;
    else if (a == "center") look.align = Qt::AlignHCenter;
    else if (a == "right") look.align = Qt::AlignRight;
    else Fail(line.number, "align 应为 left、center 或 right");
  } else if (key == "padding") {
    NeedArgs(line, 1, 2);
    look.padLeft = Int(line, 1);
    look.padRight = line.words.size() == 3 ? Int(line, 2) : look.padLeft;
  } else if (key == "caption") {
    NeedArgs(line, 1, 1);
    element.SetCaption(QString::fromStdString(line.words[1].text));
  } else if (key == "tip") {
    NeedArgs(line, 1, 1);
    element.SetTip(QString::fromStdString(line.words[1].text));
  } else if (key == "iconbox") {
    NeedArgs(line, 3, 3);
    const int size = Int(line, 3);
    if (size <= 0) Fail(line.number, "iconbox 的大小必须为正");
    look.iconBox = QRect(Int(line, 1), Int(line, 2), size, size);
  } else if (key == "icon") {
    NeedArgs(line, 2, 8);
    const std::string& mode = line.words[1].text;
    if (mode == "fill") {
      look.iconShapes.push_back(IconShape(line, 2, false, 0));
    } else if (mode == "stroke") {
      NeedArgs(line, 3, 8);
      const double width = Real(line, line.words[2].text);
      if (width <= 0 || width > 24) Fail(line.number, "线宽超出 0 到 24");
      look.iconShapes.push_back(IconShape(line, 3, true, width));
    } else {
      Fail(line.number, "icon 之后应为 fill 或 stroke");
    }
  } else if (key == "over") {
    NeedArgs(line, 2, 2);
    look.overName = line.words[1].text;
    look.overColor = Color(line, 2);
  } else if (key == "use") {
    NeedArgs(line, 1, 1);
    auto style = styles_.find(line.words[1].text);
    if (style == styles_.end()) Fail(line.number, "未定义的样式 \"" + line.words[1].text + "\"");
    if (depth > 0) Fail(line.number, "样式中不能再 use 其他样式");
    styleLinesUsed_ += style->second.size();
    if (styleLinesUsed_ > kMaxStyleLinesUsed) Fail(line.number, "样式用得太多, 皮肤文件过于复杂");
    for (const Line& styleLine : style->second) ApplyProperty(element, styleLine, depth + 1);
  } else {
    Fail(line.number, "未知的属性 \"" + key + "\"");
  }
}

void Parser::CheckComplete() const {
  if (!doc_->FirstForm()) Fail(0, "没有任何 form 元素");
  for (const auto& e : doc_->Elements()) {
    const std::string& over = e->Look().overName;
    if (over.empty()) continue;
    const SkinElement* target = doc_->Find(over);
    if (!target) Fail(e->Line(), "over 引用了不存在的元素 \"" + over + "\"");
    e->SetOver(target);
  }
}

int Parser::Int(const Line& line, size_t i) const {
  const std::string& w = line.words[i].text;
  int value = 0;
  auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
  if (ec != std::errc() || end != w.data() + w.size() || w.empty() || value < -100000 || value > 100000)
    Fail(line.number, "\"" + w + "\" 不是有效的整数");
  return value;
}

double Parser::Real(const Line& line, std::string_view w) const {
  double value = 0;
  auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
  if (ec != std::errc() || end != w.data() + w.size() || w.empty() || !(value > -100000 && value < 100000))
    Fail(line.number, "\"" + std::string(w) + "\" 不是有效的数字");
  return value;
}

QColor Parser::Color(const Line& line, size_t i) const {
  const std::string& w = line.words[i].text;
  if (w == "none") return QColor(0, 0, 0, 0);
  if (w.size() > 1 && w[0] == '$') {
    if (auto named = doc_->NamedColor(w.substr(1))) return *named;
    Fail(line.number, "未定义的颜色 \"" + w + "\"");
  }
  auto hex = [&](size_t at) {
    int v = 0;
    for (size_t k = at; k < at + 2; ++k) {
      const char c = w[k];
      if (!std::isxdigit(static_cast<unsigned char>(c))) Fail(line.number, "\"" + w + "\" 不是有效的颜色");
      v = v * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10));
    }
    return v;
  };
  if (w.size() != 7 && w.size() != 9) Fail(line.number, "\"" + w + "\" 不是有效的颜色 (应为 #RRGGBB 或 #RRGGBBAA)");
  if (w[0] != '#') Fail(line.number, "\"" + w + "\" 不是有效的颜色 (应为 #RRGGBB 或 #RRGGBBAA)");
  return QColor(hex(1), hex(3), hex(5), w.size() == 9 ? hex(7) : 255);
}

SkinState Parser::StateOf(const Line& line, std::string_view suffix) const {
  if (suffix.empty()) return SkinState::Normal;
  if (suffix == "hover") return SkinState::Hover;
  if (suffix == "pressed") return SkinState::Pressed;
  Fail(line.number, "未知的状态 \"" + std::string(suffix) + "\" (应为 hover 或 pressed)");
}

void Parser::NeedArgs(const Line& line, size_t min, size_t max) const {
  const size_t n = line.words.size() - 1;
  if (n < min || n > max) {
    std::string expected = min == max ? std::to_string(min) : std::to_string(min) + " 到 " + std::to_string(max);
    Fail(line.number, "\"" + line.words[0].text + "\" 需要 " + expected + " 个参数, 实际有 " + std::to_string(n) + " 个");
  }
}

SkinIconShape Parser::IconShape(const Line& line, size_t i, bool stroke, double width) const {
  SkinIconShape shape;
  shape.stroke = stroke;
  shape.width = width;
  const std::string& form = line.words[i].text;
  const size_t args = line.words.size() - i - 1;
  auto num = [&](size_t k) { return Real(line, line.words[i + 1 + k].text); };
  if (form == "path") {
    if (args != 1) Fail(line.number, "path 需要一个加引号的路径");
    shape.path = Path(line, line.words[i + 1].text);
  } else if (form == "rect") {
    if (args != 4 && args != 5) Fail(line.number, "icon rect 需要 x y w h [圆角]");
    const double r = args == 5 ? num(4) : 0;
    shape.path.addRoundedRect(QRectF(num(0), num(1), num(2), num(3)), r, r);
  } else if (form == "ellipse") {
    if (args != 4) Fail(line.number, "icon ellipse 需要 cx cy rx ry");
    shape.path.addEllipse(QPointF(num(0), num(1)), num(2), num(3));
  } else {
    Fail(line.number, "未知的图形 \"" + form + "\" (应为 path、rect 或 ellipse)");
  }
  return shape;
}

// The path language: absolute commands M x y, L x y, H x, V y, C x1 y1 x2 y2 x y,
// Q x1 y1 x y and Z; a command's numbers may repeat for further segments.
QPainterPath Parser::Path(const Line& line, const std::string& text) const {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + " ") {
    if (c == ' ' || c == ',' || c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  QPainterPath path;
  size_t i = 0;
  bool started = false;
  while (i < words.size()) {
    const std::string& cmd = words[i++];
    static const std::map<std::string, int, std::less<>> arity = {
        {"M", 2}, {"L", 2}, {"H", 1}, {"V", 1}, {"C", 6}, {"Q", 4}, {"Z", 0}};
    auto a = arity.find(cmd);
    if (a == arity.end()) Fail(line.number, "路径中未知的命令 \"" + cmd + "\"");
    if (!started && cmd != "M") Fail(line.number, "路径必须以 M 开始");
    started = true;
    if (cmd == "Z") {
      path.closeSubpath();
      continue;
    }
    int groups = 0;
    auto isNumber = [&](size_t k) {
      return k < words.size() && (std::isdigit(static_cast<unsigned char>(words[k][0])) ||
                                  words[k][0] == '-' || words[k][0] == '.');
    };
    while (isNumber(i)) {
      std::vector<double> v;
      for (int k = 0; k < a->second; ++k) {
        if (!isNumber(i)) Fail(line.number, "路径命令 " + cmd + " 的数字不够");
        v.push_back(Real(line, words[i++]));
      }
      const QPointF at = path.currentPosition();
      if (cmd == "M") (groups == 0 ? path.moveTo(v[0], v[1]) : path.lineTo(v[0], v[1]));
      else if (cmd == "L") path.lineTo(v[0], v[1]);
      else if (cmd == "H") path.lineTo(v[0], at.y());
      else if (cmd == "V") path.lineTo(at.x(), v[0]);
      else if (cmd == "C") path.cubicTo(v[0], v[1], v[2], v[3], v[4], v[5]);
      else if (cmd == "Q") path.quadTo(v[0], v[1], v[2], v[3]);
      ++groups;
    }
    if (groups == 0) Fail(line.number, "路径命令 " + cmd + " 缺少数字");
  }
  if (!started) Fail(line.number, "路径是空的");
  return path;
}

}  // namespace

std::unique_ptr<SkinDocument> ParseSkinText(const std::string& text, const std::string& origin) {
  return Parser(text, origin).Run();
}

std::unique_ptr<SkinDocument> ReadSkinFile(const std::string& path) {
  const QString name = QString::fromStdString(path);
  if (QFileInfo(name).isDir()) throw SkinError("无法读取皮肤文件 " + path + ": 这是一个文件夹");
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly))
    throw SkinError("无法读取皮肤文件 " + path + ": " + file.errorString().toStdString());
  if (file.size() > kMaxSkinFileBytes) throw SkinError("皮肤文件 " + path + " 太大, 不是 Tonvara 皮肤文件");
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw SkinError("无法读取皮肤文件 " + path + ": " + file.errorString().toStdString());
  return ParseSkinText(bytes.toStdString(), path);
}
