#include "importers/import_frame.h"

#include <gtest/gtest.h>

#include <QFile>
#include <stdexcept>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/text_file.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"
#include "support/saving_fixture.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

TEST(ImportFrame, TargetNamesNeverCutIntoTheFolder) {
  struct Case {
    QString path;
    int cut;
    QString target;
  } cases[] = {
      {"/data/station.ves", 4, "/data/station.TM3"},
      {"/data/LINE7.GTR", 4, "/data/LINE7.TM3"},
      {"/data/survey.csv", 3, "/data/survey.TM3"},
      {"/data/a.b.dat", 3, "/data/a.b.TM3"},
      {"/data/x.ves", 4, "/data/x.TM3"},
      {"/data/abc", 4, "/data/abc.TM3"},    // too short a name keeps itself
      {"/data/.ves", 4, "/data/.ves.TM3"},
      {"/data/abc", 3, "/data/abc.TM3"},
      {"/field/ab", 4, "/field/ab.TM3"},
      {"/field/we\\ird.ves", 4, "/field/we\\ird.TM3"},  // a '\' is a letter of the name
      {"ab", 4, "ab.TM3"},
      {"", 4, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TargetTm3Name(c.path, c.cut), c.target) << c.path.toStdString();
}

TEST(ImportFrame, TheBusyPointerEndsAsACrosshairOnEveryWayOut) {
  BilogPointer().set(Pointer::Arrow);
  {
    BusyPointer busy;
    EXPECT_EQ(BilogPointer().get(), Pointer::Hourglass);
  }
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  BilogPointer().set(Pointer::Arrow);
  try {
    BusyPointer busy;
    throw std::runtime_error("failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

ImportedSounding TwoPoints() {
  ImportedSounding s;
  s.points.push_back({vb::Cell(2.0), vb::Cell(40.0), vb::Cell(0.5), vb::Cell(10.0), vb::Cell(), vb::Cell(5.0)});
  s.points.push_back({vb::Cell(6.4), vb::Cell(50.0), vb::Cell(0.5), vb::Cell(2.0f), vb::Cell(), vb::Cell(5.0)});
  return s;
}

class ImportFrameTest : public test::SavingTest {
 protected:
  void SetUp() override {
    SavingTest::SetUp();
    Ui().unloadModelWindow = [this] { ++unloads; };
    OpenSoundingBefore();
  }
  // The sounding open before: points, a model, texts in the boxes, flags.
  static void OpenSoundingBefore() {
    PointCount = 3;
    for (int i = 1; i <= 3; ++i) {
      FieldData[i][kSpacing1] = static_cast<float>(i * 10);
      FieldData[i][kRhoApparent] = 99.0f;
    }
    LayerModel[1][kLayerRho] = 300.0f;
    LayerModel[1][kLayerThickness] = 4.0f;
    LayerModel[2][kLayerRho] = 30.0f;
    LayerCount = 2;
    SoundingComment = "old comment";
    InstrumentName = "old instrument";
    SoundingX = "1";
    SoundingY = "2";
    SoundingZ = "3";
    SoundingAzimuth = "N";
    GraphTitle = "old title";
    ShowSoundingTexts();
    SoundingReadFailed = kTrue;
    ConvertedFromOlderFormat = kTrue;
    FilePath = "/elsewhere/old.TM3";
    FileTitle = "old.TM3";
    ModeWord = "";
  }
  QString Put(const QByteArray& bytes, const QString& as) {
    QFile f(folder + as);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return folder + as;
  }
  std::vector<QString> Texts() const {
    std::vector<QString> out;
    for (const auto& b : boxes.boxes) out.push_back(b.text);
    return out;
  }
  // A conversion whose parser returns `result` whatever the bytes.
  SingleSoundingImport Import(const ImportResult& result) {
    SingleSoundingImport i;
    i.dialog = {"Fichier Tellumo *.XYZ", "TELLUMO File selection", "*.XYZ"};
    i.parse = [this, result](const QByteArray& bytes) {
      parsed.push_back(bytes);
      return result;
    };
    return i;
  }

  int unloads = 0;
  std::vector<QByteArray> parsed;
};

TEST_F(ImportFrameTest, AnImportedSoundingReplacesTheWholeSounding) {
  ImportedSounding s = TwoPoints();
  s.layers.push_back({vb::Cell(100.0), vb::Cell(2.0), vb::Cell(0.0)});
  s.layers.push_back({vb::Cell(10.0), vb::Cell(0.0), vb::Cell(2.0)});
  s.title = "new title";
  s.arrayCode = QString("2");
  ApplyImportedSounding(s);

  EXPECT_EQ(PointCount, 2);
  EXPECT_TRUE(FieldData[1][kSpacing1].identical(vb::Cell(2.0)));
  EXPECT_TRUE(FieldData[2][kDeltaV].identical(vb::Cell(2.0f)));  // the kind the parser gave
  EXPECT_TRUE(FieldData[1][kKFactor].empty());
  EXPECT_TRUE(FieldData[3][kSpacing1].empty());
  EXPECT_TRUE(FieldData[1][kRhoUnshifted].empty());
  EXPECT_EQ(LayerCount, 2);
  EXPECT_EQ(LayerModel[2][kLayerDepth].value(), 2.0);
  EXPECT_EQ(LayerModel[3][kLayerRho].value(), 0.0);
  // Nothing of the texts before: the boxes the save reads show the new ones.
  for (const QString* t : {&SoundingComment, &InstrumentName, &SoundingX, &SoundingY, &SoundingZ, &SoundingAzimuth})
    EXPECT_EQ(*t, "");
  EXPECT_EQ(GraphTitle, "new title");
  EXPECT_EQ(Text18.Text, "");
  EXPECT_EQ(Text29.Text, "new title");
  EXPECT_EQ(X_Texte1.Text, "");
  EXPECT_EQ(ArrayCode, "2");
  EXPECT_EQ(Option3, kTrue);
  EXPECT_EQ(Option1, kFalse);
  EXPECT_EQ(SoundingReadFailed, kFalse);
  EXPECT_EQ(ConvertedFromOlderFormat, kFalse);
  EXPECT_EQ(MaxSpacing, 6);  // none given: the largest spacing, rounded
  EXPECT_EQ(unloads, 1);
  EXPECT_EQ(BuildGrid().TextMatrix(2, kGridSpacing1), " 6.4");
  EXPECT_TRUE(boxes.boxes.empty());

  // Without an array in the file the buttons stay; a given range is kept.
  s.arrayCode.reset();
  s.layers.clear();
  s.maxSpacing = 2;
  ApplyImportedSounding(s);
  EXPECT_EQ(ArrayCode, "2");
  EXPECT_EQ(MaxSpacing, 2);
  EXPECT_EQ(LayerCount, 0);
  EXPECT_FALSE(HasModel());
}

TEST_F(ImportFrameTest, CancelRefusalAndReviewLeaveEverythingAsItWas) {
  const QString path = Put("bytes", "f.XYZ");
  ImportResult refused;
  refused.outcome = ImportResult::Outcome::Refused;
  refused.messages << "Not this mode.";
  ImportResult read;
  read.sounding = TwoPoints();
  ImportResult readingErrorOnly;
  readingErrorOnly.outcome = ImportResult::Outcome::ReadingError;
  ImportResult nothing;

  struct Case {
    const char* what;
    bool cancel;
    ImportResult result;
    bool reviewSays;
    std::vector<QString> texts;
  } cases[] = {
      {"cancel", true, read, true, {}},
      {"refused", false, refused, true, {"Not this mode."}},
      {"reviewed and declined", false, read, false, {}},
      {"no points after an error", false, readingErrorOnly, true, {"Reading File Error ..."}},
      {"no points", false, nothing, true, {"The file holds no readings: nothing was converted."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.boxes.clear();
    ModeWord = "FIELD";
    Option1 = kTrue;
    const SoundingSnapshot before = SoundingSnapshot::Take();
    SingleSoundingImport i = Import(c.result);
    i.review = [&](ImportResult&) { return c.reviewSays; };
    if (c.cancel) dialogs.cancel();
    else dialogs.choose(path);
    for (size_t k = 0; k < c.texts.size(); ++k) boxes.answer(MsgAnswer::OK);
    EXPECT_FALSE(RunSingleSoundingImport(i));
    EXPECT_EQ(Texts(), c.texts);
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_EQ(ModeWord, "FIELD");
    EXPECT_EQ(Option1, kTrue);
    EXPECT_EQ(unloads, 0);
    EXPECT_FALSE(QFile::exists(folder + "f.TM3"));
  }
  EXPECT_EQ(parsed.size(), 4u);  // every case but the cancel read the file
  EXPECT_EQ(parsed.front(), QByteArray("bytes"));
}

TEST_F(ImportFrameTest, AChangedSoundingIsNotGivenUpUnasked) {
  // Readings or a model changed since the last save: the user is asked
  // first, and Cancel keeps the sounding with no dialog shown.
  SoundingModified = kTrue;
  const SoundingSnapshot before = SoundingSnapshot::Take();
  boxes.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(RunSingleSoundingImport(Import(ImportResult())));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith("This sounding (readings, model or texts) has changed"));
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_TRUE(dialogs.requests.empty());
  EXPECT_TRUE(parsed.empty());
  test::ExpectSame(SoundingSnapshot::Take(), before);
  EXPECT_EQ(SoundingModified, kTrue);
}

TEST_F(ImportFrameTest, ARefusedPreparationShowsNoDialog) {
  const SoundingSnapshot before = SoundingSnapshot::Take();
  SingleSoundingImport i = Import(ImportResult());
  i.prepare = [] {
    ModeWord = "FIELD";  // what it changed is put back too
    return false;
  };
  EXPECT_FALSE(RunSingleSoundingImport(i));
  EXPECT_TRUE(dialogs.requests.empty());
  test::ExpectSame(SoundingSnapshot::Take(), before);
}

TEST_F(ImportFrameTest, TheRoadShowsWhatItMetThenOffersTheSave) {
  ImportResult r;
  r.outcome = ImportResult::Outcome::ReadingError;
  r.sounding = TwoPoints();
  r.messages << "Unknown array word.";
  SingleSoundingImport i = Import(r);
  i.errorText = ReadingErrorText::Pasi;
  i.cut = 3;
  QString savedAs;
  i.save = [&](QString& target) {
    savedAs = target;
    return true;
  };
  IsSpanish = kTrue;
  dialogs.choose(Put("x", "survey.csv"));
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::OK);
  EXPECT_TRUE(RunSingleSoundingImport(i));
  EXPECT_EQ(Texts(), (std::vector<QString>{"Error de lecture fichero ...", "Unknown array word."}));
  EXPECT_EQ(savedAs, folder + "survey.TM3");
  // The sounding written is named by its file, not by the foreign one.
  EXPECT_EQ(FileTitle, "survey.TM3");
  EXPECT_EQ(FilePath, folder + "survey.TM3");
  EXPECT_EQ(PointCount, 2);
  EXPECT_EQ(ModeWord, "NORMAL");
  const DialogRequest& d = dialogs.requests.back();
  EXPECT_EQ(d.kind, DialogKind::Open);
  EXPECT_EQ(d.filter, "Fichier Tellumo *.XYZ");
  EXPECT_EQ(d.flags, 0x80000);
}

TEST_F(ImportFrameTest, AnEmptyChoiceAsksForAFileAndChangesNothing) {
  const SoundingSnapshot before = SoundingSnapshot::Take();
  dialogs.choose(folder);  // a folder, no file name
  boxes.answer(MsgAnswer::OK);
  IsFrench = kTrue;
  EXPECT_FALSE(RunSingleSoundingImport(Import(ImportResult())));
  EXPECT_EQ(Texts(), std::vector<QString>{QString::fromUtf8("Sélectionnez d'abord un fichier ")});
  EXPECT_TRUE(parsed.empty());
  test::ExpectSame(SoundingSnapshot::Take(), before);
}

TEST_F(ImportFrameTest, TheDefaultSaveWritesTheImportAndNothingOfTheSoundingBefore) {
  ImportResult r;
  r.sounding = TwoPoints();
  dialogs.choose(Put("x", "f.XYZ"));
  boxes.answer(MsgAnswer::Yes);
  EXPECT_TRUE(RunSingleSoundingImport(Import(r)));
  EXPECT_EQ(Texts(), std::vector<QString>{"Recording File " + folder + "f.TM3"});
  EXPECT_EQ(ModeWord, "");
  const QByteArray written = ReadFileBytes(folder + "f.TM3");
  EXPECT_EQ(written, SoundingFileV5Bytes());
  EXPECT_FALSE(written.contains("old"));
  EXPECT_EQ(RecentFiles[1], folder + "f.TM3");
}

}  // namespace
}  // namespace tellumo
