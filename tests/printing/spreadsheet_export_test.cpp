#include "printing/spreadsheet_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <string>
#include <vector>

#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition.h"
#include "modelling/superposition_store.h"
#include "platform/pointer_state.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"
#include "support/saving_fixture.h"

namespace tellumo {
namespace {

// One field point as a sounding file gives it: singles in every column.
struct Point {
  float ab2, rho, mn2, dv, k, i;
};

// A layer of a model: resistivity and thickness (0 for the half-space).
struct Layer {
  float rho, h;
};

// The model table of the current sounding, as a file fills it: singles in
// all 20 layers, 0 beyond the model, depths from the thicknesses.
void SetCurrentModel(std::initializer_list<Layer> layers) {
  EmptyLayerModel();
  for (int r = 1; r <= kMaxLayers; ++r)
    for (int c = kLayerRho; c <= kLayerDepth; ++c) LayerModel[r][c] = 0.0f;
  int r = 0;
  float depth = 0.0f;
  for (const Layer& l : layers) {
    ++r;
    LayerModel[r][kLayerRho] = l.rho;
    LayerModel[r][kLayerThickness] = l.h;
    LayerModel[r][kLayerDepth] = depth;
    depth += l.h;
  }
  LayerCount = static_cast<int16_t>(r);
}

// A stored sounding as the program stores one: its model was the current
// one (read from its file) when the next file was opened.
void StoreSounding(int slot, std::initializer_list<Layer> layers) {
  vb::Cell before[kLayerRows][kLayerCols];
  std::copy(&LayerModel[0][0], &LayerModel[0][0] + kLayerRows * kLayerCols, &before[0][0]);
  const int16_t count = LayerCount;
  SetCurrentModel(layers);
  CopyModelToSlot(slot);
  std::copy(&before[0][0], &before[0][0] + kLayerRows * kLayerCols, &LayerModel[0][0]);
  LayerCount = count;
}

void SetPoints(std::initializer_list<Point> points) {
  EmptyFieldData();
  int i = 0;
  for (const Point& p : points) {
    ++i;
    FieldData[i][kSpacing1] = p.ab2;
    FieldData[i][kRhoApparent] = p.rho;
    FieldData[i][kSpacing2] = p.mn2;
    FieldData[i][kDeltaV] = p.dv;
    FieldData[i][kKFactor] = p.k;
    FieldData[i][kCurrent] = p.i;
    FieldData[i][kRhoUnshifted] = p.rho;
  }
  PointCount = static_cast<int16_t>(i);
}

// Field points from 1 to 10 m: with the default axes (from 0.1 m) the curve
// has 21 points.
void SetShortSounding() {
  SetPoints({{1, 52.3f, .3f, 1234.5f, 5.03f, 100},
             {2, 48.1f, .3f, 310.2f, 20.47f, 132},
             {5, 35.7f, 1, 87.25f, 37.7f, 92.5f},
             {10, 41.2f, 1, 26.1f, 155.51f, 98.5f}});
}

void SetSpacings(std::initializer_list<float> spacings) {
  EmptyFieldData();
  int i = 0;
  for (float a : spacings) {
    ++i;
    FieldData[i][kSpacing1] = a;
    FieldData[i][kRhoApparent] = 100.0f;
  }
  PointCount = static_cast<int16_t>(i);
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// The lines of a file written with CR LF ends (the last end included).
std::vector<std::string> Lines(const QByteArray& bytes) {
  std::vector<std::string> out;
  qsizetype from = 0;
  for (;;) {
    const qsizetype end = bytes.indexOf("\r\n", from);
    if (end < 0) break;
    out.push_back(bytes.mid(from, end - from).toStdString());
    from = end + 2;
  }
  EXPECT_EQ(from, bytes.size()) << "text after the last line end";
  return out;
}

// The line of the curve count: after the count line, the points and the 20
// layer lines.
size_t CountLineIndex() { return 1 + static_cast<size_t>(PointCount) + 20; }

class SpreadsheetExport : public test::SavingTest {
 protected:
  void SetUp() override {
    SavingTest::SetUp();
    Prepare(0);
  }

  // A fresh program with a sounding of four points and a three-layer model
  // opened from a file, English, Schlumberger, and this many stored
  // soundings: the first a homogeneous 100 ohm.m earth, the second two
  // layers.
  void Prepare(int stored) {
    StartProgram();
    Ui().setMainCaption = [this](const QString& c) { captions.push_back(c); };
    captions.clear();
    MaxSpacing = 1;
    FilePath = QStringLiteral("/surveys/SITE1.TM3");
    FileTitle = QStringLiteral("SITE1.TM3");
    SetShortSounding();
    SetCurrentModel({{120.5f, 1.5f}, {12.34f, 8.2f}, {300, 0}});
    SuperposeSwitch = stored > 0 ? 1 : -1;
    if (stored >= 1) StoreSounding(1, {{100, 0}});
    if (stored >= 2) StoreSounding(2, {{12.34f, 5}, {250, 0}});
    SuperposedCount = static_cast<int16_t>(stored);
    SuperposedShown = SuperposedCount;
  }

  // One export whose dialog is answered with this name.
  void ExportAs(const QString& name) {
    dialogs.choose(name);
    xlsave_Click();
  }

  QStringList FilesInFolder() const { return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }

  std::vector<QString> captions;
};

// --- The file --------------------------------------------------------------

TEST_F(SpreadsheetExport, GoldenFiles) {
  struct Case {
    const char* golden;
    int stored;  // stored soundings before the export
  };
  const Case cases[] = {
      {"export_current_model_only.TXL", 0},
      {"export_two_stored_models.TXL", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    Prepare(c.stored);
    vb::Cell before[kLayerRows][kLayerCols];
    std::copy(&LayerModel[0][0], &LayerModel[0][0] + kLayerRows * kLayerCols, &before[0][0]);
    captions.clear();
    ModeWord = QStringLiteral("NORMAL");

    const QString path = folder + QString::fromLatin1(c.golden);
    ExportAs(path);

    const QByteArray got = ReadBytes(path);
    EXPECT_EQ(got, test::Fixture(QString::fromLatin1(c.golden))) << got.toStdString();

    // The program afterwards.
    EXPECT_EQ(ModeWord, QString());
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0], QStringLiteral("Tellumo 6.4 [/surveys/SITE1.TM3]"));
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    EXPECT_EQ(CurrentFolder, folder);
    for (int r = 0; r < kLayerRows; ++r)
      for (int k = 0; k < kLayerCols; ++k) EXPECT_TRUE(LayerModel[r][k].identical(before[r][k])) << r << "," << k;
    EXPECT_EQ(LayerCount, 3);

    // The curve left is that of the last model computed: the first stored
    // sounding, or the current model when none is stored.
    double curve[101][4];
    std::copy(&ComputedCurve[0][0], &ComputedCurve[0][0] + 101 * 4, &curve[0][0]);
    const int16_t points = CurvePointCount;
    CopySlotToModel(c.stored > 0 ? 1 : c.stored + 1);
    ModeWord = QStringLiteral("FICHIER");
    ComputeModelCurve();
    ModeWord.clear();
    EXPECT_EQ(points, CurvePointCount);
    for (int p = 0; p <= CurvePointCount; ++p) {
      EXPECT_EQ(curve[p][1], ComputedCurve[p][1]) << p;
      EXPECT_EQ(curve[p][2], ComputedCurve[p][2]) << p;
    }
  }
}

TEST_F(SpreadsheetExport, NumberForms) {
  // Each cell of a point line: its general text at the precision it was
  // kept in, a blank (or minus) before, a blank after; a cell never set is
  // nothing at all.
  struct Case {
    vb::Cell cell;
    const char* text;
  };
  const Case cases[] = {
      {vb::Cell(1.3f), " 1.3 "},               // a single, not 1.29999995231628
      {vb::Cell(12.3456789), " 12.3456789 "},  // a double keeps its digits
      {vb::Cell(-0.25f), "-.25 "},             // minus, no zero before the point
      {vb::Cell(0.5), " .5 "},
      {vb::Cell(0.0f), " 0 "},
      {vb::Cell(12345678.0f), " 1.234568E+07 "},  // a large single
      {vb::Cell(), ""},                           // never set
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Prepare(0);
    PointCount = 1;
    for (int k = kSpacing1; k <= kCurrent; ++k) FieldData[1][k] = 1.0f;
    FieldData[1][kDeltaV] = c.cell;
    const QString path = folder + "forms.TXL";
    ExportAs(path);
    const auto lines = Lines(ReadBytes(path));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], " 1 ");
    EXPECT_EQ(lines[1], std::string(" 1  1  1 ") + c.text + " 1  1 ");
  }
}

TEST_F(SpreadsheetExport, StoredModelsInEveryPrecisionAndEmptySlotsLeftOut) {
  // Slot 1 holds no model (as a new sounding leaves it): it is no sounding
  // and gets no column. Slot 2 was typed in the model window: doubles, kept
  // with their own digits; slot 3 came from a file: singles.
  Prepare(0);
  SuperposeSwitch = 1;
  SuperposedModels[1][1][1] = 0.0;
  SuperposedModels[1][2][1] = 7.0;
  SuperposedLayerCounts[1] = 1;
  SuperposedModels[2][1][1] = 33.333333;
  SuperposedModels[2][2][1] = 2.5;
  SuperposedModels[2][1][2] = 16777215.0;  // a whole number a single holds exactly
  SuperposedLayerCounts[2] = 2;
  StoreSounding(3, {{0.7f, 3.3f}, {45.6f, 0}});
  SuperposedCount = 3;
  const QString path = folder + "stored.TXL";
  ExportAs(path);
  const auto lines = Lines(ReadBytes(path));
  ASSERT_EQ(lines.size(), 1 + 4 + 20 + 1 + 21u);
  EXPECT_EQ(lines[5], " 120.5  1.5  .7  3.3  33.333333  2.5 ");
  EXPECT_EQ(lines[6], " 12.34  8.2  45.6  0  16777215  0 ");
  EXPECT_EQ(lines[7], " 300  0  0  0  0  0 ");
  // Curve lines: the spacing and three resistivities, for the current model
  // and slots 3 and 2.
  EXPECT_EQ(lines[26], " .13336 120.51 .69962 33.305");
}

TEST_F(SpreadsheetExport, CutKeepsEveryIntegerDigitAndTheExponent) {
  // A homogeneous earth: every curve point is its resistivity. Cut to seven
  // characters, 2000000 would read as 200000 and 1.5E-05 as 1.5.
  struct Case {
    double rho;
    bool cut;  // whether the column is cut to seven characters
  };
  const Case cases[] = {{100.0, true}, {123.456789, true}, {999999.9, true}, {2000000.5, false}, {1.5E-05, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rho);
    Prepare(0);
    EmptyLayerModel();
    LayerModel[1][kLayerRho] = c.rho;
    LayerModel[1][kLayerThickness] = 0.0;
    LayerCount = 1;
    const QString path = folder + "cut.TXL";
    ExportAs(path);
    const auto lines = Lines(ReadBytes(path));
    ASSERT_EQ(lines.size(), 1 + 4 + 20 + 1 + 21u);
    for (size_t i = CountLineIndex() + 1; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      ASSERT_GT(line.size(), 7u);
      const std::string value = line.substr(7);  // after the spacing column
      EXPECT_NEAR(vb::Val(value) / c.rho, 1.0, 1e-3) << line;
      if (c.cut)
        EXPECT_LE(value.size(), 7u) << line;
      else
        EXPECT_GT(value.size(), 7u) << line;
    }
  }
}

// --- The curve rows --------------------------------------------------------

TEST_F(SpreadsheetExport, EveryExportTabulatesOnlyItsOwnCurve) {
  // First a sounding out to 10 km: 45 curve points, more than a table of 40
  // rows would hold. Then the same sounding cut to 10 m: 21 points, and not
  // one row left over from the longer curve.
  const QString path = folder + "curve.TXL";
  SetSpacings({1, 10, 100, 1000, 10000});
  ExportAs(path);
  auto lines = Lines(ReadBytes(path));
  size_t count = 1 + 5 + 20;
  ASSERT_EQ(lines.size(), count + 1 + 45);
  EXPECT_EQ(lines[count], " 46 ");
  EXPECT_EQ(lines.back(), " 42169. 299.97");

  SetSpacings({1, 3, 10});
  boxes.answer(MsgAnswer::Yes);
  xlsave_Click();
  lines = Lines(ReadBytes(path));
  count = 1 + 3 + 20;
  ASSERT_EQ(lines.size(), count + 1 + 21);
  EXPECT_EQ(lines[count], " 22 ");
  EXPECT_EQ(lines[count + 1].substr(0, 7), " .13336");
  EXPECT_EQ(lines.back().substr(0, 7), " 42.169");
}

TEST_F(SpreadsheetExport, NoCurveComputedWritesNoCurveRows) {
  // A curve of the model was computed before; with no spacing range the
  // export computes none, and writes none of the old one.
  ModeWord = QStringLiteral("FICHIER");
  ComputeModelCurve();
  ModeWord.clear();
  ASSERT_GT(CurvePointCount, 20);
  double curve[101][4];
  std::copy(&ComputedCurve[0][0], &ComputedCurve[0][0] + 101 * 4, &curve[0][0]);
  const int16_t points = CurvePointCount;
  MaxSpacing = 0;

  const QString path = folder + "nocurve.TXL";
  ExportAs(path);
  const auto lines = Lines(ReadBytes(path));
  ASSERT_EQ(lines.size(), CountLineIndex() + 1);
  EXPECT_EQ(lines.back(), " 1 ");
  EXPECT_EQ(CurvePointCount, points);
  EXPECT_TRUE(std::equal(&curve[0][0], &curve[0][0] + 101 * 4, &ComputedCurve[0][0]));
}

TEST_F(SpreadsheetExport, BrowsingExportsTheParkedCurrentModel) {
  // The user browses the stored soundings: the table shows stored sounding
  // 1, and the model current before browsing waits in the slot after them.
  Prepare(2);
  ParkCurrentModel();
  SetCurrentModel({{100, 0}});
  SuperposedShown = 0;
  SuperposeExtra = 1;
  vb::Cell before[kLayerRows][kLayerCols];
  std::copy(&LayerModel[0][0], &LayerModel[0][0] + kLayerRows * kLayerCols, &before[0][0]);

  const QString path = folder + "browse.TXL";
  ExportAs(path);
  const auto lines = Lines(ReadBytes(path));
  ASSERT_EQ(lines.size(), 1 + 4 + 20 + 1 + 21u);
  EXPECT_EQ(lines[5], " 120.5  1.5  12.34  5  100  0 ");
  EXPECT_EQ(lines[26], " .13336 120.51 12.337 100");

  // The table still shows the browsed sounding, the parked model still waits.
  for (int r = 0; r < kLayerRows; ++r)
    for (int k = 0; k < kLayerCols; ++k) EXPECT_TRUE(LayerModel[r][k].identical(before[r][k])) << r << "," << k;
  EXPECT_EQ(LayerCount, 1);
  EXPECT_DOUBLE_EQ(SuperposedModels[3][1][1].value(), 120.5);
  EXPECT_EQ(SuperposedLayerCounts[3], 3);
  EXPECT_EQ(SuperposeExtra, 1);
}

// --- Choosing the file ------------------------------------------------------

TEST_F(SpreadsheetExport, TheDialogAndTheExtension) {
  struct Case {
    const char* answer;
    const char* file;
  };
  const Case cases[] = {
      {"report.old.csv", "report.TXL"},
      {"report", "report.TXL"},
      {"a.b.c", "a.TXL"},
      {"site.TXL", "site.TXL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Prepare(0);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    dialogs.requests.clear();
    CurrentFolder = QStringLiteral("/elsewhere/");
    ExportAs(folder + c.answer);

    ASSERT_EQ(dialogs.requests.size(), 1u);
    const DialogRequest& r = dialogs.requests[0];
    EXPECT_EQ(r.kind, DialogKind::Save);
    EXPECT_EQ(r.filter, QStringLiteral("File Tellumo (*.TXL)|*.TXL"));
    EXPECT_EQ(r.title, QStringLiteral("Record File for XL"));
    EXPECT_EQ(r.flags, kDlgOverwritePrompt);
    EXPECT_EQ(r.fileName, QString());
    EXPECT_EQ(FilesInFolder(), QStringList{QString::fromLatin1(c.file)});
    EXPECT_EQ(ExportTitle, QString::fromLatin1(c.file));
    EXPECT_EQ(ExportPath, folder + c.file);
    EXPECT_EQ(CurrentFolder, folder);
  }
}

TEST_F(SpreadsheetExport, ANameTheExtensionMadeAsksBeforeReplacing) {
  // The dialog asked about "report.old.csv"; "report.TXL" is another file,
  // which is there already.
  struct Case {
    MsgAnswer answer;
    const char* written;  // the file the export writes
  };
  const Case cases[] = {{MsgAnswer::Yes, "report.TXL"}, {MsgAnswer::No, "other.TXL"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    Prepare(0);
    dialogs.requests.clear();
    const QString existing = folder + "report.TXL";
    {
      QFile f(existing);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("earlier\r\n");
    }
    QFile::remove(folder + "other.TXL");
    boxes.answer(c.answer);
    dialogs.choose(folder + "report.old.csv");
    if (c.answer == MsgAnswer::No) dialogs.choose(folder + "other");
    xlsave_Click();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The file " + existing + " already exists. Replace it?");
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Question);
    boxes.boxes.clear();
    if (c.answer == MsgAnswer::No) {
      // The dialog again, proposing the name that was refused.
      ASSERT_EQ(dialogs.requests.size(), 2u);
      EXPECT_EQ(dialogs.requests[1].fileName, existing);
      EXPECT_EQ(ReadBytes(existing), QByteArray("earlier\r\n"));
    }
    EXPECT_EQ(ExportPath, folder + c.written);
    EXPECT_EQ(ReadBytes(folder + c.written).left(5), QByteArray(" 4 \r\n"));
  }
}

TEST_F(SpreadsheetExport, ASecondExportAsksFirst) {
  struct Case {
    MsgAnswer answer;
    bool dialog;  // whether the dialog is shown
  };
  const Case cases[] = {{MsgAnswer::Yes, false}, {MsgAnswer::No, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    Prepare(0);
    dialogs.requests.clear();
    const QString first = folder + "first.TXL";
    ExportAs(first);
    captions.clear();
    CurrentFolder = QStringLiteral("/elsewhere/");

    // The sounding changes between the two exports.
    PointCount = 2;
    boxes.answer(c.answer);
    if (c.dialog) dialogs.choose(folder + "second");
    xlsave_Click();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Recording File " + first);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Question);
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Tellumo 6.4"));
    boxes.boxes.clear();
    ASSERT_EQ(dialogs.requests.size(), c.dialog ? 2u : 1u);
    if (c.dialog) {
      EXPECT_EQ(dialogs.requests[1].fileName, first);
      EXPECT_EQ(ReadBytes(folder + "second.TXL").left(5), QByteArray(" 2 \r\n"));
      EXPECT_EQ(ReadBytes(first).left(5), QByteArray(" 4 \r\n"));
      EXPECT_EQ(CurrentFolder, folder);
    } else {
      EXPECT_EQ(ReadBytes(first).left(5), QByteArray(" 2 \r\n"));
      EXPECT_EQ(CurrentFolder, QStringLiteral("/elsewhere/"));
    }
    EXPECT_EQ(captions.size(), 1u);
  }
}

TEST_F(SpreadsheetExport, QuestionsInTheUsersLanguage) {
  struct Case {
    int16_t french, spanish;
    const char* recording;
    const char* replace;  // with %1 for the file
  };
  const Case cases[] = {
      {kTrue, kFalse, "Sauvegarde du fichier ", "Le fichier %1 existe déjà. Le remplacer ?"},
      {kFalse, kTrue, "Salvar fichero ", "El fichero %1 ya existe. ¿Desea reemplazarlo?"},
      {kFalse, kFalse, "Recording File ", "The file %1 already exists. Replace it?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recording);
    Prepare(0);
    IsFrench = c.french;
    IsSpanish = c.spanish;
    const QString existing = folder + "twice.TXL";
    QFile::remove(existing);
    ExportAs(folder + "twice");
    // Again: the question, then the dialog, whose name the extension turns
    // into the file just written.
    boxes.answer(MsgAnswer::No);
    boxes.answer(MsgAnswer::Yes);
    ExportAs(folder + "twice.old");
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(c.recording) + existing);
    EXPECT_EQ(boxes.boxes[1].text, QString::fromUtf8(c.replace).arg(existing));
    boxes.boxes.clear();
  }
}

TEST_F(SpreadsheetExport, CancelWritesNothing) {
  // The first export of the run, cancelled in the dialog.
  ModeWord = QStringLiteral("NORMAL");
  CurrentFolder = QStringLiteral("/elsewhere/");
  dialogs.cancel();
  xlsave_Click();
  EXPECT_TRUE(FilesInFolder().isEmpty());
  EXPECT_EQ(ExportPath, QString());
  EXPECT_EQ(ExportTitle, QString());
  EXPECT_EQ(CurrentFolder, QStringLiteral("/elsewhere/"));
  EXPECT_EQ(ModeWord, QString());
  EXPECT_TRUE(captions.empty());
  EXPECT_TRUE(dialogs.requests[0].fileName.isEmpty());

  // A later one: the file chosen before is not offered (No), and the dialog
  // is cancelled.
  const QString path = folder + "kept.TXL";
  ExportAs(path);
  const QByteArray written = ReadBytes(path);
  PointCount = 2;
  boxes.answer(MsgAnswer::No);
  dialogs.cancel();
  xlsave_Click();
  EXPECT_EQ(ReadBytes(path), written);
  EXPECT_EQ(FilesInFolder(), QStringList{"kept.TXL"});
  EXPECT_EQ(ExportPath, path);
  EXPECT_EQ(ModeWord, QString());
}

// --- Write errors -----------------------------------------------------------

TEST_F(SpreadsheetExport, AWriteErrorIsShownAndTheUserChoosesAgain) {
  enum class Trouble { MissingFolder, FolderInTheWay, ReadOnlyFolder };
  struct Case {
    Trouble trouble;
    int16_t french, spanish;
    const char* message;
  };
  const Case cases[] = {
      {Trouble::MissingFolder, kFalse, kFalse, "No such disk or directory..."},
      {Trouble::MissingFolder, kFalse, kTrue, "Disco o directorio no existe..."},
      {Trouble::MissingFolder, kTrue, kFalse, "Disque ou répertoire inexistant..."},
      {Trouble::FolderInTheWay, kFalse, kFalse, "Recording File Error..."},
      {Trouble::FolderInTheWay, kFalse, kTrue, "Error al salvar fichero..."},
      {Trouble::FolderInTheWay, kTrue, kFalse, "Erreur lors de l'enregistrement du fichier..."},
      {Trouble::ReadOnlyFolder, kFalse, kFalse, "Write protected disk..."},
      {Trouble::ReadOnlyFolder, kFalse, kTrue, "Disco protegido contra escritura..."},
      {Trouble::ReadOnlyFolder, kTrue, kFalse, "Disquette protégée en écriture..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    if (c.trouble == Trouble::ReadOnlyFolder && geteuid() == 0) continue;  // root writes anywhere
    Prepare(0);
    IsFrench = c.french;
    IsSpanish = c.spanish;
    dialogs.requests.clear();
    QString bad;
    switch (c.trouble) {
      case Trouble::MissingFolder:
        bad = folder + "missing/out.TXL";
        break;
      case Trouble::FolderInTheWay:
        bad = folder + "in_the_way.TXL";
        QDir().mkpath(bad);
        break;
      case Trouble::ReadOnlyFolder:
        bad = folder + "locked/out.TXL";
        QDir().mkpath(folder + "locked");
        QFile::setPermissions(folder + "locked", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        break;
    }
    const QString good = folder + "good.TXL";
    QFile::remove(good);

    // The failed write, its message, the question about the same file (No),
    // the dialog proposing it, and the second choice written.
    dialogs.choose(bad);
    boxes.answer(MsgAnswer::OK);
    boxes.answer(MsgAnswer::No);
    dialogs.choose(good);
    xlsave_Click();

    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(c.message));
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Tellumo 6.4"));
    EXPECT_TRUE(boxes.boxes[1].text.endsWith(bad));
    boxes.boxes.clear();
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[1].fileName, bad);
    EXPECT_FALSE(QFileInfo(bad).isFile());
    // Written whole, with a fresh table of curve rows.
    EXPECT_EQ(Lines(ReadBytes(good)).size(), 1 + 4 + 20 + 1 + 21u);
    EXPECT_EQ(ExportPath, good);
    EXPECT_EQ(ModeWord, QString());
    EXPECT_EQ(captions.size(), 1u);
    if (c.trouble == Trouble::ReadOnlyFolder)
      QFile::setPermissions(folder + "locked",
                            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
}

}  // namespace
}  // namespace tellumo
