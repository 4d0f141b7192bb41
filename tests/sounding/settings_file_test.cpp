#include "sounding/settings_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "importers/import_state.h"
#include "mainwindow/options_panel.h"
#include "mainwindow/options_state.h"
#include "sounding/manuals.h"
#include "mainwindow/program_state.h"
#include "platform/page_document.h"
#include "platform/text_file.h"
#include "printing/print_state.h"
#include "profiles/profile_state.h"
#include "sounding/sounding_record.h"
#include "support/file_size_limit.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::CrLf;
using test::Fixture;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class SettingsFileTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SettingsHandlers = {};
    ASSERT_TRUE(dir_.isValid());
    path = dir_.filePath("Tellumo6.ini");
  }
  void TearDown() override {
    SettingsHandlers = {};
    StateTest::TearDown();
  }

  // Back to start-up between a write and the next run's read.
  void NewRun() {
    test::ResetAllState();
    ResetPrintState();
    ResetProfileState();
    ResetImportState();
    ResetSettingsState();
  }

  QByteArray fileBytes() const {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // The session the two golden exit files are written from: the user chose
  // French after an English start, Wenner, other ranges and colours.
  static void SetExitState() {
    CurrentFolder = "/home/user/sondages/";
    LanguageCode = "E";
    IsEnglish = kTrue;
    IsFrench = kTrue;
    DataTemplateFile = "/opt/tellumo/DATAWEN.TXT";
    ArrayCode = "2";
    StartupArrayCode = "0";
    AB2MinDecade = -1;
    AB2MaxDecade = 3;
    RhoMinDecade = 0;
    RhoMaxDecade = 5;
    ShowModelGraphic = -1;
    ShowErrorCurve = 1;
    const int16_t startup[7] = {0, -1, 4, 0, 4, 1, 0};
    std::copy(startup, startup + 7, StartupOptions);
    LeftMargin = TopMargin = RightMargin = 1134;
    BottomMargin = 1250;
    VSPrintMargins = {1134, 1000, 1134.5, 1245};
    GraphicsProgramPath = "/usr/bin/gimp";
    GridColour = 16512;
    CurveColour = 255;
    PointsColour = 65280;
    ModelColour = 16711935;
    ErrorCurveColour = 16776960;
    Text15.BackColor = 8421504;
    SuperposedCurveColour = 32768;
    RecentFiles[1] = U("/home/user/sondages/Puits été.TM3");
    RecentFiles[2] = "/home/user/sondages/b.TM3";
    Text13.Text = "1000";
    Text14.Text = "250";
    Text8.Text = "2";
    Text11.Text = "10";
    Text12.Text = "2000";
  }

  QString path;

 private:
  QTemporaryDir dir_;
};

TEST_F(SettingsFileTest, MissingFileGivesEveryDefault) {
  // The window's handlers, as the main window installs them: the array
  // button's handler points the template at the program folder.
  std::vector<int> clicks;
  int scaleChanges = 0, boundChanges = 0;
  SettingsHandlers.OptionClick = [&](int button) {
    clicks.push_back(button);
    DataTemplateFile = "/opt/tellumo/DATAVES.TXT";
  };
  SettingsHandlers.ProfileScaleChange = [&] { ++scaleChanges; };
  SettingsHandlers.ColourBoundsChange = [&] { ++boundChanges; };

  ReadSettings(path);

  EXPECT_EQ(CurrentFolder, QDir::homePath() + "/");  // "C:\Tellumo\" does not exist here
  EXPECT_EQ(LanguageCode, "E");
  EXPECT_EQ(IsEnglish, kTrue);
  EXPECT_EQ(IsFrench | IsSpanish | IsGerman, 0);
  EXPECT_EQ(ArrayCode, "0");
  EXPECT_EQ(StartupArrayCode, "0");
  EXPECT_EQ(Option1, kTrue);
  EXPECT_EQ(Option2 | Option3, 0);
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_EQ(DataTemplateFile, "/opt/tellumo/DATAVES.TXT");
  EXPECT_EQ(AB2MinDecade, -1);
  EXPECT_EQ(AB2MaxDecade, 4);
  EXPECT_EQ(RhoMinDecade, 0);
  EXPECT_EQ(RhoMaxDecade, 4);
  EXPECT_EQ(AB2MinValue, 0);
  EXPECT_EQ(AB2MaxValue, 10000);
  EXPECT_EQ(RhoMinValue, 1);
  EXPECT_EQ(RhoMaxValue, 10000);
  EXPECT_EQ(ShowModelGraphic, 1);
  EXPECT_EQ(ShowErrorCurve, 0);
  EXPECT_EQ(std::vector<int16_t>(StartupOptions + 1, StartupOptions + 7), (std::vector<int16_t>{-1, 4, 0, 4, 1, 0}));
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(RecentFiles[i], "") << i;
  EXPECT_EQ(LeftMargin, 1134);
  EXPECT_EQ(TopMargin, 1134);
  EXPECT_EQ(RightMargin, 1134);
  EXPECT_EQ(BottomMargin, 1250);
  EXPECT_EQ(VSPrintMargins.Left, 1134);
  EXPECT_EQ(VSPrintMargins.Top, 1134);
  EXPECT_EQ(VSPrintMargins.Right, 1134);
  EXPECT_EQ(VSPrintMargins.Bottom, 1245);
  // They are the report preview's own margins.
  EXPECT_EQ(ReportPreview().MarginBottom, 1245);
  EXPECT_EQ(GraphicsProgramPath, " ");
  EXPECT_EQ(GridColour, 16512);
  EXPECT_EQ(CurveColour, 255);
  EXPECT_EQ(PointsColour, 255);
  EXPECT_EQ(ErrorCurveColour, 255);
  EXPECT_EQ(ModelColour, 16711935);
  EXPECT_EQ(Text15.BackColor, 255);
  EXPECT_EQ(SuperposedCurveColour, 32768);

  const int32_t classes[16] = {69782,    71646,    2177022,  5662718,  10463743, 14278143, 16514047, 16775929,
                               16764095, 16689042, 16677722, 16662544, 16662544, 16662544, 16662544, 16662544};
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(ColourBox(100 + k).BackColor, classes[k - 1]) << "class " << k;
  EXPECT_EQ(ColourBox(117).BackColor, 69782);
  EXPECT_EQ(ColourBox(118).BackColor, 16775929);
  EXPECT_EQ(ColourBox(119).BackColor, 16662544);
  const char* components[9] = {"150", "16", "1", "249", "250", "255", "16", "64", "254"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ColourBox(120 + i).Text, components[i]) << "Text" << 120 + i;

  EXPECT_EQ(Text13.Text, "1000");
  EXPECT_EQ(Text14.Text, "250");
  EXPECT_EQ(Text8.Text, "2");
  EXPECT_EQ(Text11.Text, "10");
  EXPECT_EQ(Text12.Text, "2000");
  EXPECT_EQ(scaleChanges, 2);
  EXPECT_EQ(boundChanges, 2);
  EXPECT_FALSE(QFile::exists(path));  // reading creates nothing

  // A box whose text does not change runs no change handler.
  ReadSettings(path);
  EXPECT_EQ(scaleChanges, 2);
  EXPECT_EQ(boundChanges, 2);
  EXPECT_EQ(clicks, std::vector<int>{1});
}

TEST_F(SettingsFileTest, ExitWithTheConfigurationKeptWritesTheGoldenFile) {
  SetExitState();
  KeepConfigOnExit = 1;
  // The exit writes once before its question and once after.
  WriteSettings(path);
  WriteSettings(path);
  EXPECT_EQ(fileBytes(), Fixture("settings_exit_kept.ini"));
}

TEST_F(SettingsFileTest, ExitWithoutKeepingTheConfigurationWritesTheGoldenFile) {
  SetExitState();
  KeepConfigOnExit = 0;
  WriteSettings(path);
  WriteSettings(path);
  EXPECT_EQ(fileBytes(), Fixture("settings_exit_not_kept.ini"));
}

TEST_F(SettingsFileTest, TheLanguageWrittenIsTheLastFlagSetInEnglishFrenchSpanishGermanOrder) {
  struct Case {
    int16_t english, french, spanish, german;
    const char* written;
  } cases[] = {
      {0, 0, 0, 0, "E"}, {kTrue, 0, 0, 0, "E"}, {kTrue, kTrue, 0, 0, "F"}, {0, kTrue, kTrue, 0, "S"},
      {kTrue, 0, kTrue, kTrue, "A"}, {0, kTrue, 0, kTrue, "A"}, {0, 0, kTrue, 0, "S"},
  };
  KeepConfigOnExit = 1;
  LanguageCode = "F";  // the code in memory does not decide
  for (const Case& c : cases) {
    IsEnglish = c.english;
    IsFrench = c.french;
    IsSpanish = c.spanish;
    IsGerman = c.german;
    const std::vector<ProfileEntry> entries = SettingsToWrite();
    auto langue = std::find_if(entries.begin(), entries.end(), [](const ProfileEntry& e) { return e.key == "Langue"; });
    ASSERT_NE(langue, entries.end());
    EXPECT_EQ(langue->section, "Tellumo");
    EXPECT_EQ(langue->value, c.written) << c.english << c.french << c.spanish << c.german;
  }
}

TEST_F(SettingsFileTest, AnExitThatIsCancelledLeavesTheSessionAsItWas) {
  // The options differ from the start-up snapshot and the language code from
  // the flags: computing what to write must not take either back.
  for (int16_t keep : {0, 1}) {
    SetExitState();
    KeepConfigOnExit = keep;
    WriteSettings(path);
    EXPECT_EQ(LanguageCode, "E") << "keep " << keep;
    EXPECT_EQ(ArrayCode, "2") << "keep " << keep;
    EXPECT_EQ(AB2MinDecade, -1);
    EXPECT_EQ(AB2MaxDecade, 3) << "keep " << keep;
    EXPECT_EQ(RhoMinDecade, 0);
    EXPECT_EQ(RhoMaxDecade, 5) << "keep " << keep;
    EXPECT_EQ(ShowModelGraphic, -1) << "keep " << keep;
    EXPECT_EQ(ShowErrorCurve, 1) << "keep " << keep;
    EXPECT_EQ(StartupArrayCode, "0");
    EXPECT_EQ(StartupOptions[2], 4);
  }
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryValue) {
  const QString longFolder = "/home/user/" + QString(180, QChar('f')) + "/";
  const QString longProgram = "/opt/" + QString(140, QChar('g')) + "/draw";
  QString recent[6];
  for (int i = 1; i <= 5; ++i) recent[i] = QString("/data/%1/").arg(i) + QString(190, QChar('a' + i)) + ".TM3";
  const int32_t classes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0x00FFFFFF, -1};

  CurrentFolder = longFolder;
  IsGerman = kTrue;
  DataTemplateFile = U("/usr/share/tellumo/modèles/DATADIP.TXT");
  ArrayCode = "1";
  AB2MinDecade = 0;
  AB2MaxDecade = 2;
  RhoMinDecade = -2;
  RhoMaxDecade = 6;
  ShowModelGraphic = -1;
  ShowErrorCurve = 1;
  for (int i = 1; i <= 5; ++i) RecentFiles[i] = recent[i];
  VSPrintMargins = {500, 600.5, 700, 800};
  GraphicsProgramPath = longProgram;
  GridColour = 1;
  CurveColour = 2;
  PointsColour = 3;
  ModelColour = 4;
  ErrorCurveColour = 5;
  Text15.BackColor = 6;
  SuperposedCurveColour = 7;
  for (int k = 1; k <= 16; ++k) ColourBox(100 + k).BackColor = classes[k - 1];
  Text13.Text = "0.5";
  Text14.Text = "-25";
  Text8.Text = "2.5";
  Text11.Text = "1";
  Text12.Text = "100000";
  KeepConfigOnExit = 1;
  WriteSettings(path);
  WriteColourScaleSettings(path);

  NewRun();
  ReadSettings(path);
  EXPECT_EQ(CurrentFolder, longFolder);
  EXPECT_EQ(LanguageCode, "A");
  EXPECT_EQ(IsGerman, kTrue);
  EXPECT_EQ(DataTemplateFile, U("/usr/share/tellumo/modèles/DATADIP.TXT"));  // no handler replaced it
  EXPECT_EQ(ArrayCode, "1");
  EXPECT_EQ(Option2, kTrue);
  EXPECT_EQ(AB2MinDecade, 0);
  EXPECT_EQ(AB2MaxDecade, 2);
  EXPECT_EQ(RhoMinDecade, -2);
  EXPECT_EQ(RhoMaxDecade, 6);
  EXPECT_EQ(AB2MinValue, 1);
  EXPECT_EQ(AB2MaxValue, 100);
  EXPECT_EQ(RhoMinValue, 0);
  EXPECT_EQ(RhoMaxValue, 1000000);
  EXPECT_EQ(ShowModelGraphic, -1);
  EXPECT_EQ(ShowErrorCurve, 1);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(RecentFiles[i], recent[i]) << i;
  for (double* m : {&LeftMargin, &VSPrintMargins.Left}) EXPECT_EQ(*m, 500);
  for (double* m : {&TopMargin, &VSPrintMargins.Top}) EXPECT_EQ(*m, 600.5);
  for (double* m : {&RightMargin, &VSPrintMargins.Right}) EXPECT_EQ(*m, 700);
  for (double* m : {&BottomMargin, &VSPrintMargins.Bottom}) EXPECT_EQ(*m, 800);
  EXPECT_EQ(GraphicsProgramPath, longProgram);
  EXPECT_EQ(GridColour, 1);
  EXPECT_EQ(CurveColour, 2);
  EXPECT_EQ(PointsColour, 3);
  EXPECT_EQ(ModelColour, 4);
  EXPECT_EQ(ErrorCurveColour, 5);
  EXPECT_EQ(Text15.BackColor, 6);
  EXPECT_EQ(SuperposedCurveColour, 7);
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(ColourBox(100 + k).BackColor, classes[k - 1]) << "class " << k;
  EXPECT_EQ(Text13.Text, "0.5");
  EXPECT_EQ(Text14.Text, "-25");
  EXPECT_EQ(Text8.Text, "2.5");
  EXPECT_EQ(Text11.Text, "1");
  EXPECT_EQ(Text12.Text, "100000");
}

TEST_F(SettingsFileTest, ReadsAFileInOtherLetterCasesAndWindows1252) {
  std::vector<int> clicks;
  SettingsHandlers.OptionClick = [&](int button) { clicks.push_back(button); };
  ReadSettings(ProfileText(Fixture("settings_windows_1252.ini")));
  EXPECT_EQ(CurrentFolder, U("/données/sondages/"));  // not a Windows path: kept as read
  EXPECT_EQ(LanguageCode, "S");
  EXPECT_EQ(IsSpanish, kTrue);
  EXPECT_EQ(IsEnglish, 0);
  EXPECT_EQ(ArrayCode, "1");
  EXPECT_EQ(clicks, std::vector<int>{2});
  EXPECT_EQ(AB2MinDecade, 0);
  EXPECT_EQ(AB2MinValue, 1);
  EXPECT_EQ(AB2MaxDecade, 4);  // " 4"
  EXPECT_EQ(RhoMinDecade, -1);
  EXPECT_EQ(RhoMinValue, 0);
  EXPECT_EQ(RhoMaxDecade, 3);
  EXPECT_EQ(RhoMaxValue, 1000);
  EXPECT_EQ(ShowModelGraphic, -1);  // "modèle" in the file's own case
  EXPECT_EQ(ShowErrorCurve, 1);
  EXPECT_EQ(RecentFiles[1], U("/données/Forêt.TM3"));
  EXPECT_EQ(Text13.Text, "1");    // "1,5": Val stops at the comma
  EXPECT_EQ(Text14.Text, "0");    // no leading number
  EXPECT_EQ(Text8.Text, "2.5");
  EXPECT_EQ(Text11.Text, "25");
  EXPECT_EQ(Text12.Text, "3000");
}

TEST_F(SettingsFileTest, ValuesOutsideTheirRangeDoNotStopTheReading) {
  ReadSettings(ProfileText(Fixture("settings_out_of_range.ini")));
  EXPECT_EQ(AB2MinDecade, -1);        // 99999 is no 16-bit decade: the default
  EXPECT_EQ(AB2MinValue, 0);
  EXPECT_EQ(AB2MaxDecade, 5);
  EXPECT_EQ(AB2MaxValue, 32767);      // 100000 held to the 16-bit range
  EXPECT_EQ(RhoMinDecade, 0);         // 1e999 is no number: the default
  EXPECT_EQ(RhoMaxDecade, 4);         // 10 decades is no axis a sounding spans: the default
  EXPECT_EQ(RhoMaxValue, 10000);
  EXPECT_EQ(StartupOptions[4], 4);
  EXPECT_EQ(ShowErrorCurve, 1);       // the keys after them are read
  EXPECT_EQ(GridColour, 16512);
  EXPECT_EQ(SuperposedCurveColour, -1);
}

TEST_F(SettingsFileTest, AnAbsurdAxisLimitCannotHangTheFrame) {
  // Nine lines a decade: two thousand million decades would never be drawn.
  ReadSettings(ProfileText(CrLf({"[Tellumo]", "RHOmax=2000000000", "AB2min=-32768", "AB2max=9", "RHOmin=-9"})));
  EXPECT_EQ(RhoMaxDecade, 4);
  EXPECT_EQ(AB2MinDecade, -1);
  EXPECT_EQ(AB2MaxDecade, 9);
  EXPECT_EQ(RhoMinDecade, -9);
}

TEST_F(SettingsFileTest, AnAB2MinimumTheCurveCannotStartFromReadsAsTheDefault) {
  // Eight curve points a decade and room for 101: from 10^-8 a long
  // sounding's curve would not fit.
  const struct {
    const char* stored;
    int16_t decade;
    int16_t value;
  } cases[] = {{"-8", -1, 0}, {"-7", -7, 0}, {" 1", 1, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    ReadSettings(ProfileText(CrLf({"[Tellumo]", (std::string("AB2min=") + c.stored).c_str()})));
    EXPECT_EQ(AB2MinDecade, c.decade);
    EXPECT_EQ(AB2MinValue, c.value);
    EXPECT_EQ(StartupOptions[1], c.decade);
  }
}

TEST_F(SettingsFileTest, PathsAreReadWholeOtherValuesAtTheirBufferSize) {
  const std::string longPath = "/x/" + std::string(250, 'p');
  const std::string longText(80, 'L');
  ReadSettings(ProfileText(CrLf({"[Tellumo]", ("Chemin=" + longPath).c_str(), ("SEV File=" + longPath).c_str(),
                                 ("Langue=" + longText).c_str(), ("Niveau=" + longText).c_str(), "[File]",
                                 ("File 3=" + longPath).c_str(), "[Draw_Parameter]",
                                 ("Graphical_Prog=" + longPath).c_str()})));
  const QString whole = QString::fromStdString(longPath);
  EXPECT_EQ(CurrentFolder, whole);
  EXPECT_EQ(DataTemplateFile, whole);
  EXPECT_EQ(RecentFiles[3], whole);
  EXPECT_EQ(GraphicsProgramPath, whole);
  EXPECT_EQ(LanguageCode, QString(49, QChar('L')));
  EXPECT_EQ(ArrayCode, QString(49, QChar('L')));
}

TEST_F(SettingsFileTest, AStoredWindowsTemplateThatIsNotThereGivesTheProgramFoldersOne) {
  SetProgramFolder(TELLUMO_PROGRAM_DATA);
  struct Case {
    QString stored;
    QString expected;
  } cases[] = {
      {"C:\\Tellumo\\DataVes.txt", QString(TELLUMO_PROGRAM_DATA) + "/DATAVES.TXT"},  // letter case of the install
      {"e:\\x\\DATAWEN.TXT", QString(TELLUMO_PROGRAM_DATA) + "/DATAWEN.TXT"},
      {"/home/me/my-spacings.txt", "/home/me/my-spacings.txt"},  // our own path stays
      {"/home/me/we\\ird.txt", "/home/me/we\\ird.txt"},          // its '\' is a letter
      {"spacings\\DATAWEN.TXT", QString(TELLUMO_PROGRAM_DATA) + "/DATAWEN.TXT"},  // '\' and no '/'
  };
  for (const Case& c : cases) {
    ReadSettings(ProfileText(CrLf({"[Tellumo]", ("SEV File=" + c.stored.toStdString()).c_str()})));
    EXPECT_EQ(DataTemplateFile, c.expected) << c.stored.toStdString();
  }
  SetProgramFolder({});
}

TEST_F(SettingsFileTest, AStoredWindowsFolderThatIsNotThereGivesTheHomeFolder) {
  QTemporaryDir existing;
  const QString home = QDir::homePath() + "/";
  struct Case {
    QString stored;
    QString expected;
  } cases[] = {
      {"C:\\Tellumo\\", home},
      {"d:/Sondages/", home},
      {existing.path() + "/", existing.path() + "/"},
      {"/no/such/folder/", "/no/such/folder/"},  // our own path: the dialogs cope
      {existing.path() + "/we\\ird/", existing.path() + "/we\\ird/"},  // its '\' is a letter
      {"\\\\server\\sondages\\", home},
      {"", ""},
  };
  for (const Case& c : cases) {
    ReadSettings(ProfileText(CrLf({"[Tellumo]", ("Chemin=" + c.stored.toStdString()).c_str()})));
    EXPECT_EQ(CurrentFolder, c.expected) << c.stored.toStdString();
  }
}

// The recent files this program wrote are Linux paths, whatever letters
// they hold; only those of Windows form get '/' between their parts.
TEST_F(SettingsFileTest, RecentFilesKeepTheirLettersAndOnlyWindowsPathsAreTurned) {
  const struct {
    const char* stored;  // as the file holds it (Windows-1252)
    const char* read;    // UTF-8
  } cases[] = {
      {"/home/u/we\\ird.TM3", "/home/u/we\\ird.TM3"},
      {"/home/u/my sounding.TM3", "/home/u/my sounding.TM3"},
      {"/home/u/sond\xE9o.TM3", "/home/u/sondéo.TM3"},
      {"C:\\data\\x.TM3", "C:/data/x.TM3"},
      {"\\\\server\\s\\y.TM3", "//server/s/y.TM3"},
  };
  QByteArray file = "[File]\r\n";
  for (int i = 0; i < 5; ++i) file += "File " + QByteArray::number(i + 1) + "=" + cases[i].stored + "\r\n";
  WriteFileBytes(path, file);
  ReadSettings(path);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(RecentFiles[i + 1], U(cases[i].read)) << cases[i].stored;

  // Written back, a name of ours is the same bytes.
  ASSERT_EQ(WriteSettings(path), 0);
  const QByteArray written = ReadFileBytes(path);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(written.contains("File " + QByteArray::number(i + 1) + "=" + cases[i].stored + "\r\n")) << i;
}

TEST_F(SettingsFileTest, AnArrayCodeOfNoButtonSelectsNoneAndKeepsTheTemplate) {
  int clicks = 0;
  SettingsHandlers.OptionClick = [&](int) { ++clicks; };
  ReadSettings(ProfileText(CrLf({"[Tellumo]", "Niveau=3", "SEV File=/t/DataVes.txt"})));
  EXPECT_EQ(ArrayCode, "3");
  EXPECT_EQ(Option1 | Option2 | Option3, 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(DataTemplateFile, "/t/DataVes.txt");
  EXPECT_EQ(IsEnglish, kTrue);
}

TEST_F(SettingsFileTest, ALanguageCodeSetsItsFlagAndClearsNone) {
  struct Case {
    const char* code;
    int16_t* flag;
  } cases[] = {{"F", &IsFrench}, {"E", &IsEnglish}, {"S", &IsSpanish}, {"A", &IsGerman}, {"f", nullptr}, {"X", nullptr}};
  for (const Case& c : cases) {
    IsEnglish = IsFrench = IsSpanish = 0;
    IsGerman = kTrue;  // set before: stays set
    ReadSettings(ProfileText(CrLf({"[Tellumo]", (std::string("Langue=") + c.code).c_str()})));
    for (int16_t* f : {&IsFrench, &IsEnglish, &IsSpanish})
      EXPECT_EQ(*f, f == c.flag ? kTrue : kFalse) << c.code;
    EXPECT_EQ(IsGerman, kTrue) << c.code;
  }
}

TEST_F(SettingsFileTest, NotKeepingTheConfigurationStillKeepsTheFourPlotColours) {
  SetExitState();
  KeepConfigOnExit = 1;
  WriteSettings(path);

  // Next run: the colour buttons change every colour, the exit does not keep
  // the configuration.
  CurveColour = 11;
  PointsColour = 12;
  ModelColour = 13;
  ErrorCurveColour = 14;
  GridColour = 15;
  SuperposedCurveColour = 16;
  Text15.BackColor = 17;
  ArrayCode = "0";
  KeepConfigOnExit = 0;
  WriteSettings(path);

  NewRun();
  ReadSettings(path);
  EXPECT_EQ(CurveColour, 11);
  EXPECT_EQ(PointsColour, 12);
  EXPECT_EQ(ModelColour, 13);
  EXPECT_EQ(ErrorCurveColour, 14);
  EXPECT_EQ(GridColour, 16512);              // "Color1" kept from the earlier exit
  EXPECT_EQ(SuperposedCurveColour, 32768);   // "Color7" likewise
  EXPECT_EQ(Text15.BackColor, 8421504);
  EXPECT_EQ(ArrayCode, "2");                 // the main section as the earlier exit left it
  EXPECT_EQ(LanguageCode, "F");
}

TEST_F(SettingsFileTest, TheColourScaleSaveWritesItsSectionInStrForm) {
  SetExitState();
  KeepConfigOnExit = 0;
  WriteSettings(path);
  const QByteArray before = fileBytes();
  for (int k = 1; k <= 16; ++k) ColourBox(100 + k).BackColor = k == 16 ? -1 : 1000 * k;
  WriteColourScaleSettings(path);
  QByteArray expected = before + "[VISUAL_SU]\r\n";
  for (int k = 1; k <= 15; ++k) expected += "Amplitude" + QByteArray::number(k) + "= " + QByteArray::number(1000 * k) + "\r\n";
  expected += "Amplitude16=-1\r\n";
  EXPECT_EQ(fileBytes(), expected);
}

TEST_F(SettingsFileTest, WritingCreatesTheConfigurationFolder) {
  const QString nested = QFileInfo(path).absolutePath() + "/config/sub/Tellumo6.ini";
  WriteSettings(nested);
  EXPECT_TRUE(QFile::exists(nested));
  // A folder in the way: nothing is written, nothing is thrown.
  QDir().mkpath(path);
  EXPECT_NO_THROW(WriteSettings(path));
}

using test::FileSizeLimit;

TEST_F(SettingsFileTest, AFailedWriteIsReportedAndKeepsTheOldFile) {
  SetExitState();
  KeepConfigOnExit = 1;
  ASSERT_EQ(WriteSettings(path), 0);
  const QByteArray old = fileBytes();
  ASSERT_GT(old.size(), 64);

  // The disk takes no more than 64 bytes of a file: the exit's write, and
  // the colour-scale save, fail; neither empties nor cuts the file.
  CurrentFolder = "/home/user/elsewhere/";
  int settings = 0, colours = 0;
  bool limited = false;
  {
    FileSizeLimit limit(64);
    limited = limit.active();
    settings = WriteSettings(path);
    colours = WriteColourScaleSettings(path);
  }
  ASSERT_TRUE(limited);
  EXPECT_EQ(settings, vb::kErrPathAccess);
  EXPECT_EQ(colours, vb::kErrPathAccess);
  EXPECT_EQ(fileBytes(), old);
  EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"Tellumo6.ini"});

  // A read-only folder refuses the write (root writes anywhere).
  if (geteuid() != 0) {
    const QString folder = QFileInfo(path).absolutePath();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(WriteSettings(path), vb::kErrPermissionDenied);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(fileBytes(), old);
  }

  // A folder where the file should be.
  const QString blocked = QFileInfo(path).absolutePath() + "/blocked/Tellumo6.ini";
  QDir().mkpath(blocked);
  EXPECT_EQ(WriteSettings(blocked), vb::kErrPathAccess);
  EXPECT_EQ(WriteColourScaleSettings(blocked), vb::kErrPathAccess);

  EXPECT_EQ(WriteSettings(path), 0);
  EXPECT_EQ(WriteColourScaleSettings(path), 0);
}

TEST_F(SettingsFileTest, APathTheCodePageCannotHoldIsNotStored) {
  // An earlier exit stored paths that can be written.
  SetExitState();
  KeepConfigOnExit = 1;
  RecentFiles[3] = "/old/3.TM3";
  RecentFiles[4] = "/old/4.TM3";
  RecentFiles[5] = "/old/5.TM3";
  ASSERT_EQ(WriteSettings(path), 0);

  // This session's paths: Polish and Cyrillic letters have no byte in
  // Windows-1252 and would come back as '?'; Latin-1 ones would not.
  CurrentFolder = U("/home/łukasz/");
  DataTemplateFile = U("/home/Юлия/x.TM3");
  GraphicsProgramPath = U("/opt/łódź/draw");
  RecentFiles[1] = U("/home/Юлия/x.TM3");
  RecentFiles[2] = U("/home/josé/a.TM3");
  RecentFiles[3] = U("/home/łukasz/b.TM3");
  RecentFiles[4] = "/data/c.TM3";
  RecentFiles[5] = U("/home/Zoë/d.TM3");
  const std::vector<ProfileEntry> entries = SettingsToWrite();
  for (const char* key : {"Chemin", "SEV File", "Graphical_Prog"}) {
    EXPECT_TRUE(std::none_of(entries.begin(), entries.end(), [&](const ProfileEntry& e) { return e.key == key; }))
        << key;
  }
  ASSERT_EQ(WriteSettings(path), 0);

  NewRun();
  ReadSettings(path);
  EXPECT_EQ(CurrentFolder, "/home/user/sondages/");  // as the earlier exit stored them
  EXPECT_EQ(DataTemplateFile, "/opt/tellumo/DATAWEN.TXT");
  EXPECT_EQ(GraphicsProgramPath, "/usr/bin/gimp");
  const QString recent[6] = {{}, U("/home/josé/a.TM3"), "/data/c.TM3", U("/home/Zoë/d.TM3"), "", ""};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(RecentFiles[i], recent[i]) << i;

  // Latin-1 paths are stored, with and without keeping the configuration.
  for (int16_t keep : {1, 0}) {
    KeepConfigOnExit = keep;
    CurrentFolder = U("/home/josé/");
    DataTemplateFile = U("/home/josé/DATAVES.TXT");
    GraphicsProgramPath = U("/opt/façade/draw");
    ASSERT_EQ(WriteSettings(path), 0);
    NewRun();
    ReadSettings(path);
    EXPECT_EQ(CurrentFolder, U("/home/josé/")) << "keep " << keep;
    EXPECT_EQ(DataTemplateFile, U("/home/josé/DATAVES.TXT")) << "keep " << keep;
    EXPECT_EQ(GraphicsProgramPath, U("/opt/façade/draw")) << "keep " << keep;
  }
  // Without keeping the configuration the graphics program, written at every
  // exit, is still not stored when the code page cannot hold it.
  KeepConfigOnExit = 0;
  GraphicsProgramPath = U("/opt/łódź/draw");
  ASSERT_EQ(WriteSettings(path), 0);
  NewRun();
  ReadSettings(path);
  EXPECT_EQ(GraphicsProgramPath, U("/opt/façade/draw"));
}

TEST_F(SettingsFileTest, TheFileLivesInTheUserConfigurationFolder) {
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "/srv/cfg");
  EXPECT_EQ(SettingsFilePath(), "/srv/cfg/Tellumo6.ini");
  qputenv("XDG_CONFIG_HOME", "relative/cfg");  // not absolute: ignored
  EXPECT_EQ(SettingsFilePath(), QDir::homePath() + "/.config/Tellumo6.ini");
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(SettingsFilePath(), QDir::homePath() + "/.config/Tellumo6.ini");
  if (wasSet) qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(SettingsFileTest, LoadParameterFillsTheOptionsPanel) {
  ReadSettings(path);  // every default
  HalfArrayFactor = 2;
  Load_parameter();
  EXPECT_EQ(HalfArrayFactor, 1);
  EXPECT_EQ(RMSB.Value, 0);
  EXPECT_EQ(represent_modele.Value, 1);
  EXPECT_EQ(garder_config.Value, 1);  // checked at start, not touched
  EXPECT_EQ(Combo1.ListIndex, 0);
  EXPECT_EQ(Combo1.Text, "       0.1");
  EXPECT_EQ(Combo2.ListIndex, 3);
  EXPECT_EQ(Combo2.Text, "  10000");
  EXPECT_EQ(Combo3.ListIndex, 2);
  EXPECT_EQ(Combo3.Text, "          1");
  EXPECT_EQ(Combo4.ListIndex, 3);
  EXPECT_EQ(Combo4.Text, "  10000");
  EXPECT_EQ(Combo4.List.size(), 6);
  EXPECT_EQ(Combo5.Text, "     Auto");
  EXPECT_EQ(ThicknessDecimals, 0);
  EXPECT_EQ(Label5.Caption, "Decimals thickness");
  EXPECT_EQ(garder_config.Caption, "Save options");
  EXPECT_EQ(Frame8.Caption, "Resistivity colors");

  // Switches other than 1 uncheck; decades outside their lists leave them
  // without a selection; French captions.
  ShowModelGraphic = -1;
  ShowErrorCurve = 1;
  AB2MinDecade = 2;
  AB2MaxDecade = 0;
  RhoMinDecade = -3;
  RhoMaxDecade = 7;
  ThicknessDecimals = 2;
  IsFrench = kTrue;
  Load_parameter();
  EXPECT_EQ(RMSB.Value, 1);
  EXPECT_EQ(represent_modele.Value, 0);
  for (ComboBoxState* c : {&Combo1, &Combo2, &Combo3, &Combo4}) {
    EXPECT_EQ(c->ListIndex, -1);
    EXPECT_EQ(c->Text, "");
  }
  EXPECT_EQ(ThicknessDecimals, 0);
  EXPECT_EQ(Frame8.Caption, U("Choix des couleurs de résisitivité"));
  EXPECT_EQ(represent_modele.Caption, U("Représentation graphique du modèle"));
  EXPECT_EQ(RMSB.Caption, U("Représentation graphique de l'erreur d'ajustement"));
}

TEST_F(SettingsFileTest, SelectingAnArrayButtonRunsItsHandlerOnlyWhenItWasNotSelected) {
  std::vector<int> clicks;
  SettingsHandlers.OptionClick = [&](int button) { clicks.push_back(button); };
  SelectArrayOption("2");
  SelectArrayOption("2");  // already selected: no click
  SelectArrayOption("0");
  SelectArrayOption(" 1");  // compared exactly: no button
  EXPECT_EQ(clicks, (std::vector<int>{3, 1}));
  EXPECT_EQ(Option1, kTrue);
  EXPECT_EQ(Option2 | Option3, 0);
}

}  // namespace
}  // namespace tellumo
