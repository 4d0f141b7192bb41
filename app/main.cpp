#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <csignal>

#include "mainwindow/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tellumo"));
  // The desktop matches the windows to tellumo.desktop (its name and icon in
  // the task bar); the icon comes from the theme once installed.
  QGuiApplication::setDesktopFileName(QStringLiteral("tellumo"));
  QApplication::setWindowIcon(
      QIcon::fromTheme(QStringLiteral("tellumo"), QIcon(QStringLiteral(":/icons/tellumo.svg"))));
  // The standard buttons and file dialogs speak the desktop's language, as
  // the system's own boxes do (the program's texts follow its own setting).
  QTranslator qtTexts;
  if (qtTexts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  // QApplication takes the user's locale for the C library; numbers in files
  // are always written and read with '.'.
  std::setlocale(LC_NUMERIC, "C");
  // Past a file-size limit a write must fail with an error the save reports
  // (the old file kept), not end the program with the sounding unsaved.
  std::signal(SIGXFSZ, SIG_IGN);
  return tellumo::RunProgram();
}
