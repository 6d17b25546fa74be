// A tag writer that fails inside a run: one error box naming the file, the
// row marked failed, its output removed, and the run goes on.
#include <gtest/gtest.h>

#include "app/conversion_run.h"
#include "tags/ogg_comments.h"
#include "tests/runs/run_fixture.h"

namespace fs = std::filesystem;
using namespace tonvara::test;

namespace {

// Our writer, except that the output of one name is spoiled when it is
// finished, so that the tag writer cannot read it as Ogg Vorbis.
class SpoilingWriter : public IAudioFile2 {
 public:
  explicit SpoilingWriter(std::string spoiled) : spoiled_(std::move(spoiled)) {}

  void OpenWrite(const std::string& name, int32_t a) override {
    inner_.OpenWrite(name, a);
    name_ = name;
  }
  void Close() override {
    inner_.Close();
    if (!name_.empty() && fs::path(name_).filename() == spoiled_) WriteFileBytes(name_, "no longer an Ogg stream");
    name_.clear();
  }
  void OpenRead(const std::string& name, int32_t a, int32_t b) override { inner_.OpenRead(name, a, b); }
  TSampleBlock ReadSamples(int64_t frames) override { return inner_.ReadSamples(frames); }
  void WriteSamples(const TSampleBlock& block) override { inner_.WriteSamples(block); }
  void SetInputFormat(int32_t rate, int32_t channels) override { inner_.SetInputFormat(rate, channels); }
  void SetWavFormat(int32_t rate, int32_t channels, int32_t bits) override { inner_.SetWavFormat(rate, channels, bits); }
  void SetVoxFormat(int32_t rate) override { inner_.SetVoxFormat(rate); }
  void SetWmaProfile(int32_t number) override { inner_.SetWmaProfile(number); }
  void SetOggFormat(int32_t rate, int32_t channels, int32_t bitrate, int32_t minimum, int32_t maximum,
                    int16_t quality) override {
    inner_.SetOggFormat(rate, channels, bitrate, minimum, maximum, quality);
  }
  void SetMp3Encoder(IAudioFile2LameEnc* encoder) override { inner_.SetMp3Encoder(encoder); }
  int64_t SampleCount() const override { return inner_.SampleCount(); }
  int32_t SampleRate() const override { return inner_.SampleRate(); }
  int32_t Channels() const override { return inner_.Channels(); }
  int32_t DurationMs() const override { return inner_.DurationMs(); }
  int32_t StreamSampleRate() const override { return inner_.StreamSampleRate(); }
  int32_t StreamChannels() const override { return inner_.StreamChannels(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  void SetEnabled(bool enabled) override { inner_.SetEnabled(enabled); }

 private:
  TAudioFile2 inner_;
  std::string spoiled_;
  std::string name_;
};

class TransferFailureTest : public RunFixture {};

TEST_F(TransferFailureTest, AFailingTagWriterFailsOnlyItsRow) {
  AddRow("坏", SineSource("bad.wav", 8000));
  AddRow("好", SineSource("good.wav", 8000));
  for (FakeRow& row : host.rows) row.record.Title = row.caption;
  state.OutputFormat = FormatOgg;
  SpoilingWriter spoiling("坏.ogg");
  spoiling.SetEnabled(true);
  TRunContext spoilingContext{state, store, reader, spoiling, encoder, transform, host};
  TConversionRun run(spoilingContext);
  run.Run();

  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(host.errors[0].find((OutDir() / "坏.ogg").string()), std::string::npos) << host.errors[0];
  EXPECT_EQ(host.Statuses(), (std::vector<std::string>{"失败", "完成"}));
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"好.ogg"}) << "the untagged output is removed";
  OGGTag tag;
  ReadOggComments(Out("好.ogg").string(), tag);
  EXPECT_EQ(tag.Title, "好");
  EXPECT_FALSE(state.Busy);
}

}  // namespace
