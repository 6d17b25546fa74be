#include "app/main_window.h"
#include "app/messages.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QShowEvent>
#include <QTreeWidget>

#include "app/about_box.h"
#include "app/main_settings.h"
#include "app/menu_icons.h"
#include "app/tag_step.h"
#include "platform/chinese_font.h"
#include "platform/dialogs.h"
#include "platform/skin/skin_widget.h"
#include "settings/dir_dialog.h"
#include "settings/settings_dialog.h"
#include "tags/tag_editor_dialog.h"
#include "settings/settings_store.h"

namespace {

constexpr int ClientWidth = 609;
constexpr int ClientHeight = 380;
constexpr const char* SkinFileName = "mp3enc.dll";
constexpr const char* SettingsFileName = "tonvara.ini";

struct ColumnSpec {
  const char* caption;
  int width;
};
constexpr ColumnSpec ListColumns[] = {{"文件标题", 120}, {"频率", 70}, {"声道", 60},
                                      {"时间", 60},     {"大小", 60}, {"状态", 70}};

}  // namespace

Tfm_main::Tfm_main(std::filesystem::path programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      programFolder_(programFolder.empty()
                         ? std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
                         : std::move(programFolder)) {
  setObjectName(QStringLiteral("fm_main"));
  setWindowTitle(QStringLiteral("Tonvara"));
  setFont(ChineseFontPx(12));
  setFixedSize(ClientWidth, ClientHeight);

  skin_ = new TSkin(this);
  connect(skin_, &TSkin::OnClick, this, &Tfm_main::Skin1Click);

  CreateList();
  fileList_ = std::make_unique<TFileList>(*lv_, state_, audioFileRead_, store_);
  fileList_->TagStep = ReadAddedFileTags;
  CreateListMenu();
  skinLabel_ = new TSkinLabel(this);
  skinLabel_->setObjectName(QStringLiteral("SkinLabel1"));
  skinLabel_->setGeometry(90, 76, 242, 14);
  CreateFormatSelector();

  timer1_.setInterval(1000);
  CreateRuns();

  preview_ = std::make_unique<TPreview>(state_, *lv_, audioFileRead_, audioPlayer_);
  connect(&audioPlayer_, &TAudioPlayer2::OnRequestOnLoadArray, this, [this] { preview_->QueueNextBlock(); });
  connect(&audioPlayer_, &TAudioPlayer2::OnEndArrayPlay, this, [this] { preview_->QueueNextBlock(); });
  CreatePopupMenus();
  setWindowIcon(QIcon(MakeAppIcon(64)));
  dialogs::SetDialogParent(this);
}

Tfm_main::~Tfm_main() { dialogs::SetDialogParent(nullptr); }

void Tfm_main::CreateList() {
  lv_ = new QTreeWidget(this);
  lv_->setObjectName(QStringLiteral("lv"));
  lv_->setGeometry(12, 100, 446, 201);
  lv_->setColumnCount(ColPath + 1);
  QStringList captions;
  for (const ColumnSpec& c : ListColumns) captions << QString::fromUtf8(c.caption);
  captions << QString();
  lv_->setHeaderLabels(captions);
  for (int i = 0; i < static_cast<int>(std::size(ListColumns)); ++i) lv_->setColumnWidth(i, ListColumns[i].width);
  // The path cell is kept in a column of no width that is never shown.
  lv_->header()->setMinimumSectionSize(0);
  lv_->setColumnWidth(ColPath, 0);
  lv_->setColumnHidden(ColPath, true);
  lv_->setRootIsDecorated(false);
  lv_->setUniformRowHeights(true);
  lv_->setItemsExpandable(false);
  lv_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lv_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lv_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lv_->setAllColumnsShowFocus(true);
  lv_->header()->setSectionsClickable(false);
  lv_->header()->setSectionsMovable(false);
  lv_->header()->setStretchLastSection(false);
  // Grid lines between cells and rows.
  lv_->setStyleSheet(QStringLiteral(
      "QTreeWidget { gridline-color: #d5dbe3; }"
      "QTreeWidget::item { border-right: 1px solid #e3e7ec; border-bottom: 1px solid #e3e7ec; }"));
}

void Tfm_main::CreateListMenu() {
  listMenu_ = new QMenu(this);
  listMenu_->addAction(QStringLiteral("添加文件"), this, &Tfm_main::AddFiles);
  listMenu_->addAction(QStringLiteral("删除文件"), this, &Tfm_main::RemoveSelected);
  listMenu_->addAction(QStringLiteral("清除"), this, &Tfm_main::ClearListAsked);
  listMenu_->addSeparator();
  QAction* convert = listMenu_->addAction(QStringLiteral("转换"), this, &Tfm_main::RunConversion);
  convert->setObjectName(QStringLiteral("listConvert"));
  listMenu_->addAction(QStringLiteral("停止"), this, [this] { state_.Busy = false; });
  lv_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lv_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { listMenu_->popup(lv_->viewport()->mapToGlobal(pos)); });

  // Files and folders dropped on the list are added.
  lv_->setAcceptDrops(true);
  lv_->viewport()->setAcceptDrops(true);
  lv_->viewport()->installEventFilter(this);
}

bool Tfm_main::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lv_->viewport()) {
    // The list's click runs once the view has handled the click's selection.
    if (event->type() == QEvent::MouseButtonRelease)
      QMetaObject::invokeMethod(this, &Tfm_main::lvClick, Qt::QueuedConnection);
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDropEvent*>(event);
      if (drag->mimeData()->hasUrls()) {
        drag->acceptProposedAction();
        return true;
      }
    } else if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      QStringList paths;
      for (const QUrl& url : drop->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
      drop->acceptProposedAction();
      fileList_->AddDropped(paths);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Tfm_main::AttachWindows(Tfm_about* about, Tfm_dir* dir, Tfm_set* set, Tfm_id3* id3) {
  fmAbout_ = about;
  fmDir_ = dir;
  fmSet_ = set;
  fmId3_ = id3;
}

void Tfm_main::AddFolder() {
  fileList_->AddFolder([this]() -> std::string {
    if (!fmDir_) return {};
    // Centred over the main window, halves dropped.
    const QRect main = frameGeometry();
    const QRect dlg = fmDir_->frameGeometry();
    fmDir_->move(main.left() + (main.width() - dlg.width()) / 2, main.top() + (main.height() - dlg.height()) / 2);
    return fmDir_->Execute("添加文件目录");
  });
}

void Tfm_main::ClearListAsked() {
  if (state_.Busy || lv_->topLevelItemCount() == 0) return;
  if (dialogs::AskYesNo("您确定要移除列表中的所有文件?(不会从您的电脑中删除)")) ClearList();
}

void Tfm_main::CreateFormatSelector() {
  scmb_ = new QComboBox(this);
  scmb_->setObjectName(QStringLiteral("scmb"));
  scmb_->setEditable(false);
  scmb_->addItems({QStringLiteral("MP3"), QStringLiteral("WAV"), QStringLiteral("WMA"), QStringLiteral("OGG"),
                   QStringLiteral("VOX")});
  scmb_->setCurrentIndex(0);
  scmb_->setGeometry(393, 49, 61, 21);
  connect(scmb_, &QComboBox::currentIndexChanged, this, &Tfm_main::scmbSChange);
}

void Tfm_main::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void Tfm_main::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  event->accept();
}

void Tfm_main::LoadSkin() {
  const std::string skinPath = (programFolder_ / SkinFileName).string();
  try {
    skin_->OpenSkinFile(skinPath);
    try {
      skin_->SkinWindow(this);
      skin_->SkinWindowAs(this, "Form");
      return;
    } catch (const SkinError& e) {
      // A file that reads but has no main window form is as broken.
      throw SkinError("皮肤文件 " + skinPath + ": " + e.what());
    }
  } catch (const SkinError& e) {
    // A missing or broken skin file is reported once; the built-in copy of
    // the default skin takes its place.
    dialogs::ShowError(e.what());
    skin_->OpenSkinText(TSkin::BuiltInSkinText(), "built-in skin");
  }
  skin_->SkinWindow(this);
  skin_->SkinWindowAs(this, "Form");
}

void Tfm_main::FindProgressElements() {
  ISkinObject* root = skin_->GetWindowRoot(this);
  ISkinObject* pbpos = root ? root->FindChild("pbpos") : nullptr;
  root = skin_->GetWindowRoot(this);
  ISkinObject* pb = root ? root->FindChild("pb") : nullptr;
  progress_.Attach(pbpos, pb);
}

void Tfm_main::FormShow() {
  // Centred on the screen when first shown.
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }

  LoadSkin();
  FindProgressElements();
  ShowProgress(0);
  progress_.BlankPercentage();

  audioFileRead_.SetEnabled(true);
  audioFileWrite_.SetEnabled(true);

  store_ = std::make_unique<TSettingsStore>(SettingsFileName);
  skinLabel_->SetCaption(store_->Read(keys::FormatDir));
  LoadMainSettings(*store_, state_);
  scmb_->setCurrentIndex(state_.OutputFormat);
}

void Tfm_main::FormCloseQuery() {
  state_.Busy = false;
  if (store_) {
    try {
      SaveMainSettings(*store_, state_);
    } catch (const SettingsWriteError& e) {
      // The close goes on; the user learns that the settings were not kept.
      dialogs::ShowError(e.what());
    }
  }
  store_.reset();
}

void Tfm_main::ShowProgress(int32_t value) { progress_.ShowProgress(value, state_.Busy); }

void Tfm_main::ResetProgressAfterRun() { progress_.ResetAfterRun(state_.Busy); }

void Tfm_main::StopWork() {
  state_.Busy = false;
  if (state_.NormalizeRunning) {
    if (RequestNormalizeTermination) RequestNormalizeTermination();
    state_.NormalizeRunning = false;
    state_.NormalizeStage = 0;
  }
}

void Tfm_main::scmbSChange(int index) {
  if (index >= FormatMp3 && index <= FormatVox) state_.OutputFormat = index;
}

void Tfm_main::CreatePopupMenus() {
  pFile_ = new QMenu(this);
  pFile_->setObjectName(QStringLiteral("p_file"));
  pFile_->addAction(MakeMenuIcon(MenuIcon::AddFile), QStringLiteral("添加文件"), this, &Tfm_main::AddFiles)
      ->setObjectName(QStringLiteral("AddFile2"));
  pFile_->addAction(MakeMenuIcon(MenuIcon::AddFolder), QStringLiteral("添加文件夹"), this, &Tfm_main::AddFolder)
      ->setObjectName(QStringLiteral("AddFolder2"));

  pAction_ = new QMenu(this);
  pAction_->setObjectName(QStringLiteral("p_action"));
  pAction_->addAction(MakeMenuIcon(MenuIcon::Normalize), QStringLiteral("规范化"), this, &Tfm_main::RunNormalization)
      ->setObjectName(QStringLiteral("Nomalize2"));
  pAction_->addAction(MakeMenuIcon(MenuIcon::Convert), QStringLiteral("转换"), this, &Tfm_main::RunConversion)
      ->setObjectName(QStringLiteral("Converter2"));
  pAction_->addSeparator();
  pAction_->addAction(MakeMenuIcon(MenuIcon::Play), QStringLiteral("播放"), this, &Tfm_main::PlayPreview)
      ->setObjectName(QStringLiteral("Play1"));
  pAction_->addSeparator();
  pAction_->addAction(MakeMenuIcon(MenuIcon::Stop), QStringLiteral("停止"), this, &Tfm_main::MenuStop)
      ->setObjectName(QStringLiteral("Stop3"));

  pHelp_ = new QMenu(this);
  pHelp_->setObjectName(QStringLiteral("p_help"));
  pHelp_->addAction(MakeMenuIcon(MenuIcon::Help), QStringLiteral("内容"), this, &Tfm_main::OpenHelp)
      ->setObjectName(QStringLiteral("Help3"));
  pHelp_->addAction(MakeMenuIcon(MenuIcon::About), QStringLiteral("关于"), this, &Tfm_main::ShowAbout)
      ->setObjectName(QStringLiteral("About2"));
}

void Tfm_main::ShowPopup(QMenu* menu, int dx, int dy) {
  // Relative to the window's outer left and top edges.
  const QRect outer = frameGeometry();
  lastPopup_ = menu;
  lastPopupPos_ = QPoint(outer.left() + dx, outer.top() + dy);
  menu->popup(lastPopupPos_);
}

bool Tfm_main::RefusedWhileBusy() {
  if (!state_.Busy) return false;
  dialogs::ShowInfo(messages::StopConversionFirst);
  return true;
}

void Tfm_main::Skin1Click(ISkinObject* source) {
  if (!source) return;
  struct Command {
    const char* name;
    bool refusedWhileBusy;
    std::function<void()> run;
  };
  // Compared exactly, letter case included, in this order; the first match runs.
  const Command commands[] = {
      {"b_Add", false, [this] { ShowPopup(pFile_, 12, 285); }},
      {"b_remove", false, [this] { RemoveSelected(); }},
      {"b_clear", false, [this] { ClearList(); }},
      {"b_convert", false, [this] { RunConversion(); }},
      {"b_nomalize", false, [this] { RunNormalization(); }},
      {"b_stop", false, [this] { StopWork(); }},
      {"p_play", false, [this] { PlayPreview(); }},
      {"p_stop", false, [this] { SkinStop(); }},
      {"b_dir", true, [this] { ChooseOutputFolder(); }},
      {"b_open", true, [this] { OpenOutputFolder(); }},
      {"b_id3", true, [this] { ShowTagEditor(); }},
      {"file", false, [this] { ShowPopup(pFile_, 12, 66); }},
      {"action", false, [this] { ShowPopup(pAction_, 52, 66); }},
      {"setting", true, [this] { ShowSettings(); }},
      {"help", false, [this] { ShowPopup(pHelp_, 232, 66); }},
      {"helpp", false, [this] { OpenHelp(); }},
  };
  const std::string name = source->ReadName();
  for (const Command& c : commands) {
    if (name != c.name) continue;
    if (c.refusedWhileBusy && RefusedWhileBusy()) return;
    c.run();
    return;
  }
}

void Tfm_main::SkinStop() { preview_->StopPlaying("Stop"); }

void Tfm_main::MenuStop() {
  preview_->StopPlaying("停止");
  if (state_.Busy) StopWork();
}

void Tfm_main::ChooseOutputFolder() {
  if (!fmDir_) return;
  const std::string folder = fmDir_->Execute("输出目录");
  if (folder.empty()) return;
  skinLabel_->SetCaption(folder);
  state_.OutputDir = folder;
  if (!store_) return;
  try {
    store_->Write(keys::FormatDir, state_.OutputDir);
  } catch (const SettingsWriteError& e) {
    dialogs::ShowError(e.what());
  }
}

void Tfm_main::OpenOutputFolder() { dialogs::OpenWithDesktop(state_.OutputDir); }

void Tfm_main::OpenHelp() { dialogs::OpenWithDesktop((programFolder_ / "help" / "tonvara.html").string()); }

void Tfm_main::ShowAbout() {
  if (!fmAbout_) return;
  fmAbout_->move(frameGeometry().topLeft());
  fmAbout_->show();
  fmAbout_->raise();
  fmAbout_->activateWindow();
}

void Tfm_main::ShowSettings() {
  if (!fmSet_) return;
  fmSet_->Attach(&state_, store_.get());
  fmSet_->Execute();
}

void Tfm_main::ShowTagEditor() {
  if (!fmId3_) return;
  fmId3_->Attach(lv_, &state_.FileInfos);
  fmId3_->Execute();
}

void Tfm_main::lvClick() {
  const int count = lv_->topLevelItemCount();
  if (count == 0) return;
  int first = -1;
  for (int i = 0; i < count && first < 0; ++i)
    if (lv_->topLevelItem(i)->isSelected()) first = i;
  if (first < 0) {
    if (QTreeWidgetItem* item = lv_->topLevelItem(state_.CurrentRow)) {
      item->setSelected(true);
      lv_->setCurrentItem(item);
    }
  } else if (!state_.Playing) {
    state_.CurrentRow = first;
  }
}
