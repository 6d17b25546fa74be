#include "app/main_window.h"
Tfm_main::Tfm_main(QWidget* parent) : QWidget(parent) {}
