#include <QApplication>
#include <clocale>

#include "mainwindow/sev_window.h"
#include "platform/qt_message_service.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // QApplication takes the user's locale for the C library; numbers in files
  // are always written and read with '.'.
  std::setlocale(LC_NUMERIC, "C");
  tellumo::SEV window;
  tellumo::QtMessageService messages(&window);
  tellumo::SetMessageService(&messages);
  window.show();
  int rc = app.exec();
  tellumo::SetMessageService(nullptr);
  return rc;
}
