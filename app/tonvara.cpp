// Program entry: the application titled "Tonvara" and its five windows,
// created once in this order and kept until the program ends.
#include <QApplication>

#include "app/about_box.h"
#include "app/main_window.h"
#include "platform/chinese_font.h"
#include "settings/dir_dialog.h"
#include "settings/settings_dialog.h"
#include "tags/tag_editor_dialog.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tonvara"));
  QApplication::setFont(ChineseFont(9));

  Tfm_main fm_main;
  Tfm_about fm_about(&fm_main);
  Tfm_dir fm_dir(&fm_main);
  Tfm_set fm_set(&fm_main);
  Tfm_id3 fm_id3(&fm_main);
  fm_main.AttachWindows(&fm_about, &fm_dir, &fm_set, &fm_id3);

  fm_main.show();
  return app.exec();
}
