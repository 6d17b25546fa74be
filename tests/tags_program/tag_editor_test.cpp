// The tag editor on the main list's rows and records, driven through its
// handlers and through real clicks and keys on the offscreen platform.
#include "tags/tag_editor_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "tags/genre_names.h"

namespace {

AudioFileinfo Record(std::string title, std::string artist, std::string album = "", std::string year = "",
                     std::string comment = "", std::string genre = "") {
  AudioFileinfo r;
  r.Title = std::move(title);
  r.Artist = std::move(artist);
  r.Album = std::move(album);
  r.Year = std::move(year);
  r.Comment = std::move(comment);
  r.Genre = std::move(genre);
  r.Duration = 1000;
  return r;
}

class TagEditorTest : public ::testing::Test {
 protected:
  TagEditorTest() {
    lv.setColumnCount(7);
    // Row 0: a file without tags; row 1: tagged; row 2: only an artist.
    AddRow("a.mp3", Record("", ""));
    AddRow("晴天", Record("晴天", "周杰伦", "叶惠美", "", "好听", "Pop"));
    AddRow("c.wma", Record("", "某人"));
    saved = infos;
    dlg.Attach(&lv, &infos);
  }
  void AddRow(const std::string& caption, const AudioFileinfo& record) {
    new QTreeWidgetItem(&lv, {QString::fromStdString(caption)});
    infos.push_back(record);
  }
  std::vector<std::string> Captions(const QTreeWidget& list) const {
    std::vector<std::string> out;
    for (int i = 0; i < list.topLevelItemCount(); ++i) out.push_back(list.topLevelItem(i)->text(0).toStdString());
    return out;
  }
  int Selected() const {
    const auto items = dlg.lv_id3->selectedItems();
    return items.isEmpty() ? -1 : dlg.lv_id3->indexOfTopLevelItem(items.first());
  }
  std::vector<std::string> Boxes() const {
    return {dlg.edt_tatal->text().toStdString(), dlg.edt_art->text().toStdString(),
            dlg.edt_alb->text().toStdString(),   dlg.edt_year->text().toStdString(),
            dlg.edt_genre->currentText().toStdString(), dlg.edt_com->toPlainText().toStdString()};
  }
  void ClickRow(int row) {
    const QRect rect = dlg.lv_id3->visualItemRect(dlg.lv_id3->topLevelItem(row));
    QTest::mouseClick(dlg.lv_id3->viewport(), Qt::LeftButton, {}, rect.center());
  }
  // Typing as an input method delivers Chinese text: one committed string.
  void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
  }

  QTreeWidget lv;
  TFileInfos infos;
  TFileInfos saved;
  Tfm_id3 dlg;
};

bool SameTags(const TFileInfos& a, const TFileInfos& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].Title != b[i].Title || a[i].Artist != b[i].Artist || a[i].Album != b[i].Album ||
        a[i].Year != b[i].Year || a[i].Comment != b[i].Comment || a[i].Genre != b[i].Genre ||
        a[i].Duration != b[i].Duration) {
      return false;
    }
  }
  return true;
}

TEST_F(TagEditorTest, OpeningShowsTheFirstRowAndGivesItsTitleItsCaption) {
  dlg.FormShow();
  EXPECT_EQ(Captions(*dlg.lv_id3), (std::vector<std::string>{"a.mp3", "晴天", "c.wma"}));
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(dlg.SelectedRow(), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"a.mp3", "", "", "", "", ""}));
  ASSERT_EQ(dlg.EditRecords().size(), 3u);
  EXPECT_EQ(dlg.EditRecords()[0].Title, "a.mp3") << "a file without a tag takes its file name as title";

  ClickRow(1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"晴天", "周杰伦", "叶惠美", "", "Pop", "好听"}));
  // The arrow keys move through the rows as clicks do.
  QTest::keyClick(dlg.lv_id3, Qt::Key_Down);
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"", "某人", "", "", "", ""}));

  dlg.btn_okClick();
  EXPECT_EQ(infos[0].Title, "a.mp3");
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"a.mp3", "晴天", "c.wma"})) << "empty titles keep captions";
  EXPECT_EQ(infos[2].Title, "");
  EXPECT_EQ(dlg.lv_id3->topLevelItemCount(), 0) << "emptied on closing";
}

TEST_F(TagEditorTest, AnEditedTitleReachesTheListOnOkOnly) {
  dlg.FormShow();
  ClickRow(1);
  Type(dlg.edt_tatal, QStringLiteral("新标题"));
  Type(dlg.edt_year, QStringLiteral("2003"));
  dlg.btn_cancelClick();
  EXPECT_TRUE(SameTags(infos, saved));
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"a.mp3", "晴天", "c.wma"}));

  dlg.FormShow();
  ClickRow(1);
  Type(dlg.edt_tatal, QStringLiteral("新标题"));
  Type(dlg.edt_year, QStringLiteral("2003"));
  dlg.edt_genre->setEditText(QStringLiteral("华语流行"));
  dlg.btn_okClick();
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"a.mp3", "新标题", "c.wma"}));
  EXPECT_EQ(infos[1].Title, "新标题");
  EXPECT_EQ(infos[1].Year, "2003");
  EXPECT_EQ(infos[1].Genre, "华语流行");
  EXPECT_EQ(infos[1].Artist, "周杰伦");
  EXPECT_EQ(infos[1].Duration, 1000);
}

TEST_F(TagEditorTest, LeavingTheTitleBoxRenamesTheEditorsRow) {
  dlg.show();
  dlg.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
  dlg.FormShow();
  ClickRow(2);
  dlg.edt_tatal->setFocus();
  Type(dlg.edt_tatal, QStringLiteral("改名"));
  EXPECT_EQ(dlg.lv_id3->topLevelItem(2)->text(0), QStringLiteral("c.wma")) << "only leaving the box renames";
  dlg.edt_art->setFocus();
  EXPECT_EQ(dlg.lv_id3->topLevelItem(2)->text(0), QStringLiteral("改名"));
  EXPECT_EQ(dlg.EditRecords()[2].Title, "改名");
  dlg.close();
  EXPECT_EQ(dlg.lv_id3->topLevelItemCount(), 0) << "the close box empties the list too";
  EXPECT_TRUE(SameTags(infos, saved)) << "and keeps nothing";
}

TEST_F(TagEditorTest, AllButtonsFillEveryRowAndLeaveTheCaptions) {
  dlg.FormShow();
  ClickRow(1);
  Type(dlg.edt_art, QStringLiteral("群星"));
  QTest::mouseClick(dlg.Button2, Qt::LeftButton);
  Type(dlg.edt_tatal, QStringLiteral("同名"));
  dlg.Button1Click();
  dlg.edt_com->setPlainText(QStringLiteral("两行\n评论"));
  dlg.Button6Click();
  for (const auto& r : dlg.EditRecords()) {
    EXPECT_EQ(r.Artist, "群星");
    EXPECT_EQ(r.Title, "同名");
    EXPECT_EQ(r.Comment, "两行\n评论");
  }
  EXPECT_EQ(Captions(*dlg.lv_id3), (std::vector<std::string>{"a.mp3", "晴天", "c.wma"}));
  dlg.btn_okClick();
  for (const auto& r : infos) EXPECT_EQ(r.Artist, "群星");
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"同名", "同名", "同名"}));
}

TEST_F(TagEditorTest, ResetDropsTheEditsAndSelectsTheFirstRow) {
  dlg.FormShow();
  ClickRow(1);
  Type(dlg.edt_alb, QStringLiteral("别的专辑"));
  dlg.Button2Click();
  dlg.Button7Click();
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"a.mp3", "", "", "", "", ""}));
  TFileInfos expected = saved;
  expected[0].Title = "a.mp3";
  EXPECT_TRUE(SameTags(dlg.EditRecords(), expected));
  dlg.btn_okClick();
  EXPECT_TRUE(SameTags(infos, expected));
}

TEST_F(TagEditorTest, AClickOnEmptySpaceReselectsTheRowOfTheOpening) {
  dlg.FormShow();
  ClickRow(2);
  ASSERT_EQ(Selected(), 2);
  const QRect last = dlg.lv_id3->visualItemRect(dlg.lv_id3->topLevelItem(2));
  QTest::mouseClick(dlg.lv_id3->viewport(), Qt::LeftButton, {}, QPoint(10, last.bottom() + 40));
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(Boxes()[0], "a.mp3");
}

TEST_F(TagEditorTest, TheGenreListHoldsTheNamesOnceAtEveryOpening) {
  EXPECT_EQ(GenreNames.size(), 148u);
  EXPECT_STREQ(GenreNames[0], "Blues");
  EXPECT_STREQ(GenreNames[79], "Hard Rock");
  EXPECT_STREQ(GenreNames[80], "Folk");
  EXPECT_STREQ(GenreNames[147], "SynthPop");
  for (int opening = 0; opening < 2; ++opening) {
    dlg.FormShow();
    ASSERT_EQ(dlg.edt_genre->count(), 148);
    QSet<QString> names;
    for (int i = 0; i < 148; ++i) names.insert(dlg.edt_genre->itemText(i));
    EXPECT_EQ(names.size(), 148);
    EXPECT_EQ(dlg.edt_genre->itemText(14), QStringLiteral("R&B"));
    // A typed genre is a text for the row, not a new entry of the list.
    dlg.edt_genre->setFocus();
    dlg.edt_genre->setEditText(QStringLiteral("自定义"));
    QTest::keyClick(dlg.edt_genre, Qt::Key_Return);
    EXPECT_EQ(dlg.edt_genre->count(), 148);
    EXPECT_EQ(dlg.EditRecords()[0].Genre, "自定义");
    dlg.btn_cancelClick();
  }
}

TEST_F(TagEditorTest, WithAnEmptyListNothingChanges) {
  QTreeWidget empty;
  TFileInfos none;
  dlg.Attach(&empty, &none);
  dlg.edt_art->setText(QStringLiteral("上次"));
  dlg.FormShow();
  EXPECT_EQ(dlg.lv_id3->topLevelItemCount(), 0);
  EXPECT_EQ(dlg.edt_genre->count(), 148);
  EXPECT_EQ(dlg.edt_genre->currentText(), QString()) << "filling the list picks no genre";
  EXPECT_EQ(dlg.edt_art->text(), QStringLiteral("上次"));
  dlg.lv_id3Click();
  for (QPushButton* b : {dlg.Button1, dlg.Button2, dlg.Button3, dlg.Button4, dlg.Button5, dlg.Button6, dlg.Button7}) {
    b->click();
  }
  dlg.btn_okClick();
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(empty.topLevelItemCount(), 0);
}

TEST_F(TagEditorTest, ExecuteOpensModallyFilledAndOkCloses) {
  int rowsWhileOpen = -1;
  QTimer::singleShot(0, &dlg, [&] {
    rowsWhileOpen = dlg.lv_id3->topLevelItemCount();
    dlg.edt_art->setText(QStringLiteral("模态"));
    dlg.btn_ok->click();
  });
  EXPECT_EQ(dlg.Execute(), QDialog::Accepted);
  EXPECT_EQ(rowsWhileOpen, 3);
  EXPECT_EQ(infos[0].Artist, "模态");
  EXPECT_FALSE(dlg.isVisible());
}

// Every caption fits its control at the fixed size; the picture is kept in
// /tmp for a look.
TEST_F(TagEditorTest, EveryLabelAndButtonIsReadableAt419By269) {
  dlg.FormShow();
  dlg.show();
  EXPECT_EQ(dlg.size(), QSize(419, 269));
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ID3 编辑"));
  EXPECT_EQ(dlg.lv_id3->size(), QSize(149, 265));
  EXPECT_EQ(dlg.lv_id3->columnWidth(0), 128);
  EXPECT_EQ(dlg.lv_id3->headerItem()->text(0), QStringLiteral("文件名"));
  const QRect client = dlg.rect();
  for (QWidget* w : dlg.findChildren<QWidget*>()) {
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QPushButton*>(w) && !qobject_cast<QLineEdit*>(w)) continue;
    if (!w->isVisible() || w->parent() == dlg.edt_genre) continue;
    const QRect onDialog(w->mapTo(&dlg, QPoint(0, 0)), w->size());
    EXPECT_TRUE(client.contains(onDialog)) << w->objectName().toStdString();
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<QPushButton*>(w)) text = button->text();
    if (text.isEmpty()) continue;
    const QRect needed = w->fontMetrics().boundingRect(text.trimmed());
    EXPECT_GE(w->width(), needed.width() + (qobject_cast<QPushButton*>(w) ? 8 : 0)) << w->objectName().toStdString();
    EXPECT_GE(w->height(), w->fontMetrics().height()) << w->objectName().toStdString();
  }
  EXPECT_GE(dlg.edt_com->height(), 2 * dlg.edt_com->fontMetrics().lineSpacing());
  EXPECT_TRUE(dlg.grab().save(QStringLiteral("/tmp/tonvara-tag-editor.png")));
}

}  // namespace
