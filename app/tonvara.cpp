#include <QApplication>
#include "app/main_window.h"
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Tfm_main w;
  w.show();
  return app.exec();
}
