#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "settings/radio_group.h"
#include "settings/settings_store.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// The settings file after OK on an empty file: every encoder key, section by
// section, each with the value the dialog shows for a missing key.
const std::vector<std::string> WrittenForEmptyFile = {
    "[VOX]",       "VOX=7",
    "[mp3]",       "bitrate=9",      "channel=1",       "frequency=7",     "quality=4",
    "[MP3VBR]",    "Coding Method=0", "vbr bitrate=9",  "vbr quality=4",   "vbrck=1",        "semb=0",
    "[MP3Filt]",   "chHFilt=0",      "chLFilt=0",       "udHFiltF=30",     "udHFiltW=5",     "udLFiltF=15160",
    "udLFiltW=750",
    "[MP3Expert]", "Bit=1",          "short=1",         "allow=0",         "comply=0",       "crc=0",
    "ath=0",       "de=0",
    "[MP3Prest]",  "preset=0",       "alt=0",           "rg_prest=0",      "rg_alt=0",
    "[wav]",       "mode=0",         "bit=1",           "channel=1",       "frequency=7",
    "[wma]",       "format=9",
    "[ogg]",       "channel=1",      "frequency=7",     "bitrate=9",       "max bitrate=9",  "min bitrate=9",
    "quality=300", "oggvbr=0",       "oggquality=0",
};

// A hand-made file with a value other than the missing-key default for every
// encoder key (in range), so a control bound to the wrong key shows up.
const char* const EveryKeyChanged =
    "[VOX]\nVOX=2\n"
    "[mp3]\nbitrate=16\nchannel=3\nfrequency=1\nquality=8\n"
    "[MP3VBR]\nCoding Method=4\nvbr bitrate=13\nvbr quality=2\nvbrck=0\nsemb=1\n"
    "[MP3Filt]\nchHFilt=1\nchLFilt=1\nudHFiltF=120\nudHFiltW=48000\nudLFiltF=16000\nudLFiltW=0\n"
    "[MP3Expert]\nBit=0\nshort=0\nallow=1\ncomply=1\ncrc=1\nath=3\nde=2\n"
    "[MP3Prest]\npreset=1\nalt=0\nrg_prest=10\nrg_alt=4\n"
    "[wav]\nmode=2\nbit=0\nchannel=0\nfrequency=3\n"
    "[wma]\nformat=22\n"
    "[ogg]\nchannel=0\nfrequency=5\nbitrate=14\nmax bitrate=11\nmin bitrate=0\nquality=1000\noggvbr=1\n"
    "oggquality=0\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

// "section/key" -> value.
std::map<std::string, std::string> Values(const std::string& text) {
  std::map<std::string, std::string> values;
  std::string section;
  for (const std::string& line : Lines(text)) {
    if (line.front() == '[') {
      section = line.substr(1, line.size() - 2);
    } else {
      const auto eq = line.find('=');
      values[section + "/" + line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  return values;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogTest() { dlg.Attach(&state, &store); }

  fs::path File() const { return dir / "tonvara.ini"; }
  std::string Text() const { return ReadFileBytes(File()); }
  void Given(const std::string& text) { WriteFileBytes(File(), text); }

  TempDir dir;
  TSettingsStore store{dir / "tonvara.ini"};
  TMainState state;
  dialogs::RecordingDialogs boxes;
  Tfm_set dlg;
};

TEST_F(SettingsDialogTest, OkWithoutChangesWritesEveryEncoderKeyInOrderAndLeavesMemoryAlone) {
  state.FadeIn = true;
  state.FadeOutTime = 17;
  state.NorVolume = 1;
  dlg.FormShow();
  dlg.OkClick();

  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(Lines(Text()), WrittenForEmptyFile);
  EXPECT_TRUE(state.FadeIn);
  EXPECT_FALSE(state.FadeOut);
  EXPECT_EQ(state.FadeInTime, 5);
  EXPECT_EQ(state.FadeOutTime, 17);
  EXPECT_EQ(state.NorVolume, 1);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsDialogTest, EveryControlMakesTheRoundTripThroughTheFile) {
  Given(EveryKeyChanged);
  dlg.FormShow();
  EXPECT_EQ(dlg.cb_mp3_bitrate->currentText(), "320 Kbps");  // full list: index 16
  EXPECT_EQ(dlg.cb_mp3_vbr->currentText(), "256 Kbps");     // short list: index 13
  EXPECT_EQ(dlg.edt_mp3_quality()->text(), "8");
  EXPECT_EQ(dlg.edt_mp3_vbr()->text(), "2");
  EXPECT_EQ(dlg.udHFiltW->value(), 48000);
  EXPECT_EQ(dlg.rg_prest->ItemIndex(), 10);
  EXPECT_EQ(dlg.cb_wma->currentIndex(), 22);
  EXPECT_EQ(dlg.edt_ogg_quality()->text(), "1000");
  dlg.OkClick();
  EXPECT_EQ(Values(Text()), Values(EveryKeyChanged));

  // A second window on the same file reads back the same values.
  Tfm_set again;
  again.Attach(&state, &store);
  again.FormShow();
  again.OkClick();
  EXPECT_EQ(Values(Text()), Values(EveryKeyChanged));
}

TEST_F(SettingsDialogTest, ChangesConfirmedWithOkComeBackAtTheNextOpening) {
  dlg.FormShow();
  dlg.cb_fadeout->setChecked(true);
  dlg.cb_fadeintime->setCurrentIndex(19);
  dlg.cb_nor->setCurrentIndex(49);
  dlg.cb_ogg_channel->setCurrentIndex(0);
  dlg.ck_oggquality->setChecked(true);
  dlg.ud_ogg_quality->setValue(777);
  dlg.chLFilt->setChecked(true);
  dlg.udLFiltF->setValue(12000);
  dlg.OkClick();
  EXPECT_TRUE(state.FadeOut);
  EXPECT_EQ(state.FadeInTime, 20);
  EXPECT_EQ(state.NorVolume, 50);

  dlg.FormShow();
  EXPECT_TRUE(dlg.cb_fadeout->isChecked());
  EXPECT_EQ(dlg.cb_fadeintime->currentText(), "20s");
  EXPECT_EQ(dlg.cb_nor->currentText(), "50");
  EXPECT_EQ(dlg.cb_ogg_channel->currentText(), "单声道");
  EXPECT_TRUE(dlg.ck_oggquality->isChecked());
  EXPECT_EQ(dlg.ud_ogg_quality->value(), 777);
  EXPECT_TRUE(dlg.udLFiltF->isEnabled());
  EXPECT_EQ(dlg.udLFiltF->value(), 12000);
}

TEST_F(SettingsDialogTest, FilterValuesAreKeptWhileTheFilterIsOff) {
  dlg.FormShow();
  dlg.udHFiltF->setValue(99);
  dlg.udLFiltW->setValue(1234);
  ASSERT_FALSE(dlg.udHFiltF->isEnabled());
  dlg.OkClick();
  dlg.FormShow();
  EXPECT_EQ(dlg.udHFiltF->value(), 99);
  EXPECT_EQ(dlg.udLFiltW->value(), 1234);
}

TEST_F(SettingsDialogTest, AnEmptyFileShowsTheDialogsOwnDefaults) {
  for (int opening = 0; opening < 3; ++opening) dlg.FormShow();
  EXPECT_EQ(dlg.edt_mp3_quality()->text(), "4");
  EXPECT_EQ(dlg.edt_mp3_vbr()->text(), "4");
  EXPECT_EQ(dlg.cb_fadeintime->currentText(), "5s");
  EXPECT_EQ(dlg.cb_fadeouttime->currentText(), "5s");
  EXPECT_EQ(dlg.cb_nor->currentText(), "98");
  ASSERT_EQ(dlg.cb_nor->count(), 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(dlg.cb_nor->itemText(i), QString::number(i + 1));
  EXPECT_EQ(dlg.cb_wma->currentText(), "WMA9 44KHz, 128Kbps, 立体声, CBR");
  EXPECT_EQ(dlg.cb_vox->currentText(), "44100 Hz");
  EXPECT_TRUE(Text().empty()) << "opening alone writes nothing";
}

// Values outside their list or range, edited by hand or held in memory, show
// the key's default, so OK writes a valid value and never -1 or 0.
TEST_F(SettingsDialogTest, ValuesOutsideTheirRangeShowAndSaveTheDefault) {
  Given(
      "[mp3]\nbitrate=40\nquality=12\n[MP3VBR]\nCoding Method=-1\n[MP3Filt]\nudHFiltF=50000\n"
      "[MP3Prest]\nrg_alt=5\n[wav]\nmode=3\n[wma]\nformat=47\n[ogg]\nquality=1001\nmin bitrate=abc\n");
  state.FadeInTime = 0;
  state.FadeOutTime = 21;
  state.NorVolume = 150;
  dlg.FormShow();
  EXPECT_EQ(dlg.cb_fadeintime->currentText(), "5s");
  EXPECT_EQ(dlg.cb_fadeouttime->currentText(), "5s");
  EXPECT_EQ(dlg.cb_nor->currentText(), "98");
  EXPECT_EQ(dlg.cb_mp3_bitrate->currentText(), "96 Kbps");
  EXPECT_EQ(dlg.cb_wma->currentIndex(), 9);
  dlg.OkClick();

  EXPECT_EQ(state.FadeInTime, 5);
  EXPECT_EQ(state.FadeOutTime, 5);
  EXPECT_EQ(state.NorVolume, 98);
  const auto values = Values(Text());
  const std::map<std::string, std::string> expected = {
      {"mp3/bitrate", "9"},          {"mp3/quality", "4"}, {"MP3VBR/Coding Method", "0"},
      {"MP3Filt/udHFiltF", "30"},    {"MP3Prest/rg_alt", "0"}, {"wav/mode", "0"},
      {"wma/format", "9"},           {"ogg/quality", "300"},   {"ogg/min bitrate", "9"}};
  for (const auto& [key, value] : expected) EXPECT_EQ(values.at(key), value) << key;
  for (const auto& [key, value] : values) EXPECT_NE(value, "-1") << key;
}

TEST_F(SettingsDialogTest, DefaultsSetsEveryControlToItsTable) {
  Given(EveryKeyChanged);
  state.FadeIn = state.FadeOut = true;
  state.FadeInTime = state.FadeOutTime = 12;
  state.NorVolume = 40;
  dlg.FormShow();
  dlg.Button2Click();

  EXPECT_FALSE(dlg.cb_fadein->isChecked());
  EXPECT_FALSE(dlg.cb_fadeout->isChecked());
  EXPECT_EQ(dlg.cb_fadeintime->currentText(), "6s");  // 5s when the key is missing
  EXPECT_EQ(dlg.cb_fadeouttime->currentText(), "6s");
  EXPECT_EQ(dlg.cb_nor->currentText(), "98");
  EXPECT_EQ(dlg.cb_vox->currentText(), "44100 Hz");
  EXPECT_EQ(dlg.cb_mp3_bitrate->currentText(), "96 Kbps");
  EXPECT_EQ(dlg.cb_mp3_channel->currentText(), "立体声");
  EXPECT_EQ(dlg.cb_mp3_frequency->currentText(), "44100 Hz");
  EXPECT_EQ(dlg.ud_mp3_quality->value(), 5);  // 4 when the key is missing
  EXPECT_EQ(dlg.ud_mp3_vbr->value(), 5);
  EXPECT_EQ(dlg.cb_mp3vbrcm->currentText(), "无");
  EXPECT_EQ(dlg.cb_mp3_vbr->currentText(), "128 Kbps");
  EXPECT_TRUE(dlg.ck_mp3_VBR->isChecked());
  EXPECT_FALSE(dlg.ck_mp3_semb->isChecked());
  EXPECT_FALSE(dlg.chHFilt->isChecked());
  EXPECT_FALSE(dlg.chLFilt->isChecked());
  EXPECT_EQ(dlg.udHFiltF->value(), 30);
  EXPECT_EQ(dlg.udHFiltW->value(), 5);
  EXPECT_EQ(dlg.udLFiltF->value(), 15160);
  EXPECT_EQ(dlg.udLFiltW->value(), 750);
  EXPECT_TRUE(dlg.ck_bit->isChecked());
  EXPECT_TRUE(dlg.ck_short->isChecked());
  EXPECT_FALSE(dlg.ck_allow->isChecked());
  EXPECT_FALSE(dlg.ck_comply->isChecked());
  EXPECT_FALSE(dlg.ck_crc->isChecked());
  EXPECT_EQ(dlg.cb_ath->currentText(), "默认");
  EXPECT_EQ(dlg.cb_de->currentText(), "默认");
  EXPECT_FALSE(dlg.ck_preset->isChecked());
  EXPECT_FALSE(dlg.ck_alt->isChecked());
  EXPECT_EQ(dlg.rg_prest->ItemIndex(), 0);
  EXPECT_EQ(dlg.rg_alt->ItemIndex(), 0);
  EXPECT_EQ(dlg.rb_cdmode->ItemIndex(), 0);
  EXPECT_EQ(dlg.cb_wav_bit->currentText(), "16 bps");
  EXPECT_EQ(dlg.cb_wav_channel->currentText(), "立体声");
  EXPECT_EQ(dlg.cb_wav_frequency->currentText(), "48000 Hz");  // 44100 Hz when the key is missing
  EXPECT_EQ(dlg.cb_wma->currentText(), "WMA9 44KHz, 128Kbps, 立体声, CBR");
  EXPECT_EQ(dlg.cb_ogg_channel->currentText(), "立体声");
  EXPECT_EQ(dlg.cb_ogg_fre->currentText(), "44100 Hz");
  EXPECT_EQ(dlg.cb_ogg_bitrate->currentText(), "128 Kbps");
  EXPECT_EQ(dlg.cb_ogg_maxbit->currentText(), "128 Kbps");
  EXPECT_EQ(dlg.cb_ogg_minbit->currentText(), "128 Kbps");
  EXPECT_EQ(dlg.ud_ogg_quality->value(), 300);
  EXPECT_FALSE(dlg.ck_oggvbr->isChecked());
  EXPECT_FALSE(dlg.ck_oggquality->isChecked());

  // OK then stores the Defaults table, including its four different values.
  dlg.OkClick();
  const auto values = Values(Text());
  EXPECT_EQ(values.at("mp3/quality"), "5");
  EXPECT_EQ(values.at("MP3VBR/vbr quality"), "5");
  EXPECT_EQ(values.at("wav/frequency"), "8");
  EXPECT_EQ(state.FadeInTime, 6);
  EXPECT_EQ(state.FadeOutTime, 6);
  EXPECT_FALSE(state.FadeIn);
}

TEST_F(SettingsDialogTest, DefaultsThenCancelChangesNothing) {
  Given(EveryKeyChanged);
  state.FadeIn = true;
  state.FadeInTime = 3;
  state.NorVolume = 70;
  dlg.show();
  dlg.FormShow();
  dlg.Button2Click();
  dlg.CancelClick();

  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(Text(), EveryKeyChanged);
  EXPECT_TRUE(state.FadeIn);
  EXPECT_EQ(state.FadeInTime, 3);
  EXPECT_EQ(state.NorVolume, 70);
  dlg.FormShow();
  EXPECT_EQ(dlg.cb_nor->currentText(), "70");
  EXPECT_EQ(dlg.cb_wma->currentIndex(), 22);
}

TEST_F(SettingsDialogTest, DefaultsLeavesThePageShownAndTheCommandLineAlone) {
  dlg.FormShow();
  dlg.TreeView1->setCurrentItem(dlg.NodeItem(7));
  dlg.TreeView1Click();
  dlg.txtCommLine->setPlainText("--abr 160");
  dlg.Button2Click();
  EXPECT_EQ(dlg.windowTitle(), "MP3 命令行设置");
  EXPECT_EQ(dlg.CommandLineText(), "--abr 160");
}

TEST_F(SettingsDialogTest, TheCommandLineIsKeptBetweenOpeningsWhateverClosedTheDialog) {
  dlg.FormShow();
  EXPECT_EQ(dlg.CommandLineText(), "");
  dlg.txtCommLine->setPlainText("-q 2 --lowpass 16\n--nores");
  dlg.CancelClick();
  EXPECT_EQ(dlg.CommandLineText(), "-q 2 --lowpass 16\n--nores");
  dlg.FormShow();
  dlg.OkClick();
  dlg.FormShow();
  EXPECT_EQ(dlg.CommandLineText(), "-q 2 --lowpass 16\n--nores");
  EXPECT_EQ(Text().find("lowpass"), std::string::npos) << "the command line is never stored";
}

TEST_F(SettingsDialogTest, CodingModeRule) {
  dlg.FormShow();
  for (int mode = 4; mode >= 0; --mode) {
    dlg.cb_mp3vbrcm->setCurrentIndex(mode);
    for (QWidget* w : std::initializer_list<QWidget*>{dlg.cb_mp3_vbr, dlg.edt_mp3_vbr(), dlg.ud_mp3_vbr,
                                                      dlg.ck_mp3_VBR, dlg.ck_mp3_semb})
      EXPECT_EQ(w->isEnabled(), mode != 0) << "mode " << mode;
  }
  dlg.cb_mp3vbrcm->setCurrentIndex(3);  // "新"
  dlg.Button2Click();
  EXPECT_EQ(dlg.cb_mp3vbrcm->currentText(), "无");
  for (QWidget* w : std::initializer_list<QWidget*>{dlg.cb_mp3_vbr, dlg.ud_mp3_vbr, dlg.ck_mp3_VBR, dlg.ck_mp3_semb})
    EXPECT_FALSE(w->isEnabled());
}

TEST_F(SettingsDialogTest, CodingModeRuleAppliesWhenLoading) {
  Given("[MP3VBR]\nCoding Method=3\n");
  dlg.FormShow();
  EXPECT_TRUE(dlg.cb_mp3_vbr->isEnabled());
  Given("[MP3VBR]\nCoding Method=0\n");
  dlg.FormShow();
  EXPECT_FALSE(dlg.ck_mp3_semb->isEnabled());
}

TEST_F(SettingsDialogTest, WavModeRule) {
  for (int mode : {2, 0, 1, 2}) {
    Given("[wav]\nmode=" + std::to_string(mode) + "\n");
    dlg.FormShow();
    for (QWidget* w : {dlg.cb_wav_frequency, dlg.cb_wav_bit, dlg.cb_wav_channel})
      EXPECT_EQ(w->isEnabled(), mode == 2) << "mode " << mode;
  }
  dlg.rb_cdmode->Button(0)->click();
  EXPECT_FALSE(dlg.cb_wav_bit->isEnabled());
  dlg.rb_cdmode->Button(2)->click();
  EXPECT_TRUE(dlg.cb_wav_bit->isEnabled());
}

TEST_F(SettingsDialogTest, FilterRules) {
  dlg.FormShow();
  for (QWidget* w : std::initializer_list<QWidget*>{dlg.udHFiltF, dlg.udHFiltW, dlg.Label15, dlg.udLFiltF,
                                                    dlg.udLFiltW, dlg.Label20})
    EXPECT_FALSE(w->isEnabled());
  dlg.chHFilt->click();
  EXPECT_TRUE(dlg.udHFiltF->isEnabled());
  EXPECT_TRUE(dlg.udHFiltW->isEnabled());
  EXPECT_TRUE(dlg.Label15->isEnabled());
  EXPECT_FALSE(dlg.udLFiltF->isEnabled()) << "the low-pass frame follows its own box";
  dlg.chLFilt->click();
  dlg.chHFilt->click();
  EXPECT_FALSE(dlg.udHFiltW->isEnabled());
  EXPECT_TRUE(dlg.udLFiltF->isEnabled());
  EXPECT_TRUE(dlg.udLFiltW->isEnabled());
  EXPECT_TRUE(dlg.Label20->isEnabled());
}

struct PresetCase {
  bool preset, alt;
  bool presetBoxEnabled, altBoxEnabled, presetsEnabled, altPresetsEnabled;
};

TEST_F(SettingsDialogTest, PresetRulesWhenLoading) {
  const PresetCase cases[] = {
      {false, false, true, true, false, false},
      {true, false, true, false, true, false},
      {false, true, false, true, false, true},
      {true, true, false, false, false, true},  // edited outside the program
  };
  for (const PresetCase& c : cases) {
    Given(std::string("[MP3Prest]\npreset=") + (c.preset ? "1" : "0") + "\nalt=" + (c.alt ? "1" : "0") + "\n");
    dlg.FormShow();
    SCOPED_TRACE(testing::Message() << "preset " << c.preset << " alt " << c.alt);
    EXPECT_EQ(dlg.ck_preset->isChecked(), c.preset);
    EXPECT_EQ(dlg.ck_alt->isChecked(), c.alt);
    EXPECT_EQ(dlg.ck_preset->isEnabled(), c.presetBoxEnabled);
    EXPECT_EQ(dlg.ck_alt->isEnabled(), c.altBoxEnabled);
    EXPECT_EQ(dlg.rg_prest->isEnabled(), c.presetsEnabled);
    EXPECT_EQ(dlg.rg_alt->isEnabled(), c.altPresetsEnabled);
  }
  // From both ticked, Defaults clears both boxes and re-enables them.
  dlg.Button2Click();
  EXPECT_FALSE(dlg.ck_preset->isChecked());
  EXPECT_FALSE(dlg.ck_alt->isChecked());
  EXPECT_TRUE(dlg.ck_preset->isEnabled());
  EXPECT_TRUE(dlg.ck_alt->isEnabled());
  EXPECT_FALSE(dlg.rg_prest->isEnabled());
  EXPECT_FALSE(dlg.rg_alt->isEnabled());
}

TEST_F(SettingsDialogTest, AtMostOnePresetBoxCanBeTicked) {
  dlg.FormShow();
  dlg.ck_preset->click();
  EXPECT_TRUE(dlg.rg_prest->isEnabled());
  EXPECT_FALSE(dlg.ck_alt->isEnabled());
  dlg.ck_preset->click();
  EXPECT_TRUE(dlg.ck_alt->isEnabled());
  EXPECT_FALSE(dlg.rg_prest->isEnabled());
  dlg.ck_alt->click();
  EXPECT_TRUE(dlg.rg_alt->isEnabled());
  EXPECT_FALSE(dlg.ck_preset->isEnabled());
  dlg.rg_alt->Button(3)->click();
  EXPECT_EQ(dlg.rg_alt->ItemIndex(), 3);
  EXPECT_EQ(dlg.rg_alt->Button(3)->text(), "Extrene");
}

struct OggCase {
  bool vbr, quality;
  bool vbrBoxEnabled, qualityBoxEnabled, limitsEnabled, qualityEditEnabled;
};

TEST_F(SettingsDialogTest, OggRules) {
  const OggCase cases[] = {
      {false, false, true, true, false, false},
      {true, false, true, false, true, false},
      {false, true, false, true, false, true},
      {true, true, false, false, true, true},
  };
  for (const OggCase& c : cases) {
    Given(std::string("[ogg]\noggvbr=") + (c.vbr ? "1" : "0") + "\noggquality=" + (c.quality ? "1" : "0") + "\n");
    dlg.FormShow();
    SCOPED_TRACE(testing::Message() << "vbr " << c.vbr << " quality " << c.quality);
    EXPECT_EQ(dlg.ck_oggvbr->isEnabled(), c.vbrBoxEnabled);
    EXPECT_EQ(dlg.ck_oggquality->isEnabled(), c.qualityBoxEnabled);
    EXPECT_EQ(dlg.cb_ogg_minbit->isEnabled(), c.limitsEnabled);
    EXPECT_EQ(dlg.cb_ogg_maxbit->isEnabled(), c.limitsEnabled);
    EXPECT_EQ(dlg.edt_ogg_quality()->isEnabled(), c.qualityEditEnabled);
    EXPECT_EQ(dlg.ud_ogg_quality->isEnabled(), c.qualityEditEnabled);
    EXPECT_TRUE(dlg.cb_ogg_bitrate->isEnabled());
  }
  Given("");
  dlg.FormShow();
  dlg.ck_oggvbr->click();
  EXPECT_FALSE(dlg.ck_oggquality->isEnabled());
  EXPECT_TRUE(dlg.cb_ogg_maxbit->isEnabled());
  dlg.ck_oggvbr->click();
  dlg.ck_oggquality->click();
  EXPECT_FALSE(dlg.ck_oggvbr->isEnabled());
  EXPECT_TRUE(dlg.ud_ogg_quality->isEnabled());
}

TEST(OggQualityKeyFilter, ADigitStaysAnythingElseBecomesABackspace) {
  for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(Tfm_set::edt_ogg_qualityKeyPress(QChar(c)), QChar(c));
  for (QChar c : {QChar('a'), QChar('-'), QChar(' '), QChar('.'), QChar('\b'), QChar(u'１'), QChar(u'质')})
    EXPECT_EQ(Tfm_set::edt_ogg_qualityKeyPress(c), QChar('\b')) << int{c.unicode()};
}

TEST_F(SettingsDialogTest, TypingIntoTheOggQualityEdit) {
  Given("[ogg]\noggquality=1\nquality=123\n");
  dlg.show();
  dlg.FormShow();
  dlg.ShowPage(10);
  TUpDownEdit* ud = dlg.ud_ogg_quality;
  ud->setFocus();
  dlg.edt_ogg_quality()->end(false);
  QTest::keyClick(ud, Qt::Key_X);  // deletes the "3" before the caret
  EXPECT_EQ(dlg.edt_ogg_quality()->text(), "12");
  QTest::keyClicks(ud, "4");
  EXPECT_EQ(dlg.edt_ogg_quality()->text(), "124");
  QTest::keyClicks(ud, "-.");
  EXPECT_EQ(dlg.edt_ogg_quality()->text(), "1");
  QTest::keyClick(ud, Qt::Key_Left);  // editing keys keep their meaning
  QTest::keyClicks(ud, "9");
  EXPECT_EQ(dlg.edt_ogg_quality()->text(), "91");

  // At most five characters.
  dlg.edt_ogg_quality()->setText("00300");
  dlg.edt_ogg_quality()->end(false);
  QTest::keyClicks(ud, "1");
  EXPECT_EQ(dlg.edt_ogg_quality()->text(), "00300");
  EXPECT_EQ(dlg.edt_ogg_quality()->maxLength(), 5);

  // The arrows run from 0 to 1000 in steps of 1; OK stores their position.
  ud->setValue(999);
  ud->stepUp();
  ud->stepUp();
  EXPECT_EQ(ud->value(), 1000);
  ud->setValue(1);
  ud->stepDown();
  ud->stepDown();
  EXPECT_EQ(ud->value(), 0);
  dlg.edt_ogg_quality()->setText("42");
  dlg.OkClick();
  EXPECT_EQ(Values(Text()).at("ogg/quality"), "42");
}

TEST_F(SettingsDialogTest, QualityFieldsAreSteppedByTheirArrowsOnly) {
  dlg.show();
  dlg.FormShow();
  dlg.ShowPage(1);
  EXPECT_TRUE(dlg.edt_mp3_quality()->isReadOnly());
  EXPECT_TRUE(dlg.edt_mp3_vbr()->isReadOnly());
  dlg.ud_mp3_quality->setFocus();
  QTest::keyClicks(dlg.ud_mp3_quality, "7");
  EXPECT_EQ(dlg.ud_mp3_quality->value(), 4);
  QTest::keyClick(dlg.ud_mp3_quality, Qt::Key_Up);
  EXPECT_EQ(dlg.ud_mp3_quality->value(), 5);
  EXPECT_EQ(dlg.ud_mp3_quality->minimum(), 0);
  EXPECT_EQ(dlg.ud_mp3_quality->maximum(), 9);
  EXPECT_EQ(dlg.ud_mp3_vbr->maximum(), 9);
  EXPECT_EQ(dlg.udLFiltF->maximum(), 48000);
  EXPECT_EQ(dlg.udLFiltF->minimum(), 0);
}

TEST_F(SettingsDialogTest, TheWmaListCanBeTypedIntoWithoutGainingEntries) {
  dlg.FormShow();
  ASSERT_TRUE(dlg.cb_wma->isEditable());
  ASSERT_EQ(dlg.cb_wma->count(), 47);
  EXPECT_EQ(dlg.cb_wma->itemText(20), dlg.cb_wma->itemText(22));
  EXPECT_EQ(dlg.cb_wma->itemText(46), "WMA9 44KHz, 立体声, 无损耗");

  dlg.cb_wma->setCurrentIndex(22);  // reads like 20, stays 22
  dlg.OkClick();
  EXPECT_EQ(Values(Text()).at("wma/format"), "22");

  dlg.FormShow();
  dlg.cb_wma->setEditText("WMA9 16KHz, 16Kbps, 单声, CBR");  // names entry 29
  dlg.OkClick();
  EXPECT_EQ(Values(Text()).at("wma/format"), "29");

  dlg.FormShow();
  dlg.cb_wma->setEditText("my own format");  // names nothing: the chosen entry stays
  dlg.OkClick();
  EXPECT_EQ(Values(Text()).at("wma/format"), "29");
  EXPECT_EQ(dlg.cb_wma->count(), 47);
}

TEST_F(SettingsDialogTest, EveryNodeShowsItsPageUnderItsTitle) {
  struct NodeCase {
    int node;
    const char* caption;
    const char* title;
    QGroupBox* page;
  };
  const NodeCase cases[] = {
      {0, "常规", "常规设置", dlg.gb_cdgeneral},       {1, "MP3", "MP3 常规设置", dlg.gb_mp3general},
      {2, "常规", "MP3 常规设置", dlg.gb_mp3general},  {3, "VBR", "Set MP3 VBR", dlg.gb_mp3vbr},
      {4, "过滤", "MP3 过滤设置", dlg.gb_filter},      {5, "高级", "MP3 高级设置", dlg.gb_expert},
      {6, "预调", "MP3 预调设置", dlg.gb_presets},     {7, "命令行", "MP3 命令行设置", dlg.gb_command},
      {8, "WAV", "WAV 格式设置", dlg.gb_wav},          {9, "WMA/VOX", "WMA/RM 格式设置", dlg.gb_wma},
      {10, "OGG", "OGG 格式设置", dlg.gb_ogg},
  };
  dlg.show();
  for (const NodeCase& c : cases) {
    SCOPED_TRACE(c.node);
    EXPECT_EQ(dlg.NodeItem(c.node)->text(0), QString::fromUtf8(c.caption));
    EXPECT_EQ(dlg.NodeItem(c.node)->parent(), c.node >= 2 && c.node <= 7 ? dlg.NodeItem(1) : nullptr);
    dlg.ShowPage(c.node);
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(c.title));
    int visible = 0;
    for (QGroupBox* page : dlg.NodePages()) visible += page->isVisible() && page != c.page;
    EXPECT_EQ(visible, 0);
    EXPECT_TRUE(c.page->isVisible());
  }
  dlg.ShowPage(11);
  dlg.ShowPage(-1);
  EXPECT_EQ(dlg.windowTitle(), "OGG 格式设置");
  EXPECT_TRUE(dlg.gb_ogg->isVisible());
}

TEST_F(SettingsDialogTest, OnlyAMouseClickInTheTreeSwitchesThePage) {
  dlg.show();
  dlg.FormShow();
  EXPECT_EQ(dlg.windowTitle(), "常规设置");
  EXPECT_EQ(dlg.TreeView1->currentItem(), dlg.NodeItem(0));
  dlg.TreeView1->setFocus();
  QTest::keyClick(dlg.TreeView1, Qt::Key_Down);
  QTest::keyClick(dlg.TreeView1, Qt::Key_Down);
  EXPECT_EQ(dlg.TreeView1->currentItem(), dlg.NodeItem(2));
  EXPECT_EQ(dlg.windowTitle(), "常规设置");
  EXPECT_TRUE(dlg.gb_cdgeneral->isVisible());

  const QRect vbr = dlg.TreeView1->visualItemRect(dlg.NodeItem(3));
  QTest::mouseClick(dlg.TreeView1->viewport(), Qt::LeftButton, {}, vbr.center());
  EXPECT_EQ(dlg.TreeView1->currentItem(), dlg.NodeItem(3));
  EXPECT_EQ(dlg.windowTitle(), "Set MP3 VBR");
  EXPECT_TRUE(dlg.gb_mp3vbr->isVisible());

  // The next opening shows the page last chosen.
  dlg.CancelClick();
  dlg.show();
  dlg.FormShow();
  EXPECT_EQ(dlg.windowTitle(), "Set MP3 VBR");
  EXPECT_TRUE(dlg.gb_mp3vbr->isVisible());

  // With no node selected, an opening selects node 0 and shows its page.
  dlg.TreeView1->clearSelection();
  dlg.FormShow();
  EXPECT_EQ(dlg.SelectedNode(), 0);
  EXPECT_EQ(dlg.windowTitle(), "常规设置");
  EXPECT_TRUE(dlg.gb_cdgeneral->isVisible());
}

// The real modal path: Execute loads the controls, runs the dialog and
// returns how it was closed.
TEST_F(SettingsDialogTest, ExecuteRunsTheDialogModallyUntilOkOrTheCloseBox) {
  state.NorVolume = 60;
  QTimer::singleShot(0, &dlg, [this] {
    EXPECT_TRUE(dlg.isModal());
    EXPECT_EQ(dlg.cb_nor->currentText(), "60");
    dlg.cb_nor->setCurrentIndex(79);
    dlg.close();  // the close box: nothing is kept
  });
  EXPECT_EQ(dlg.Execute(), QDialog::Rejected);
  EXPECT_EQ(state.NorVolume, 60);
  EXPECT_TRUE(Text().empty());

  QTimer::singleShot(0, &dlg, [this] {
    dlg.cb_nor->setCurrentIndex(79);
    dlg.Ok->click();
  });
  EXPECT_EQ(dlg.Execute(), QDialog::Accepted);
  EXPECT_EQ(state.NorVolume, 80);
  EXPECT_EQ(Lines(Text()), WrittenForEmptyFile);
}

TEST_F(SettingsDialogTest, ARefusedWriteShowsTheErrorAndKeepsTheDialogOpen) {
  // A folder in place of the settings file: every write fails, for root too.
  fs::create_directory(dir / "blocked.ini");
  TSettingsStore blocked(dir / "blocked.ini");
  dlg.Attach(&state, &blocked);
  dlg.show();
  dlg.FormShow();
  dlg.cb_fadein->setChecked(true);
  dlg.cb_nor->setCurrentIndex(9);
  dlg.OkClick();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].kind, dialogs::RecordingDialogs::Kind::Error);
  EXPECT_EQ(boxes.boxes[0].text, "Unable to write to " + blocked.FileName().string());
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  // The fade and normalization values had already reached memory.
  EXPECT_TRUE(state.FadeIn);
  EXPECT_EQ(state.NorVolume, 10);
  dlg.CancelClick();
}

}  // namespace
