// The main window's run handlers: the window adapts its list, progress
// display, message boxes, timer and preview to the runs' host interface and
// forwards to the conversion run, the normalization run and the output
// format configuration.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTreeWidget>
#include <optional>

#include "app/conversion_run.h"
#include "app/main_window.h"
#include "app/mul_div.h"
#include "app/normalization_run.h"
#include "app/output_format.h"
#include "platform/audio/audio_transform.h"
#include "platform/audio/lame_encoder.h"
#include "platform/dialogs.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"

namespace {

class WindowRunHost : public IRunHost {
 public:
  explicit WindowRunHost(Tfm_main& window) : w_(window) {}

  int RowCount() const override { return w_.lv()->topLevelItemCount(); }
  std::string RowCaption(int row) const override { return Text(row, Tfm_main::ColTitle); }
  std::string RowPath(int row) const override { return Text(row, Tfm_main::ColPath); }
  void SetRowStatus(int row, const std::string& status) override {
    if (QTreeWidgetItem* item = w_.lv()->topLevelItem(row))
      item->setText(Tfm_main::ColStatus, QString::fromStdString(status));
  }
  AudioFileinfo RowRecord(int row) const override {
    const TFileInfos& infos = w_.State().FileInfos;
    return row >= 0 && row < static_cast<int>(infos.size()) ? infos[static_cast<std::size_t>(row)]
                                                            : AudioFileinfo{};
  }

  void ShowInfo(const std::string& text) override { dialogs::ShowInfo(text); }
  void ShowError(const std::string& text) override { dialogs::ShowError(text); }

  // The skin is drawn only when the bar's length or the percentage changes,
  // and at most 25 times a second while a file is under way: a run shows
  // progress after every block, and drawing the skin costs far more than a
  // block of WAV. A value held back is drawn at the next message pass once
  // the interval is over; 0 and 100 percent are drawn at once.
  void ShowProgress(int32_t value) override {
    const Look look = LookOf(value);
    if (shown_ && *shown_ == look) {
      pending_.reset();
      return;
    }
    const bool edge = look.bar == 0 || look.percent >= 100;
    if (!edge && sinceDraw_.isValid() && sinceDraw_.elapsed() < MinDrawIntervalMs) {
      pending_ = value;
      return;
    }
    Draw(value);
  }
  void ResetProgressAfterRun() override {
    w_.ResetProgressAfterRun();
    ForgetShownProgress();
  }

  // A message pass polls the window system, which costs more than a block
  // of WAV; passes closer together than 5 ms are skipped, as no click or
  // repaint could be told apart in that time.
  void ProcessMessages(bool userInput) override {
    if (pending_ && sinceDraw_.elapsed() >= MinDrawIntervalMs) Draw(*pending_);
    if (sincePass_.isValid() && sincePass_.elapsed() < MinPassIntervalMs) return;
    sincePass_.start();
    QCoreApplication::processEvents(userInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  }
  void SetTimer1(bool on) override {
    if (on)
      w_.Timer1().start();
    else
      w_.Timer1().stop();
  }
  void StopPreview() override { w_.StopPreviewForRun(); }
  std::string CommandLineText() const override {
    return w_.SettingsDialog() ? w_.SettingsDialog()->CommandLineText() : std::string();
  }

  // A run starts with the display as the window left it.
  void ForgetShownProgress() {
    sincePass_.invalidate();
    shown_.reset();
    pending_.reset();
    sinceDraw_.invalidate();
  }

 private:
  static constexpr qint64 MinDrawIntervalMs = 40;
  static constexpr qint64 MinPassIntervalMs = 5;

  // What the display shows for a value: the bar's length and the percentage.
  struct Look {
    int32_t bar;
    int32_t percent;
    bool operator==(const Look&) const = default;
  };
  Look LookOf(int32_t value) const {
    const int32_t shown = w_.State().Busy ? std::clamp(value, 0, 10000) : 0;
    return {MulDiv(shown, ProgressDisplay::BarTravel, ProgressDisplay::FullScale), shown / 100};
  }
  void Draw(int32_t value) {
    w_.ShowProgress(value);
    shown_ = LookOf(value);
    pending_.reset();
    sinceDraw_.start();
  }

  std::string Text(int row, int column) const {
    QTreeWidgetItem* item = w_.lv()->topLevelItem(row);
    return item ? item->text(column).toStdString() : std::string();
  }

  Tfm_main& w_;
  std::optional<Look> shown_;
  std::optional<int32_t> pending_;
  QElapsedTimer sinceDraw_;
  QElapsedTimer sincePass_;
};

}  // namespace

struct Tfm_main::Runs {
  explicit Runs(Tfm_main& window) : host(window) {}

  TAudioFile2LameEnc Mp3LameEncoder;
  TAudioTransform2 AudioTransform21;
  WindowRunHost host;
  // The settings store exists from the window's first showing on, so the
  // context and its runs are made at the first run.
  std::unique_ptr<TRunContext> context;
  std::unique_ptr<TConversionRun> conversion;
  std::unique_ptr<TNormalizationRun> normalization;
};

void Tfm_main::RunsDeleter::operator()(Runs* runs) const { delete runs; }

void Tfm_main::CreateRuns() {
  runs_.reset(new Runs(*this));
  connect(&timer1_, &QTimer::timeout, this, &Tfm_main::Timer1Timer);
  RequestNormalizeTermination = [this] {
    if (runs_->normalization) runs_->normalization->RequestTermination();
  };
}

namespace {

// The context over the window's objects and its current store; made again
// when the store was replaced, never while a run is on the stack.
template <typename Runs>
bool EnsureContext(Runs& runs, TMainState& state, TSettingsStore* store, TAudioFile2& reader, TAudioFile2& writer) {
  if (!store) return false;
  if (runs.context && &runs.context->store == store) return true;
  if (runs.context && runs.context->runActive) return false;
  runs.conversion.reset();
  runs.normalization.reset();
  runs.context = std::make_unique<TRunContext>(TRunContext{state, *store, reader, writer, runs.Mp3LameEncoder,
                                                           runs.AudioTransform21, runs.host});
  runs.conversion = std::make_unique<TConversionRun>(*runs.context);
  runs.normalization = std::make_unique<TNormalizationRun>(*runs.context);
  return true;
}

}  // namespace

void Tfm_main::RunConversion() {
  if (!EnsureContext(*runs_, state_, store_.get(), audioFileRead_, audioFileWrite_)) return;
  runs_->host.ForgetShownProgress();
  runs_->conversion->Run();
}

void Tfm_main::RunNormalization() {
  if (!EnsureContext(*runs_, state_, store_.get(), audioFileRead_, audioFileWrite_)) return;
  runs_->host.ForgetShownProgress();
  runs_->normalization->Run();
}

void Tfm_main::ConfigureOutputFormat() {
  if (!store_) return;
  const std::string commandLine = fmSet_ ? fmSet_->CommandLineText() : std::string();
  ::ConfigureOutputFormat(state_.OutputFormat, *store_, audioFileWrite_, runs_->Mp3LameEncoder, commandLine);
}

void Tfm_main::Timer1Timer() {
  if (runs_->normalization) runs_->normalization->Timer1Timer();
}
