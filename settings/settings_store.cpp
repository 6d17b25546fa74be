#include "settings/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QStandardPaths>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ---- text helpers -------------------------------------------------------

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// Cuts to at most `limit` bytes without splitting a UTF-8 character.
std::string CutUtf8(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return std::string(s);
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  return std::string(s.substr(0, end));
}

// A value in matching quotes is read without them.
std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

std::optional<int32_t> ParseInteger(std::string_view v) {
  if (v.empty()) return std::nullopt;
  if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
    uint64_t n = 0;
    for (char c : v.substr(2)) {
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return std::nullopt;
      n = n * 16 + static_cast<uint64_t>(d);
      if (n > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(n));
  }
  bool negative = false;
  std::size_t i = 0;
  if (v[0] == '-' || v[0] == '+') {
    negative = v[0] == '-';
    i = 1;
  }
  if (i == v.size()) return std::nullopt;
  int64_t n = 0;
  for (; i < v.size(); ++i) {
    if (v[i] < '0' || v[i] > '9') return std::nullopt;
    n = n * 10 + (v[i] - '0');
    if (n > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (negative) n = -n;
  if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(n);
}

// ---- the file as lines ----------------------------------------------------

// The file's lines exactly as they stand (a CR before the line feed stays in
// the line), so that a write changes nothing but the line it sets.
struct IniText {
  std::vector<std::string> lines;
  std::string cr;  // "\r" in a file whose lines end in CR LF: new lines follow it
};

IniText Load(const fs::path& file) {
  IniText text;
  std::ifstream in(file, std::ios::binary);
  if (!in) return text;
  std::ostringstream all;
  all << in.rdbuf();
  const std::string data = all.str();
  std::size_t start = 0;
  bool eolKnown = false;
  while (start < data.size()) {
    const std::size_t nl = data.find('\n', start);
    const bool last = nl == std::string::npos;
    std::string line = data.substr(start, last ? std::string::npos : nl - start);
    if (!eolKnown && !last && !line.empty() && line.back() == '\r') text.cr = "\r";
    eolKnown = eolKnown || !last;
    text.lines.push_back(std::move(line));
    if (last) break;
    start = nl + 1;
  }
  return text;
}

// A line as it is read: one CR of a CR LF ending is not part of it.
std::string_view Content(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(Content(line));
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> KeyOf(std::string_view line) {
  line = Content(line);
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

// Lines [begin, end) of the first section of that name, header excluded.
struct SectionRange {
  std::size_t header, begin, end;
};

std::optional<SectionRange> FindSection(const IniText& text, std::string_view section) {
  for (std::size_t i = 0; i < text.lines.size(); ++i) {
    const auto name = SectionOf(text.lines[i]);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < text.lines.size() && !SectionOf(text.lines[end])) ++end;
    return SectionRange{i, i + 1, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const IniText& text, const SectionRange& range, std::string_view key) {
  for (std::size_t i = range.begin; i < range.end; ++i) {
    const auto kl = KeyOf(text.lines[i]);
    if (kl && SameName(kl->key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> LookUp(const fs::path& file, std::string_view section, std::string_view key) {
  const IniText text = Load(file);
  const auto range = FindSection(text, section);
  if (!range) return std::nullopt;
  const auto at = FindKey(text, *range, key);
  if (!at) return std::nullopt;
  return std::string(KeyOf(text.lines[*at])->value);
}

// A line break inside a value would split it into lines of its own.
std::string OneLine(std::string_view value) {
  std::string s(value);
  for (char& c : s)
    if (c == '\n' || c == '\r') c = ' ';
  return s;
}

void SetValue(IniText& text, std::string_view section, std::string_view key, std::string_view value) {
  const std::string line = std::string(key) + "=" + OneLine(value) + text.cr;
  const auto range = FindSection(text, section);
  if (!range) {
    if (!text.lines.empty() && !Trim(Content(text.lines.back())).empty()) text.lines.push_back(text.cr);
    text.lines.push_back("[" + std::string(section) + "]" + text.cr);
    text.lines.push_back(line);
    return;
  }
  if (const auto at = FindKey(text, *range, key)) {
    // Keep the spelling of the key and the line's own ending as they stand.
    std::string& old = text.lines[*at];
    const bool crlf = Content(old).size() != old.size();
    old = std::string(KeyOf(old)->key) + "=" + OneLine(value) + (crlf ? "\r" : "");
    return;
  }
  std::size_t insertAt = range->begin;
  for (std::size_t i = range->begin; i < range->end; ++i)
    if (!Trim(Content(text.lines[i])).empty()) insertAt = i + 1;
  text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

// ---- atomic replacement ---------------------------------------------------

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// A temporary file that is removed unless it was renamed into place.
class TempFile {
 public:
  explicit TempFile(const fs::path& target)
      : path_((target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string()),
        fd_(::mkstemp(path_.data())) {}
  ~TempFile() {
    if (!committed_ && fd_.get() >= 0) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool Ok() const { return fd_.get() >= 0; }
  bool WriteAll(const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::write(fd_.get(), data.data() + done, data.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  }
  bool SetMode(mode_t mode) { return ::fchmod(fd_.get(), mode) == 0; }
  bool Sync() { return ::fsync(fd_.get()) == 0; }
  bool ReplaceInto(const fs::path& target) {
    if (!fd_.Close()) return false;
    if (::rename(path_.c_str(), target.c_str()) != 0) {
      ::unlink(path_.c_str());
      committed_ = true;  // already gone
      return false;
    }
    committed_ = true;
    return true;
  }

 private:
  std::string path_;
  FileDescriptor fd_;
  bool committed_ = false;
};

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void SyncFolder(const fs::path& folder) {
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// Writes `data` as the whole new content of `target`, or leaves it untouched.
bool ReplaceFile(const fs::path& target, const std::string& data) {
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) return false;

  mode_t mode = NewFileMode();
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & S_IWUSR) == 0) return false;  // read-only file
    mode = st.st_mode & 07777;
  }

  TempFile temp(target);
  return temp.Ok() && temp.WriteAll(data) && temp.SetMode(mode) && temp.Sync() &&
         temp.ReplaceInto(target) && (SyncFolder(target.parent_path()), true);
}

std::string Serialize(const IniText& text) {
  std::string out;
  for (const std::string& line : text.lines) out += line + "\n";
  return out;
}

// The file a write goes to: the target of a symbolic link, so the link stays.
fs::path WriteTarget(const fs::path& file) {
  std::error_code ec;
  if (fs::is_symlink(file, ec)) {
    const fs::path resolved = fs::weakly_canonical(file, ec);
    if (!ec) return resolved;
  }
  return file;
}

}  // namespace

TSettingsStore::TSettingsStore(const fs::path& name)
    : file_(name.has_parent_path() ? name : ConfigPath(name)) {}

fs::path TSettingsStore::ConfigPath(const fs::path& bareName) {
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && fs::path(xdg).is_absolute()) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".config";
  } else {
    base = fs::path(QDir::homePath().toStdString()) / ".config";
  }
  return base / "tonvara" / bareName;
}

std::string TSettingsStore::ReadString(std::string_view section, std::string_view key,
                                       std::string_view def) const {
  const auto value = LookUp(file_, section, key);
  return CutUtf8(value ? Unquote(*value) : def, MaxStringLength);
}

int32_t TSettingsStore::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  const auto value = LookUp(file_, section, key);
  if (!value) return def;
  return ParseInteger(Unquote(*value)).value_or(def);
}

bool TSettingsStore::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TSettingsStore::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const fs::path target = WriteTarget(file_);
  IniText text = Load(target);
  SetValue(text, section, key, value);
  if (!ReplaceFile(target, Serialize(text))) throw SettingsWriteError("Unable to write to " + file_.string());
}

void TSettingsStore::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TSettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TSettingsStore::Read(const SettingKey& key) const {
  return ReadString(key.section, key.key, key.kind == SettingKind::Folder ? DefaultOutputDir() : "");
}

int32_t TSettingsStore::ReadInRange(const SettingKey& key, int32_t def) const {
  const int32_t v = ReadInteger(key.section, key.key, def);
  return (v < key.min || v > key.max) ? def : v;
}

int32_t TSettingsStore::ReadInt(const SettingKey& key) const { return ReadInRange(key, key.def); }
int32_t TSettingsStore::ReadRunInt(const SettingKey& key) const { return ReadInRange(key, key.runDef); }
bool TSettingsStore::ReadFlag(const SettingKey& key) const { return ReadBool(key.section, key.key, key.def != 0); }

void TSettingsStore::Write(const SettingKey& key, std::string_view value) { WriteString(key.section, key.key, value); }
void TSettingsStore::WriteInt(const SettingKey& key, int32_t value) { WriteInteger(key.section, key.key, value); }
void TSettingsStore::WriteFlag(const SettingKey& key, bool value) { WriteBool(key.section, key.key, value); }

std::string DefaultOutputDir() {
  QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  if (music.isEmpty()) music = QDir::homePath() + QStringLiteral("/Music");
  return music.toStdString();
}
