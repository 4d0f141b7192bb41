// The controls beside the report and profile previews on the real main
// window, offscreen: what the user chooses, types and clicks reaches the
// plain state and the handlers, and the widgets follow what the handlers
// leave in the state.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "mainwindow/program.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/splash_form.h"
#include "platform/common_dialog.h"
#include "platform/page_document.h"
#include "platform/printer_service.h"
#include "platform/system_services.h"
#include "printing/print_commands.h"
#include "printing/print_state.h"
#include "sounding/manuals.h"
#include "support/fixtures.h"
#include "support/program_fixture.h"
#include "support/splash_driver.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

using test::Press;
using test::Type;

// The report preview lives as long as the process and keeps its event
// handlers through a reset: the tests put back those they found.
class KeptPreviewEvents {
 public:
  KeptPreviewEvents()
      : pageCount_(ReportPreview().PageCountChanged),
        followPage_(ReportPreview().FollowPage),
        row_(ReportPreview().RowEvent),
        error_(ReportPreview().Error) {}
  ~KeptPreviewEvents() {
    ReportPreview().PageCountChanged = pageCount_;
    ReportPreview().FollowPage = followPage_;
    ReportPreview().RowEvent = row_;
    ReportPreview().Error = error_;
  }

 private:
  std::function<void()> pageCount_;
  std::function<void(int)> followPage_;
  std::function<void(int)> row_;
  std::function<void()> error_;
};

// A document of `pages` empty pages on the report preview.
void ComposePages(int pages) {
  PageDocument& doc = ReportPreview();
  doc.StartDoc();
  for (int p = 2; p <= pages; ++p) doc.NewPage();
  doc.EndDoc();
}

// The widgets shown from the state, as a handler has them shown.
void ShowReportControls() { ReportUi().controlsChanged(); }

class PrintControlsTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    program = std::make_unique<Program>();
    SetMessageService(&boxes);
    SetDialogService(&dialogs);
    printers = std::make_unique<ScopedPrinterService>(&printer);
    InstallReportPreviewEvents();
    ProgramTitle = QStringLiteral("Tellumo 6.4");
    W().show();
  }
  void TearDown() override {
    program.reset();
    printers.reset();
    SetDialogService(nullptr);
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }
  SEV& W() { return program->window(); }

  KeptPreviewEvents events;
  std::unique_ptr<Program> program;
  ScriptedDialogService dialogs;
  RecordingPrinterService printer;
  std::unique_ptr<ScopedPrinterService> printers;
};

TEST_F(PrintControlsTest, StretchFreezesThePercentageAndPercentageAppliesItAgain) {
  // "150%" chosen with the keys (from no choice, the fifth entry down).
  for (int i = 0; i < 5; ++i) Press(W().cmbPercent, Qt::Key_Down);
  EXPECT_EQ(cmbPercent.ListIndex, 4);
  EXPECT_EQ(ReportPreview().Zoom, 150);

  // "Stretch" is the last mode.
  Press(W().cmbZoomMode, Qt::Key_End);
  EXPECT_EQ(cmbZoomMode.ListIndex, 5);
  EXPECT_EQ(cmbZoomMode.Text, "Stretch");
  EXPECT_EQ(ReportPreview().ZoomMode, 5);
  EXPECT_FALSE(cmbPercentEnabled);
  EXPECT_FALSE(W().cmbPercent->isEnabled());
  EXPECT_EQ(W().cmbZoomMode->currentText(), "Stretch");

  // Back to "Percentage": the list is free again and its 150% is applied,
  // whatever the zoom became meanwhile.
  ReportPreview().Zoom = 75;
  Press(W().cmbZoomMode, Qt::Key_Home);
  EXPECT_EQ(cmbZoomMode.ListIndex, 0);
  EXPECT_EQ(ReportPreview().ZoomMode, 0);
  EXPECT_EQ(ReportPreview().Zoom, 150);
  EXPECT_TRUE(W().cmbPercent->isEnabled());
  EXPECT_EQ(W().cmbPercent->currentText(), "150%");
}

TEST_F(PrintControlsTest, TheProfileListsTakeTheirOwnPreview) {
  ReportPreview().ZoomMode = 0;
  Press(W().cmbZoomMode2, Qt::Key_End);
  EXPECT_EQ(cmbZoomMode2.ListIndex, 5);
  EXPECT_EQ(ProfilePreview().ZoomMode, 5);
  EXPECT_FALSE(W().cmbPercent2->isEnabled());
  // The report's lists are left alone.
  EXPECT_TRUE(W().cmbPercent->isEnabled());
  EXPECT_EQ(ReportPreview().ZoomMode, 0);
}

TEST_F(PrintControlsTest, ProfileDataPresetsTheProfileListsThroughTheirState) {
  ProfilePreview().Zoom = 50;
  ProfilePreview().ZoomMode = 3;
  cmbPercent2Enabled = false;
  W().setTab(4);
  EXPECT_EQ(cmbPercent2.ListIndex, 3);
  EXPECT_EQ(cmbZoomMode2.ListIndex, 0);
  EXPECT_EQ(ProfilePreview().Zoom, 100);
  EXPECT_EQ(ProfilePreview().ZoomMode, 0);
  EXPECT_EQ(W().cmbPercent2->currentText(), "100%");
  EXPECT_EQ(W().cmbZoomMode2->currentText(), "Percentage");
  EXPECT_TRUE(W().cmbPercent2->isEnabled());
}

TEST_F(PrintControlsTest, ThePageCountAndTheUsersPagingShowInTheLabel) {
  // One arrow step moves as many pages as the preview shows at once.
  const struct {
    int zoomMode;
    const char* composed;  // the label once the pages are counted
    int page;              // after one step to the right
    const char* label;
    int step;
  } cases[] = {{0, "1 of 4", 2, "2 of 4", 1}, {2, "1 - 2 of 4", 3, "3 - 4 of 4", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ReportPreview().Reset();
    ReportPreview().ZoomMode = c.zoomMode;
    ComposePages(4);
    // The page-count event set the bar and the label.
    EXPECT_EQ(W().scrlpage->maximum(), 4);
    EXPECT_EQ(W().scrlpage->value(), 1);
    EXPECT_EQ(W().scrlpage->singleStep(), c.step);
    EXPECT_EQ(W().scrlpage->pageStep(), c.step);
    EXPECT_EQ(W().lblpage->text(), c.composed);

    // The bar's right arrow.
    W().scrlpage->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(scrlpage.Value, c.page);
    EXPECT_EQ(ReportPreview().PreviewPage, c.page);
    EXPECT_EQ(lblpage.Caption, c.label);
    EXPECT_EQ(W().lblpage->text(), c.label);
    EXPECT_EQ(W().scrlpage->value(), c.page);
  }
}

TEST_F(PrintControlsTest, ThePreviewsOwnPagingMovesTheBar) {
  ComposePages(4);
  ReportPreview().ShowPageFromView(3);
  EXPECT_EQ(W().scrlpage->value(), 3);
  EXPECT_EQ(W().lblpage->text(), "3 of 4");
  EXPECT_EQ(ReportPreview().PreviewPage, 3);
}

TEST_F(PrintControlsTest, ATypedFontNameReachesThePreviewWithoutRecomposing) {
  PageDocument& doc = ReportPreview();
  doc.StartDoc();
  doc.Text(QStringLiteral("x"));
  doc.EndDoc();
  QLineEdit* line = W().ListePolices->lineEdit();
  ASSERT_NE(line, nullptr);

  Press(line, Qt::Key_A, Qt::ControlModifier);
  Type(line, "Curier");
  // A letter put in the middle keeps the cursor where the user typed.
  for (int i = 0; i < 5; ++i) Press(line, Qt::Key_Left);
  Type(line, "o");
  EXPECT_EQ(line->text(), "Courier");
  EXPECT_EQ(line->cursorPosition(), 2);
  EXPECT_EQ(ListePolices.Text, "Courier");
  EXPECT_EQ(doc.FontName, "Courier");
  // The page is the one composed before, in its font.
  ASSERT_EQ(doc.PageCount(), 1);
  ASSERT_EQ(doc.Page(1).ops.size(), 1u);
  EXPECT_EQ(doc.Page(1).ops[0].fontName, "Arial");
}

TEST_F(PrintControlsTest, AFontChosenFromTheListSetsItsName) {
  ListePolices.List = {QStringLiteral("Arial"), QStringLiteral("Courier New"), QStringLiteral("Times New Roman")};
  ListePolices.SelectIndex(0);
  ShowReportControls();
  ASSERT_EQ(W().ListePolices->count(), 3);

  Press(W().ListePolices, Qt::Key_Down);
  EXPECT_EQ(ListePolices.ListIndex, 1);
  EXPECT_EQ(ListePolices.Text, "Courier New");
  EXPECT_EQ(ReportPreview().FontName, "Courier New");
  EXPECT_EQ(W().ListePolices->currentText(), "Courier New");
}

TEST_F(PrintControlsTest, TheCopiesBoxAndFirstPageOnlyReachThePrinter) {
  const struct {
    const char* copies;
    bool firstPageOnly;
    MsgAnswer answer;
    std::vector<std::vector<int>> jobs;
  } cases[] = {
      {"2", true, MsgAnswer::Yes, {{1}, {1}}},
      {"3", false, MsgAnswer::No, {{1, 2, 3}}},
  };
  ComposePages(3);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.copies);
    printer.jobs.clear();
    boxes.boxes.clear();
    Press(W().Text23, Qt::Key_A, Qt::ControlModifier);
    Type(W().Text23, c.copies);
    EXPECT_EQ(Text23.Text, c.copies);
    if (W().First_page->isChecked() != c.firstPageOnly) W().First_page->click();
    EXPECT_EQ(First_page.Value, c.firstPageOnly ? 1 : 0);

    boxes.answer(c.answer);
    W().cmdPrint->click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              QStringLiteral("Do you really want to print  ") + c.copies + QStringLiteral(" copies ?"));
    std::vector<std::vector<int>> sent;
    for (const auto& j : printer.jobs) sent.push_back(j.pages);
    EXPECT_EQ(sent, c.jobs);
  }
}

TEST_F(PrintControlsTest, TheCheckBoxesStartAsThePreviewAndAClickReachesIt) {
  EXPECT_TRUE(W().chkPhysicalPage->isChecked());
  EXPECT_TRUE(W().chkShowGuides->isChecked());
  EXPECT_TRUE(ReportPreview().PhysicalPage);
  EXPECT_TRUE(ReportPreview().ShowGuides);

  W().chkShowGuides->click();
  EXPECT_EQ(chkShowGuides.Value, 0);
  EXPECT_FALSE(ReportPreview().ShowGuides);
  W().chkPhysicalPage->click();
  EXPECT_EQ(chkPhysicalPage.Value, 0);
  EXPECT_FALSE(ReportPreview().PhysicalPage);

  // The state shown from code ticks the box without a click's handler.
  chkShowGuides.Value = 1;
  ShowReportControls();
  EXPECT_TRUE(W().chkShowGuides->isChecked());
  EXPECT_FALSE(ReportPreview().ShowGuides);
}

TEST_F(PrintControlsTest, TheProfileSetupsShowTheNewPaperSize) {
  const PaperSetup upright{11906, 16838, 1440, 1440, 1440, 1440};
  const struct {
    const char* button;
    const char* label;
  } cases[] = {{"cmdPageSetup2", "Paper size=  296 /  209"}, {"cmdPrinterSetup2", "Paper size=  297 /  210"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    printer.pageSetups.push_back(upright);
    printer.printerSetups.push_back(upright);
    W().findChild<QPushButton*>(QString::fromLatin1(c.button))->click();
    EXPECT_EQ(Label18.Caption, c.label);
    EXPECT_EQ(W().Label18->text(), c.label);
    printer.pageSetups.clear();
    printer.printerSetups.clear();
  }
}

// Start-up sets the paper-size label from the profile preview's own page.
class PrintControlsStartupTest : public test::ProgramTest {
 protected:
  KeptPreviewEvents events;
};

TEST_F(PrintControlsStartupTest, TheStartUpLabelShowsTheProfilePreviewsPage) {
  SEV& w = Start();
  // A landscape page on the profile preview by the time the label is set.
  test::WhenSplashShows([](frmSplash&) { ProfilePreview().setPaperSize(16838, 11906); }, "Command2");
  ASSERT_TRUE(program->Form_Load());
  EXPECT_EQ(Label18.Caption, "Paper size=  210 /  297");
  EXPECT_EQ(w.Label18->text(), "Paper size=  210 /  297");
}

}  // namespace
}  // namespace tellumo
