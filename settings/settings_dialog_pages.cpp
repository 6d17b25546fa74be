// Construction of the settings dialog: the page tree, the ten pages with
// their controls, the buttons, and the signals that drive the enabling rules.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>
#include <stdexcept>

#include "platform/chinese_font.h"
#include "settings/radio_group.h"
#include "settings/settings_dialog.h"
#include "settings/list_captions.h"

namespace {

// Geometry of the window (client area) and its three parts.
constexpr int WindowWidth = 388;
constexpr int WindowHeight = 303;
constexpr QRect TreeRect{5, 5, 129, 230};
constexpr QRect PageRect{139, 3, 244, 235};
constexpr int ButtonWidth = 75;
constexpr int PushButtonHeight = 25;
constexpr int ButtonTop = 266;
constexpr int ButtonGap = 6;

// Spacing inside the pages: tight, so that every page fits its 244 x 235 box.
constexpr QMargins PageMargin{3, 2, 3, 2};
constexpr QMargins FrameMargin{4, 1, 4, 3};
constexpr int RowSpacing = 2;

struct NodeEntry {
  const char* caption;
  int parent;  // node number of the parent; -1 at the top
  const char* title;
};

// The page tree in depth-first order: node number = position in this table.
constexpr std::array<NodeEntry, Tfm_set::NodeCount> Nodes = {{
    {"常规", -1, "常规设置"},
    {"MP3", -1, "MP3 常规设置"},
    {"常规", 1, "MP3 常规设置"},
    {"VBR", 1, "Set MP3 VBR"},
    {"过滤", 1, "MP3 过滤设置"},
    {"高级", 1, "MP3 高级设置"},
    {"预调", 1, "MP3 预调设置"},
    {"命令行", 1, "MP3 命令行设置"},
    {"WAV", -1, "WAV 格式设置"},
    {"WMA/VOX", -1, "WMA/RM 格式设置"},
    {"OGG", -1, "OGG 格式设置"},
}};

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

template <std::size_t N>
QStringList Items(const std::array<std::string_view, N>& list) {
  QStringList items;
  for (std::string_view entry : list) items << Text(entry);
  return items;
}

template <std::size_t N>
QComboBox* NewList(QWidget* parent, const std::array<std::string_view, N>& list) {
  auto* combo = new QComboBox(parent);
  combo->addItems(Items(list));
  return combo;
}

// "1s" .. "20s": one entry per second of the fade-time range.
QComboBox* NewFadeTimeList(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  for (int s = keys::FadeInTime.min; s <= keys::FadeInTime.max; ++s) combo->addItem(QString::number(s) + "s");
  return combo;
}

QVBoxLayout* Column(QWidget* owner, QMargins margins) {
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(margins);
  layout->setSpacing(RowSpacing);
  return layout;
}

QFormLayout* Form(QWidget* owner = nullptr, QMargins margins = {}) {
  auto* form = owner ? new QFormLayout(owner) : new QFormLayout;
  form->setContentsMargins(margins);
  form->setHorizontalSpacing(4);
  form->setVerticalSpacing(RowSpacing);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  form->setRowWrapPolicy(QFormLayout::DontWrapRows);
  return form;
}

QGridLayout* Grid(QWidget* frame) {
  auto* grid = new QGridLayout(frame);
  grid->setContentsMargins(FrameMargin);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(RowSpacing);
  return grid;
}

// Distance from a check box's left edge to its caption.
int CheckBoxTextIndent(const QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
}

QGroupBox* NewFrame(const char* caption, QWidget* parent) { return new QGroupBox(QString::fromUtf8(caption), parent); }

QLabel* NewLabel(const char* caption, QWidget* parent) { return new QLabel(QString::fromUtf8(caption), parent); }

// A quality field: a read-only edit showing one digit, stepped by its arrows.
TUpDownEdit* NewQualityField(QWidget* parent, const SettingKey& key) {
  auto* field = new TUpDownEdit(parent);
  field->setRange(key.min, key.max);
  field->lineEdit()->setReadOnly(true);
  field->setFixedWidth(44);
  return field;
}

// A spin field of the filter page: 0 to 48000 Hz in steps of 1.
QSpinBox* NewSpinField(QWidget* parent, const SettingKey& key) {
  auto* field = new QSpinBox(parent);
  field->setRange(key.min, key.max);
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("48000")) + 30);
  return field;
}

// A field of the form that keeps its own width, at the left of its row.
QWidget* LeftAligned(QWidget* field) {
  auto* holder = new QWidget(field->parentWidget());
  auto* row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(field);
  row->addStretch();
  return holder;
}

// Heights for one line of the CJK font: check boxes and radio buttons, and
// lists and fields with their frame. The style's own heights are a few pixels
// taller, more than the pages can hold.
int ButtonHeight(const QWidget* w) { return w->fontMetrics().height() + 2; }
int FieldHeight(const QWidget* w) { return w->fontMetrics().height() + 4; }

void CompactHeights(QWidget* root) {
  for (QComboBox* w : root->findChildren<QComboBox*>()) w->setFixedHeight(FieldHeight(w));
  for (QAbstractSpinBox* w : root->findChildren<QAbstractSpinBox*>()) w->setFixedHeight(FieldHeight(w));
  for (QCheckBox* w : root->findChildren<QCheckBox*>()) w->setFixedHeight(ButtonHeight(w));
  for (QRadioButton* w : root->findChildren<QRadioButton*>()) w->setFixedHeight(ButtonHeight(w));
}

// A radio group with its check box sitting on the frame line in place of a
// caption. The box is a sibling of the group, so disabling the group leaves
// the box alone.
QWidget* CheckedFrame(QCheckBox* box, TRadioGroup* group, QWidget* parent) {
  auto* holder = new QWidget(parent);
  box->setParent(holder);
  group->setParent(holder);
  box->setFixedHeight(ButtonHeight(box));
  const int half = box->height() / 2;
  auto* column = new QVBoxLayout(holder);
  column->setContentsMargins(0, half, 0, 0);
  column->addWidget(group);
  group->layout()->setContentsMargins(FrameMargin.left(), half + 2, FrameMargin.right(), FrameMargin.bottom());
  box->setAutoFillBackground(true);
  box->move(8, 0);
  box->resize(box->sizeHint().width(), box->height());
  box->raise();
  return holder;
}

}  // namespace

// ---- window ---------------------------------------------------------------

void Tfm_set::CreateTree() {
  TreeView1 = new QTreeWidget(this);
  TreeView1->setObjectName(QStringLiteral("TreeView1"));
  TreeView1->setGeometry(TreeRect);
  TreeView1->setHeaderHidden(true);
  TreeView1->setColumnCount(1);
  TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeView1->setIndentation(14);
  for (const NodeEntry& entry : Nodes) {
    QTreeWidgetItem* item = entry.parent < 0
                                ? new QTreeWidgetItem(TreeView1)
                                : new QTreeWidgetItem(nodeItems_.at(static_cast<std::size_t>(entry.parent)));
    item->setText(0, QString::fromUtf8(entry.caption));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    nodeItems_.push_back(item);
    nodeTitles_[nodeItems_.size() - 1] = QString::fromUtf8(entry.title);
  }
  TreeView1->expandAll();
  // A mouse click anywhere in the tree shows the page of the selected node.
  TreeView1->viewport()->installEventFilter(this);
}

QGroupBox* Tfm_set::NewPage() {
  auto* page = new QGroupBox(this);
  page->setGeometry(PageRect);
  page->hide();
  return page;
}

void Tfm_set::CreatePages() {
  CreateGeneralPage();
  CreateMp3GeneralPage();
  CreateMp3VbrPage();
  CreateFilterPage();
  CreateExpertPage();
  CreatePresetsPage();
  CreateCommandPage();
  CreateWavPage();
  CreateWmaPage();
  CreateOggPage();
  nodePages_ = {gb_cdgeneral, gb_mp3general, gb_mp3general, gb_mp3vbr, gb_filter, gb_expert,
                gb_presets,   gb_command,    gb_wav,        gb_wma,    gb_ogg};
}

void Tfm_set::CreateButtons() {
  Ok = new QPushButton(QStringLiteral("确定"), this);
  Button2 = new QPushButton(QStringLiteral("默认"), this);
  Cancel = new QPushButton(QStringLiteral("取消"), this);
  int left = WindowWidth - 5 - 3 * ButtonWidth - 2 * ButtonGap;
  for (QPushButton* button : {Ok, Button2, Cancel}) {
    button->setGeometry(left, ButtonTop, ButtonWidth, PushButtonHeight);
    button->setAutoDefault(false);
    left += ButtonWidth + ButtonGap;
  }
  connect(Ok, &QPushButton::clicked, this, &Tfm_set::OkClick);
  connect(Button2, &QPushButton::clicked, this, &Tfm_set::Button2Click);
  connect(Cancel, &QPushButton::clicked, this, &Tfm_set::CancelClick);
}

Tfm_set::Tfm_set(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fm_set"));
  // Single fixed border with system menu and minimize box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(ChineseFont(9));
  setFixedSize(WindowWidth, WindowHeight);
  CreateTree();
  CreatePages();
  CreateButtons();
  CompactHeights(this);
  ConnectRules();
  BindEncoderKeys();
  ShowPage(0);
}

// ---- pages ----------------------------------------------------------------

void Tfm_set::CreateGeneralPage() {
  gb_cdgeneral = NewPage();
  QVBoxLayout* page = Column(gb_cdgeneral, PageMargin);

  QGroupBox* fade = NewFrame("淡入淡出设置", gb_cdgeneral);
  QGridLayout* grid = Grid(fade);
  cb_fadein = new QCheckBox(QStringLiteral("淡入"), fade);
  cb_fadeintime = NewFadeTimeList(fade);
  cb_fadeout = new QCheckBox(QStringLiteral("淡出"), fade);
  cb_fadeouttime = NewFadeTimeList(fade);
  grid->addWidget(cb_fadein, 0, 0);
  grid->addWidget(cb_fadeintime, 0, 1);
  grid->addWidget(cb_fadeout, 1, 0);
  grid->addWidget(cb_fadeouttime, 1, 1);
  grid->setColumnStretch(2, 1);
  page->addWidget(fade);

  QGroupBox* nor = NewFrame("规范设置", gb_cdgeneral);
  auto* row = new QHBoxLayout(nor);
  row->setContentsMargins(FrameMargin);
  row->setSpacing(2);
  cb_nor = new QComboBox(nor);  // filled when the dialog opens
  cb_nor->setMinimumContentsLength(3);
  row->addWidget(NewLabel("标准化音量   ", nor));
  row->addWidget(cb_nor);
  row->addWidget(NewLabel("% ", nor));
  row->addStretch();
  page->addWidget(nor);
  page->addStretch();
}

void Tfm_set::CreateMp3GeneralPage() {
  gb_mp3general = NewPage();
  QVBoxLayout* page = Column(gb_mp3general, PageMargin);
  QFormLayout* form = Form();
  cb_mp3_frequency = NewList(gb_mp3general, captions::SampleRates);
  cb_mp3_channel = NewList(gb_mp3general, captions::Mp3Channels);
  cb_mp3_bitrate = NewList(gb_mp3general, captions::FullBitrates);
  ud_mp3_quality = NewQualityField(gb_mp3general, keys::Mp3Quality);
  form->addRow(NewLabel("频率: ", gb_mp3general), cb_mp3_frequency);
  form->addRow(NewLabel("声道: ", gb_mp3general), cb_mp3_channel);
  form->addRow(NewLabel("比特率: ", gb_mp3general), cb_mp3_bitrate);
  form->addRow(NewLabel("质量: ", gb_mp3general), LeftAligned(ud_mp3_quality));
  page->addLayout(form);

  QGroupBox* notes = NewFrame("注释:  ", gb_mp3general);
  QVBoxLayout* lines = Column(notes, FrameMargin);
  lines->setSpacing(1);
  for (const char* note : {"8000Hz 或 8Kbps - 质量差, 文件小.", "48000Hz 或 320Kbps - 质量好, 文件大.",
                           "质量: 0 - 最好品质, 转换速度慢.", "质量: 9 - 低品质, 转换速度快. "}) {
    lines->addWidget(NewLabel(note, notes));
  }
  page->addWidget(notes);
  page->addStretch();
}

void Tfm_set::CreateMp3VbrPage() {
  gb_mp3vbr = NewPage();
  QVBoxLayout* page = Column(gb_mp3vbr, PageMargin);
  QFormLayout* mode = Form();
  cb_mp3vbrcm = NewList(gb_mp3vbr, captions::VbrMethods);
  mode->addRow(NewLabel("编码模式:", gb_mp3vbr), cb_mp3vbrcm);
  page->addLayout(mode);

  QGroupBox* vbr = NewFrame("VBR-可变比特率/质量: ", gb_mp3vbr);
  QFormLayout* form = Form(vbr, FrameMargin);
  cb_mp3_vbr = NewList(vbr, captions::ShortBitrates);
  ud_mp3_vbr = NewQualityField(vbr, keys::VbrQuality);
  form->addRow(NewLabel("VBR 比特率: ", vbr), cb_mp3_vbr);
  form->addRow(NewLabel("VBR 质量: ", vbr), LeftAligned(ud_mp3_vbr));
  page->addWidget(vbr);

  QGroupBox* advanced = NewFrame("高级", gb_mp3vbr);
  QVBoxLayout* boxes = Column(advanced, FrameMargin);
  ck_mp3_VBR = new QCheckBox(QStringLiteral("写VBR头"), advanced);
  ck_mp3_semb = new QCheckBox(QStringLiteral("严格执行最低比特率"), advanced);
  boxes->addWidget(ck_mp3_VBR);
  boxes->addWidget(ck_mp3_semb);
  page->addWidget(advanced);
  page->addStretch();
}

// Each frame holds two rows: the check box with the frequency field, and the
// width label with the width field. Four rows per frame (each field under its
// caption) do not fit the page's height with the CJK font.
void Tfm_set::CreateFilterPage() {
  gb_filter = NewPage();
  QVBoxLayout* page = Column(gb_filter, PageMargin);
  struct FilterFrame {
    const char* caption;
    const char* onCaption;
    const char* widthCaption;
    const SettingKey& freqKey;
    const SettingKey& widthKey;
    QCheckBox*& on;
    QSpinBox*& freq;
    QLabel*& widthLabel;
    QSpinBox*& width;
  };
  for (const FilterFrame& f :
       {FilterFrame{"高通滤波器", "高通滤波器频率 (Hz):", "高通滤波器宽度(Hz):", keys::HighpassFreq,
                    keys::HighpassWidth, chHFilt, udHFiltF, Label15, udHFiltW},
        FilterFrame{"低通滤波器", "低通滤波器频率 (Hz):", "低通滤波器宽度 (Hz):", keys::LowpassFreq,
                    keys::LowpassWidth, chLFilt, udLFiltF, Label20, udLFiltW}}) {
    QGroupBox* frame = NewFrame(f.caption, gb_filter);
    QGridLayout* grid = Grid(frame);
    f.on = new QCheckBox(QString::fromUtf8(f.onCaption), frame);
    f.freq = NewSpinField(frame, f.freqKey);
    f.widthLabel = NewLabel(f.widthCaption, frame);
    f.widthLabel->setIndent(CheckBoxTextIndent(f.on));  // under the box's caption
    f.width = NewSpinField(frame, f.widthKey);
    grid->addWidget(f.on, 0, 0);
    grid->addWidget(f.freq, 0, 1);
    grid->addWidget(f.widthLabel, 1, 0);
    grid->addWidget(f.width, 1, 1);
    grid->setColumnStretch(0, 1);
    // The fields and the width label start disabled, like the unchecked box.
    for (QWidget* w : std::initializer_list<QWidget*>{f.freq, f.widthLabel, f.width}) w->setEnabled(false);
    page->addWidget(frame);
  }
  page->addStretch();
}

void Tfm_set::CreateExpertPage() {
  gb_expert = NewPage();
  QVBoxLayout* page = Column(gb_expert, PageMargin);
  page->setSpacing(2);
  ck_crc = new QCheckBox(QStringLiteral("包括 CRC -校验"), gb_expert);
  ck_comply = new QCheckBox(QStringLiteral("尽可能遵循 ISO MPEG 标准"), gb_expert);
  ck_allow = new QCheckBox(QStringLiteral("允许区块模式与声道类型不同"), gb_expert);
  ck_short = new QCheckBox(QStringLiteral("短区块"), gb_expert);
  ck_bit = new QCheckBox(QStringLiteral("BR(比特储存)"), gb_expert);
  page->addWidget(ck_crc);
  page->addWidget(ck_comply);
  page->addWidget(NewLabel("规格", gb_expert));
  page->addWidget(ck_allow);
  page->addWidget(ck_short);
  page->addWidget(ck_bit);
  QFormLayout* form = Form();
  cb_ath = NewList(gb_expert, captions::AthModes);
  cb_de = NewList(gb_expert, captions::Deemphases);
  form->addRow(NewLabel("ATH 控制:", gb_expert), cb_ath);
  form->addRow(NewLabel("去加重 :", gb_expert), cb_de);
  page->addSpacing(2);
  page->addLayout(form);
  page->addStretch();
}

void Tfm_set::CreatePresetsPage() {
  gb_presets = NewPage();
  QVBoxLayout* page = Column(gb_presets, PageMargin);
  ck_preset = new QCheckBox(QStringLiteral("预调"));
  // Three columns: four do not fit the page's width with the CJK font.
  rg_prest = new TRadioGroup(QString(), Items(captions::Presets), 3);
  ck_alt = new QCheckBox(QStringLiteral("Alt-Preset"));
  rg_alt = new TRadioGroup(QString(), Items(captions::AltPresets), 2);
  // Both groups start disabled with their first entry chosen.
  for (TRadioGroup* group : {rg_prest, rg_alt}) {
    group->SetItemIndex(0);
    group->setEnabled(false);
  }
  page->addWidget(CheckedFrame(ck_preset, rg_prest, gb_presets));
  page->addSpacing(4);
  page->addWidget(CheckedFrame(ck_alt, rg_alt, gb_presets));
  page->addStretch();
}

void Tfm_set::CreateCommandPage() {
  gb_command = NewPage();
  QVBoxLayout* page = Column(gb_command, PageMargin);
  txtCommLine = new QPlainTextEdit(gb_command);
  page->addWidget(txtCommLine);
}

void Tfm_set::CreateWavPage() {
  gb_wav = NewPage();
  QVBoxLayout* page = Column(gb_wav, PageMargin);
  rb_cdmode = new TRadioGroup(QStringLiteral("模式:"), Items(captions::WavModes), 1, gb_wav);
  page->addWidget(rb_cdmode);

  QGroupBox* general = NewFrame("常规选项:", gb_wav);
  QFormLayout* form = Form(general, FrameMargin);
  cb_wav_frequency = NewList(general, captions::SampleRates);
  cb_wav_channel = NewList(general, captions::MonoStereo);
  cb_wav_bit = NewList(general, captions::WavBits);
  form->addRow(NewLabel("频率:", general), cb_wav_frequency);
  form->addRow(NewLabel("声道", general), cb_wav_channel);
  form->addRow(NewLabel("采样比特率", general), cb_wav_bit);
  page->addWidget(general);
  page->addStretch();
}

// The longest WMA formats need nearly the page's whole width: this page and
// its frames keep only thin margins.
void Tfm_set::CreateWmaPage() {
  constexpr QMargins Thin{1, 1, 1, 3};
  gb_wma = NewPage();
  QVBoxLayout* page = Column(gb_wma, Thin);
  page->setSpacing(6);

  QGroupBox* wma = NewFrame("WMA 格式", gb_wma);
  QVBoxLayout* wmaColumn = Column(wma, Thin);
  cb_wma = NewList(wma, captions::WmaFormats);
  // The only list whose text can also be typed; typing never adds an entry.
  cb_wma->setEditable(true);
  cb_wma->setInsertPolicy(QComboBox::NoInsert);
  cb_wma->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cb_wma->setMinimumContentsLength(12);
  cb_wma->view()->setMinimumWidth(cb_wma->view()->sizeHintForColumn(0) + 8);
  wmaColumn->addWidget(cb_wma);
  page->addWidget(wma);

  QGroupBox* vox = NewFrame("VOX 设置", gb_wma);
  QVBoxLayout* voxColumn = Column(vox, Thin);
  cb_vox = NewList(vox, captions::SampleRates);
  voxColumn->addWidget(cb_vox);
  page->addWidget(vox);
  page->addStretch();
}

void Tfm_set::CreateOggPage() {
  gb_ogg = NewPage();
  QVBoxLayout* page = Column(gb_ogg, PageMargin);

  QGroupBox* general = NewFrame("常规", gb_ogg);
  QFormLayout* form = Form(general, FrameMargin);
  cb_ogg_fre = NewList(general, captions::SampleRates);
  cb_ogg_channel = NewList(general, captions::MonoStereo);
  cb_ogg_bitrate = NewList(general, captions::ShortBitrates);
  ck_oggvbr = new QCheckBox(QStringLiteral("VBR"), general);
  ck_oggquality = new QCheckBox(QStringLiteral("质量"), general);
  form->addRow(NewLabel("频率: ", general), cb_ogg_fre);
  form->addRow(NewLabel("声道: ", general), cb_ogg_channel);
  form->addRow(NewLabel("比特率: ", general), cb_ogg_bitrate);
  auto* modes = new QHBoxLayout;
  modes->setSpacing(16);
  modes->addWidget(ck_oggvbr);
  modes->addWidget(ck_oggquality);
  modes->addStretch();
  form->addRow(modes);
  page->addWidget(general);

  QGroupBox* vbr = NewFrame("VBR/质量:", gb_ogg);
  QFormLayout* limits = Form(vbr, FrameMargin);
  cb_ogg_minbit = NewList(vbr, captions::ShortBitrates);
  cb_ogg_maxbit = NewList(vbr, captions::ShortBitrates);
  ud_ogg_quality = new TUpDownEdit(vbr);
  ud_ogg_quality->setRange(keys::OggQuality.min, keys::OggQuality.max);
  ud_ogg_quality->lineEdit()->setMaxLength(5);
  ud_ogg_quality->setFixedWidth(64);
  ud_ogg_quality->installEventFilter(this);
  limits->addRow(NewLabel("最小比特率: ", vbr), cb_ogg_minbit);
  limits->addRow(NewLabel("最大比特率: ", vbr), cb_ogg_maxbit);
  limits->addRow(NewLabel("质量: ", vbr), LeftAligned(ud_ogg_quality));
  page->addWidget(vbr);
  page->addStretch();
}

// ---- rules and bindings -----------------------------------------------------

void Tfm_set::ConnectRules() {
  connect(rb_cdmode, &TRadioGroup::ItemIndexChanged, this, &Tfm_set::rb_cdmodeClick);
  connect(cb_mp3vbrcm, &QComboBox::currentIndexChanged, this, &Tfm_set::cb_mp3vbrcmChange);
  connect(chHFilt, &QCheckBox::toggled, this, &Tfm_set::chHFiltClick);
  connect(chLFilt, &QCheckBox::toggled, this, &Tfm_set::chLFiltClick);
  connect(ck_preset, &QCheckBox::toggled, this, &Tfm_set::ck_presetClick);
  connect(ck_alt, &QCheckBox::toggled, this, &Tfm_set::ck_altClick);
  connect(ck_oggvbr, &QCheckBox::toggled, this, &Tfm_set::ck_oggvbrClick);
  connect(ck_oggquality, &QCheckBox::toggled, this, &Tfm_set::ck_oggqualityClick);
}

// Pairs every encoder key with its control, in the order of the key table,
// which is the order OK writes them.
void Tfm_set::BindEncoderKeys() {
  const std::map<const SettingKey*, Control> controls = {
      {&keys::VoxRate, cb_vox},
      {&keys::Mp3Bitrate, cb_mp3_bitrate},
      {&keys::Mp3Channel, cb_mp3_channel},
      {&keys::Mp3Frequency, cb_mp3_frequency},
      {&keys::Mp3Quality, ud_mp3_quality},
      {&keys::VbrMethod, cb_mp3vbrcm},
      {&keys::VbrBitrate, cb_mp3_vbr},
      {&keys::VbrQuality, ud_mp3_vbr},
      {&keys::VbrHeader, ck_mp3_VBR},
      {&keys::VbrEnforceMin, ck_mp3_semb},
      {&keys::HighpassOn, chHFilt},
      {&keys::LowpassOn, chLFilt},
      {&keys::HighpassFreq, udHFiltF},
      {&keys::HighpassWidth, udHFiltW},
      {&keys::LowpassFreq, udLFiltF},
      {&keys::LowpassWidth, udLFiltW},
      {&keys::BitReservoir, ck_bit},
      {&keys::ShortBlocks, ck_short},
      {&keys::AllowDiffShort, ck_allow},
      {&keys::StrictIso, ck_comply},
      {&keys::Crc, ck_crc},
      {&keys::AthMode, cb_ath},
      {&keys::Deemphasis, cb_de},
      {&keys::PresetOn, ck_preset},
      {&keys::AltPresetOn, ck_alt},
      {&keys::Preset, rg_prest},
      {&keys::AltPreset, rg_alt},
      {&keys::WavMode, rb_cdmode},
      {&keys::WavBits, cb_wav_bit},
      {&keys::WavChannel, cb_wav_channel},
      {&keys::WavFrequency, cb_wav_frequency},
      {&keys::WmaFormat, cb_wma},
      {&keys::OggChannel, cb_ogg_channel},
      {&keys::OggFrequency, cb_ogg_fre},
      {&keys::OggBitrate, cb_ogg_bitrate},
      {&keys::OggMaxBitrate, cb_ogg_maxbit},
      {&keys::OggMinBitrate, cb_ogg_minbit},
      {&keys::OggQuality, ud_ogg_quality},
      {&keys::OggVbr, ck_oggvbr},
      {&keys::OggQualityMode, ck_oggquality},
  };
  if (controls.size() != keys::EncoderKeys.size()) throw std::logic_error("settings dialog: unbound encoder key");
  for (const SettingKey* key : keys::EncoderKeys) encoderBindings_.push_back({key, controls.at(key)});
}
