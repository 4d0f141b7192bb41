#include <QApplication>
#include <clocale>

#include "mainwindow/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tellumo"));
  // QApplication takes the user's locale for the C library; numbers in files
  // are always written and read with '.'.
  std::setlocale(LC_NUMERIC, "C");
  return tellumo::RunProgram();
}
