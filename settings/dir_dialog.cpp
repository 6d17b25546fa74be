#include "settings/dir_dialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QUrl>

#include "platform/chinese_font.h"

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int PopulatedRole = Qt::UserRole + 1;
constexpr QDir::Filters FolderFilter = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

bool HasSubfolders(const QString& path) {
  QDirIterator it(path, FolderFilter);
  return it.hasNext();
}

QString ParentPathOf(const QString& path) {
  if (path == QStringLiteral("/")) return {};
  const int slash = path.lastIndexOf(QLatin1Char('/'));
  return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

}  // namespace

Tfm_dir::Tfm_dir(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("fm_dir"));
  setWindowTitle(QStringLiteral("输出目录"));
  setFont(ChineseFont(9));
  setFixedSize(287, 260);
  setMinimumWidth(150);

  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("ShellTreeView1"));
  tree_->setGeometry(8, 6, 270, 217);
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tree_, &QTreeWidget::itemExpanded, this, &Tfm_dir::Populate);
  connect(tree_, &QTreeWidget::customContextMenuRequested, this, &Tfm_dir::ShowContextMenu);

  btnOk_ = new QPushButton(QStringLiteral("确定"), this);
  btnOk_->setObjectName(QStringLiteral("btn_ok"));
  btnOk_->setGeometry(40, 229, 80, 25);
  btnOk_->setDefault(true);
  connect(btnOk_, &QPushButton::clicked, this, &Tfm_dir::btn_okClick);
  btnCancel_ = new QPushButton(QStringLiteral("取消"), this);
  btnCancel_->setObjectName(QStringLiteral("btn_cancel"));
  btnCancel_->setGeometry(167, 229, 80, 25);
  connect(btnCancel_, &QPushButton::clicked, this, &Tfm_dir::btn_cancelClick);

  const QString home = QDir::homePath();
  QTreeWidgetItem* homeItem = AddFolderItem(nullptr, home, QDir(home).dirName() + QStringLiteral(" (主文件夹)"));
  homeItem->setIcon(0, style()->standardIcon(QStyle::SP_DirHomeIcon));
  AddFolderItem(nullptr, QStringLiteral("/"), QStringLiteral("/ (文件系统)"))
      ->setIcon(0, style()->standardIcon(QStyle::SP_DriveHDIcon));
  // At the first opening the home folder is expanded and selected.
  homeItem->setExpanded(true);
  tree_->setCurrentItem(homeItem);
}

QTreeWidgetItem* Tfm_dir::AddFolderItem(QTreeWidgetItem* parent, const QString& path, const QString& label) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
  item->setText(0, label);
  item->setData(0, PathRole, path);
  item->setData(0, PopulatedRole, false);
  item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  item->setChildIndicatorPolicy(HasSubfolders(path) ? QTreeWidgetItem::ShowIndicator
                                                    : QTreeWidgetItem::DontShowIndicator);
  return item;
}

void Tfm_dir::Populate(QTreeWidgetItem* item) {
  if (!item || item->data(0, PopulatedRole).toBool()) return;
  item->setData(0, PopulatedRole, true);
  const QString path = item->data(0, PathRole).toString();
  QDir dir(path);
  const QStringList names = dir.entryList(FolderFilter, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) AddFolderItem(item, dir.filePath(name), name);
  if (names.isEmpty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

std::string Tfm_dir::Execute(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
  exec();
  return SelectedDir;
}

std::string Tfm_dir::SelectedPath() const {
  const QTreeWidgetItem* item = tree_->currentItem();
  if (!item || !item->isSelected()) return {};
  return item->data(0, PathRole).toString().toStdString();
}

void Tfm_dir::btn_okClick() {
  SelectedDir = SelectedPath();
  accept();
}

void Tfm_dir::btn_cancelClick() { reject(); }

void Tfm_dir::reject() {
  SelectedDir.clear();
  QDialog::reject();
}

bool Tfm_dir::SelectPath(const std::string& wanted) {
  const QString target = QDir::cleanPath(QString::fromStdString(wanted));
  // Find the top-level node the path lies below; the home folder wins over "/".
  QTreeWidgetItem* node = nullptr;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* top = tree_->topLevelItem(i);
    const QString root = top->data(0, PathRole).toString();
    if (target == root || target.startsWith(root == QStringLiteral("/") ? root : root + QLatin1Char('/'))) {
      node = top;
      break;
    }
  }
  if (!node) return false;
  QStringList chain;
  for (QString p = target; p != node->data(0, PathRole).toString(); p = ParentPathOf(p)) chain.prepend(p);
  for (const QString& step : chain) {
    Populate(node);
    node->setExpanded(true);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < node->childCount(); ++i)
      if (node->child(i)->data(0, PathRole).toString() == step) next = node->child(i);
    if (!next) return false;
    node = next;
  }
  tree_->setCurrentItem(node);
  return true;
}

void Tfm_dir::ShowContextMenu(const QPoint& pos) {
  QTreeWidgetItem* item = tree_->itemAt(pos);
  if (!item) return;
  // A right click selects the folder under the mouse.
  tree_->setCurrentItem(item);
  QMenu menu(this);
  const QString path = item->data(0, PathRole).toString();
  menu.addAction(QStringLiteral("在文件管理器中打开"),
                 [path] { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
  menu.exec(tree_->viewport()->mapToGlobal(pos));
}
