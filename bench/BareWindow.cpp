// The floor for the editor's start-up: a Qt program that shows one window with one label, and
// with BRIXEL_EXIT_AFTER_PAINT set quits once the window has painted, as the editor does.
#include <QApplication>
#include <QLabel>

#include "StartupProbe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel window("Brixel");
  window.resize(1000, 640);
  brixel::StartupProbe::Watch(window);
  window.show();
  return QApplication::exec();
}
