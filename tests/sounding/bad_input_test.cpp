// Bad bytes given to the readers of the sounding subsystem, every variant
// built in code from a good fixture. A sounding reader reads a variant as the
// good file where the format allows the difference (line ends, blank lines,
// a field it drops), takes what there is where the end of the file is
// optional (the texts), takes the first 51 points with the message when more
// are announced, and otherwise refuses the file with the reading message,
// leaving the sounding, its model, the store, the names and the boxes as they
// were. The settings reader never refuses: whatever a line holds, the values
// it sets stay usable. No reader writes a file.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/main_controls_state.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/profile_file.h"
#include "printing/print_state.h"
#include "profiles/profile_state.h"
#include "sounding/older_formats.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/file_variants.h"
#include "support/fixtures.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

// ---------------------------------------------------------------------------
// Building variants.

using test::Body;
using test::Join;
using test::Lines;
using test::SplitLines;
using test::WithField;
using test::WithLineEnds;

QByteArray FieldOf(const Lines& lines, int line, int field) { return Body(lines[line - 1]).split(',')[field]; }

// ---------------------------------------------------------------------------
// What the readers leave.

using test::ExpectSame;
using namespace test::snapshot_parts;

// The seven texts in the order the files hold them.
std::array<QString, 7> Texts(const SoundingSnapshot& s) {
  return {s.SoundingComment, s.InstrumentName, s.GraphTitle, s.SoundingX, s.SoundingY, s.SoundingZ, s.SoundingAzimuth};
}

// The six boxes of the data tab: X, Y, Z, azimuth, comment, title.
std::array<QString, 6> ShownBoxes() {
  return {X_Texte1.Text, Y_Texte2.Text, Z_Texte3.Text, Azimtext.Text, Text18.Text, Text29.Text};
}

// ---------------------------------------------------------------------------
// The sounding readers.

struct Format {
  const char* fixture;
  const char* extension;
  int16_t version;  // FileVersion as the opener sets it
  bool (*read)(const QByteArray&, const QString&);
  int headerLines;  // lines before the first point
  int countLine;    // where the point count stands (line from 1, field from 0)
  int countField;
  QByteArray (*countText)(int n);
  int points;            // point lines of the fixture
  int firstNumericLine;  // lines before it are texts (the DOS title)
  int requiredLines;     // the lines up to the last layer: the rest (texts) is optional
  int layerCountField;   // DOS: field of the count line holding the layer count; -1 none
  // Fields read as numbers and dropped: any number will do there.
  bool (*dropped)(int line, int field);
  // More than 51 points: the model and texts after them are still read.
  bool partialKeepsTail;
};

QByteArray PlainCount(int n) { return QByteArray::number(n); }
QByteArray Version5Count(int n) { return QByteArray::number(n) + ".5"; }
bool NoneDropped(int, int) { return false; }
// The DOS point lines start with two numbers the program has no use for, and
// a layer line ends with the layer's depth, which is computed again.
bool DosDropped(int line, int field) { return line > 3 && (field == 0 || field == 1 || field == 6); }
bool ReadTm3(const QByteArray& b, const QString& p) { return ReadSoundingBytes(b, p); }
bool ReadDos(const QByteArray& b, const QString& p) { return ReadDosSevBytes(b, p); }
bool ReadV1(const QByteArray& b, const QString& p) { return ReadSoundingV1Bytes(b, p); }

const Format kFormats[] = {
    {"v5_golden.TM3", "TM3", 3, ReadTm3, 1, 1, 0, Version5Count, 2, 1, 23, -1, NoneDropped, true},
    {"v3_25_points.TM3", "TM3", 3, ReadTm3, 1, 1, 0, PlainCount, 25, 1, 46, -1, NoneDropped, true},
    {"v22_three_points.ELQ", "ELQ", 2, ReadTm3, 1, 1, 0, PlainCount, 3, 1, 14, -1, NoneDropped, true},
    {"dos_12_points_3_layers.SEV", "SEV", 3, ReadDos, 3, 3, 1, PlainCount, 12, 3, 15, 2, DosDropped, true},
    {"v1_three_points.TLQ", "TLQ", 3, ReadV1, 1, 1, 0, PlainCount, 3, 1, 14, -1, NoneDropped, false},
};

void PrintTo(const Format& f, std::ostream* os) { *os << f.fixture; }

// The fixture with `n` point lines (the last one repeated) and the count to match.
QByteArray WithPoints(const Format& f, const Lines& lines, int n) {
  Lines out(lines.begin(), lines.begin() + f.headerLines);
  for (int i = 0; i < n; ++i) out.push_back(lines[f.headerLines + std::min(i, f.points - 1)]);
  out.insert(out.end(), lines.begin() + f.headerLines + f.points, lines.end());
  return WithField(out, f.countLine, f.countField, f.countText(n));
}

enum class Outcome {
  AsGood,    // read as the good file
  Taken,     // taken, numbers and model as the good file, the texts may differ
  Accepted,  // taken without a message; `check` says what it holds
  Partial,   // the first 51 points, with the message naming `line`
  Refused,   // the message naming `line` (0: any line), nothing changed
};

struct Variant {
  std::string name;
  QByteArray bytes;
  Outcome outcome;
  int line = 0;
  // More to check once read, given what the good file gives.
  std::function<void(const SoundingSnapshot& good)> check = {};
};

std::vector<Variant> BadVariants(const Format& f, const QByteArray& good) {
  const Lines lines = SplitLines(good);
  const int n = static_cast<int>(lines.size());
  const int firstPointLine = f.headerLines + 1;
  const int firstTextLine = f.firstNumericLine > 1 ? 1 : f.requiredLines + 1;
  auto num = [](int i) { return std::to_string(i); };
  std::vector<Variant> v;
  auto refused = [&](std::string name, QByteArray bytes, int line) {
    v.push_back({std::move(name), std::move(bytes), Outcome::Refused, line});
  };
  auto asGood = [&](std::string name, QByteArray bytes) {
    v.push_back({std::move(name), std::move(bytes), Outcome::AsGood});
  };

  refused("empty", {}, 1);
  refused("header only", Join(lines, 0, f.headerLines), f.headerLines + 1);

  // The file ending after every line, and in the middle of every line.
  for (int i = 1; i < n; ++i) {
    const QByteArray head = Join(lines, 0, i);
    if (i < f.requiredLines) {
      refused("ends after line " + num(i), head, i + 1);
      continue;
    }
    // Among the texts: those the file still has, the others empty.
    const int kept = i - f.requiredLines;
    v.push_back({"ends after line " + num(i), head, Outcome::Taken, 0, [kept](const SoundingSnapshot& good) {
                   const auto want = Texts(good), got = Texts(SoundingSnapshot::Take());
                   for (int t = 0; t < 7; ++t) EXPECT_EQ(got[t], t < kept ? want[t] : QString()) << "text " << t + 1;
                 }});
  }
  for (int i = 1; i <= n; ++i) {
    const QByteArray body = Body(lines[i - 1]);
    const QByteArray cut = Join(lines, 0, i - 1) + body.left(body.size() / 2);
    if (i <= f.requiredLines) refused("cut inside line " + num(i), cut, i);
    else v.push_back({"cut inside line " + num(i), cut, Outcome::Taken});
  }

  // Every number field: not a number, NUL inside, beyond the single range.
  for (int line = f.firstNumericLine; line <= f.requiredLines; ++line) {
    const QList<QByteArray> fields = Body(lines[line - 1]).split(',');
    for (int k = 0; k < fields.size(); ++k) {
      const std::string where = "line " + num(line) + " field " + num(k + 1);
      for (const char* bad : {"abc", "12a", "1.2.3", "inf", "nan", "0x10"})
        refused(where + " '" + bad + "'", WithField(lines, line, k, bad), line);
      refused(where + " NUL", WithField(lines, line, k, fields[k] + QByteArray(1, '\0') + "1"), line);
      if (f.dropped(line, k)) asGood(where + " 1E+300 dropped", WithField(lines, line, k, "1E+300"));
      else refused(where + " 1E+300", WithField(lines, line, k, "1E+300"), line);
    }
  }

  // Counts out of range.
  refused("negative count", WithField(lines, f.countLine, f.countField, f.countText(-1)), f.countLine);
  refused("count beyond 16 bits", WithField(lines, f.countLine, f.countField, f.countText(40000)), f.countLine);
  refused("count far beyond the lines", WithField(lines, f.countLine, f.countField, f.countText(32767)), 0);
  for (int many : {52, 1000})
    v.push_back({num(many) + " points", WithPoints(f, lines, many), Outcome::Partial, f.headerLines + 52});
  if (f.layerCountField >= 0) {
    refused("22 layers", WithField(lines, f.countLine, f.layerCountField, "22"), f.countLine);
    refused("negative layer count", WithField(lines, f.countLine, f.layerCountField, "-1"), f.countLine);
    // The largest model the format holds: 21 lines carrying a point and a layer each.
    Lines full(lines.begin(), lines.begin() + f.headerLines);
    for (int i = 0; i < 21; ++i) full.push_back(lines[f.headerLines]);
    QByteArray bytes = WithField(full, f.countLine, f.countField, "21");
    bytes = WithField(SplitLines(bytes), f.countLine, f.layerCountField, "21");
    const float layerRho = FieldOf(lines, firstPointLine, 4).toFloat();
    v.push_back({"21 layers", bytes, Outcome::Accepted, 0, [layerRho](const SoundingSnapshot&) {
                   EXPECT_EQ(PointCount, 21);
                   EXPECT_FLOAT_EQ(LayerModel[21][kLayerRho], layerRho);
                 }});
  }

  // NUL bytes.
  refused("only NUL bytes", QByteArray(good.size(), '\0'), 1);
  for (int i = 1; i <= n; ++i) {
    if (i >= f.firstNumericLine && i <= f.requiredLines) continue;  // the number fields above
    const QByteArray body = Body(lines[i - 1]);
    Lines withNul = lines;
    withNul[i - 1] = body.left(2) + QByteArray(1, '\0') + body.mid(2) + lines[i - 1].mid(body.size());
    v.push_back({"NUL in text line " + num(i), Join(withNul), Outcome::Taken});
  }

  // A line of a megabyte.
  const QByteArray mb(1 << 20, '1');
  refused("a number of 1 MB", WithField(lines, firstPointLine, 0, mb), firstPointLine);
  asGood("1 MB of blanks before a number",
         WithField(lines, f.firstNumericLine, 0, QByteArray(1 << 20, ' ') + FieldOf(lines, f.firstNumericLine, 0)));
  asGood("a line of 1 MB after the end", good + QByteArray(1 << 20, 'x') + "\r\n");
  {
    Lines longText = lines;
    longText[firstTextLine - 1] = '"' + QByteArray(1 << 20, 'a') + "\"\r\n";
    const bool dos = f.firstNumericLine > 1;
    v.push_back({"a text of 1 MB", Join(longText), Outcome::Taken, 0, [dos](const SoundingSnapshot&) {
                   EXPECT_EQ((dos ? GraphTitle : SoundingComment).size(), 1 << 20);
                 }});
  }

  // Line ends and blank lines the format takes.
  asGood("LF line ends", WithLineEnds(lines, "\n"));
  asGood("CR line ends", WithLineEnds(lines, "\r"));
  asGood("LF, CR and CR LF mixed", WithLineEnds(lines, nullptr));
  asGood("no last line end", Join(lines, 0, n - 1) + Body(lines.back()));
  asGood("trailing blank lines", good + "\r\n\r\n\n\r  \r\n\t\r\n");
  return v;
}

class SoundingReaderBadInput : public test::StateTest, public ::testing::WithParamInterface<Format> {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    ASSERT_TRUE(scratch.isValid());
    previousFolder = QDir::currentPath();
    QDir::setCurrent(scratch.path());
  }
  void TearDown() override {
    QDir::setCurrent(previousFolder);
    StateTest::TearDown();
  }

  // The sounding in memory when the file is read: points, a model, texts, a
  // stored model, names and flags a refused file must leave as they are, and
  // the boxes as the user typed into them. Then what the opener sets.
  void HoldSounding(const Format& f) {
    test::ResetAllState();
    PointCount = 2;
    for (int i = 1; i <= 2; ++i) {
      FieldData[i][kSpacing1] = 3.0f * i;
      FieldData[i][kRhoApparent] = 40.0f + i;
      FieldData[i][kSpacing2] = 0.5f;
      FieldData[i][kDeltaV] = 12.5;  // a double cell
      FieldData[i][kKFactor] = 6.28f;
      FieldData[i][kCurrent] = 10.0f;
      FieldData[i][kRhoUnshifted] = 40.0f + i;
    }
    FieldData[3][kSpacing1] = 9.0f;  // beyond the count: typed, not computed
    LayerModel[1][kLayerRho] = 42.0f;
    LayerModel[1][kLayerThickness] = 3.0f;
    LayerModel[2][kLayerRho] = 7.0f;
    LayerModel[2][kLayerDepth] = 3.0f;
    LayerCount = 2;
    SoundingComment = "held comment";
    InstrumentName = "held instrument";
    GraphTitle = "held title";
    SoundingX = "1";
    SoundingY = "2";
    SoundingZ = "3";
    SoundingAzimuth = "N";
    CurrentFolder = scratch.path() + "/";
    FilePath = CurrentFolder + "held.TM3";
    RecentFiles[1] = FilePath;
    RecentFiles[2] = CurrentFolder + "other.TM3";
    SuperposedModels[1][1][1] = 11.0;
    SuperposedModels[1][2][1] = 1.0;
    SuperposedLayerCounts[1] = 1;
    SuperposedCount = 1;
    SuperposedShown = 1;
    MaxSpacing = 77;
    HalfArrayFactor = 2;
    ShiftedFlag = 1;
    CurveComputed = 1;
    CurveValid = kTrue;
    AutoModelThreshold = 0.5;
    ModeWord = "FIELD";
    X_Texte1.Text = "typed X";
    Y_Texte2.Text = "typed Y";
    Z_Texte3.Text = "typed Z";
    Azimtext.Text = "typed azimuth";
    Text18.Text = "typed comment";
    Text29.Text = "typed title";
    // As the opener does before it reads.
    FileTitle = QStringLiteral("bad.") + f.extension;
    FileVersion = f.version;
    SoundingReadFailed = kFalse;
    ConvertedFromOlderFormat = kFalse;
  }

  QString PathFor(const Format& f) const { return scratch.path() + "/bad." + f.extension; }

  QString Message(const Format& f, int line) const {
    return "Reading File Error..." + LineBreak + "File " + PathFor(f) + (line > 0 ? QString(", line %1").arg(line) : "");
  }

  QTemporaryDir scratch;
  QString previousFolder;
};

TEST_P(SoundingReaderBadInput, ReadsRefusesOrTakesPartOfEveryVariant) {
  const Format& f = GetParam();
  const QByteArray good = test::Fixture(QString::fromLatin1(f.fixture));
  const Lines lines = SplitLines(good);
  ASSERT_GE(static_cast<int>(lines.size()), f.requiredLines);
  const QString path = PathFor(f);

  // What the good file gives, and what its first 51 points give.
  HoldSounding(f);
  ASSERT_TRUE(f.read(good, path));
  ASSERT_TRUE(boxes.boxes.empty());
  const SoundingSnapshot fromGood = SoundingSnapshot::Take();
  HoldSounding(f);
  ASSERT_TRUE(f.read(WithPoints(f, lines, 51), path));
  ASSERT_TRUE(boxes.boxes.empty());
  ASSERT_EQ(PointCount, 51);
  const SoundingSnapshot from51 = SoundingSnapshot::Take();

  for (const Variant& c : BadVariants(f, good)) {
    SCOPED_TRACE(std::string(f.fixture) + ": " + c.name);
    HoldSounding(f);
    const SoundingSnapshot before = SoundingSnapshot::Take();
    const auto boxesBefore = ShownBoxes();
    boxes.boxes.clear();
    boxes.answers.clear();
    const bool message = c.outcome == Outcome::Refused || c.outcome == Outcome::Partial;
    if (message) boxes.answer(MsgAnswer::OK);

    const bool taken = f.read(c.bytes, path);

    EXPECT_EQ(taken, c.outcome != Outcome::Refused);
    if (message) {
      EXPECT_EQ(boxes.boxes.size(), 1u);
      if (!boxes.boxes.empty()) {
        if (c.line > 0) EXPECT_EQ(boxes.boxes[0].text.toStdString(), Message(f, c.line).toStdString());
        else EXPECT_TRUE(boxes.boxes[0].text.startsWith(Message(f, 0))) << boxes.boxes[0].text.toStdString();
        EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
      }
    } else {
      EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text.toStdString();
    }
    const SoundingSnapshot after = SoundingSnapshot::Take();
    switch (c.outcome) {
      case Outcome::Refused:
        ExpectSame(after, before, kAll);
        EXPECT_EQ(ShownBoxes(), boxesBefore);
        break;
      case Outcome::AsGood: ExpectSame(after, fromGood, kAll); break;
      case Outcome::Taken: ExpectSame(after, fromGood, kNumbers | kLayers | kReadFlag); break;
      case Outcome::Partial:
        ExpectSame(after, from51, f.partialKeepsTail ? kNumbers | kLayers | kTexts : kNumbers);
        EXPECT_EQ(SoundingReadFailed, kTrue);
        if (!f.partialKeepsTail) {
          // The lines after the 51st point are not taken for a model.
          EXPECT_FALSE(HasModel());
          EXPECT_EQ(SoundingComment, "");
        }
        break;
      case Outcome::Accepted: break;
    }
    if (c.check) c.check(fromGood);
  }
  boxes.boxes.clear();

  // Reading writes nothing, in the working folder or beside the file named.
  EXPECT_TRUE(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(GoodFixtures, SoundingReaderBadInput, ::testing::ValuesIn(kFormats),
                         [](const auto& info) {
                           std::string n = info.param.fixture;
                           for (char& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

// ---------------------------------------------------------------------------
// The settings reader.

// What reading the settings sets, as text, so that two readings compare
// member by member and a difference names its value.
std::vector<std::string> SettingsValues() {
  std::vector<std::string> out;
  auto put = [&](const char* name, const QString& v) { out.push_back(std::string(name) + "=" + v.toStdString()); };
  auto num = [&](const char* name, double v) { put(name, QString::number(v, 'g', 17)); };
  put("CurrentFolder", CurrentFolder);
  put("LanguageCode", LanguageCode);
  put("DataTemplateFile", DataTemplateFile);
  put("ArrayCode", ArrayCode);
  num("AB2MinDecade", AB2MinDecade);
  num("AB2MaxDecade", AB2MaxDecade);
  num("RhoMinDecade", RhoMinDecade);
  num("RhoMaxDecade", RhoMaxDecade);
  num("AB2MinValue", AB2MinValue);
  num("AB2MaxValue", AB2MaxValue);
  num("RhoMinValue", RhoMinValue);
  num("RhoMaxValue", RhoMaxValue);
  num("ShowModelGraphic", ShowModelGraphic);
  num("ShowErrorCurve", ShowErrorCurve);
  for (int i = 1; i <= 6; ++i) num("StartupOptions", StartupOptions[i]);
  for (int i = 1; i <= 5; ++i) put("RecentFiles", RecentFiles[i]);
  num("LeftMargin", LeftMargin);
  num("TopMargin", TopMargin);
  num("RightMargin", RightMargin);
  num("BottomMargin", BottomMargin);
  num("VSPrintMargins.Left", VSPrintMargins.Left);
  num("VSPrintMargins.Top", VSPrintMargins.Top);
  num("VSPrintMargins.Right", VSPrintMargins.Right);
  num("VSPrintMargins.Bottom", VSPrintMargins.Bottom);
  put("GraphicsProgramPath", GraphicsProgramPath);
  num("GridColour", GridColour);
  num("CurveColour", CurveColour);
  num("PointsColour", PointsColour);
  num("ModelColour", ModelColour);
  num("ErrorCurveColour", ErrorCurveColour);
  num("Text15.BackColor", Text15.BackColor);
  num("SuperposedCurveColour", SuperposedCurveColour);
  for (int k = kFirstColourBox; k <= kLastColourBox; ++k) {
    num("ColourBox.BackColor", ColourBox(k).BackColor);
    put("ColourBox.Text", ColourBox(k).Text);
  }
  for (const TextBoxState* t : {&Text13, &Text14, &Text8, &Text11, &Text12}) put("profile box", t->Text);
  num("Option1", Option1);
  num("Option2", Option2);
  num("Option3", Option3);
  num("IsEnglish", IsEnglish);
  num("IsFrench", IsFrench);
  num("IsSpanish", IsSpanish);
  num("IsGerman", IsGerman);
  return out;
}

// What the reader promises whatever the file holds.
void ExpectUsableSettings() {
  for (int32_t d : {int32_t{AB2MinDecade}, int32_t{AB2MaxDecade}, int32_t{RhoMinDecade}, RhoMaxDecade}) {
    EXPECT_GE(d, -9);
    EXPECT_LE(d, 9);
  }
  auto power = [](int32_t d, double max) { return std::min(std::round(std::pow(10.0, d)), max); };
  EXPECT_EQ(AB2MinValue, power(AB2MinDecade, 32767));
  EXPECT_EQ(AB2MaxValue, power(AB2MaxDecade, 32767));
  EXPECT_EQ(RhoMinValue, power(RhoMinDecade, 32767));
  EXPECT_EQ(RhoMaxValue, power(RhoMaxDecade, 2147483647));
  const int32_t decades[5] = {0, AB2MinDecade, AB2MaxDecade, RhoMinDecade, RhoMaxDecade};
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(StartupOptions[i], decades[i]) << i;
  for (double m : {LeftMargin, TopMargin, RightMargin, BottomMargin, VSPrintMargins.Left, VSPrintMargins.Top,
                   VSPrintMargins.Right, VSPrintMargins.Bottom})
    EXPECT_TRUE(std::isfinite(m)) << m;
  // The profile boxes hold a number their handlers can read.
  for (const TextBoxState* t : {&Text13, &Text14, &Text8, &Text11, &Text12}) {
    double v = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NO_THROW(v = vb::Val(t->Text)) << t->Text.toStdString();
    EXPECT_TRUE(std::isfinite(v)) << t->Text.toStdString();
    EXPECT_FALSE(t->Text.contains(QLatin1String("inf"), Qt::CaseInsensitive)) << t->Text.toStdString();
    EXPECT_FALSE(t->Text.contains(QLatin1String("nan"), Qt::CaseInsensitive)) << t->Text.toStdString();
  }
}

class SettingsBadInput : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SettingsHandlers = {};
    ASSERT_TRUE(scratch.isValid());
    previousFolder = QDir::currentPath();
    QDir::setCurrent(scratch.path());
  }
  void TearDown() override {
    QDir::setCurrent(previousFolder);
    SettingsHandlers = {};
    StateTest::TearDown();
  }
  static void Read(const QByteArray& bytes) {
    test::ResetAllState();
    ReadSettings(ProfileText(bytes));
  }

  QTemporaryDir scratch;
  QString previousFolder;
};

// Keys whose value is a text: anything is a valid value there.
bool TextKey(const QByteArray& key) {
  static const char* const kTextKeys[] = {"Chemin",     "Langue",    "SEV File", "Niveau", "Graphical_Prog",
                                          "Large_plot", "Haut_plot", "File 1",   "File 2", "File 3",
                                          "File 4",     "File 5"};
  for (const char* k : kTextKeys)
    if (key == k) return true;
  return false;
}

TEST_F(SettingsBadInput, EveryVariantReadsToUsableValuesWithoutABox) {
  const QByteArray good = test::Fixture(QStringLiteral("settings_exit_kept.ini"));
  const Lines lines = SplitLines(good);
  const int n = static_cast<int>(lines.size());

  Read(good);
  const std::vector<std::string> fromGood = SettingsValues();

  struct Variant {
    std::string name;
    QByteArray bytes;
    // Reads as this file would (a key missing): a value that no number can
    // hold gives the key's default.
    std::optional<QByteArray> sameAs;
  };
  std::vector<Variant> variants;
  auto num = [](int i) { return std::to_string(i); };
  variants.push_back({"empty", {}, std::nullopt});
  variants.push_back({"header only", Join(lines, 0, 1), std::nullopt});
  for (int i = 1; i < n; ++i) variants.push_back({"ends after line " + num(i), Join(lines, 0, i), std::nullopt});
  for (int i = 1; i <= n; ++i) {
    const QByteArray body = Body(lines[i - 1]);
    variants.push_back({"cut inside line " + num(i), Join(lines, 0, i - 1) + body.left(body.size() / 2), std::nullopt});
  }
  for (int i = 1; i <= n; ++i) {
    const QByteArray body = Body(lines[i - 1]);
    const qsizetype eq = body.indexOf('=');
    if (eq < 0) continue;
    const QByteArray key = body.left(eq);
    const QByteArray end = lines[i - 1].mid(body.size());
    auto withValue = [&](const QByteArray& value) {
      Lines out = lines;
      out[i - 1] = key + '=' + value + end;
      return Join(out);
    };
    Lines without = lines;
    without.erase(without.begin() + (i - 1));
    const std::optional<QByteArray> asMissing =
        TextKey(key) ? std::nullopt : std::optional<QByteArray>(Join(without));
    const std::string where = "key " + key.toStdString();
    for (const char* bad : {"abc", "-", ".", "1,5", "12a", "inf", "nan", "-nan", "1E+300", "-1E+300", "1E-300", "1D+300",
                            "&H7FFFFFFF", "&H80000000", "&O77777777777", "99999", "-99999", "2147483648", "\"\"",
                            "\"1E+300\"", " ", "4 5 6"})
      variants.push_back({where + " '" + bad + "'", withValue(bad), std::nullopt});
    for (const char* overflow : {"1E+400", "-1E+400", "&HFFFFFFFFF"})
      variants.push_back({where + " '" + overflow + "'", withValue(overflow), asMissing});
    variants.push_back({where + " NUL", withValue(QByteArray("1\0" "5", 3)), std::nullopt});
    variants.push_back({where + " NUL first", withValue(QByteArray("\0" "5", 2)), std::nullopt});
    variants.push_back({where + " 1 MB of digits", withValue(QByteArray(1 << 20, '9')), std::nullopt});
    variants.push_back({where + " 1 MB of text", withValue(QByteArray(1 << 20, 'x')), std::nullopt});
  }
  variants.push_back({"only NUL bytes", QByteArray(good.size(), '\0'), std::nullopt});
  variants.push_back({"a line of 1 MB", QByteArray(1 << 20, 'x') + "\r\n" + good, good});
  variants.push_back({"LF line ends", WithLineEnds(lines, "\n"), good});
  variants.push_back({"CR line ends", WithLineEnds(lines, "\r"), good});
  variants.push_back({"LF, CR and CR LF mixed", WithLineEnds(lines, nullptr), good});
  variants.push_back({"no last line end", Join(lines, 0, n - 1) + Body(lines.back()), good});
  variants.push_back({"trailing blank lines", good + "\r\n\r\n\n\r  \r\n\t\r\n", good});

  for (const Variant& c : variants) {
    SCOPED_TRACE(c.name);
    boxes.boxes.clear();
    Read(c.bytes);
    EXPECT_TRUE(boxes.boxes.empty());
    ExpectUsableSettings();
    if (c.sameAs) {
      const std::vector<std::string> got = SettingsValues();
      Read(*c.sameAs);
      EXPECT_EQ(got, SettingsValues());
    }
  }
  // The good file is not forgotten by the variants that read as it.
  Read(good);
  EXPECT_EQ(SettingsValues(), fromGood);
  EXPECT_TRUE(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
}  // namespace tellumo
