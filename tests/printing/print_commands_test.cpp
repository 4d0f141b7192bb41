#include "printing/print_commands.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "mainwindow/program_state.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/page_document.h"
#include "platform/page_picture.h"
#include "platform/printer_service.h"
#include "platform/vb.h"
#include "printing/print_services.h"
#include "printing/print_state.h"
#include "printing/report.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

constexpr double kMargin = 1134;
constexpr double kA4W = kA4WidthTwipsPage;
constexpr double kA4H = kA4HeightTwipsPage;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

PaperSetup Paper(double w, double h, double l = kMargin, double t = kMargin, double r = kMargin, double b = kMargin) {
  return PaperSetup{w, h, l, t, r, b};
}

// A document of n pages, each with one line of text.
void ComposePages(PageDocument& doc, int n) {
  doc.StartDoc();
  for (int i = 1; i <= n; ++i) {
    if (i > 1) doc.NewPage();
    doc.Text(QStringLiteral("page %1").arg(i));
  }
  doc.EndDoc();
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QClipboard* Clipboard() { return QGuiApplication::clipboard(); }

// Whether the page pictures are there yet: a page always makes a metafile.
bool PagePicturesAvailable() { return !PageEmf(PageContent{}).isEmpty(); }

// A sounding of six points and a three-layer model, English, Schlumberger,
// the report composed once on A4 upright; the printer records its jobs.
class PrintCommands : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    test::DefaultPlotAxes();
    LeftMargin = TopMargin = RightMargin = BottomMargin = kMargin;
    Option1 = kTrue;
    IsEnglish = kTrue;
    FileTitle = "S1.TM3";
    GraphTitle = "Valley";
    SuperposeSwitch = -1;
    MaxSpacing = 1;
    SetSounding();
    ReportUi().controlsChanged = [this] { ++notices; };
  }

  void TearDown() override {
    for (PageDocument* doc : {&ReportPreview(), &ProfilePreview()}) {
      doc->PageCountChanged = nullptr;
      doc->FollowPage = nullptr;
      doc->RowEvent = nullptr;
      doc->Error = nullptr;
    }
    ReportUi().controlsChanged = nullptr;
    StateTest::TearDown();
  }

  static void SetSounding() {
    EmptyFieldData();
    const double points[][2] = {{1, 50}, {3, 42}, {10, 30}, {30, 40}, {100, 80}, {300, 150}};
    int i = 0;
    for (const auto& p : points) {
      ++i;
      FieldData[i][kSpacing1] = p[0];
      FieldData[i][kRhoApparent] = p[1];
      FieldData[i][kSpacing2] = 0.5;
      FieldData[i][kDeltaV] = 12.5;
      FieldData[i][kCurrent] = 100;
      FieldData[i][kKFactor] = 3.14;
    }
    PointCount = static_cast<int16_t>(i);
    EmptyLayerModel();
    const double layers[][2] = {{50, 2}, {20, 10}, {200, 0}};
    i = 0;
    double depth = 0;
    for (const auto& l : layers) {
      ++i;
      LayerModel[i][kLayerRho] = l[0];
      LayerModel[i][kLayerThickness] = l[1];
      LayerModel[i][kLayerDepth] = depth;
      depth += l[1];
    }
    LayerCount = static_cast<int16_t>(i);
  }

  // Counts the compositions of the report from now on.
  void CountCompositions() {
    ReportPreview().PageCountChanged = [this] { ++compositions; };
  }

  void ExpectBox(size_t i, const QString& text, MsgButtons buttons, MsgIcon icon) {
    ASSERT_LT(i, boxes.boxes.size());
    EXPECT_EQ(boxes.boxes[i].text, text);
    EXPECT_EQ(boxes.boxes[i].buttons, buttons);
    EXPECT_EQ(boxes.boxes[i].icon, icon);
    EXPECT_EQ(boxes.boxes[i].caption, QStringLiteral("Tellumo 6.4"));
  }

  RecordingPrinterService printers;
  ScopedPrinterService printerScope{&printers};
  int notices = 0;
  int compositions = 0;
};

// --- Printing ----------------------------------------------------------------

TEST_F(PrintCommands, CopiesBoxDecidesTheJobs) {
  struct Case {
    const char* copies;
    const char* question;  // nullptr: no question
    int jobsOnYes;
    int jobsOnNo;
    bool notANumber;
  };
  const Case cases[] = {
      {"1", nullptr, 1, 1, false},
      {"0", nullptr, 0, 0, false},
      {"-3", nullptr, 0, 0, false},
      {"0.9", nullptr, 0, 0, false},
      {"2.7", "Do you really want to print  2 copies ?", 2, 1, false},
      {"3", "Do you really want to print  3 copies ?", 3, 1, false},
      {" 2 ", "Do you really want to print  2 copies ?", 2, 1, false},
      {"abc", nullptr, 0, 0, true},
      {"", nullptr, 0, 0, true},
      {"2x", nullptr, 0, 0, true},
  };
  display_print();
  ASSERT_EQ(ReportPreview().PageCount(), 2);
  for (const Case& c : cases) {
    for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
      SCOPED_TRACE(std::string("copies \"") + c.copies + (answer == MsgAnswer::Yes ? "\", Yes" : "\", No"));
      printers.jobs.clear();
      boxes.boxes.clear();
      boxes.answers.clear();
      Text23.Text = QString::fromLatin1(c.copies);
      if (c.question) boxes.answer(answer);
      if (c.notANumber) boxes.answer(MsgAnswer::OK);
      cmdPrint_Click();
      EXPECT_TRUE(boxes.answers.empty());

      const int jobs = answer == MsgAnswer::Yes ? c.jobsOnYes : c.jobsOnNo;
      ASSERT_EQ(static_cast<int>(printers.jobs.size()), jobs);
      for (const auto& job : printers.jobs) {
        EXPECT_EQ(job.document, &ReportPreview());
        EXPECT_EQ(job.pages, (std::vector<int>{1, 2}));
      }
      if (c.question) {
        ASSERT_EQ(boxes.boxes.size(), 1u);
        ExpectBox(0, QString::fromLatin1(c.question), MsgButtons::YesNo, MsgIcon::Question);
      } else if (c.notANumber) {
        ASSERT_EQ(boxes.boxes.size(), 1u);
        ExpectBox(0, QStringLiteral("The number of copies is not a number."), MsgButtons::OK, MsgIcon::Exclamation);
      } else {
        EXPECT_TRUE(boxes.boxes.empty());
      }
    }
  }
}

TEST_F(PrintCommands, CopiesThatAreNoNumberAreToldInTheUsersLanguage) {
  struct Case {
    int16_t french, spanish;
    QString text;
  };
  const Case cases[] = {
      {kTrue, 0, U("Le nombre de copies n'est pas un nombre.")},
      {0, kTrue, U("El número de copias no es un número.")},
      {0, 0, U("The number of copies is not a number.")},
  };
  display_print();
  for (const Case& c : cases) {
    boxes.boxes.clear();
    IsFrench = c.french;
    IsSpanish = c.spanish;
    Text23.Text = "many";
    boxes.answer(MsgAnswer::OK);
    cmdPrint_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    ExpectBox(0, c.text, MsgButtons::OK, MsgIcon::Exclamation);
  }
  EXPECT_TRUE(printers.jobs.empty());
}

TEST_F(PrintCommands, FirstPageOnlyPrintsPageOneForEveryCopy) {
  display_print();
  First_page.Value = 1;
  Text23.Text = "2";
  boxes.answer(MsgAnswer::Yes);
  cmdPrint_Click();
  ASSERT_EQ(printers.jobs.size(), 2u);
  for (const auto& job : printers.jobs) EXPECT_EQ(job.pages, std::vector<int>{1});
}

// Whether a page of the report preview holds the text.
bool PreviewHolds(const QString& text) {
  for (const PageContent& page : ReportPreview().Pages())
    for (const PageOp& op : page.ops)
      if (op.kind == PageOp::Kind::Text && op.text.contains(text)) return true;
  return false;
}

TEST_F(PrintCommands, APreviewOfASoundingNoLongerCurrentIsComposedAnewBeforePrinting) {
  display_print();
  ASSERT_TRUE(PreviewHolds("S1.TM3"));
  CountCompositions();
  // Unchanged: the preview is printed as it is.
  Text23.Text = "1";
  cmdPrint_Click();
  EXPECT_EQ(compositions, 0);
  ASSERT_EQ(printers.jobs.size(), 1u);

  // A conversion or an opening made another sounding current while the
  // report tab stayed in view: its report is printed, not the one before.
  struct Change {
    const char* what;
    std::function<void()> apply;
    const char* shown;
  };
  const Change changes[] = {
      {"another file", [] { FilePath = "/data/T1.TM3"; FileTitle = "T1.TM3"; }, "T1.TM3"},
      {"the same name, other readings", [] { FieldData[2][kRhoApparent] = 777.0; }, "777"},
      {"the same name, another comment", [] { SoundingComment = "Rewritten"; }, "Rewritten"},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    printers.jobs.clear();
    compositions = 0;
    c.apply();
    ASSERT_FALSE(PreviewHolds(QString::fromLatin1(c.shown)));
    cmdPrint_Click();
    EXPECT_EQ(compositions, 1);
    EXPECT_TRUE(PreviewHolds(QString::fromLatin1(c.shown)));
    ASSERT_EQ(printers.jobs.size(), 1u);
    EXPECT_EQ(printers.jobs[0].document, &ReportPreview());
  }
}

TEST_F(PrintCommands, AnEmptyPreviewPrintsNothing) {
  ASSERT_EQ(ReportPreview().PageCount(), 0);
  Text23.Text = "3";
  boxes.answer(MsgAnswer::Yes);
  cmdPrint_Click();
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_EQ(boxes.boxes.size(), 1u);  // the question is still asked
}

TEST_F(PrintCommands, AFailingJobIsReportedInTheProgramsOwnWords) {
  struct Case {
    int16_t french, spanish;
    QString text;
  };
  const Case cases[] = {
      {kTrue, 0, U("L'aperçu avant impression a signalé l'erreur 482.")},
      {0, kTrue, U("La vista previa de impresión señaló el error 482.")},
      {0, 0, U("The print preview reported error 482.")},
  };
  InstallReportPreviewEvents();
  display_print();
  for (const Case& c : cases) {
    boxes.boxes.clear();
    IsFrench = c.french;
    IsSpanish = c.spanish;
    printers.failures.push_back(482);
    boxes.answer(MsgAnswer::OK);
    Text23.Text = "1";
    cmdPrint_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    ExpectBox(0, c.text, MsgButtons::OK, MsgIcon::None);
  }
  EXPECT_TRUE(printers.jobs.empty());
}

// --- Page and printer setup ------------------------------------------------------

TEST_F(PrintCommands, PageSetupRecomposesAndItsMarginsSurviveTheNextPreparation) {
  display_print();
  CountCompositions();
  printers.pageSetups.push_back(Paper(kA4W, kA4H, 2000, 1500, 1700, 1800));
  cmdPageSetup_Click();

  EXPECT_EQ(printers.pageSetupDialogs, 1);
  EXPECT_EQ(compositions, 1);
  EXPECT_DOUBLE_EQ(PlotOriginX, 2000);  // composed on the new margins
  EXPECT_EQ(LeftMargin, 2000);
  EXPECT_EQ(TopMargin, 1500);
  EXPECT_EQ(RightMargin, 1700);
  EXPECT_EQ(BottomMargin, 1800);

  display_print();
  const PageDocument& doc = ReportPreview();
  EXPECT_EQ(doc.MarginLeft, 2000);
  EXPECT_EQ(doc.MarginTop, 1500);
  EXPECT_EQ(doc.MarginRight, 1700);
  EXPECT_EQ(doc.MarginBottom, 1800);
  // What the exit stores.
  EXPECT_EQ(VSPrintMargins.Left, 2000);
  EXPECT_EQ(VSPrintMargins.Bottom, 1800);
  EXPECT_DOUBLE_EQ(PlotOriginX, 2000);
}

TEST_F(PrintCommands, PageSetupRecomposesEvenWhenCancelled) {
  display_print();
  CountCompositions();
  cmdPageSetup_Click();  // nothing queued: cancelled
  EXPECT_EQ(printers.pageSetupDialogs, 1);
  EXPECT_EQ(compositions, 1);
  EXPECT_EQ(LeftMargin, kMargin);
  EXPECT_EQ(ReportPreview().PageCount(), 2);
}

TEST_F(PrintCommands, PageSetupToLandscapeMovesTheTextToAPageOfItsOwn) {
  display_print();
  printers.pageSetups.push_back(Paper(kA4H, kA4W));
  cmdPageSetup_Click();
  EXPECT_EQ(ReportPreview().PageCount(), 3);
  EXPECT_DOUBLE_EQ(ReportPreview().Page(1).width, kA4H);
}

TEST_F(PrintCommands, PrinterSetupRecomposesOnlyWhenThePaperChanges) {
  struct Case {
    const char* what;
    std::optional<PaperSetup> answer;
    int compositions;
    int pages;
  };
  const Case cases[] = {
      {"cancelled", std::nullopt, 0, 2},
      {"another printer, same paper", Paper(kA4W, kA4H), 0, 2},
      {"orientation changed", Paper(kA4H, kA4W), 1, 3},
      {"back upright", Paper(kA4W, kA4H), 1, 2},
      {"taller paper", Paper(kA4W, 20160), 1, 2},
  };
  display_print();
  CountCompositions();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    compositions = 0;
    printers.printerSetups.push_back(c.answer);
    cmdPrinterSetup_Click();
    EXPECT_EQ(compositions, c.compositions);
    EXPECT_EQ(ReportPreview().PageCount(), c.pages);
  }
  EXPECT_EQ(printers.printerSetupDialogs, 5);
}

TEST_F(PrintCommands, ProfileSetupsWriteThePaperSizeCutOrRounded) {
  struct Case {
    void (*handler)();
    bool pageSetup;
    const char* label;
  };
  const Case cases[] = {
      {&cmdPageSetup2_Click, true, "Paper size=  296 /  209"},
      {&cmdPrinterSetup2_Click, false, "Paper size=  297 /  210"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ResetPreviews();
    Label18.Caption.clear();
    notices = 0;
    (c.pageSetup ? printers.pageSetups : printers.printerSetups).push_back(Paper(11906, 16838));
    c.handler();
    EXPECT_EQ(Label18.Caption, QString::fromLatin1(c.label));
    EXPECT_EQ(notices, 1);
    EXPECT_DOUBLE_EQ(ProfilePreview().PageHeight(), 16838);
    // The report preview is not the one set up.
    EXPECT_DOUBLE_EQ(ReportPreview().PageHeight(), kA4HeightTwipsPage);
  }
  EXPECT_EQ(printers.pageSetupDialogs, 1);
  EXPECT_EQ(printers.printerSetupDialogs, 1);
}

TEST_F(PrintCommands, PaperSizeCaptionCutTakesTheWholeMillimetres) {
  EXPECT_EQ(PaperSizeCaptionCut(16838, 11906), "Paper size=  296 /  209");
  EXPECT_EQ(PaperSizeCaptionCut(11906, 16838), "Paper size=  209 /  296");
  EXPECT_EQ(PaperSizeCaptionCut(56.6, 0), "Paper size=  0 /  0");
}

// --- Viewing --------------------------------------------------------------

TEST_F(PrintCommands, PageLabelShowsThePagesInView) {
  struct Case {
    int pages;
    int zoomMode;
    int value;
    const char* label;
    int step;
  };
  const Case cases[] = {
      {4, 2, 3, "3 - 4 of 4", 2},
      {1, 2, 1, "1 of 1", 2},  // the last page is cut back to the page count
      {4, 2, 4, "4 of 4", 2},
      {3, 2, 2, "2 - 3 of 3", 2},
      {4, 0, 2, "2 of 4", 1},
      {12, 3, 11, "11 of 12", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    PageDocument& doc = ReportPreview();
    ComposePages(doc, c.pages);
    doc.ZoomMode = c.zoomMode;
    scrlpage.Value = c.value;
    notices = 0;
    scrlpage_Change();
    EXPECT_EQ(lblpage.Caption, QString::fromLatin1(c.label));
    EXPECT_EQ(doc.PreviewPage.value(), c.value);
    EXPECT_EQ(scrlpage.LargeChange, c.step);
    EXPECT_EQ(scrlpage.SmallChange, c.step);
    EXPECT_EQ(notices, 1);
  }
}

TEST_F(PrintCommands, PageEventsMoveTheScrollBar) {
  InstallReportPreviewEvents();
  PageDocument& doc = ReportPreview();
  EXPECT_EQ(lblpage.Caption, "Page count");
  ComposePages(doc, 4);
  // The page-count event at the end of the document.
  EXPECT_EQ(scrlpage.Max, 4);
  EXPECT_EQ(scrlpage.Value, 1);
  EXPECT_EQ(lblpage.Caption, "1 of 4");
  EXPECT_EQ(notices, 1);

  doc.ZoomMode = 2;
  doc.ShowPageFromView(3);
  EXPECT_EQ(scrlpage.Value, 3);
  EXPECT_EQ(doc.PreviewPage.value(), 3);
  EXPECT_EQ(lblpage.Caption, "3 - 4 of 4");

  // A page event without a page leaves the scroll bar alone.
  notices = 0;
  for (int page : {0, -2}) VSPrint_FollowPage(page);
  EXPECT_EQ(scrlpage.Value, 3);
  EXPECT_EQ(lblpage.Caption, "3 - 4 of 4");
  EXPECT_EQ(notices, 0);

  // A shorter document brings the scroll bar within its pages.
  ComposePages(doc, 2);
  EXPECT_EQ(scrlpage.Max, 2);
  EXPECT_EQ(scrlpage.Value, 2);
  EXPECT_EQ(lblpage.Caption, "2 of 2");
}

TEST_F(PrintCommands, ThePreparationShowsTheControlsOnce) {
  InstallReportPreviewEvents();
  display_print();
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(lblpage.Caption, "1 of 2");
  EXPECT_EQ(scrlpage.Max, 2);
}

TEST_F(PrintCommands, RowEventPutsTheHeaderInBold) {
  InstallReportPreviewEvents();
  PageDocument& doc = ReportPreview();
  doc.StartDoc();
  doc.FontBold = false;
  doc.AddTable(QStringLiteral("<+1000|<+1000"), QStringLiteral("Head A|Head B"), QStringLiteral("a1|b1;a2|b2;"));
  doc.EndDoc();
  int texts = 0;
  for (const PageOp& op : doc.Page(1).ops) {
    if (op.kind != PageOp::Kind::Text) continue;
    ++texts;
    EXPECT_EQ(op.bold, op.text.startsWith(QLatin1String("Head"))) << op.text.toStdString();
  }
  EXPECT_EQ(texts, 6);
  EXPECT_FALSE(doc.FontBold);
}

TEST_F(PrintCommands, SwitchBySignTurnsBoldOnForRowZeroAndOffAfter) {
  struct Case {
    bool before;
    int number;
    bool after;
  };
  const Case cases[] = {
      {false, 0, true}, {true, 0, true}, {false, -4, true}, {true, 1, false}, {false, 1, false}, {true, 7, false},
  };
  for (const Case& c : cases) {
    ReportPreview().FontBold = c.before;
    VSPrint_SwitchBySign(c.number, 5, 9);
    EXPECT_EQ(ReportPreview().FontBold, c.after) << c.before << " " << c.number;
  }
}

TEST_F(PrintCommands, ZoomModesAndThePercentageStillChosen) {
  display_print();
  PageDocument& doc = ReportPreview();
  EXPECT_EQ(doc.Zoom.value(), 100);
  EXPECT_EQ(doc.ZoomMode.value(), 0);
  EXPECT_TRUE(cmbPercentEnabled);

  ASSERT_TRUE(cmbPercent.SelectIndex(5));  // 200%
  cmbPercent_Click();
  EXPECT_EQ(doc.Zoom.value(), 200);

  for (int mode = 1; mode <= 5; ++mode) {
    notices = 0;
    ASSERT_TRUE(cmbZoomMode.SelectIndex(mode));
    cmbZoomMode_Click();
    EXPECT_EQ(doc.ZoomMode.value(), mode);
    EXPECT_FALSE(cmbPercentEnabled);
    EXPECT_EQ(notices, 1);
  }
  // Back to "Percentage": the 200% still chosen applies again.
  doc.Zoom = 60;
  ASSERT_TRUE(cmbZoomMode.SelectIndex(0));
  cmbZoomMode_Click();
  EXPECT_EQ(doc.ZoomMode.value(), 0);
  EXPECT_EQ(doc.Zoom.value(), 200);
  EXPECT_TRUE(cmbPercentEnabled);
}

TEST_F(PrintCommands, ProfileZoomListsWorkOnTheProfilePreview) {
  PageDocument& profile = ProfilePreview();
  profile.Zoom = 75;
  profile.ZoomMode = 3;
  // "Percentage" before any percentage was chosen keeps the present zoom.
  ASSERT_EQ(cmbPercent2.ListIndex, -1);
  ASSERT_TRUE(cmbZoomMode2.SelectIndex(0));
  cmbZoomMode2_Click();
  EXPECT_EQ(profile.ZoomMode.value(), 0);
  EXPECT_EQ(profile.Zoom.value(), 75);
  EXPECT_TRUE(cmbPercent2Enabled);

  ASSERT_TRUE(cmbPercent2.SelectIndex(1));  // 50%
  cmbPercent2_Click();
  EXPECT_EQ(profile.Zoom.value(), 50);

  ASSERT_TRUE(cmbZoomMode2.SelectIndex(5));  // Stretch
  cmbZoomMode2_Click();
  EXPECT_EQ(profile.ZoomMode.value(), 5);
  EXPECT_FALSE(cmbPercent2Enabled);
  EXPECT_TRUE(cmbPercentEnabled);  // the report's list is another one
  EXPECT_EQ(ReportPreview().Zoom.value(), 100);
  EXPECT_EQ(ReportPreview().ZoomMode.value(), 0);
}

TEST_F(PrintCommands, PhysicalPageFlipsWhateverTheBoxShowsAndGuidesFollowTheBox) {
  PageDocument& doc = ReportPreview();
  ASSERT_TRUE(doc.PhysicalPage.value());
  chkPhysicalPage.Value = 1;
  chkPhysicalPage_Click();
  EXPECT_FALSE(doc.PhysicalPage.value());
  chkPhysicalPage_Click();
  EXPECT_TRUE(doc.PhysicalPage.value());
  chkPhysicalPage.Value = 0;
  chkPhysicalPage_Click();
  EXPECT_FALSE(doc.PhysicalPage.value());

  for (int16_t value : {0, 1, 0}) {
    chkShowGuides.Value = value;
    chkShowGuides_Click();
    EXPECT_EQ(doc.ShowGuides.value(), value == 1);
  }
}

TEST_F(PrintCommands, AFontChoiceRecomposesTheReportInThatFont) {
  display_print();
  CountCompositions();
  // The names come twice, as after two preparations: the entry names the font.
  ListePolices.List = {"Arial", "Liberation Serif", "DejaVu Sans Mono", "Arial", "Liberation Serif",
                       "DejaVu Sans Mono"};
  ASSERT_TRUE(ListePolices.SelectIndex(4));
  ListePolices_Click();
  EXPECT_EQ(compositions, 1);
  const PageDocument& doc = ReportPreview();
  EXPECT_EQ(doc.FontName, "Liberation Serif");
  ASSERT_EQ(doc.PageCount(), 2);
  int texts = 0;
  for (const PageContent& page : doc.Pages())
    for (const PageOp& op : page.ops)
      if (op.kind == PageOp::Kind::Text) {
        ++texts;
        EXPECT_EQ(op.fontName, "Liberation Serif") << op.text.toStdString();
      }
  EXPECT_GT(texts, 10);

  // A typed name sets the font without composing again.
  ListePolices.Text = "DejaVu Sans Mono";
  ListePolices.ListIndex = -1;
  ListePolices_Change();
  EXPECT_EQ(doc.FontName, "DejaVu Sans Mono");
  EXPECT_EQ(compositions, 1);
  for (const PageOp& op : doc.Page(1).ops)
    if (op.kind == PageOp::Kind::Text) EXPECT_EQ(op.fontName, "Liberation Serif");

  // The next preparation composes in the font in force.
  display_print();
  for (const PageOp& op : doc.Page(1).ops)
    if (op.kind == PageOp::Kind::Text) EXPECT_EQ(op.fontName, "DejaVu Sans Mono");
}

// --- Copies of the pages ----------------------------------------------------------

class PageCopies : public PrintCommands {
 protected:
  void SetUp() override {
    PrintCommands::SetUp();
    ASSERT_TRUE(dir.isValid());
    folder = dir.path() + QLatin1Char('/');
    CurrentFolder = folder;
    FilePath = folder + "s1.TM3";
    display_print();
    boxes.boxes.clear();
  }

  QStringList FilesInFolder() const { return QDir(dir.path()).entryList(QDir::Files); }

  QTemporaryDir dir;
  QString folder;
};

TEST_F(PageCopies, AnExistingFileAndNoTouchNothing) {
  WriteAll(folder + "s1.emf", "old picture");
  Clipboard()->setText("kept");
  boxes.type(folder + "s1.emf");
  boxes.answer(MsgAnswer::No);
  Record_WMF_Click();

  ASSERT_EQ(boxes.prompts.size(), 1u);
  EXPECT_EQ(boxes.prompts[0].prompt, "Enter the file name");
  EXPECT_EQ(boxes.prompts[0].caption, "WMF file option");
  EXPECT_EQ(boxes.prompts[0].initial, folder + "s1.emf");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  ExpectBox(0, folder + "s1.emf alreday exists, replace this file ?", MsgButtons::YesNo, MsgIcon::Question);
  EXPECT_EQ(ReadAll(folder + "s1.emf"), "old picture");
  EXPECT_EQ(Clipboard()->text(), "kept");
  EXPECT_FALSE(Clipboard()->mimeData()->hasFormat("image/emf"));
  EXPECT_EQ(FilesInFolder(), QStringList{"s1.emf"});
}

TEST_F(PageCopies, YesReplacesTheFileWithThePageShown) {
  if (!PagePicturesAvailable()) GTEST_SKIP() << "page pictures not built yet";
  WriteAll(folder + "s1.emf", "old picture");
  boxes.type(folder + "s1.emf");
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  Record_WMF_Click();

  const QByteArray bytes = ReadAll(folder + "s1.emf");
  EXPECT_EQ(bytes, PageEmf(ReportPreview().Page(1)));
  EXPECT_EQ(bytes.mid(40, 4), " EMF");
  ASSERT_EQ(boxes.boxes.size(), 2u);
  ExpectBox(1, folder + "s1.emf" + vb::Str(MetafileKb(bytes.size())) + " Kb has been recorded", MsgButtons::OK,
            MsgIcon::Information);
  EXPECT_TRUE(Clipboard()->mimeData()->hasFormat("image/emf"));
}

TEST_F(PageCopies, TheMetafileIsThePageShown) {
  if (!PagePicturesAvailable()) GTEST_SKIP() << "page pictures not built yet";
  ReportPreview().PreviewPage = 2;
  boxes.type(QStringLiteral("second.emf"));
  boxes.expectAny();
  Record_WMF_Click();
  EXPECT_EQ(ReadAll(folder + "second.emf"), PageEmf(ReportPreview().Page(2)));
}

TEST_F(PageCopies, TheMetafileOfAnotherSoundingNowCurrentIsItsOwnReport) {
  if (!PagePicturesAvailable()) GTEST_SKIP() << "page pictures not built yet";
  // A conversion wrote and kept t1.TM3 while the report tab stayed in view.
  FilePath = folder + "t1.TM3";
  FileTitle = "t1.TM3";
  FieldData[2][kRhoApparent] = 777.0;
  boxes.type(folder + "t1.emf");
  boxes.expectAny();
  Record_WMF_Click();
  EXPECT_TRUE(PreviewHolds("t1.TM3"));
  EXPECT_TRUE(PreviewHolds("777"));
  EXPECT_EQ(ReadAll(folder + "t1.emf"), PageEmf(ReportPreview().Page(ReportPreview().PreviewPage)));
}

TEST_F(PageCopies, ARelativeNameLandsInTheFolderOfTheSoundingFile) {
  if (!PagePicturesAvailable()) GTEST_SKIP() << "page pictures not built yet";
  ASSERT_NE(QDir::currentPath() + QLatin1Char('/'), folder);
  boxes.type(QStringLiteral("plot.emf"));
  boxes.answer(MsgAnswer::OK);
  Record_WMF_Click();
  EXPECT_EQ(FilesInFolder(), QStringList{"plot.emf"});
  EXPECT_FALSE(QFile::exists(QDir::current().filePath("plot.emf")));
  const qint64 size = QFileInfo(folder + "plot.emf").size();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  ExpectBox(0, "plot.emf" + vb::Str(MetafileKb(size)) + " Kb has been recorded", MsgButtons::OK,
            MsgIcon::Information);
}

// The proposal and the file are the sounding's own name: a '\' in it is a
// letter, and the file the name would give with '\' as a separator is left
// alone.
TEST_F(PageCopies, TheMetafileOfAnOddlyNamedSoundingIsWrittenUnderThatName) {
  if (!PagePicturesAvailable()) GTEST_SKIP() << "page pictures not built yet";
  QDir(folder).mkpath("we");
  WriteAll(folder + "we/ird.emf", "decoy");
  QStringList expected = {"we"};
  for (const char* stem : {"we\\ird", "my sounding", "зондаж", "sondéo"}) {
    SCOPED_TRACE(stem);
    boxes.boxes.clear();
    boxes.prompts.clear();
    const QString name = QString::fromUtf8(stem);
    FilePath = folder + name + ".TM3";
    boxes.type(folder + name + ".emf");
    boxes.answer(MsgAnswer::OK);
    Record_WMF_Click();
    ASSERT_EQ(boxes.prompts.size(), 1u);
    EXPECT_EQ(boxes.prompts[0].initial, folder + name + ".emf");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.endsWith(" Kb has been recorded")) << boxes.boxes[0].text.toStdString();
    EXPECT_EQ(ReadAll(folder + name + ".emf"), PageEmf(ReportPreview().Page(1)));
    expected << name + ".emf";
  }
  EXPECT_EQ(ReadAll(folder + "we/ird.emf"), "decoy");
  expected.sort();
  QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
  entries.sort();
  EXPECT_EQ(entries, expected);
}

TEST_F(PageCopies, AFailedWriteIsReportedByItsNumber) {
  if (!PagePicturesAvailable()) GTEST_SKIP() << "page pictures not built yet";
  boxes.type(folder + "missing/plot.emf");
  boxes.answer(MsgAnswer::OK);
  Record_WMF_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  ExpectBox(0, "Error nb  76  Path not found happens", MsgButtons::OK, MsgIcon::Critical);
  EXPECT_TRUE(FilesInFolder().isEmpty());
}

TEST_F(PageCopies, WildcardsInTheNameEndWithTheErrorMessage) {
  WriteAll(folder + "s1.emf", "old picture");
  for (const char* typed : {"*.emf", "s?.emf", "/tmp/*"}) {
    SCOPED_TRACE(typed);
    boxes.boxes.clear();
    boxes.type(QString::fromLatin1(typed));
    boxes.answer(MsgAnswer::OK);
    Record_WMF_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    ExpectBox(0, "Error nb  52  Bad file name or number happens", MsgButtons::OK, MsgIcon::Critical);
  }
  EXPECT_EQ(FilesInFolder(), QStringList{"s1.emf"});
  EXPECT_EQ(ReadAll(folder + "s1.emf"), "old picture");
}

TEST_F(PageCopies, ANameTooShortToProposeFromEndsWithTheErrorMessage) {
  for (const char* path : {"", "ab"}) {
    SCOPED_TRACE(path);
    boxes.boxes.clear();
    FilePath = QString::fromLatin1(path);
    boxes.answer(MsgAnswer::OK);
    Record_WMF_Click();
    EXPECT_TRUE(boxes.prompts.empty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    ExpectBox(0, "Error nb  5  Invalid procedure call or argument happens", MsgButtons::OK, MsgIcon::Critical);
  }
  // Three characters are enough: the proposal is the extension alone.
  FilePath = "TM3";
  boxes.type(std::nullopt);
  Record_WMF_Click();
  ASSERT_EQ(boxes.prompts.size(), 1u);
  EXPECT_EQ(boxes.prompts[0].initial, "emf");
  EXPECT_TRUE(FilesInFolder().isEmpty());
}

TEST_F(PageCopies, ACancelledOrEmptyAnswerWritesNothing) {
  Clipboard()->setText("kept");
  for (const std::optional<QString>& answer : {std::optional<QString>(), std::optional<QString>(QString())}) {
    boxes.type(answer);
    Record_WMF_Click();
  }
  EXPECT_EQ(boxes.prompts.size(), 2u);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(FilesInFolder().isEmpty());
  EXPECT_EQ(Clipboard()->text(), "kept");
}

TEST(MetafileSize, KilobytesAreRoundedHalfToEven) {
  const struct {
    int64_t bytes;
    double kb;
  } cases[] = {{12345, 12}, {2500, 2}, {3500, 4}, {1500, 2}, {499, 0}, {500, 0}, {501, 1}, {0, 0}};
  for (const auto& c : cases) EXPECT_EQ(MetafileKb(c.bytes), c.kb) << c.bytes;
  EXPECT_EQ(vb::Str(MetafileKb(12345)), " 12");
}

TEST_F(PageCopies, ClipboardButtonsPutThePageShownOfTheirPreview) {
  if (!PutPageOnClipboard(PageContent{})) GTEST_SKIP() << "page pictures not built yet";
  // The profile on landscape paper, the report upright: the picture tells
  // which preview it came from.
  PageDocument& profile = ProfilePreview();
  profile.setPaperSize(kA4H, kA4W);
  ComposePages(profile, 1);

  Clipboard()->setText("kept");
  Command15_Click();
  QImage picture = Clipboard()->image();
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), picture.height());

  Clipboard()->setText("kept");
  Command21_Click();
  picture = Clipboard()->image();
  ASSERT_FALSE(picture.isNull());
  EXPECT_LT(picture.width(), picture.height());
  EXPECT_TRUE(Clipboard()->mimeData()->hasFormat("image/emf"));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PageCopies, ClipboardButtonsShowNoMessage) {
  ResetPreviews();  // nothing composed
  Command21_Click();
  Command15_Click();
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PrintCommands, ProfilePrintSendsTheWholeProfileOnceWithoutAsking) {
  Command14_Click();  // nothing composed yet: nothing sent
  EXPECT_TRUE(printers.jobs.empty());

  ComposePages(ProfilePreview(), 2);
  Text23.Text = "5";
  First_page.Value = 1;  // the report's boxes play no part
  Command14_Click();
  ASSERT_EQ(printers.jobs.size(), 1u);
  EXPECT_EQ(printers.jobs[0].document, &ProfilePreview());
  EXPECT_EQ(printers.jobs[0].pages, (std::vector<int>{1, 2}));
  EXPECT_TRUE(boxes.boxes.empty());
}

// A profile print that fails (a PDF that cannot be written whole) is told as
// the report's is, in the user's language, and only once.
TEST_F(PrintCommands, AFailingProfilePrintIsReportedAsTheReportsIs) {
  const std::function<void()> before = ProfilePreview().Error;
  InstallProfilePreviewEvents();
  ComposePages(ProfilePreview(), 1);
  const struct {
    int16_t french, spanish;
    QString text;
  } cases[] = {
      {kTrue, 0, U("L'aperçu avant impression a signalé l'erreur 75.")},
      {0, kTrue, U("La vista previa de impresión señaló el error 75.")},
      {0, 0, U("The print preview reported error 75.")},
  };
  for (const auto& c : cases) {
    boxes.boxes.clear();
    IsFrench = c.french;
    IsSpanish = c.spanish;
    printers.failures.push_back(75);
    boxes.answer(MsgAnswer::OK);
    Command14_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    ExpectBox(0, c.text, MsgButtons::OK, MsgIcon::None);
  }
  EXPECT_TRUE(printers.jobs.empty());
  // A print that goes out says nothing.
  boxes.boxes.clear();
  Command14_Click();
  EXPECT_EQ(printers.jobs.size(), 1u);
  EXPECT_TRUE(boxes.boxes.empty());
  ProfilePreview().Error = before;
}

}  // namespace
}  // namespace tellumo
