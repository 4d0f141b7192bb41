// Test main for every test program: offscreen Qt, a private runtime folder,
// and a GUI application object so that fonts, images and painting work.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#ifdef TELLUMO_TEST_WIDGETS
#include <QApplication>
#endif
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir runtime(QDir::tempPath() + "/tellumo-test-runtime-XXXXXX");
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  }
#ifdef TELLUMO_TEST_WIDGETS
  QApplication app(argc, argv);
#else
  QGuiApplication app(argc, argv);
#endif
  std::setlocale(LC_NUMERIC, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
