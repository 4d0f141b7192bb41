#include "support/fixtures.h"

#include <QFile>

#include "sounding/sounding_record.h"

namespace tellumo::test {

void DefaultPlotAxes() {
  AB2MinDecade = -1;
  AB2MaxDecade = 4;
  RhoMinDecade = 0;
  RhoMaxDecade = 4;
  AB2MinValue = 0;
  AB2MaxValue = 10000;
  RhoMinValue = 1;
  RhoMaxValue = 10000;
}

void StateTest::SetUp() {
  ResetAllState();
  scope_ = new ScopedMessageService(&boxes);
}

void StateTest::TearDown() {
  delete scope_;
  scope_ = nullptr;
  EXPECT_EQ(boxes.unexpected, 0) << "a message box appeared that the test did not expect";
}

QString FixturePath(const QString& name) { return QStringLiteral(TELLUMO_TEST_DATA "/") + name; }

QByteArray Fixture(const QString& name) {
  QFile f(FixturePath(name));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
  return f.readAll();
}

QByteArray CrLf(std::initializer_list<const char*> lines) {
  QByteArray out;
  for (const char* l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace tellumo::test
