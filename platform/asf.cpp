#include "platform/asf.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "tags/file_io.h"

namespace asf {
namespace {

constexpr std::size_t kObjectHeader = 24;
constexpr std::int64_t kMaxHeaderSize = std::int64_t{256} << 20;

// A GUID as its 16 bytes on disk, from its text form.
std::string Guid(const char* text) {
  unsigned v[16];
  std::sscanf(text, "%2x%2x%2x%2x-%2x%2x-%2x%2x-%2x%2x-%2x%2x%2x%2x%2x%2x", &v[3], &v[2], &v[1], &v[0], &v[5],
              &v[4], &v[7], &v[6], &v[8], &v[9], &v[10], &v[11], &v[12], &v[13], &v[14], &v[15]);
  std::string bytes(16, '\0');
  for (int i = 0; i < 16; ++i) bytes[i] = static_cast<char>(v[i]);
  return bytes;
}

const std::string kHeader = Guid("75B22630-668E-11CF-A6D9-00AA0062CE6C");
const std::string kFileProperties = Guid("8CABDCA1-A947-11CF-8EE4-00C00C205365");
const std::string kContentDescription = Guid("75B22633-668E-11CF-A6D9-00AA0062CE6C");
const std::string kExtendedContent = Guid("D2D0A440-E307-11D2-97F0-00A0C95EA850");
const std::string kHeaderExtension = Guid("5FBF03B5-A92E-11CF-8EE3-00C00C205365");
const std::string kMetadata = Guid("C5F8CBEA-5BAF-4877-8467-AA8C44FA4CCA");
const std::string kMetadataLibrary = Guid("44231C94-9498-49D1-A141-1D134E457054");

const std::array<std::u16string_view, 5> kContentNames = {u"Title", u"Author", u"Copyright", u"Description",
                                                          u"Rating"};

std::uint64_t Little(std::string_view b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

void PutLittle(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void SetLittle(std::string& b, std::size_t at, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string ObjectBytes(const std::string& guid, const std::string& body) {
  std::string out = guid;
  PutLittle(out, kObjectHeader + body.size(), 8);
  return out + body;
}

// A cursor over a byte range that refuses to read past its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Has(std::size_t n) const { return bytes_.size() - pos_ >= n; }
  std::optional<std::uint64_t> Number(int size) {
    if (!Has(size)) return std::nullopt;
    const auto v = Little(bytes_, pos_, size);
    pos_ += size;
    return v;
  }
  std::optional<std::string> Bytes(std::size_t n) {
    if (!Has(n)) return std::nullopt;
    std::string s(bytes_.substr(pos_, n));
    pos_ += n;
    return s;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

std::u16string NameFromBytes(std::string_view bytes) {
  std::u16string name;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto u = static_cast<char16_t>(Little(bytes, i, 2));
    if (u == 0) break;
    name += u;
  }
  return name;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string NameToBytes(std::u16string_view name) {
  std::string out;
  for (char16_t u : name) PutLittle(out, u, 2);
  PutLittle(out, 0, 2);
  return out;
}

// Attribute types as the file stores them.
enum FileType : std::uint16_t { kFileString = 0, kFileBinary = 1, kFileBool = 2, kFileDword = 3, kFileQword = 4,
                                kFileWord = 5, kFileGuid = 6 };

std::uint32_t InterfaceType(std::uint16_t fileType) {
  constexpr std::uint32_t map[] = {kTypeString, kTypeBinary, kTypeBool, kTypeDword, kTypeQword, kTypeWord, kTypeGuid};
  return fileType < 7 ? map[fileType] : kTypeBinary;
}

std::optional<std::uint16_t> FileTypeOf(std::uint32_t type) {
  constexpr std::uint16_t map[] = {kFileDword, kFileString, kFileBinary, kFileBool, kFileQword, kFileWord, kFileGuid};
  if (type >= 7) return std::nullopt;
  return map[type];
}

// One attribute of the Extended Content Description, Metadata or Metadata
// Library object. first and stream are 0 in the extended content object.
struct Record {
  std::uint16_t first = 0;
  std::uint16_t stream = 0;
  std::u16string name;
  std::uint16_t type = 0;
  std::string value;
};

// Records of the extended content object; false when it is cut short.
bool ParseExtendedContent(std::string_view body, std::vector<Record>& records) {
  Reader r(body);
  auto count = r.Number(2);
  if (!count) return false;
  for (std::uint64_t i = 0; i < *count; ++i) {
    Record rec;
    auto nameLength = r.Number(2);
    auto name = nameLength ? r.Bytes(*nameLength) : std::nullopt;
    auto type = name ? r.Number(2) : std::nullopt;
    auto valueLength = type ? r.Number(2) : std::nullopt;
    auto value = valueLength ? r.Bytes(*valueLength) : std::nullopt;
    if (!value) return false;
    rec.name = NameFromBytes(*name);
    rec.type = static_cast<std::uint16_t>(*type);
    rec.value = std::move(*value);
    records.push_back(std::move(rec));
  }
  return true;
}

std::string ExtendedContentBody(const std::vector<Record>& records) {
  std::string body;
  PutLittle(body, records.size(), 2);
  for (const Record& rec : records) {
    const std::string name = NameToBytes(rec.name);
    PutLittle(body, name.size(), 2);
    body += name;
    PutLittle(body, rec.type, 2);
    PutLittle(body, rec.value.size(), 2);
    body += rec.value;
  }
  return body;
}

// Records of a Metadata or Metadata Library object (same layout).
bool ParseMetadata(std::string_view body, std::vector<Record>& records) {
  Reader r(body);
  auto count = r.Number(2);
  if (!count) return false;
  for (std::uint64_t i = 0; i < *count; ++i) {
    auto first = r.Number(2);
    auto stream = first ? r.Number(2) : std::nullopt;
    auto nameLength = stream ? r.Number(2) : std::nullopt;
    auto type = nameLength ? r.Number(2) : std::nullopt;
    auto dataLength = type ? r.Number(4) : std::nullopt;
    auto name = dataLength ? r.Bytes(*nameLength) : std::nullopt;
    auto data = name ? r.Bytes(*dataLength) : std::nullopt;
    if (!data) return false;
    records.push_back({static_cast<std::uint16_t>(*first), static_cast<std::uint16_t>(*stream), NameFromBytes(*name),
                       static_cast<std::uint16_t>(*type), std::move(*data)});
  }
  return true;
}

std::string MetadataBody(const std::vector<Record>& records) {
  std::string body;
  PutLittle(body, records.size(), 2);
  for (const Record& rec : records) {
    const std::string name = NameToBytes(rec.name);
    PutLittle(body, rec.first, 2);
    PutLittle(body, rec.stream, 2);
    PutLittle(body, name.size(), 2);
    PutLittle(body, rec.type, 2);
    PutLittle(body, rec.value.size(), 4);
    body += name + rec.value;
  }
  return body;
}

// Splits a run of objects; false when one is cut short or malformed.
struct RawObject {
  std::string guid;
  std::string bytes;  // the whole object, header included
};

bool SplitObjects(std::string_view bytes, std::vector<RawObject>& objects) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    if (bytes.size() - pos < kObjectHeader) return false;
    const std::uint64_t size = Little(bytes, pos + 16, 8);
    if (size < kObjectHeader || size > bytes.size() - pos) return false;
    objects.push_back({std::string(bytes.substr(pos, 16)), std::string(bytes.substr(pos, size))});
    pos += size;
  }
  return true;
}

}  // namespace

// The header object as a list of its child objects, with the attribute
// objects decoded so they can be changed and written again.
class HeaderModel {
 public:
  bool Parse(const std::string& header) {
    reserved_ = header.substr(28, 2);
    std::vector<RawObject> children;
    sound_ = SplitObjects(std::string_view(header).substr(30), children);
    for (RawObject& child : children) {
      const std::string_view body = std::string_view(child.bytes).substr(kObjectHeader);
      Child c{std::move(child), Kind::kRaw};
      if (c.raw.guid == kFileProperties && body.size() >= 24) {
        c.kind = Kind::kFileProperties;
      } else if (c.raw.guid == kContentDescription && !hasContent_) {
        c.kind = Kind::kContent;
        hasContent_ = true;
        sound_ = ParseContent(body) && sound_;
      } else if (c.raw.guid == kExtendedContent && !hasExtended_) {
        c.kind = Kind::kExtended;
        hasExtended_ = true;
        sound_ = ParseExtendedContent(body, extended_) && sound_;
      } else if (c.raw.guid == kHeaderExtension && extensionIndex_ < 0) {
        c.kind = Kind::kExtension;
        extensionIndex_ = static_cast<int>(children_.size());
        sound_ = ParseExtension(body) && sound_;
      }
      children_.push_back(std::move(c));
    }
    contentInFile_ = hasContent_;
    extendedInFile_ = hasExtended_;
    return true;
  }

  // The header may be rewritten only when every part of it was understood.
  bool Sound() const { return sound_; }

  // Every count and length of the attribute objects fits its field, so the
  // header can be written as it is now. A name read without its terminator
  // gains one, which can take it past its 16-bit length field.
  bool Fits() const {
    auto fit = [](const std::vector<Record>& records, std::uint64_t valueLimit) {
      if (records.size() > 0xFFFF) return false;
      for (const Record& rec : records) {
        if ((rec.name.size() + 1) * 2 > 0xFFFF || rec.value.size() > valueLimit) return false;
      }
      return true;
    };
    if (!fit(extended_, 0xFFFF)) return false;
    for (const auto& object : metadata_) {
      if (!fit(object.records, 0xFFFFFFFF)) return false;
    }
    return true;
  }

  const Record* Find(std::u16string_view name) const {
    for (const Record& rec : extended_) {
      if (rec.name == name) return &rec;
    }
    for (const auto& object : metadata_) {
      for (const Record& rec : object.records) {
        if (rec.stream == 0 && rec.name == name) return &rec;
      }
    }
    return nullptr;
  }

  int ContentIndex(std::u16string_view name) const {
    for (std::size_t i = 0; i < kContentNames.size(); ++i) {
      if (kContentNames[i] == name) return static_cast<int>(i);
    }
    return -1;
  }

  bool HasContent() const { return hasContent_; }
  const std::string& ContentValue(int index) const { return content_[index]; }

  // Some writers also copy the content description into extended content
  // entries ("title", "Author"); those stale copies go, so that every reader
  // finds the new value.
  void SetContent(int index, std::string value) {
    content_[index] = std::move(value);
    hasContent_ = true;
    auto sameName = [&](const Record& r) { return r.stream == 0 && EqualsIgnoringCase(r.name, kContentNames[index]); };
    std::erase_if(extended_, sameName);
    for (auto& object : metadata_) std::erase_if(object.records, sameName);
  }

  void SetExtended(std::u16string_view name, std::uint16_t type, std::string value) {
    bool stored = false;
    for (auto it = extended_.begin(); it != extended_.end();) {
      if (it->name != name) {
        ++it;
      } else if (!stored) {
        it->type = type, it->value = value, stored = true, ++it;
      } else {
        it = extended_.erase(it);
      }
    }
    if (!stored) extended_.push_back({0, 0, std::u16string(name), type, std::move(value)});
    hasExtended_ = true;
    // The new value must be the only one a reader finds.
    for (auto& object : metadata_) {
      std::erase_if(object.records, [&](const Record& r) { return r.stream == 0 && r.name == name; });
    }
  }

  // The whole header object as it is now.
  std::string Serialize() const {
    std::string children;
    std::size_t count = 0;
    // Objects that were in the file stay where they were; new ones follow
    // the File Properties object.
    bool contentWritten = false;
    bool extendedWritten = false;
    auto addContent = [&] {
      if (hasContent_ && !contentWritten) children += ContentObject(), ++count;
      contentWritten = true;
    };
    auto addExtended = [&] {
      if (hasExtended_ && !extendedWritten) children += ObjectBytes(kExtendedContent, ExtendedContentBody(extended_)), ++count;
      extendedWritten = true;
    };
    for (const Child& c : children_) {
      switch (c.kind) {
        case Kind::kContent: addContent(); continue;
        case Kind::kExtended: addExtended(); continue;
        case Kind::kExtension: children += ExtensionObject(); break;
        default: children += c.raw.bytes; break;
      }
      ++count;
      if (c.kind == Kind::kFileProperties) {
        if (!contentInFile_) addContent();
        if (!extendedInFile_) addExtended();
      }
    }
    addContent();
    addExtended();
    std::string header = kHeader;
    PutLittle(header, 30 + children.size(), 8);
    PutLittle(header, count, 4);
    return header + reserved_ + children;
  }

  // Offset of the File Properties' file-size field in a serialized header, or
  // 0. An object of that GUID too short to hold the field is not the one.
  static std::size_t FileSizeField(const std::string& header) {
    std::size_t pos = 30;
    while (pos + kObjectHeader <= header.size()) {
      const std::uint64_t size = Little(header, pos + 16, 8);
      if (header.compare(pos, 16, kFileProperties) == 0 && size >= kObjectHeader + 24 &&
          header.size() - pos >= kObjectHeader + 24) {
        return pos + kObjectHeader + 16;
      }
      if (size < kObjectHeader) return 0;
      pos += size;
    }
    return 0;
  }

 private:
  enum class Kind { kRaw, kFileProperties, kContent, kExtended, kExtension };
  struct Child {
    RawObject raw;
    Kind kind;
  };
  struct MetadataObject {
    std::size_t index;  // among the extension's objects
    std::vector<Record> records;
  };

  bool ParseContent(std::string_view body) {
    Reader r(body);
    std::array<std::uint64_t, 5> lengths{};
    for (auto& length : lengths) {
      auto v = r.Number(2);
      if (!v) return false;
      length = *v;
    }
    for (std::size_t i = 0; i < lengths.size(); ++i) {
      auto text = r.Bytes(lengths[i]);
      if (!text) return false;
      content_[i] = std::move(*text);
    }
    return true;
  }

  bool ParseExtension(std::string_view body) {
    if (body.size() < 22) return false;
    extensionPrefix_ = std::string(body.substr(0, 18));
    const std::uint64_t dataSize = Little(body, 18, 4);
    if (dataSize > body.size() - 22) return false;
    if (!SplitObjects(body.substr(22, dataSize), extensionObjects_)) return false;
    for (std::size_t i = 0; i < extensionObjects_.size(); ++i) {
      const RawObject& o = extensionObjects_[i];
      if (o.guid != kMetadata && o.guid != kMetadataLibrary) continue;
      MetadataObject m{i, {}};
      if (!ParseMetadata(std::string_view(o.bytes).substr(kObjectHeader), m.records)) return false;
      metadata_.push_back(std::move(m));
    }
    return true;
  }

  std::string ContentObject() const {
    std::string body;
    for (const std::string& text : content_) PutLittle(body, text.size(), 2);
    for (const std::string& text : content_) body += text;
    return ObjectBytes(kContentDescription, body);
  }

  std::string ExtensionObject() const {
    std::string data;
    for (std::size_t i = 0; i < extensionObjects_.size(); ++i) {
      const MetadataObject* changed = nullptr;
      for (const auto& m : metadata_) {
        if (m.index == i) changed = &m;
      }
      data += changed ? ObjectBytes(extensionObjects_[i].guid, MetadataBody(changed->records))
                      : extensionObjects_[i].bytes;
    }
    std::string body = extensionPrefix_;
    PutLittle(body, data.size(), 4);
    return ObjectBytes(kHeaderExtension, body + data);
  }

  std::string reserved_;
  std::vector<Child> children_;
  bool sound_ = true;
  bool hasContent_ = false;
  bool contentInFile_ = false;
  bool extendedInFile_ = false;
  std::array<std::string, 5> content_;
  bool hasExtended_ = false;
  std::vector<Record> extended_;
  int extensionIndex_ = -1;
  std::string extensionPrefix_;
  std::vector<RawObject> extensionObjects_;
  std::vector<MetadataObject> metadata_;
};

InfoObject::InfoObject() : model_(std::make_unique<HeaderModel>()) {}
InfoObject::~InfoObject() = default;

std::unique_ptr<InfoObject> InfoObject::Create(const std::string& path, int* status) {
  auto fail = [&](int s) {
    if (status) *status = s;
    return std::unique_ptr<InfoObject>();
  };
  tags::FilePtr f = tags::OpenForReading(path, nullptr);
  if (!f) return fail(kCannotOpen);
  const std::int64_t fileLength = tags::FileLength(f.get());
  std::string head(30, '\0');
  if (std::fread(head.data(), 1, head.size(), f.get()) != head.size() || head.compare(0, 16, kHeader) != 0) {
    return fail(kNotAsf);
  }
  const std::uint64_t headerSize = Little(head, 16, 8);
  // Compared unsigned: a size with its top bit set must not pass as negative.
  if (headerSize < 30 || fileLength < 0 || headerSize > static_cast<std::uint64_t>(fileLength) ||
      headerSize > static_cast<std::uint64_t>(kMaxHeaderSize)) {
    return fail(kNotAsf);
  }
  std::string header = head;
  header.resize(headerSize);
  if (std::fread(header.data() + 30, 1, headerSize - 30, f.get()) != headerSize - 30) return fail(kNotAsf);

  std::unique_ptr<InfoObject> info(new InfoObject());
  info->path_ = path;
  info->model_->Parse(header);
  if (status) *status = kOk;
  return info;
}

int InfoObject::QueryAttribute(std::u16string_view name, std::uint32_t& type, void* buffer,
                               std::uint16_t& length) const {
  std::string value;
  const int content = model_->ContentIndex(name);
  if (content >= 0) {
    if (!model_->HasContent()) return kNotFound;
    value = model_->ContentValue(content);
    type = kTypeString;
  } else if (const Record* rec = model_->Find(name)) {
    value = rec->value;
    type = InterfaceType(rec->type);
  } else {
    return kNotFound;
  }
  // Texts are handed out with their terminator.
  if (type == kTypeString && (value.size() < 2 || value.compare(value.size() - 2, 2, "\0\0", 2) != 0)) {
    if (value.size() % 2) value.pop_back();
    value.append(2, '\0');
  }
  if (value.size() > 0xFFFF) return kBufferTooSmall;
  const std::uint16_t capacity = length;
  length = static_cast<std::uint16_t>(value.size());
  if (value.size() > capacity) return kBufferTooSmall;
  if (!value.empty()) std::memcpy(buffer, value.data(), value.size());
  return kOk;
}

int InfoObject::StoreAttribute(std::u16string_view name, std::uint32_t type, const void* value,
                               std::uint16_t length) {
  if (name.empty() || (length > 0 && !value)) return kBadArgument;
  std::string bytes(static_cast<const char*>(value), length);
  const auto fileType = FileTypeOf(type);
  constexpr int widths[] = {4, -1, -1, 4, 8, 2, 16};  // by interface type; -1 any
  if (!fileType || (widths[type] >= 0 && static_cast<int>(length) != widths[type])) return kBadArgument;
  const int content = model_->ContentIndex(name);
  if (content >= 0) {
    if (type != kTypeString) return kBadArgument;
    model_->SetContent(content, std::move(bytes));
  } else {
    if (type == kTypeGuid) return kBadArgument;  // the extended content object has no GUID type
    model_->SetExtended(name, *fileType, std::move(bytes));
  }
  changed_ = true;
  return kOk;
}

int InfoObject::FinishInfo() {
  if (!changed_) return kOk;
  changed_ = false;
  if (!model_->Sound() || !model_->Fits()) return kCannotWrite;
  tags::FilePtr in = tags::OpenForReading(path_, nullptr);
  if (!in) return kCannotOpen;
  std::string head(24, '\0');
  if (std::fread(head.data(), 1, head.size(), in.get()) != head.size() || head.compare(0, 16, kHeader) != 0) {
    return kNotAsf;
  }
  const std::uint64_t oldHeaderSize = Little(head, 16, 8);
  const std::int64_t fileLength = tags::FileLength(in.get());
  if (fileLength < 0 || oldHeaderSize < 30 || oldHeaderSize > static_cast<std::uint64_t>(fileLength)) return kNotAsf;

  std::string header = model_->Serialize();
  const std::size_t sizeField = HeaderModel::FileSizeField(header);
  if (sizeField && Little(header, sizeField, 8) != 0) {
    SetLittle(header, sizeField, header.size() + (fileLength - oldHeaderSize), 8);
  }

  tags::ReplacementFile out(path_);
  if (!out.Open(nullptr)) return kCannotWrite;
  if (std::fwrite(header.data(), 1, header.size(), out.Stream()) != header.size() ||
      fseeko(in.get(), static_cast<off_t>(oldHeaderSize), SEEK_SET) != 0 || !tags::CopyRest(in.get(), out.Stream()) ||
      !out.Commit(nullptr)) {
    return kCannotWrite;
  }
  return kOk;
}

}  // namespace asf
