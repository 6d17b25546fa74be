#include "tags/wm_audio_info.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tags/file_io.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"
#include "tests/tags/tag_bytes.h"

namespace {

using tagtest::LittleEndian;

std::string Wide(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += LittleEndian(c, 2);
  return out;
}

// Pieces of a legacy ASF header.
const std::string kLegacyHeader("\xD1\x29\xE2\xD6\xDA\x35\xD1\x11\x90\x34\x00\xA0\xC9\x03\x49\xBE", 16);
const std::string kLegacyFieldList("\xD5\x29\xE2\xD6\xDA\x35\xD1\x11\x90\x34\x00\xA0\xC9\x03\x49\xBE", 16);

std::string LegacyField(int type, const std::u16string& name, const std::u16string& value) {
  return std::string(1, static_cast<char>(type)) + std::string(4, '\0') + LittleEndian(name.size(), 2) +
         LittleEndian(value.size(), 2) + Wide(name) + Wide(value);
}
std::string FieldList(const std::vector<std::string>& fields) {
  std::string body = LittleEndian(fields.size(), 2);
  for (const auto& f : fields) body += f;
  return kLegacyFieldList + LittleEndian(24 + body.size(), 8) + body;
}
std::string Object(char fill, std::uint64_t declaredSize, std::size_t bodySize) {
  return std::string(16, fill) + LittleEndian(declaredSize, 8) + std::string(bodySize, '\0');
}
std::string LegacyHeader(const std::string& children) {
  return kLegacyHeader + LittleEndian(24 + children.size(), 8) + children + "data after the header";
}

mode_t ModeOf(const std::string& p) {
  struct stat st {};
  stat(p.c_str(), &st);
  return st.st_mode & 07777;
}

WMATagData Filled() {
  WMATagData t{};
  t.Status = 5;
  SetWMAField(t.Title, "kept");
  return t;
}

struct LegacyCase {
  const char* name;
  std::string bytes;
  std::string title, author, year = "", album = "", description = "", field3 = "";
  std::uint16_t track = 0;
};

void PrintTo(const LegacyCase& c, std::ostream* os) { *os << c.name; }

class WmaLegacy : public testing::TestWithParam<LegacyCase> {};

TEST_P(WmaLegacy, ParsesTheFieldLists) {
  TempDir dir;
  const std::string file = (dir / "old.wma").string();
  WriteFileBytes(file, GetParam().bytes);
  WMATagData tag = Filled();
  ReadWMATags(file, tag);
  EXPECT_EQ(tag.Status, -1);
  EXPECT_EQ(WMAFieldText(tag.Title), GetParam().title);
  EXPECT_EQ(WMAFieldText(tag.Author), GetParam().author);
  EXPECT_EQ(WMAFieldText(tag.Year), GetParam().year);
  EXPECT_EQ(WMAFieldText(tag.Album), GetParam().album);
  EXPECT_EQ(WMAFieldText(tag.Description), GetParam().description);
  EXPECT_EQ(WMAFieldText(tag.LegacyField3), GetParam().field3);
  EXPECT_EQ(tag.Track, GetParam().track);
  EXPECT_EQ(ReadFileBytes(file), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WmaLegacy,
    testing::Values(
        LegacyCase{"AllFieldTypes",
                   LegacyHeader(Object('x', 40, 16) +
                                FieldList({LegacyField(1, u"", u"作者"), LegacyField(2, u"", u"Title"),
                                           LegacyField(3, u"", u"Three"), LegacyField(4, u"", u"Desc"),
                                           LegacyField(100, u"wm/YEAR", u"1999"), LegacyField(120, u"WM/Track", u"12"),
                                           LegacyField(100, u"WM/AlbumTitle", std::u16string(u"Alb\0junk", 8)),
                                           LegacyField(100, u"Other", u"x"), LegacyField(50, u"", u"ignored")})),
                   "Title", "作者", "1999", "Alb", "Desc", "Three", 12},
        LegacyCase{"LongValueKeepsTheStreamInStep",
                   LegacyHeader(FieldList({LegacyField(4, u"", std::u16string(600, u'd')), LegacyField(2, u"", u"After")})),
                   "After", "", "", "", std::string(255, 'd')},
        LegacyCase{"TrackThatIsNoNumber", LegacyHeader(FieldList({LegacyField(100, u"WM/TRACK", u"7a")})), "", ""},
        LegacyCase{"ZeroSizedObjectEndsTheParse",
                   LegacyHeader(FieldList({LegacyField(2, u"", u"Found")}) + Object('z', 0, 8) +
                                FieldList({LegacyField(1, u"", u"Lost")})),
                   "Found", ""},
        LegacyCase{"OversizedObjectEndsTheParse",
                   LegacyHeader(FieldList({LegacyField(2, u"", u"Found")}) + Object('z', 5000, 8) +
                                FieldList({LegacyField(1, u"", u"Lost")})),
                   "Found", ""},
        LegacyCase{"CutShortFieldKeepsWhatWasFound",
                   LegacyHeader(FieldList({LegacyField(2, u"", u"Found"), LegacyField(1, u"", u"Author")}))
                       .substr(0, 24 + 24 + 2 + 9 + 10 + 9 + 4),
                   "Found", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WmaLegacy, ReadWideCharsSkipsBeyond511Units) {
  TempDir dir;
  const std::string file = (dir / "w.bin").string();
  WriteFileBytes(file, Wide(std::u16string(600, u'a')) + Wide(u"bc"));
  tags::FilePtr f(std::fopen(file.c_str(), "rb"));
  std::u16string text;
  ASSERT_TRUE(ReadWideChars(f.get(), 600, text));
  EXPECT_EQ(text, std::u16string(511, u'a'));
  ASSERT_TRUE(ReadWideChars(f.get(), 2, text));
  EXPECT_EQ(text, u"bc");
  EXPECT_TRUE(ReadWideChars(f.get(), 0, text));
  EXPECT_EQ(text, u"");
  EXPECT_FALSE(ReadWideChars(f.get(), 1, text));
}

TEST(WmaRead, FilesWithoutTagsLeaveTheRecordAlone) {
  TempDir dir;
  const std::string file = (dir / "x.wma").string();
  for (const std::string& bytes : {std::string("not asf at all, just text"), std::string()}) {
    WriteFileBytes(file, bytes);
    WMATagData tag = Filled();
    ReadWMATags(file, tag);
    EXPECT_EQ(tag.Status, 5);
    EXPECT_EQ(WMAFieldText(tag.Title), "kept");
    EXPECT_FALSE(WriteWMATags(file, tag));
    EXPECT_EQ(ReadFileBytes(file), bytes);
  }
  WMATagData tag = Filled();
  ReadWMATags((dir / "missing.wma").string(), tag);
  EXPECT_EQ(WMAFieldText(tag.Title), "kept");
}

class WmaFile : public testing::Test {
 protected:
  void Make(const std::vector<std::string>& options) {
    file_ = (dir_ / "sine.wma").string();
    std::vector<std::string> all = {"-c:a", "wmav2", "-b:a", "64k"};
    all.insert(all.end(), options.begin(), options.end());
    tagtest::MakeSine(file_, all);
  }
  std::uint64_t HeaderSize(const std::string& bytes) { return tagtest::Little(bytes, 16); }
  TempDir dir_;
  std::string file_;
};

TEST_F(WmaFile, ChineseTagsAreWrittenAndReadByUsAndByFfmpeg) {
  for (bool withTags : {true, false}) {
    SCOPED_TRACE(withTags ? "file with tags" : "file without tags");
    if (withTags) {
      Make({"-metadata", "title=旧标题", "-metadata", "artist=旧歌手", "-metadata", "album=Old album"});
      WMATagData read{};
      ReadWMATags(file_, read);
      EXPECT_EQ(read.Status, -1);
      EXPECT_EQ(WMAFieldText(read.Title), "旧标题");
      EXPECT_EQ(WMAFieldText(read.Author), "旧歌手");
      EXPECT_EQ(WMAFieldText(read.Album), "Old album");
    } else {
      Make({"-map_metadata", "-1", "-fflags", "+bitexact"});
    }
    const std::string before = ReadFileBytes(file_);
    const std::string samples = tagtest::DecodeSamples(file_);
    chmod(file_.c_str(), 0444);

    WMATagData tag{};
    SetWMAField(tag.Title, "月亮代表我的心");
    SetWMAField(tag.Author, "邓丽君");
    SetWMAField(tag.Album, "专辑");
    SetWMAField(tag.Year, "1977");
    SetWMAField(tag.Genre, "Pop");
    tag.Track = 3;
    ASSERT_TRUE(WriteWMATags(file_, tag));

    WMATagData back{};
    ReadWMATags(file_, back);
    EXPECT_EQ(WMAFieldText(back.Title), "月亮代表我的心");
    EXPECT_EQ(WMAFieldText(back.Author), "邓丽君");
    EXPECT_EQ(WMAFieldText(back.Album), "专辑");
    EXPECT_EQ(WMAFieldText(back.Year), "1977");
    EXPECT_EQ(WMAFieldText(back.Genre), "Pop");
    EXPECT_EQ(WMAFieldText(back.Description), "");
    EXPECT_EQ(back.Track, 3);

    auto probed = tagtest::ProbeTags(file_);
    EXPECT_EQ(probed["title"], "月亮代表我的心");
    EXPECT_EQ(probed["artist"], "邓丽君");
    EXPECT_EQ(probed["album"], "专辑");
    EXPECT_EQ(probed["genre"], "Pop");
    EXPECT_EQ(tagtest::DecodeSamples(file_), samples);

    // Everything after the header is untouched; the file size recorded in
    // the File Properties object is the new size.
    const std::string after = ReadFileBytes(file_);
    EXPECT_EQ(after.substr(HeaderSize(after)), before.substr(HeaderSize(before)));
    const auto properties = after.find(std::string("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11", 8));
    ASSERT_NE(properties, std::string::npos);
    EXPECT_EQ(tagtest::Little(after, properties + 40), after.size());
    std::uint32_t objects = 0;
    for (std::uint64_t pos = 30; pos < HeaderSize(after); pos += tagtest::Little(after, pos + 16)) ++objects;
    EXPECT_EQ(tagtest::Little(after, 24, 4), objects);
    EXPECT_EQ(ModeOf(file_), 0444u);
    EXPECT_EQ(tagtest::FolderEntries(dir_.Path()), std::vector<std::string>{"sine.wma"});
    chmod(file_.c_str(), 0644);
  }
}

TEST_F(WmaFile, NumbersAndTypesFollowTheAttributeRules) {
  Make({"-metadata", "title=T"});
  {
    std::unique_ptr<asf::InfoObject> info;
    ASSERT_EQ(WMAudioCreateInfo(file_, info), 0);
    const unsigned char zero[4] = {0, 0, 0, 0}, seven[4] = {7, 0, 0, 0};
    ASSERT_EQ(info->StoreAttribute(u"WM/TrackNumber", asf::kTypeDword, zero, 4), asf::kOk);
    ASSERT_EQ(info->StoreAttribute(u"WM/Track", asf::kTypeDword, seven, 4), asf::kOk);
    ASSERT_EQ(info->StoreAttribute(u"WM/AlbumTitle", asf::kTypeBinary, "abc", 3), asf::kOk);
    const std::string longTitle = Wide(std::u16string(200, u'长') + u'\0');
    ASSERT_EQ(info->StoreAttribute(u"Title", asf::kTypeString, longTitle.data(), longTitle.size()), asf::kOk);
    EXPECT_EQ(info->StoreAttribute(u"Author", asf::kTypeDword, seven, 4), asf::kBadArgument);
    EXPECT_EQ(info->StoreAttribute(u"WM/Track", asf::kTypeDword, seven, 3), asf::kBadArgument);
    ASSERT_EQ(info->FinishInfo(), asf::kOk);
  }
  WMATagData tag{};
  ReadWMATags(file_, tag);
  EXPECT_EQ(tag.Track, 7);
  EXPECT_EQ(WMAFieldText(tag.Album), "");
  // 200 three-byte characters cut at a character boundary to the field.
  EXPECT_EQ(WMAFieldText(tag.Title), tagtest::Repeat("长", 42));

  // Writing stores an empty Description as a lone terminator and track 0.
  ASSERT_TRUE(WriteWMATags(file_, tag = WMATagData{}));
  std::unique_ptr<asf::InfoObject> info;
  ASSERT_EQ(WMAudioCreateInfo(file_, info), 0);
  char buffer[16];
  std::uint32_t type = 99;
  std::uint16_t length = sizeof buffer;
  ASSERT_EQ(info->QueryAttribute(u"Description", type, buffer, length), asf::kOk);
  EXPECT_EQ(type, asf::kTypeString);
  EXPECT_EQ(std::string(buffer, length), std::string(2, '\0'));
  length = sizeof buffer;
  ASSERT_EQ(info->QueryAttribute(u"WM/TrackNumber", type, buffer, length), asf::kOk);
  EXPECT_EQ(type, asf::kTypeDword);
  EXPECT_EQ(std::string(buffer, length), std::string(4, '\0'));
  length = 1;
  EXPECT_EQ(info->QueryAttribute(u"Title", type, buffer, length), asf::kBufferTooSmall);
  EXPECT_EQ(length, 2);
  EXPECT_EQ(info->QueryAttribute(u"WM/Nothing", type, buffer, length), asf::kNotFound);
}

}  // namespace
