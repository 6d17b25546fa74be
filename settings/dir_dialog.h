// Tfm_dir: picks one folder from a tree of the file system (the home folder
// and "/" at the top, folders only, hidden ones included). The tree is read
// lazily when a branch is first expanded and does not watch the disk; it
// keeps its selection and expanded branches between openings.
#pragma once

#include <QDialog>
#include <string>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class Tfm_dir : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_dir(QWidget* parent = nullptr);

  // Sets the caption, shows the dialog modally and returns SelectedDir.
  std::string Execute(const std::string& caption);

  void btn_okClick();
  void btn_cancelClick();

  // Selects the folder at `path` in the tree, expanding the branches above it
  // (false when it is not below a top-level node).
  bool SelectPath(const std::string& path);
  // The folder selected in the tree; empty when none.
  std::string SelectedPath() const;

  QTreeWidget* ShellTreeView1() const { return tree_; }

  // The chosen folder after the dialog closed; empty when nothing was chosen.
  std::string SelectedDir;

 public:
  void reject() override;  // Cancel, Escape and the close box

 private:
  QTreeWidgetItem* AddFolderItem(QTreeWidgetItem* parent, const QString& path, const QString& label);
  void Populate(QTreeWidgetItem* item);
  void ShowContextMenu(const QPoint& pos);

  QTreeWidget* tree_ = nullptr;
  QPushButton* btnOk_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
};
