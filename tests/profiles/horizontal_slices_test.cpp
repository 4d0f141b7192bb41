#include "profiles/horizontal_slices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "mainwindow/program_state.h"
#include "platform/common_dialog.h"
#include "profiles/profile_services.h"
#include "profiles/profile_test_files.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::Selection;
using test::SoundingBytes;

// The three soundings of the slice goldens, chosen in this order.
const QStringList kThree = {"profile_c.TM3", "profile_a.TM3", "profile_b.TM3"};

class HorizontalSlicesTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    dialogScope_ = std::make_unique<ScopedDialogService>(&dialogs);
    sliceScope_ = std::make_unique<ScopedSliceDialogService>(&forms);
    Option1 = kTrue;
    ASSERT_TRUE(dir.isValid());
    folder = dir.path();
    for (const char* name : {"profile_a.TM3", "profile_b.TM3", "profile_c.TM3", "profile_unreadable.TM3",
                             "profile_no_model.TM3"})
      QFile::copy(test::FixturePath(name), folder + "/" + name);
  }
  void TearDown() override {
    EXPECT_EQ(dialogs.unexpected, 0);
    EXPECT_EQ(forms.unexpected, 0);
    sliceScope_.reset();
    dialogScope_.reset();
    StateTest::TearDown();
  }

  // The export with the files chosen, the form answered and the proposed
  // name accepted or refused.
  void Export(const QStringList& names, int16_t kind, const QString& altitude, const QString& layer) {
    Choose(names, kind, altitude, layer);
    HORSLICE_Click();
  }
  // The files and the form scripted; what follows is the test's own.
  void Choose(const QStringList& names, int16_t kind, const QString& altitude, const QString& layer) {
    dialogs.choose(Selection(folder, names));
    forms.choose(kind, altitude, layer);
  }
  QStringList Paths(const QStringList& names) const {
    QStringList out;
    for (const QString& n : names) out << folder + "/" + n;
    return out;
  }
  QByteArray Written(const QString& name) const {
    QFile f(folder + "/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(not written)");
  }
  QStringList Entries() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

  ScriptedDialogService dialogs;
  ScriptedSliceDialogService forms;
  QTemporaryDir dir;
  QString folder;

 private:
  std::unique_ptr<ScopedDialogService> dialogScope_;
  std::unique_ptr<ScopedSliceDialogService> sliceScope_;
};

TEST_F(HorizontalSlicesTest, EachKindWritesItsGoldenFile) {
  const struct {
    int16_t kind;
    const char* altitude;
    const char* layer;
    const char* name;
    const char* golden;
  } cases[] = {
      {1, "240", "", "Res_by_alt_240.DAT", "slices_res_by_alt_240.DAT"},
      {2, "", "3", "Res_by_layer_3.DAT", "slices_res_by_layer_3.DAT"},
      {3, "-2", "", "Thick_by_alt_-2.DAT", "slices_thick_by_alt_-2.DAT"},
      {4, "", "1", "Thick_by_layer_1.DAT", "slices_thick_by_layer_1.DAT"},
      {5, "", "4", "Depht_by_layer_4.DAT", "slices_depth_by_layer_4.DAT"},
  };
  for (const auto& c : cases) {
    boxes.answer(MsgAnswer::Yes);
    Export(kThree, c.kind, c.altitude, c.layer);
    ASSERT_FALSE(boxes.boxes.empty());
    const auto& question = boxes.boxes.back();
    EXPECT_EQ(question.text, "Recording File " + folder + "/" + c.name);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_EQ(question.caption, ProgramTitle);
    EXPECT_EQ(Written(c.name), test::Fixture(c.golden)) << c.name;
    EXPECT_EQ(SliceMode, c.kind);
  }
  EXPECT_EQ(CurrentFolder, folder + "/");
}

TEST_F(HorizontalSlicesTest, TheFormIsCaptionedByLanguageAndShowsTheKeptSettings) {
  boxes.answer(MsgAnswer::Yes);
  Export(kThree, 2, "15", "3");
  IsFrench = kTrue;
  dialogs.choose(Selection(folder, kThree));
  forms.close(5, "typed", "but closed");
  HORSLICE_Click();

  ASSERT_EQ(forms.shown.size(), 2u);
  const ExtractionForm& english = forms.shown[0];
  EXPECT_EQ(english.Caption, "Extraction parameter for SURFER");
  EXPECT_EQ(english.OptionCaptions[0], "Resistivity by altitude");
  EXPECT_EQ(english.OptionCaptions[4], "Depth by layer");
  EXPECT_EQ(english.Label1, "Altitude");
  EXPECT_EQ(english.Label7, "# of layer");
  EXPECT_EQ(english.Command1, "OK");
  EXPECT_EQ(english.Option, 0);
  const ExtractionForm& french = forms.shown[1];
  EXPECT_EQ(french.OptionCaptions[2], "Epaisseur pour une altitude");
  EXPECT_EQ(french.Label7, "N° de la couche");
  EXPECT_EQ(french.Option, 2);
  EXPECT_EQ(french.Text1, "15");
  EXPECT_EQ(french.Text2, "3");
  // Closed without OK: the settings stay as they were, nothing more is written.
  EXPECT_EQ(SliceMode, 2);
  EXPECT_EQ(SliceLayerText, "3");
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(HorizontalSlicesTest, SpanishCaptionsKeepTheirSpelling) {
  IsSpanish = kTrue;
  const ExtractionForm f = MakeExtractionForm();
  EXPECT_EQ(f.OptionCaptions[3], "Espessor por capa");
  EXPECT_EQ(f.OptionCaptions[4], "Profundidat por capa");
  EXPECT_EQ(f.Label7, "Numero de la capa");
}

// Slices of single soundings, straight from the lines they give.
TEST_F(HorizontalSlicesTest, WhatEachSoundingAnswers) {
  const struct {
    const char* what;
    const char* file;
    int kind;
    double altitude, layer;
    const char* lines;
  } cases[] = {
      // A: ground 250, layer tops at 250, 247.5 and 237.5 (half-space);
      // Schlumberger, AB/2 150 m: it sees down to 150.
      {"at the top of layer 3: layer 3", "profile_a.TM3", 1, 237.5, 0, "60,80,800\r\n"},
      {"just above it: layer 2", "profile_a.TM3", 1, 237.6, 0, "60,80,35.25\r\n"},
      {"at the ground: layer 1", "profile_a.TM3", 1, 250, 0, "60,80,120.5\r\n"},
      {"above the ground: nothing", "profile_a.TM3", 1, 250.5, 0, ""},
      {"in the half-space, once", "profile_a.TM3", 1, 151, 0, "60,80,800\r\n"},
      {"below what the sounding sees", "profile_a.TM3", 1, 150, 0, ""},
      {"half-space thickness not written", "profile_a.TM3", 3, 200, 0, ""},
      {"thickness of the layer spanned", "profile_a.TM3", 3, 240, 0, "60,80,10\r\n"},
      {"layer 20 is never examined", "profile_a.TM3", 2, 0, 20, ""},
      {"layer 0 matches nothing", "profile_a.TM3", 2, 0, 0, ""},
      {"a fraction matches nothing", "profile_a.TM3", 4, 0, 1.5, ""},
      // Past the model's three layers: no resistivity and no depth were
      // measured there, but a thickness of 0 is a pinch-out.
      {"resistivity beyond the model: nothing", "profile_a.TM3", 2, 0, 4, ""},
      {"resistivity far beyond the model: nothing", "profile_a.TM3", 2, 0, 7, ""},
      {"depth beyond the model: nothing", "profile_a.TM3", 5, 0, 4, ""},
      {"thickness beyond the model: its zero", "profile_a.TM3", 4, 0, 7, "60,80,0\r\n"},
      {"resistivity of the half-space", "profile_a.TM3", 2, 0, 3, "60,80,800\r\n"},
      {"half-space thickness by layer", "profile_a.TM3", 4, 0, 3, "60,80,0\r\n"},
      {"depth of layer 1", "profile_a.TM3", 5, 0, 1, "60,80,0\r\n"},
      {"depth of the half-space", "profile_a.TM3", 5, 0, 3, "60,80,12.5\r\n"},
      // B stores no Z: its ground is at 0.
      {"empty Z is ground 0", "profile_b.TM3", 1, -0.5, 0, "0,200,50\r\n"},
      {"empty Z, second layer", "profile_b.TM3", 1, -1, 0, "0,200,10\r\n"},
      // Files that give nothing, whatever is asked.
      {"no model, by layer", "profile_no_model.TM3", 2, 0, 1, ""},
      {"no model, by altitude", "profile_no_model.TM3", 1, 100, 0, ""},
      {"unreadable", "profile_unreadable.TM3", 2, 0, 1, ""},
      {"missing", "profile_missing.TM3", 5, 0, 1, ""},
      {"no kind", "profile_a.TM3", 0, 240, 1, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SliceFileBytes(Paths({c.file}), c.kind, c.altitude, c.layer), QByteArray(c.lines)) << c.what;
}

TEST_F(HorizontalSlicesTest, TheHalfSpaceLimitFollowsTheArray) {
  // Wenner: A's last spacing a = 150 m, so it sees down to 100.
  Option1 = 0;
  Option3 = kTrue;
  EXPECT_EQ(SliceFileBytes(Paths({"profile_a.TM3"}), 1, 120, 0), QByteArray("60,80,800\r\n"));
  Option1 = kTrue;
  Option3 = 0;
  EXPECT_EQ(SliceFileBytes(Paths({"profile_a.TM3"}), 1, 120, 0), QByteArray());
}

TEST_F(HorizontalSlicesTest, CoordinatesKeepTheirFullPrecision) {
  test::WriteTestFile(folder + "/utm.TM3",
                      SoundingBytes("712345.55", "4567890.125", "15", {100}, {{1234567, 0, 0}}));
  EXPECT_EQ(SliceFileBytes(Paths({"utm.TM3", "utm.TM3"}), 2, 0, 1),
            QByteArray("712345.55,4567890.125,12345.67\r\n712345.55,4567890.125,12345.67\r\n"));
}

// A sounding of two layers without a position: its empty X and Y are 0 on
// every line it gives, and by layer it gives a line only for its own layers
// (a thickness of 0 past them stays: the layer pinches out).
TEST_F(HorizontalSlicesTest, AnUnplacedTwoLayerSoundingByLayer) {
  test::WriteTestFile(folder + "/unplaced.TM3", SoundingBytes("", "", "10", {100}, {{5000, 300, 0}, {20000, 0, 300}}));
  const struct {
    int kind;
    double layer;
    const char* lines;
  } cases[] = {
      {2, 2, "0,0,200\r\n"}, {2, 3, ""}, {5, 2, "0,0,3\r\n"}, {5, 3, ""}, {4, 1, "0,0,3\r\n"}, {4, 3, "0,0,0\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SliceFileBytes(Paths({"unplaced.TM3"}), c.kind, 0, c.layer), QByteArray(c.lines)) << c.kind << c.layer;
}

TEST_F(HorizontalSlicesTest, ProposedNames) {
  EXPECT_EQ(SliceFileName(1, "-20"), "Res_by_alt_-20.DAT");
  EXPECT_EQ(SliceFileName(5, "3"), "Depht_by_layer_3.DAT");
  EXPECT_EQ(SliceFileName(2, "../up"), "Res_by_layer_.._up.DAT");
  EXPECT_EQ(SliceFileName(3, "a\\b/c"), "Thick_by_alt_a_b_c.DAT");
}

// Every way out before the write leaves the folder as it was.
TEST_F(HorizontalSlicesTest, AbortsWriteNothing) {
  const QStringList before = Entries();
  struct Case {
    const char* what;
    std::function<void()> script;
    const char* message;
  };
  const Case cases[] = {
      {"one file", [this] { dialogs.choose(folder + "/profile_a.TM3"); },
       "Impossible with only 1 file"},
      {"file dialog cancelled", [this] { dialogs.cancel(); }, "Impossible with only 1 file"},
      {"form closed", [this] {
         dialogs.choose(Selection(folder, kThree));
         forms.close(1, "240", "");
       }, nullptr},
      {"no kind chosen", [this] {
         dialogs.choose(Selection(folder, kThree));
         forms.choose(0, "240", "3");
       }, "Extraction aborted"},
      {"no altitude", [this] {
         dialogs.choose(Selection(folder, kThree));
         forms.choose(3, "", "3");
       }, "Extraction aborted"},
      {"no layer", [this] {
         dialogs.choose(Selection(folder, kThree));
         forms.choose(5, "240", "");
       }, "Extraction aborted"},
      {"save dialog cancelled", [this] {
         dialogs.choose(Selection(folder, kThree));
         forms.choose(2, "", "1");
         boxes.answer(MsgAnswer::No);
         dialogs.cancel();
       }, nullptr},
  };
  for (const Case& c : cases) {
    ResetSliceState();
    boxes.boxes.clear();
    c.script();
    if (c.message) boxes.answer(MsgAnswer::OK);
    HORSLICE_Click();
    EXPECT_EQ(Entries(), before) << c.what;
    if (c.message) {
      ASSERT_FALSE(boxes.boxes.empty()) << c.what;
      EXPECT_EQ(boxes.boxes.back().text, c.message) << c.what;
      EXPECT_EQ(boxes.boxes.back().caption, ProgramTitle) << c.what;
      EXPECT_EQ(boxes.boxes.back().icon,
                QString(c.message) == "Extraction aborted" ? MsgIcon::Information : MsgIcon::Critical)
          << c.what;
    }
  }
  EXPECT_EQ(forms.shown.size(), 5u);
}

TEST_F(HorizontalSlicesTest, SaveDialogNamesTakeTheDatExtension) {
  QDir(folder).mkdir("out");
  const QString out = folder + "/out/";
  const struct {
    const char* typed;
    const char* written;
  } cases[] = {{"slice", "slice.DAT"}, {"other.txt", "other.DAT"}, {"a.b.c", "a.DAT"}, {"b.DAT", "b.DAT"}};
  for (const auto& c : cases) {
    CurrentFolder = folder + "/";
    Choose(kThree, 4, "", "1");
    boxes.answer(MsgAnswer::No);
    dialogs.choose(out + c.typed);
    HORSLICE_Click();
    const DialogRequest& r = dialogs.requests.back();
    EXPECT_EQ(r.kind, DialogKind::Save);
    EXPECT_EQ(r.filter, "Surfer data file (*.DAT)|*.DAT");
    EXPECT_EQ(r.title, "Record Surfer data file");
    EXPECT_EQ(r.flags, 2);
    EXPECT_EQ(r.fileName, folder + "/Thick_by_layer_1.DAT");
    EXPECT_EQ(Written(QString("out/") + c.written), test::Fixture("slices_thick_by_layer_1.DAT")) << c.typed;
    EXPECT_EQ(CurrentFolder, out);
  }
  EXPECT_FALSE(QFile::exists(folder + "/Thick_by_layer_1.DAT"));
  EXPECT_FALSE(QFile::exists(out + "other.txt"));
}

// The dialog asked about the name typed; the forced ".DAT" may name another
// file that is there.
TEST_F(HorizontalSlicesTest, ForcedExtensionAsksBeforeReplacing) {
  test::WriteTestFile(folder + "/old.DAT", "old data\r\n");
  Choose(kThree, 4, "", "1");
  boxes.answer(MsgAnswer::No);  // not the proposed name
  dialogs.choose(folder + "/old.txt");
  boxes.answer(MsgAnswer::No);  // do not replace old.DAT
  dialogs.cancel();             // and give up
  HORSLICE_Click();
  EXPECT_EQ(Written("old.DAT"), QByteArray("old data\r\n"));
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "The file " + folder + "/old.DAT already exists. Replace it?");
  EXPECT_EQ(dialogs.requests.back().fileName, folder + "/old.DAT");

  Choose(kThree, 4, "", "1");
  boxes.answer(MsgAnswer::No);
  dialogs.choose(folder + "/old.txt");
  boxes.answer(MsgAnswer::Yes);
  HORSLICE_Click();
  EXPECT_EQ(Written("old.DAT"), test::Fixture("slices_thick_by_layer_1.DAT"));
}

TEST_F(HorizontalSlicesTest, WriteErrorsAreShown) {
  Choose(kThree, 2, "", "1");
  boxes.answer(MsgAnswer::No);
  dialogs.choose(folder + "/no_such_folder/slice");
  boxes.answer(MsgAnswer::OK);
  HORSLICE_Click();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "No such disk or directory...");
  EXPECT_FALSE(QDir(folder + "/no_such_folder").exists());
  // The folder of a file that was not written is not the folder of the slices.
  EXPECT_EQ(CurrentFolder, folder + "/");
}

TEST_F(HorizontalSlicesTest, SkippedFilesAndTheCurrentSoundingLeftAlone) {
  SoundingX = "current";
  FilePath = "/data/current.TM3";
  FileTitle = "current.TM3";
  LayerModel[1][kLayerRho] = 55.0f;
  boxes.answer(MsgAnswer::Yes);
  Export({"profile_unreadable.TM3", "profile_c.TM3", "profile_no_model.TM3", "profile_missing.TM3",
          "profile_a.TM3", "profile_b.TM3"},
         5, "", "4");
  EXPECT_EQ(Written("Depht_by_layer_4.DAT"), test::Fixture("slices_depth_by_layer_4.DAT"));
  EXPECT_EQ(SoundingX, "current");
  EXPECT_EQ(FilePath, "/data/current.TM3");
  EXPECT_EQ(FileTitle, "current.TM3");
  EXPECT_EQ(LayerModel[1][kLayerRho].value(), 55.0);
}

}  // namespace
}  // namespace tellumo
