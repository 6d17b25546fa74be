// The settings dialog's behaviour: loading, OK, Defaults, Cancel, the page
// tree, the enabling rules and the key filter of the Ogg quality edit.
#include "settings/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <algorithm>

#include "platform/dialogs.h"
#include "settings/radio_group.h"
#include "settings/list_captions.h"
#include "settings/settings_store.h"

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// List position of a value in a key's range (min shown first); a value
// outside the range shows the key's default.
int PositionInRange(int32_t value, const SettingKey& key) {
  const int32_t shown = (value < key.min || value > key.max) ? key.def : value;
  return shown - key.min;
}

// The value a list position stands for; no entry chosen (-1) gives the default.
int32_t ValueAtPosition(int position, const SettingKey& key) {
  const int32_t value = position + key.min;
  return (position < 0 || value > key.max) ? key.def : value;
}

}  // namespace

void Tfm_set::Attach(TMainState* state, TSettingsStore* store) {
  state_ = state ? state : &ownState_;
  store_ = store;
}

int Tfm_set::Execute() {
  FormShow();
  return exec();
}

std::string Tfm_set::CommandLineText() const { return txtCommLine->toPlainText().toStdString(); }

// ---- loading ----------------------------------------------------------------

void Tfm_set::FormShow() {
  FillNormalizationList();
  LoadFromMemory();
  LoadEncoderKeys();
  ApplyAllRules();
  if (SelectedNode() < 0) TreeView1->setCurrentItem(NodeItem(0));
  ShowPage(SelectedNode());
}

void Tfm_set::FillNormalizationList() {
  cb_nor->clear();
  for (int v = keys::NorVol.min; v <= keys::NorVol.max; ++v) cb_nor->addItem(QString::number(v));
}

void Tfm_set::LoadFromMemory() {
  cb_fadein->setChecked(state_->FadeIn);
  cb_fadeout->setChecked(state_->FadeOut);
  cb_fadeintime->setCurrentIndex(PositionInRange(state_->FadeInTime, keys::FadeInTime));
  cb_fadeouttime->setCurrentIndex(PositionInRange(state_->FadeOutTime, keys::FadeOutTime));
  cb_nor->setCurrentIndex(PositionInRange(state_->NorVolume, keys::NorVol));
}

// Each control reads the key OK writes for it. The store already turns a
// value outside the key's range into the key's default, so no list is ever
// left without a chosen entry.
void Tfm_set::LoadEncoderKeys() {
  for (const Binding& b : encoderBindings_) {
    const int value = b.key->kind == SettingKind::Boolean ? (store_ ? store_->ReadFlag(*b.key) : b.key->def != 0)
                                                          : (store_ ? store_->ReadInt(*b.key) : b.key->def);
    SetValue(b.control, value);
  }
}

// The rules in the order loading and Defaults reach their controlling values.
void Tfm_set::ApplyAllRules() {
  cb_mp3vbrcmChange();
  chHFiltClick();
  chLFiltClick();
  ck_presetClick();
  ck_altClick();
  rb_cdmodeClick();
  ck_oggvbrClick();
  ck_oggqualityClick();
}

// ---- OK, Defaults, Cancel ---------------------------------------------------

void Tfm_set::OkClick() {
  SaveToMemory();
  try {
    SaveEncoderKeys();
  } catch (const SettingsWriteError& e) {
    // The writes after the refused one are not made; the dialog stays open.
    dialogs::ShowError(e.what());
    return;
  }
  accept();
}

void Tfm_set::SaveToMemory() {
  state_->FadeIn = cb_fadein->isChecked();
  state_->FadeOut = cb_fadeout->isChecked();
  state_->FadeInTime = ValueAtPosition(cb_fadeintime->currentIndex(), keys::FadeInTime);
  state_->FadeOutTime = ValueAtPosition(cb_fadeouttime->currentIndex(), keys::FadeOutTime);
  state_->NorVolume = ValueAtPosition(cb_nor->currentIndex(), keys::NorVol);
}

void Tfm_set::SaveEncoderKeys() {
  if (!store_) return;  // the main window attaches its store before every opening
  // A number typed into a field counts even when the field still has focus.
  for (QSpinBox* field : {udHFiltF, udHFiltW, udLFiltF, udLFiltW, static_cast<QSpinBox*>(ud_ogg_quality)})
    field->interpretText();
  for (const Binding& b : encoderBindings_) {
    const int value = ValueOf(b.control);
    if (b.key->kind == SettingKind::Boolean)
      store_->WriteFlag(*b.key, value != 0);
    else
      store_->WriteInt(*b.key, value);
  }
}

// Sets the controls only; the page shown and the command line stay as they are.
void Tfm_set::Button2Click() {
  cb_fadein->setChecked(keys::FadeIn.resetDef != 0);
  cb_fadeout->setChecked(keys::FadeOut.resetDef != 0);
  cb_fadeintime->setCurrentIndex(PositionInRange(keys::FadeInTime.resetDef, keys::FadeInTime));
  cb_fadeouttime->setCurrentIndex(PositionInRange(keys::FadeOutTime.resetDef, keys::FadeOutTime));
  cb_nor->setCurrentIndex(PositionInRange(keys::NorVol.resetDef, keys::NorVol));
  for (const Binding& b : encoderBindings_) SetValue(b.control, b.key->resetDef);
  ApplyAllRules();
}

void Tfm_set::CancelClick() { reject(); }

// ---- control values -----------------------------------------------------------

int Tfm_set::ValueOf(const Control& control) const {
  return std::visit(Overloaded{[this](QComboBox* c) { return c == cb_wma ? WmaFormatIndex() : c->currentIndex(); },
                               [](QCheckBox* c) { return c->isChecked() ? 1 : 0; },
                               [](QSpinBox* c) { return c->value(); },
                               [](TRadioGroup* c) { return c->ItemIndex(); }},
                    control);
}

void Tfm_set::SetValue(const Control& control, int value) {
  std::visit(Overloaded{[value](QComboBox* c) { c->setCurrentIndex(value); },
                        [value](QCheckBox* c) { c->setChecked(value != 0); },
                        [value](QSpinBox* c) { c->setValue(value); },
                        [value](TRadioGroup* c) { c->SetItemIndex(value); }},
             control);
}

// The WMA format list can be typed into: a typed text that names an entry
// chooses that entry (the chosen one first, for the two entries that read the
// same); any other text leaves the last chosen entry.
int Tfm_set::WmaFormatIndex() const {
  const QString text = cb_wma->currentText();
  const int chosen = cb_wma->currentIndex();
  if (chosen >= 0 && cb_wma->itemText(chosen) == text) return chosen;
  const int typed = cb_wma->findText(text, Qt::MatchExactly);
  return typed >= 0 ? typed : chosen;
}

// ---- page tree ----------------------------------------------------------------

int Tfm_set::NodeOf(const QTreeWidgetItem* item) const {
  const auto it = std::find(nodeItems_.begin(), nodeItems_.end(), item);
  return it == nodeItems_.end() ? -1 : static_cast<int>(it - nodeItems_.begin());
}

QTreeWidgetItem* Tfm_set::NodeItem(int node) const {
  return (node >= 0 && node < NodeCount) ? nodeItems_[static_cast<std::size_t>(node)] : nullptr;
}

QGroupBox* Tfm_set::PageOf(int node) const {
  return (node >= 0 && node < NodeCount) ? nodePages_[static_cast<std::size_t>(node)] : nullptr;
}

int Tfm_set::SelectedNode() const {
  const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
  return selected.isEmpty() ? -1 : NodeOf(selected.front());
}

void Tfm_set::TreeView1Click() { ShowPage(SelectedNode()); }

void Tfm_set::ShowPage(int node) {
  QGroupBox* page = PageOf(node);
  if (!page) return;
  setWindowTitle(nodeTitles_[static_cast<std::size_t>(node)]);
  for (QGroupBox* other : nodePages_)
    if (other != page) other->hide();
  page->show();
}

// ---- enabling rules -------------------------------------------------------------

void Tfm_set::cb_mp3vbrcmChange() {
  const bool vbr = cb_mp3vbrcm->currentIndex() != captions::VbrMethodNone;
  for (QWidget* w : std::initializer_list<QWidget*>{cb_mp3_vbr, ud_mp3_vbr, ck_mp3_VBR, ck_mp3_semb})
    w->setEnabled(vbr);
}

void Tfm_set::rb_cdmodeClick() {
  const bool custom = rb_cdmode->ItemIndex() == captions::WavModeCustom;
  for (QWidget* w : {cb_wav_frequency, cb_wav_bit, cb_wav_channel}) w->setEnabled(custom);
}

void Tfm_set::chHFiltClick() {
  const bool on = chHFilt->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{udHFiltF, udHFiltW, Label15}) w->setEnabled(on);
}

void Tfm_set::chLFiltClick() {
  const bool on = chLFilt->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{udLFiltF, udLFiltW, Label20}) w->setEnabled(on);
}

// At most one of the two preset boxes can be ticked at a time.
void Tfm_set::ck_presetClick() {
  rg_prest->setEnabled(ck_preset->isChecked());
  rg_alt->setEnabled(ck_alt->isChecked() && !ck_preset->isChecked());
  ck_alt->setEnabled(!ck_preset->isChecked());
}

void Tfm_set::ck_altClick() {
  rg_alt->setEnabled(ck_alt->isChecked());
  rg_prest->setEnabled(ck_preset->isChecked() && !ck_alt->isChecked());
  ck_preset->setEnabled(!ck_alt->isChecked());
}

// VBR and quality mode exclude each other; the nominal bit rate always applies.
void Tfm_set::ck_oggvbrClick() {
  const bool vbr = ck_oggvbr->isChecked();
  ck_oggquality->setEnabled(!vbr);
  cb_ogg_minbit->setEnabled(vbr);
  cb_ogg_maxbit->setEnabled(vbr);
}

void Tfm_set::ck_oggqualityClick() {
  const bool quality = ck_oggquality->isChecked();
  ck_oggvbr->setEnabled(!quality);
  ud_ogg_quality->setEnabled(quality);
}

// ---- key filter and tree clicks -------------------------------------------------

QChar Tfm_set::edt_ogg_qualityKeyPress(QChar key) {
  return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) ? key : QChar(u'\b');
}

bool Tfm_set::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ud_ogg_quality && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Printable characters only: editing and dialog keys keep their meaning.
    if (text.size() == 1 && text[0].isPrint() && edt_ogg_qualityKeyPress(text[0]) != text[0]) {
      QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
      QCoreApplication::sendEvent(ud_ogg_quality, &backspace);
      return true;
    }
  }
  if (watched == TreeView1->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    TreeView1Click();
  }
  return QDialog::eventFilter(watched, event);
}
