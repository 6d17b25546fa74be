// The look of the settings dialog: every page fits its box at the fixed
// window size with the CJK font, no caption is cut, no two controls overlap.
// With TONVARA_SCREENSHOT_DIR set, each page is also saved as a picture.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionSpinBox>
#include <QTreeWidget>
#include <cstdlib>
#include <vector>

#include "settings/settings_dialog.h"

namespace {

bool IsControl(const QWidget* w) {
  return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
         qobject_cast<const QPlainTextEdit*>(w);
}

// The visible controls below `parent`, without looking inside a control.
void CollectControls(const QWidget* parent, std::vector<const QWidget*>& out) {
  for (const QObject* child : parent->children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (!w || !w->isVisible()) continue;
    if (IsControl(w))
      out.push_back(w);
    else
      CollectControls(w, out);
  }
}

QRect RectIn(const QWidget* w, const QWidget* page) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); }

QRect ComboTextRect(const QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = combo->isEditable();
  option.frame = true;
  return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
}

QRect SpinTextRect(const QAbstractSpinBox* spin) {
  QStyleOptionSpinBox option;
  option.initFrom(spin);
  option.frame = true;
  option.buttonSymbols = spin->buttonSymbols();
  option.subControls = QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField | QStyle::SC_SpinBoxUp |
                       QStyle::SC_SpinBoxDown;
  return spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, spin);
}

// Whether the whole of the control's text can be seen: captions need their
// size hint's width and one line of the font; every entry of a list and the
// largest number of a field must fit the text area.
void ExpectReadable(const QWidget* w) {
  const QFontMetrics fm = w->fontMetrics();
  if (const auto* label = qobject_cast<const QLabel*>(w)) {
    EXPECT_GE(label->width(), label->sizeHint().width()) << "caption cut";
    EXPECT_GE(label->height(), fm.height()) << "caption cut";
  } else if (const auto* push = qobject_cast<const QPushButton*>(w)) {
    EXPECT_GE(push->width(), fm.horizontalAdvance(push->text()) + 12) << "caption cut";
    EXPECT_GE(push->height(), fm.height() + 4) << "caption cut";
  } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
    EXPECT_GE(button->width(), button->sizeHint().width()) << "caption cut";
    EXPECT_GE(button->height(), fm.height() + 2) << "caption cut";
  } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
    EXPECT_GE(combo->height(), fm.height() + 4) << "entry cut";
    const QRect text = ComboTextRect(combo);
    for (int i = 0; i < combo->count(); ++i)
      EXPECT_GE(text.width(), fm.horizontalAdvance(combo->itemText(i)) + 4) << combo->itemText(i).toStdString();
  } else if (const auto* spin = qobject_cast<const QSpinBox*>(w)) {
    EXPECT_GE(spin->height(), fm.height() + 4) << "number cut";
    EXPECT_GE(SpinTextRect(spin).width(), fm.horizontalAdvance(QString::number(spin->maximum())) + 4) << "number cut";
  }
}

const char* const PageNames[Tfm_set::NodeCount] = {"general",     "mp3",         "mp3", "mp3-vbr", "mp3-filter", "mp3-expert",
                                                   "mp3-presets", "mp3-command", "wav", "wma-vox", "ogg"};

class SettingsDialogLook : public ::testing::TestWithParam<int> {};

TEST_P(SettingsDialogLook, EveryCaptionIsWhollyVisibleAndNothingOverlaps) {
  Tfm_set dlg;
  dlg.show();
  dlg.FormShow();
  const int node = GetParam();
  dlg.ShowPage(node);
  QGroupBox* page = dlg.PageOf(node);

  ASSERT_EQ(dlg.size(), QSize(388, 303));
  ASSERT_EQ(page->size(), QSize(244, 235));
  const QSize minimum = page->layout()->minimumSize();
  EXPECT_LE(minimum.width(), page->width()) << "page " << node;
  EXPECT_LE(minimum.height(), page->height()) << "page " << node;

  std::vector<const QWidget*> controls;
  CollectControls(page, controls);
  ASSERT_FALSE(controls.empty());
  const QRect inside = page->contentsRect();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const QWidget* w = controls[i];
    const QRect r = RectIn(w, page);
    const QString name = w->metaObject()->className() + QStringLiteral(" ") + w->objectName() +
                         QStringLiteral(" ") + (qobject_cast<const QLabel*>(w) ? qobject_cast<const QLabel*>(w)->text()
                                                : qobject_cast<const QAbstractButton*>(w)
                                                    ? qobject_cast<const QAbstractButton*>(w)->text()
                                                    : QString());
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(inside.contains(r)) << "outside the page";
    ExpectReadable(w);
    for (std::size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(r.intersects(RectIn(controls[j], page))) << "overlaps " << controls[j]->metaObject()->className();
  }
  // Frame titles need their width too.
  for (const QGroupBox* frame : page->findChildren<QGroupBox*>()) {
    if (frame->title().isEmpty()) continue;
    const int titleWidth = frame->fontMetrics().horizontalAdvance(frame->title()) + 16;
    EXPECT_LE(titleWidth, frame->width()) << frame->title().toStdString();
  }

  // One picture per page (nodes 1 and 2 show the same page).
  const char* folder = std::getenv("TONVARA_SCREENSHOT_DIR");
  if (folder && node != 2) {
    QDir().mkpath(QString::fromLocal8Bit(folder));
    const QString file = QStringLiteral("%1/settings-%2-%3.png")
                             .arg(QString::fromLocal8Bit(folder))
                             .arg(node, 2, 10, QLatin1Char('0'))
                             .arg(QString::fromLatin1(PageNames[node]));
    dlg.TreeView1->setCurrentItem(dlg.NodeItem(node));
    EXPECT_TRUE(dlg.grab().save(file));
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, SettingsDialogLook, ::testing::Range(0, Tfm_set::NodeCount));

TEST(SettingsDialogLookWindow, TreeButtonsAndFont) {
  Tfm_set dlg;
  dlg.show();
  dlg.FormShow();
  EXPECT_EQ(dlg.TreeView1->size(), QSize(129, 230));
  const QString family = QFontInfo(dlg.font()).family();
  EXPECT_TRUE(family.contains("CJK") || family.contains("WenQuanYi")) << family.toStdString();
  EXPECT_EQ(dlg.font().pointSize(), 9);
  // Every node of the expanded tree is visible without scrolling.
  const QRect view = dlg.TreeView1->viewport()->rect();
  for (int node = 0; node < Tfm_set::NodeCount; ++node)
    EXPECT_TRUE(view.contains(dlg.TreeView1->visualItemRect(dlg.NodeItem(node)))) << node;
  // The three buttons sit in a row below the tree and the pages, inside the window.
  const QRect client = dlg.rect();
  for (QWidget* button : std::initializer_list<QWidget*>{dlg.Ok, dlg.Button2, dlg.Cancel}) {
    EXPECT_TRUE(client.contains(button->geometry()));
    EXPECT_GT(button->y(), dlg.gb_cdgeneral->geometry().bottom());
    ExpectReadable(button);
  }
  EXPECT_LT(dlg.Ok->x(), dlg.Button2->x());
  EXPECT_LT(dlg.Button2->x(), dlg.Cancel->x());
}

}  // namespace
