#include "tags/ogg_comments.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ogg/ogg.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "tags/file_io.h"
#include "tags/tag_error.h"
#include "tests/support/temp_dir.h"
#include "tests/tags/ffmpeg_tool.h"
#include "tests/tags/tag_bytes.h"

namespace {

using Comments = std::vector<std::string>;

// The raw comment list of a file, as the editing layer opens it.
Comments CommentList(const std::string& path) {
  tags::FilePtr in(std::fopen(path.c_str(), "rb"));
  vcedit_state* state = vcedit_new_state();
  Comments list;
  if (in && vcedit_open_callbacks(state, in.get(), StreamRead, StreamWrite) == 0) {
    const vorbis_comment* vc = vcedit_comments(state);
    for (int i = 0; i < vc->comments; ++i) list.emplace_back(vc->user_comments[i], vc->comment_lengths[i]);
  } else {
    ADD_FAILURE() << "cannot open " << path;
  }
  vcedit_clear(state);
  return list;
}

// Replaces the comments of a file with exactly these texts.
void SetRawComments(const std::string& path, const Comments& comments) {
  const std::string temp = path + ".raw";
  {
    tags::FilePtr in(std::fopen(path.c_str(), "rb"));
    tags::FilePtr out(std::fopen(temp.c_str(), "wb"));
    vcedit_state* state = vcedit_new_state();
    ASSERT_EQ(vcedit_open_callbacks(state, in.get(), StreamRead, StreamWrite), 0);
    vorbis_comment_clear(vcedit_comments(state));
    for (const auto& c : comments) vorbis_comment_add(vcedit_comments(state), c.c_str());
    ASSERT_EQ(vcedit_write(state, out.get()), 0);
    vcedit_clear(state);
  }
  ASSERT_EQ(std::rename(temp.c_str(), path.c_str()), 0);
}

struct PageInfo {
  long serial;
  long number;
  long long granule;
};

// Calls `visit` with each page of the bytes in order; false when bytes that
// are no page (or a page with a bad checksum) were skipped on the way.
bool ForEachPage(const std::string& bytes, const std::function<void(ogg_page&)>& visit) {
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
  std::copy(bytes.begin(), bytes.end(), buffer);
  ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
  bool clean = true;
  ogg_page page;
  int got;
  while ((got = ogg_sync_pageout(&sync, &page)) != 0) {
    if (got < 0) clean = false;
    else visit(page);
  }
  ogg_sync_clear(&sync);
  return clean;
}

// Every page of a file; a page with a bad checksum or bytes between pages
// fail the test.
std::vector<PageInfo> Pages(const std::string& path) {
  std::vector<PageInfo> pages;
  EXPECT_TRUE(ForEachPage(ReadFileBytes(path), [&](ogg_page& page) {
    pages.push_back({ogg_page_serialno(&page), ogg_page_pageno(&page), ogg_page_granulepos(&page)});
  })) << "bad page in " << path;
  return pages;
}

// Granule positions of the pages that carry audio (granule above 0).
std::vector<long long> AudioGranules(const std::vector<PageInfo>& pages) {
  std::vector<long long> granules;
  for (const auto& p : pages) {
    if (p.granule > 0) granules.push_back(p.granule);
  }
  return granules;
}

class OggTest : public testing::Test {
 protected:
  void SetUp() override {
    file_ = (dir_ / "sine.ogg").string();
    tagtest::MakeSine(file_, {"-c:a", "libvorbis", "-q:a", "2", "-metadata", "title=Old",
                              "-metadata", "REPLAYGAIN_TRACK_GAIN=-3.2 dB"});
  }
  TempDir dir_;
  std::string file_;
};

TEST_F(OggTest, ReaderMatchesNamesInAnyCaseAndSkipsUnusableComments) {
  SetRawComments(file_, {"tItLe=  Song One ", "no equals sign", "\xC3\xA4rtist=umlaut name", "artist=First",
                         "ARTIST=Second", "Album=专辑", "=empty name", "DATE=2001", "TrackNumber=3",
                         "genre=Rock", "COMMENT=c"});
  // The file holds what we meant to write, as an independent reader sees it.
  EXPECT_EQ(tagtest::ProbeTags(file_)["album"], "专辑");

  OGGTag tag;
  tag.Comment = "left over";
  ReadOggComments(file_, tag);
  EXPECT_EQ(tag.Title, "Song One");
  EXPECT_EQ(tag.Artist, "Second");
  EXPECT_EQ(tag.Album, "专辑");
  EXPECT_EQ(tag.Date, "2001");
  EXPECT_EQ(tag.TrackNumber, "3");
  EXPECT_EQ(tag.Genre, "Rock");
  EXPECT_EQ(tag.Comment, "c");

  SetRawComments(file_, {"unrelated=1"});
  ReadOggComments(file_, tag);
  EXPECT_EQ(tag.Title, "");
  EXPECT_EQ(tag.Comment, "");
}

TEST_F(OggTest, ParseKeepsNamelessCommentsAsValues) {
  SetRawComments(file_, {"no equals", "\xC3\xA4=x", "Name=v=w"});
  vcedit_state* state = vcedit_new_state();
  tags::FilePtr in(std::fopen(file_.c_str(), "rb"));
  ASSERT_EQ(vcedit_open_callbacks(state, in.get(), StreamRead, StreamWrite), 0);
  TStrComments list = ParseComments(*vcedit_comments(state));
  vcedit_clear(state);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].Name, "");
  EXPECT_EQ(list[0].Value, "no equals");
  EXPECT_EQ(list[1].Name, "");
  EXPECT_EQ(list[1].Entry, "ä=x");
  EXPECT_EQ(list[2].Name, "Name");
  EXPECT_EQ(list[2].Value, "v=w");
  EXPECT_EQ(list[2].Entry, "Name=v=w");
  FreeComments(list);
  EXPECT_TRUE(list.empty());
}

TEST_F(OggTest, WriterReplacesAllCommentsInItsOrderAndKeepsTheAudio) {
  const std::string samples = tagtest::DecodeSamples(file_);
  ASSERT_FALSE(samples.empty());
  chmod(file_.c_str(), 0444);

  OGGTag tag{"专辑", "月亮代表我的心", "邓丽君", "A comment", "Pop", "1977", "5"};
  EXPECT_TRUE(WriteOggComments(file_, tag));

  EXPECT_EQ(CommentList(file_), (Comments{"Title=月亮代表我的心", "Artist=邓丽君", "Album=专辑", "TrackNumber=5",
                                          "Date=1977", "Genre=Pop", "Comment=A comment"}));
  OGGTag back;
  ReadOggComments(file_, back);
  EXPECT_EQ(back.Title, tag.Title);
  EXPECT_EQ(back.Artist, tag.Artist);
  EXPECT_EQ(back.TrackNumber, "5");

  auto probed = tagtest::ProbeTags(file_);
  EXPECT_EQ(probed["title"], tag.Title);
  EXPECT_EQ(probed["artist"], tag.Artist);
  EXPECT_EQ(probed["album"], tag.Album);
  EXPECT_EQ(probed.count("replaygain_track_gain"), 0u);
  EXPECT_EQ(tagtest::DecodeSamples(file_), samples);

  struct stat st {};
  stat(file_.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(tagtest::FolderEntries(dir_.Path()), std::vector<std::string>{"sine.ogg"});
}

TEST_F(OggTest, EmptyFieldsAreLeftOutAndAnEmptyRecordLeavesNoComments) {
  OGGTag tag;
  tag.Genre = "Jazz";
  tag.Title = "T";
  WriteOggComments(file_, tag);
  EXPECT_EQ(CommentList(file_), (Comments{"Title=T", "Genre=Jazz"}));
  WriteOggComments(file_, OGGTag{});
  EXPECT_TRUE(CommentList(file_).empty());
  EXPECT_EQ(tagtest::ProbeTags(file_).count("title"), 0u);
}

TEST_F(OggTest, CommentHeaderOverSeveralPagesIsReadAndRewritten) {
  const std::string samples = tagtest::DecodeSamples(file_);
  const auto granules = AudioGranules(Pages(file_));
  OGGTag tag;
  tag.Title = "Long";
  tag.Comment = std::string(150000, 'x');  // more than two full pages
  WriteOggComments(file_, tag);
  OGGTag back;
  ReadOggComments(file_, back);
  EXPECT_EQ(back.Comment, tag.Comment);
  const auto pages = Pages(file_);
  EXPECT_GT(pages.size(), granules.size() + 3);  // the header takes several pages
  for (std::size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i].number, static_cast<long>(i));
  EXPECT_EQ(AudioGranules(pages), granules);

  tag.Comment = "short";
  WriteOggComments(file_, tag);
  ReadOggComments(file_, back);
  EXPECT_EQ(back.Comment, "short");
  EXPECT_EQ(tagtest::ProbeTags(file_)["title"], "Long");
  EXPECT_EQ(tagtest::DecodeSamples(file_), samples);
  EXPECT_EQ(AudioGranules(Pages(file_)), granules);
}

TEST_F(OggTest, ChainedStreamsKeepEveryLinkAfterTheFirst) {
  const std::string second = (dir_ / "second.ogg").string();
  tagtest::MakeSine(second, {"-c:a", "libvorbis", "-serial_offset", "77", "-metadata", "title=Second"});
  const std::string secondBytes = ReadFileBytes(second);
  WriteFileBytes(file_, ReadFileBytes(file_) + secondBytes);
  const std::string samples = tagtest::DecodeSamples(file_);

  OGGTag tag;
  tag.Title = "First";
  WriteOggComments(file_, tag);
  const std::string bytes = ReadFileBytes(file_);
  ASSERT_GT(bytes.size(), secondBytes.size());
  EXPECT_EQ(bytes.substr(bytes.size() - secondBytes.size()), secondBytes);
  EXPECT_EQ(CommentList(file_), Comments{"Title=First"});
  EXPECT_EQ(tagtest::DecodeSamples(file_), samples);
}

TEST(OggErrors, NonOggAndMissingFilesRaiseCannotOpenAndChangeNothing) {
  TempDir dir;
  const std::string file = (dir / "fake.ogg").string();
  const std::string bytes = "ID3 this is not an Ogg stream at all";
  WriteFileBytes(file, bytes);
  for (const std::string& name : {file, (dir / "missing.ogg").string()}) {
    OGGTag tag;
    tag.Title = "kept";
    try {
      ReadOggComments(name, tag);
      ADD_FAILURE() << "no error for " << name;
    } catch (const TagError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Cannot open " + name + ": ", 0), 0u) << e.what();
    }
    EXPECT_EQ(tag.Title, "kept");
    EXPECT_THROW(WriteOggComments(name, tag), TagError);
  }
  EXPECT_EQ(ReadFileBytes(file), bytes);
  EXPECT_EQ(tagtest::FolderEntries(dir.Path()), std::vector<std::string>{"fake.ogg"});
}

TEST(OggErrors, TruncatedHeadersRaiseCannotOpen) {
  TempDir dir;
  const std::string file = (dir / "cut.ogg").string();
  tagtest::MakeSine(file, {"-c:a", "libvorbis"});
  WriteFileBytes(file, ReadFileBytes(file).substr(0, 200));
  OGGTag tag;
  EXPECT_THROW(ReadOggComments(file, tag), TagError);
  EXPECT_THROW(WriteOggComments(file, tag), TagError);
  EXPECT_EQ(ReadFileBytes(file).size(), 200u);
}

// The file with the end-of-stream flag set on its page number `index`
// (checksum made right again).
std::string WithEndOfStreamOnPage(const std::string& bytes, std::size_t index) {
  std::string out;
  std::size_t i = 0;
  ForEachPage(bytes, [&](ogg_page& page) {
    if (i++ == index) {
      page.header[5] |= 0x04;
      ogg_page_checksum_set(&page);
    }
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
  });
  return out;
}

// A stream that says it ends on its first page, with its other headers and
// its audio on pages after that end: the pages after the end belong to no
// stream, so the file is refused rather than stitched into one.
TEST(OggErrors, AStreamEndingInsideItsHeadersIsRefusedAndLeftAsItWas) {
  TempDir dir;
  const std::string file = (dir / "ended.ogg").string();
  tagtest::MakeSine(file, {"-c:a", "libvorbis"});
  const std::string bytes = WithEndOfStreamOnPage(ReadFileBytes(file), 0);
  WriteFileBytes(file, bytes);
  OGGTag tag;
  tag.Title = "new";
  EXPECT_THROW(WriteOggComments(file, tag), TagError);
  EXPECT_TRUE(ReadFileBytes(file) == bytes) << "the refused write changed the file";
  EXPECT_EQ(tagtest::FolderEntries(dir.Path()), std::vector<std::string>{"ended.ogg"});
}

}  // namespace
