#include "settings/dir_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTreeWidget>
#include <filesystem>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const std::string& name) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(0).toStdString() == name) return parent->child(i);
  return nullptr;
}

TEST(DirDialog, TheFirstOpeningSelectsTheHomeFolder) {
  Tfm_dir dlg;
  EXPECT_EQ(dlg.size(), QSize(287, 260));
  QTreeWidget* tree = dlg.ShellTreeView1();
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
  dlg.btn_okClick();
  EXPECT_EQ(dlg.SelectedDir, QDir::homePath().toStdString());
}

TEST(DirDialog, CancelAndTheCloseBoxGiveNothingAndTheSelectionIsKept) {
  TempDir root;
  fs::create_directories(root / "music" / ".hidden");
  fs::create_directories(root / "music" / "专辑");
  WriteFileBytes(root / "music" / "song.mp3", "x");
  Tfm_dir dlg;
  ASSERT_TRUE(dlg.SelectPath((root / "music" / "专辑").string()));
  dlg.btn_okClick();
  EXPECT_EQ(dlg.SelectedDir, (root / "music" / "专辑").string());

  dlg.btn_cancelClick();
  EXPECT_EQ(dlg.SelectedDir, "");
  dlg.SelectedDir = "x";
  dlg.reject();  // the close box
  EXPECT_EQ(dlg.SelectedDir, "");

  EXPECT_EQ(dlg.SelectedPath(), (root / "music" / "专辑").string()) << "the tree keeps its selection";
  QTreeWidgetItem* music = dlg.ShellTreeView1()->currentItem()->parent();
  EXPECT_NE(ChildNamed(music, ".hidden"), nullptr) << "hidden folders are listed";
  EXPECT_EQ(ChildNamed(music, "song.mp3"), nullptr) << "files are not listed";

  fs::create_directories(root / "music" / "new");
  EXPECT_EQ(ChildNamed(music, "new"), nullptr) << "the tree does not watch the disk";
}

}  // namespace
