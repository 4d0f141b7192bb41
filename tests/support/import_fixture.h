#pragma once
// The conversions through their menu items, on files in a scratch folder:
// what the importers' command tests share.
#include <QByteArray>
#include <QFile>
#include <QString>

#include "mainwindow/program_state.h"
#include "modelling/modelling_state.h"
#include "sounding/sounding_record.h"
#include "support/saving_fixture.h"

namespace tellumo::test {

class ImportCommandTest : public SavingTest {
 protected:
  // The bytes written into the scratch folder under `name`; its path.
  QString Put(const QByteArray& bytes, const QString& name) {
    const QString path = folder + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  // The same, chosen in the next file dialog.
  QString Offer(const QByteArray& bytes, const QString& name) {
    const QString path = Put(bytes, name);
    dialogs.choose(path);
    return path;
  }
  // A file of the scratch folder; empty when there is none.
  QByteArray Read(const QString& name) const {
    QFile f(folder + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A sounding open before the conversion, with a point, a layer and texts
  // of its own; `arrayCode` ("0", "1" or "2") selected when given.
  static void OpenSomething(const char* arrayCode = nullptr) {
    PointCount = 1;
    FieldData[1][kSpacing1] = 7.0f;
    FieldData[1][kRhoApparent] = 70.0f;
    LayerModel[1][kLayerRho] = 100.0f;
    LayerCount = 1;
    SoundingComment = "old comment";
    InstrumentName = "old instrument";
    SoundingAzimuth = "N45";
    SoundingX = "12";
    if (!arrayCode) return;
    const QString code = QString::fromLatin1(arrayCode);
    Option1 = code == "0" ? kTrue : kFalse;
    Option2 = code == "1" ? kTrue : kFalse;
    Option3 = code == "2" ? kTrue : kFalse;
    ArrayCode = code;
  }
};

}  // namespace tellumo::test
