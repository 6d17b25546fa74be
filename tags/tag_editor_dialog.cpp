#include "tags/tag_editor_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <functional>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/chinese_font.h"
#include "tags/genre_names.h"

namespace {

constexpr int kListWidth = 149;
constexpr int kListHeight = 265;
constexpr int kColumnWidth = 128;
constexpr int kAllButtonWidth = 44;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QPushButton* AllButton(const char* name, QWidget* parent) {
  auto* button = new QPushButton(QStringLiteral("全部"), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setFixedWidth(kAllButtonWidth);
  button->setAutoDefault(false);
  return button;
}

// A report list that reports every left click, also one on empty space,
// after the view has handled it (so the selection is already updated).
class TClickList : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::function<void()> OnClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && OnClick) OnClick();
  }
};

}  // namespace

Tfm_id3::Tfm_id3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fm_id3"));
  setWindowTitle(QStringLiteral("ID3 编辑"));
  setFont(ChineseFontPx(12));
  BuildControls();
  ConnectHandlers();
  setFixedSize(419, 269);
}

void Tfm_id3::BuildControls() {
  auto* list = new TClickList(this);
  list->OnClick = [this] { lv_id3Click(); };
  lv_id3 = list;
  lv_id3->setObjectName(QStringLiteral("lv_id3"));
  lv_id3->setFixedSize(kListWidth, kListHeight);
  lv_id3->setColumnCount(1);
  lv_id3->setHeaderLabels({QStringLiteral("文件名")});
  lv_id3->header()->setStretchLastSection(false);
  lv_id3->header()->setSectionsClickable(false);
  lv_id3->header()->setSectionsMovable(false);
  lv_id3->setColumnWidth(0, kColumnWidth);
  lv_id3->setRootIsDecorated(false);
  lv_id3->setItemsExpandable(false);
  lv_id3->setUniformRowHeights(true);
  lv_id3->setSelectionMode(QAbstractItemView::SingleSelection);
  lv_id3->setSelectionBehavior(QAbstractItemView::SelectRows);
  lv_id3->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lv_id3->setAllColumnsShowFocus(true);
  // Grid lines between the rows, as a report list draws them.
  lv_id3->setStyleSheet(QStringLiteral(
      "QTreeWidget::item { border-bottom: 1px solid palette(midlight); }"
      "QTreeWidget::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  GroupBox1 = new QGroupBox(Panel1);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));

  auto label = [this](const char* name, const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text), GroupBox1);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  auto line = [this](const char* name) {
    auto* e = new QLineEdit(GroupBox1);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(INT_MAX);  // no limit on the length of a tag text
    return e;
  };
  Label1 = label("Label1", "Title:");
  Label2 = label("Label2", "Artist: ");
  Label3 = label("Label3", "Album: ");
  Label4 = label("Label4", "Year: ");
  Label5 = label("Label5", "Genre:");
  Label6 = label("Label6", "Comment: ");
  edt_tatal = line("edt_tatal");
  edt_art = line("edt_art");
  edt_alb = line("edt_alb");
  edt_year = line("edt_year");
  edt_genre = new QComboBox(GroupBox1);
  edt_genre->setObjectName(QStringLiteral("edt_genre"));
  edt_genre->setEditable(true);
  edt_genre->setInsertPolicy(QComboBox::NoInsert);  // a typed genre is a text, not a new list entry
  edt_genre->setMaxVisibleItems(16);
  edt_genre->lineEdit()->setMaxLength(INT_MAX);
  edt_com = new QPlainTextEdit(GroupBox1);
  edt_com->setObjectName(QStringLiteral("edt_com"));
  edt_com->setTabChangesFocus(true);
  edt_com->setFixedHeight(2 * edt_com->fontMetrics().lineSpacing() + 2 * edt_com->frameWidth() +
                          static_cast<int>(2 * edt_com->document()->documentMargin()));
  Button1 = AllButton("Button1", GroupBox1);
  Button2 = AllButton("Button2", GroupBox1);
  Button3 = AllButton("Button3", GroupBox1);
  Button4 = AllButton("Button4", GroupBox1);
  Button5 = AllButton("Button5", GroupBox1);
  Button6 = AllButton("Button6", GroupBox1);

  auto* grid = new QGridLayout(GroupBox1);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(5);
  const std::pair<QLabel*, QWidget*> rows[] = {{Label1, edt_tatal}, {Label2, edt_art},   {Label3, edt_alb},
                                               {Label4, edt_year},  {Label5, edt_genre}, {Label6, edt_com}};
  QPushButton* const buttons[] = {Button1, Button2, Button3, Button4, Button5, Button6};
  for (int r = 0; r < 6; ++r) {
    grid->addWidget(rows[r].first, r, 0, r == 5 ? Qt::AlignTop : Qt::AlignVCenter);
    grid->addWidget(rows[r].second, r, 1);
    grid->addWidget(buttons[r], r, 2, r == 5 ? Qt::AlignTop : Qt::AlignVCenter);
  }
  grid->setColumnStretch(1, 1);

  Button7 = new QPushButton(QStringLiteral("重置"), Panel1);
  Button7->setObjectName(QStringLiteral("Button7"));
  btn_ok = new QPushButton(QStringLiteral("确定"), Panel1);
  btn_ok->setObjectName(QStringLiteral("btn_ok"));
  btn_cancel = new QPushButton(QStringLiteral("取消"), Panel1);
  btn_cancel->setObjectName(QStringLiteral("btn_cancel"));
  for (QPushButton* b : {Button7, btn_ok, btn_cancel}) b->setAutoDefault(false);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(6);
  bottom->addWidget(Button7);
  bottom->addStretch(1);
  bottom->addWidget(btn_ok);
  bottom->addWidget(btn_cancel);

  auto* panel = new QVBoxLayout(Panel1);
  panel->setContentsMargins(0, 0, 0, 0);
  panel->setSpacing(6);
  panel->addWidget(GroupBox1, 1);
  panel->addLayout(bottom);

  auto* main = new QHBoxLayout(this);
  main->setContentsMargins(2, 2, 6, 6);
  main->setSpacing(6);
  main->addWidget(lv_id3, 0, Qt::AlignTop);
  main->addWidget(Panel1, 1);
}

void Tfm_id3::ConnectHandlers() {
  connect(edt_tatal, &QLineEdit::textChanged, this, [this] { edt_tatalChange(); });
  connect(edt_art, &QLineEdit::textChanged, this, [this] { edt_artChange(); });
  connect(edt_alb, &QLineEdit::textChanged, this, [this] { edt_albChange(); });
  connect(edt_year, &QLineEdit::textChanged, this, [this] { edt_yearChange(); });
  connect(edt_genre, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
  connect(edt_com, &QPlainTextEdit::textChanged, this, [this] { edt_comChange(); });
  for (QWidget* w : {static_cast<QWidget*>(edt_tatal), static_cast<QWidget*>(edt_art),
                     static_cast<QWidget*>(edt_alb), static_cast<QWidget*>(edt_year),
                     static_cast<QWidget*>(edt_com)}) {
    w->installEventFilter(this);
  }
  connect(lv_id3, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
  connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
  connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
  connect(btn_ok, &QPushButton::clicked, this, [this] { btn_okClick(); });
  connect(btn_cancel, &QPushButton::clicked, this, [this] { btn_cancelClick(); });
}

bool Tfm_id3::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == edt_tatal) edt_tatalExit();
    if (watched == edt_art) edt_artExit();
    if (watched == edt_alb) edt_albExit();
    if (watched == edt_year) edt_yearExit();
    if (watched == edt_com) edt_comExit();
  }
  return QDialog::eventFilter(watched, event);
}

void Tfm_id3::Attach(QTreeWidget* lv, TFileInfos* fileInfos) {
  lv_ = lv;
  fileInfos_ = fileInfos;
}

int Tfm_id3::Execute() {
  FormShow();
  return exec();
}

void Tfm_id3::FormShow() {
  FillGenreList();
  if (!lv_ || lv_->topLevelItemCount() == 0) return;
  FillFromList();
  SelectListRow(0);
  selectedRow_ = 0;
  editRecords_.Take(fileInfos_ ? *fileInfos_ : TFileInfos{});
  ShowRecordOfCaption(0);
}

void Tfm_id3::FillGenreList() {
  // Rebuilt at every opening; the box keeps its text meanwhile.
  const QSignalBlocker block(edt_genre);
  const QString text = edt_genre->currentText();
  edt_genre->clear();
  for (const char* name : GenreNames) edt_genre->addItem(QString::fromLatin1(name));
  edt_genre->setCurrentIndex(-1);
  edt_genre->setEditText(text);
}

void Tfm_id3::FillFromList() {
  filling_ = true;
  lv_id3->clear();
  for (int row = 0; row < lv_->topLevelItemCount(); ++row) {
    const QString caption = lv_->topLevelItem(row)->text(0);
    auto* item = new QTreeWidgetItem(lv_id3, {caption});
    item->setToolTip(0, caption);
  }
  filling_ = false;
}

int Tfm_id3::SelectedListRow() const {
  const QList<QTreeWidgetItem*> selected = lv_id3->selectedItems();
  return selected.isEmpty() ? -1 : lv_id3->indexOfTopLevelItem(selected.first());
}

void Tfm_id3::SelectListRow(int row) {
  QTreeWidgetItem* item = lv_id3->topLevelItem(row);
  if (!item) return;
  filling_ = true;
  lv_id3->setCurrentItem(item);
  item->setSelected(true);
  filling_ = false;
}

// The row's record, with the title box from the row's caption.
void Tfm_id3::ShowRecordOfCaption(int row) {
  const AudioFileinfo* record = editRecords_.Record(row);
  const std::string caption = lv_id3->topLevelItem(row)->text(0).toStdString();
  ShowTexts(record ? *record : AudioFileinfo{}, caption);
}

void Tfm_id3::ShowRecord(int row) {
  const AudioFileinfo* record = editRecords_.Record(row);
  ShowTexts(record ? *record : AudioFileinfo{}, record ? record->Title : std::string());
}

void Tfm_id3::ShowTexts(const AudioFileinfo& record, const std::string& title) {
  // Each box stores what it shows, also when its text was the same already.
  edt_art->setText(Q(record.Artist));
  StoreBox(TagField::Artist);
  edt_alb->setText(Q(record.Album));
  StoreBox(TagField::Album);
  edt_tatal->setText(Q(title));
  StoreBox(TagField::Title);
  edt_com->setPlainText(Q(record.Comment));
  StoreBox(TagField::Comment);
  edt_genre->setEditText(Q(record.Genre));
  StoreBox(TagField::Genre);
  edt_year->setText(Q(record.Year));
  StoreBox(TagField::Year);
}

std::string Tfm_id3::BoxText(TagField field) const {
  switch (field) {
    case TagField::Title: return edt_tatal->text().toStdString();
    case TagField::Artist: return edt_art->text().toStdString();
    case TagField::Album: return edt_alb->text().toStdString();
    case TagField::Year: return edt_year->text().toStdString();
    case TagField::Genre: return edt_genre->currentText().toStdString();
    case TagField::Comment: break;
  }
  return edt_com->toPlainText().toStdString();
}

void Tfm_id3::StoreBox(TagField field) {
  const int row = SelectedListRow();
  if (row < 0) return;
  editRecords_.Store(row, field, BoxText(field));
}

void Tfm_id3::StoreAllRows(TagField field) { editRecords_.StoreAll(lv_id3->topLevelItemCount(), field, BoxText(field)); }

void Tfm_id3::OnSelectionChanged() {
  // A row chosen with the keyboard shows its texts as a clicked one does,
  // so the boxes always belong to the row that edits go to.
  if (filling_) return;
  const int row = SelectedListRow();
  if (row >= 0) ShowRecord(row);
}

void Tfm_id3::lv_id3Click() {
  if (lv_id3->topLevelItemCount() == 0) return;
  if (SelectedListRow() < 0) SelectListRow(selectedRow_);
  const int row = SelectedListRow();
  if (row >= 0) ShowRecord(row);
}

void Tfm_id3::edt_tatalChange() { StoreBox(TagField::Title); }
void Tfm_id3::edt_artChange() { StoreBox(TagField::Artist); }
void Tfm_id3::edt_albChange() { StoreBox(TagField::Album); }
void Tfm_id3::edt_yearChange() { StoreBox(TagField::Year); }
void Tfm_id3::ComboBox1Change() { StoreBox(TagField::Genre); }
void Tfm_id3::edt_comChange() { StoreBox(TagField::Comment); }

void Tfm_id3::edt_tatalExit() {
  StoreBox(TagField::Title);
  const QList<QTreeWidgetItem*> selected = lv_id3->selectedItems();
  if (selected.isEmpty()) return;
  selected.first()->setText(0, edt_tatal->text());
  selected.first()->setToolTip(0, edt_tatal->text());
}
void Tfm_id3::edt_artExit() { StoreBox(TagField::Artist); }
void Tfm_id3::edt_albExit() { StoreBox(TagField::Album); }
void Tfm_id3::edt_yearExit() { StoreBox(TagField::Year); }
void Tfm_id3::edt_comExit() { StoreBox(TagField::Comment); }

void Tfm_id3::Button1Click() { StoreAllRows(TagField::Title); }
void Tfm_id3::Button2Click() { StoreAllRows(TagField::Artist); }
void Tfm_id3::Button3Click() { StoreAllRows(TagField::Album); }
void Tfm_id3::Button4Click() { StoreAllRows(TagField::Year); }
void Tfm_id3::Button5Click() { StoreAllRows(TagField::Genre); }
void Tfm_id3::Button6Click() { StoreAllRows(TagField::Comment); }

void Tfm_id3::Button7Click() {
  filling_ = true;
  lv_id3->clear();
  filling_ = false;
  if (!lv_ || lv_->topLevelItemCount() == 0) return;
  FillFromList();
  SelectListRow(0);
  editRecords_.Take(fileInfos_ ? *fileInfos_ : TFileInfos{});
  ShowRecordOfCaption(0);
}

void Tfm_id3::btn_okClick() {
  const int rows = lv_id3->topLevelItemCount();
  if (rows > 0 && fileInfos_) {
    *fileInfos_ = editRecords_.Records();
    for (int row = 0; row < rows; ++row) {
      const AudioFileinfo* record = editRecords_.Record(row);
      QTreeWidgetItem* item = lv_ ? lv_->topLevelItem(row) : nullptr;
      if (record && item && !record->Title.empty()) item->setText(0, Q(record->Title));
    }
  }
  accept();
}

void Tfm_id3::btn_cancelClick() { reject(); }

void Tfm_id3::FormCloseQuery() {
  filling_ = true;
  lv_id3->clear();
  filling_ = false;
}

void Tfm_id3::done(int result) {
  // Every way of closing passes here: OK, Cancel, Escape and the close box.
  FormCloseQuery();
  editRecords_.Clear();
  QDialog::done(result);
}
