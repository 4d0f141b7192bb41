#pragma once
// Small sounding files for the profile tests, written the way the program
// writes them: the count line, point lines, 20 layer lines and the seven
// texts, CR LF.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>

namespace tellumo::test {

struct LayerLine {
  long long rho;    // x100
  long long thick;  // x100
  long long depth;  // x100
};

// A sounding with one point line per spacing field (x10) and the given
// layer lines, at X, Y, Z.
inline QByteArray SoundingBytes(const QString& x, const QString& y, const QString& z,
                                std::initializer_list<long long> spacings, std::initializer_list<LayerLine> layers) {
  QByteArray out = QByteArray::number(static_cast<qlonglong>(spacings.size())) + ".5\r\n";
  for (long long s : spacings) out += QByteArray::number(s) + ",10000,50,100,100,10\r\n";
  int n = 0;
  for (const LayerLine& l : layers) {
    out += QByteArray::number(l.rho) + ',' + QByteArray::number(l.thick) + ',' + QByteArray::number(l.depth) + "\r\n";
    ++n;
  }
  for (; n < 20; ++n) out += "0,0,0\r\n";
  for (const QString& t : {QString("comment"), QString(), QString("title"), x, y, z, QString()})
    out += '"' + t.toLatin1() + "\"\r\n";
  return out;
}

inline void WriteTestFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// What the multiple-selection dialog returns: the folder, then the names,
// separated by NUL.
inline QString Selection(const QString& folder, const QStringList& names) {
  QString out = folder;
  for (const QString& n : names) out += QChar(u'\0') + n;
  return out;
}

}  // namespace tellumo::test
