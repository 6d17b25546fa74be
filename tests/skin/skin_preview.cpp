// Renders the skin offscreen as the main window shows it (with stand-ins for
// the list, the folder label and the format selector) and saves PNGs, so the
// look can be judged from pictures: at rest, with hover, and while pressed.
//   skin_preview [skin file] [output folder]
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>
#include <cstdio>

#include "platform/skin/skin_widget.h"

namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

void ShowPercent(TSkin& skin, int percent) {
  ISkinObject* root = skin.GetWindowRoot(skin.parentWidget());
  auto* bar = QueryInterface<ISkinElementPlacement>(root->FindChild("pb"));
  auto* text = QueryInterface<ISkinElementText>(root->FindChild("pbpos"));
  static const SkinRect full = bar->GetPlacement();
  SkinRect r = full;
  r.Right = r.Left + percent * 442 / 100;
  bar->SetPlacement(r);
  bar->Repaint();
  text->AssignText(percent < 0 ? "" : std::to_string(percent) + "%");
  if (percent < 0) {
    r.Right = r.Left;
    bar->SetPlacement(r);
    bar->Repaint();
  }
}

void Save(QWidget& window, const QString& file) {
  QApplication::processEvents();
  window.grab().save(file);
  std::printf("%s\n", file.toLocal8Bit().constData());
}

void AddStandIns(QWidget& window) {
  auto* lv = new QTreeWidget(&window);
  lv->setGeometry(12, 100, 446, 201);
  lv->setRootIsDecorated(false);
  lv->setStyleSheet(
      "QTreeWidget::item { border-right: 1px solid #e3e7ec; border-bottom: 1px solid #e3e7ec; }");
  lv->setHeaderLabels({"文件标题", "频率", "声道", "时间", "大小", "状态"});
  const int widths[] = {120, 70, 60, 60, 60, 70};
  for (int i = 0; i < 6; ++i) lv->setColumnWidth(i, widths[i]);
  lv->addTopLevelItem(new QTreeWidgetItem({"夜空中最亮的星.mp3", "44100 Hz", " 立体声", "04:12", "9.63MB", "完成"}));
  lv->addTopLevelItem(new QTreeWidgetItem({"Morning Walk.wav", "48000 Hz", " 立体声", "03:05", "33.91MB", "正在转换"}));
  lv->addTopLevelItem(new QTreeWidgetItem({"讲座录音.wma", "22050 Hz", " 单声", "58:40", "27.10MB", "未转换"}));
  auto* label = new TSkinLabel(&window);
  label->setGeometry(90, 76, 242, 14);
  label->SetCaption("/home/user/Music");
  auto* scmb = new QComboBox(&window);
  scmb->addItems({"MP3", "WAV", "WMA", "OGG", "VOX"});
  scmb->setGeometry(393, 49, 61, 20);
}

// The main window's own font: the CJK family at 12 pixels.
QFont WindowFont() {
  QFont font;
  font.setFamilies({"Noto Sans CJK SC", "WenQuanYi Zen Hei", "Sans"});
  font.setPixelSize(12);
  return font;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString folder = argc > 2 ? argv[2] : "/tmp";
  QWidget window;
  window.setFont(WindowFont());
  auto* skin = new TSkin(&window);
  try {
    if (argc > 1) skin->OpenSkinFile(argv[1]);
    else skin->OpenSkinText(TSkin::BuiltInSkinText(), "built-in skin");
    skin->SkinWindow(&window);
    skin->SkinWindowAs(&window, "Form");
  } catch (const SkinError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  AddStandIns(window);
  window.show();
  ShowPercent(*skin, -1);
  Save(window, folder + "/tonvara-skin-rest.png");

  ShowPercent(*skin, 40);
  SendMouse(skin, QEvent::MouseMove, skin->ElementRect("b_Add").center());
  Save(window, folder + "/tonvara-skin-hover.png");

  ShowPercent(*skin, 75);
  SendMouse(skin, QEvent::MouseMove, skin->ElementRect("b_convert").center());
  SendMouse(skin, QEvent::MouseButtonPress, skin->ElementRect("b_convert").center());
  Save(window, folder + "/tonvara-skin-pressed.png");
  SendMouse(skin, QEvent::MouseButtonRelease, skin->ElementRect("b_convert").center());

  SendMouse(skin, QEvent::MouseMove, skin->ElementRect("action").center());
  Save(window, folder + "/tonvara-skin-menu-hover.png");
  return 0;
}
