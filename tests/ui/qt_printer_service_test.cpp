// Printing on Qt: the PDF file a job becomes when the system has no printer,
// the setup dialogs on the document's own printer, and the preview's paging
// by keys and wheel.
#include "platform/qt_printer_service.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <vector>

#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "platform/page_document.h"
#include "platform/print_preview_view.h"
#include "printing/print_commands.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

// Pages with a line and a text each; the pages listed in `landscape` on
// landscape A4.
void Compose(PageDocument& doc, int pages, std::vector<int> landscape = {}) {
  doc.StartDoc();
  for (int n = 1; n <= pages; ++n) {
    const bool turned = std::find(landscape.begin(), landscape.end(), n) != landscape.end();
    if (turned) doc.setPaperSize(kA4HeightTwipsPage, kA4WidthTwipsPage);
    else doc.setPaperSize(kA4WidthTwipsPage, kA4HeightTwipsPage);
    if (n > 1) doc.NewPage();
    doc.DrawLine(1440, 1440, 8000, 1440);
    doc.CurrentX = 1440;
    doc.CurrentY = 2000;
    doc.Text(QStringLiteral("Page %1").arg(n));
  }
  doc.EndDoc();
  doc.setPaperSize(kA4WidthTwipsPage, kA4HeightTwipsPage);
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int PageObjects(const QByteArray& pdf) {
  // Page objects, not the page tree ("/Type /Pages").
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

// Width and height of every page's media box, in points.
std::vector<std::pair<double, double>> MediaBoxes(const QByteArray& pdf) {
  static const QRegularExpression box(
      QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
  std::vector<std::pair<double, double>> out;
  auto it = box.globalMatch(QString::fromLatin1(pdf));
  while (it.hasNext()) {
    const auto m = it.next();
    out.emplace_back(m.captured(3).toDouble() - m.captured(1).toDouble(),
                     m.captured(4).toDouble() - m.captured(2).toDouble());
  }
  return out;
}

// Acts on the modal dialog as soon as it is shown (within a few seconds).
void WhenDialogShows(std::function<void(QDialog&)> act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog && ++*tries < 500) return;
    timer->stop();
    timer->deleteLater();
    if (dialog) act(*dialog);
  });
  timer->start();
}

// The sounding values the service reads, kept and given back.
class SoundingValues {
 public:
  SoundingValues()
      : title_(FileTitle), folder_(CurrentFolder), french_(IsFrench), spanish_(IsSpanish) {}
  ~SoundingValues() {
    FileTitle = title_;
    CurrentFolder = folder_;
    IsFrench = french_;
    IsSpanish = spanish_;
  }

 private:
  QString title_, folder_;
  int16_t french_, spanish_;
};

class QtPrinterServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    FileTitle = QStringLiteral("s1.TM3");
    CurrentFolder = dir_.path() + QLatin1Char('/');
    IsFrench = IsSpanish = kFalse;
    doc_.Error = [this] { errors_.push_back(doc_.ErrorCode); };
  }

  bool HasPrinters() const { return !QPrinterInfo::availablePrinters().isEmpty(); }
  QStringList FilesInDir() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }

  SoundingValues kept_;
  QTemporaryDir dir_;
  ScriptedDialogService dialogs_;
  ScopedDialogService dialogsInstalled_{&dialogs_};
  std::unique_ptr<PrinterService> service_ = NewQtPrinterService();
  ScopedPrinterService serviceInstalled_{service_.get()};
  PageDocument doc_;
  std::vector<int> errors_;
};

// ---------------------------------------------------------------------------
// A PDF file in place of a printer

TEST_F(QtPrinterServiceTest, WithoutAPrinterTheJobIsAPdfFileOfThePagesEachOnItsOwnPaper) {
  if (HasPrinters()) GTEST_SKIP() << "the system has a printer";
  Compose(doc_, 3, {2});
  const QString whole = dir_.filePath(QStringLiteral("report.pdf"));
  dialogs_.choose(whole);
  doc_.PrintDoc();

  ASSERT_EQ(dialogs_.requests.size(), 1u);
  const DialogRequest& r = dialogs_.requests[0];
  EXPECT_EQ(r.kind, DialogKind::Save);
  EXPECT_EQ(r.title, QStringLiteral("Print to a PDF file"));
  EXPECT_TRUE(r.flags & kDlgOverwritePrompt);
  EXPECT_TRUE(r.filter.contains(QLatin1String("*.pdf")));
  // Proposed: the sounding's name in the current folder.
  EXPECT_EQ(QDir::cleanPath(r.fileName), QDir::cleanPath(dir_.filePath(QStringLiteral("s1.pdf"))));
  EXPECT_EQ(QDir::cleanPath(r.initDir), QDir::cleanPath(dir_.path()));
  EXPECT_TRUE(errors_.empty());

  const QByteArray pdf = ReadAll(whole);
  ASSERT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(PageObjects(pdf), 3);
  const auto boxes = MediaBoxes(pdf);
  ASSERT_EQ(boxes.size(), 3u);
  const bool landscape[] = {false, true, false};
  for (size_t i = 0; i < boxes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(boxes[i].first > boxes[i].second, landscape[i]);
    // A4 in points, one way or the other.
    EXPECT_NEAR(std::min(boxes[i].first, boxes[i].second), 595.3, 1.0);
    EXPECT_NEAR(std::max(boxes[i].first, boxes[i].second), 841.9, 1.0);
  }

  // A range: its pages only.
  const QString part = dir_.filePath(QStringLiteral("part.pdf"));
  dialogs_.choose(part);
  doc_.PrintDoc(2, 3);
  EXPECT_EQ(PageObjects(ReadAll(part)), 2);
  EXPECT_EQ(dialogs_.unexpected, 0);
}

// The proposal is the sounding's own name in its own folder, a '\' in either
// a letter; the PDF goes to the file chosen and nowhere else.
TEST_F(QtPrinterServiceTest, ThePdfOfAnOddlyNamedSoundingIsProposedAndWrittenUnderThatName) {
  if (HasPrinters()) GTEST_SKIP() << "the system has a printer";
  Compose(doc_, 1);
  QDir(dir_.path()).mkpath(QStringLiteral("da\\ta"));
  QDir(dir_.path()).mkpath(QStringLiteral("da/ta/we"));
  CurrentFolder = dir_.path() + QStringLiteral("/da\\ta/");
  for (const char* stem : {"we\\ird", "my sounding", "зондаж", "sondéo"}) {
    SCOPED_TRACE(stem);
    const QString name = QString::fromUtf8(stem);
    FileTitle = name + QStringLiteral(".TM3");
    const QString pdf = CurrentFolder + name + QStringLiteral(".pdf");
    dialogs_.requests.clear();
    dialogs_.choose(pdf);
    doc_.PrintDoc();
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].fileName, pdf);
    EXPECT_EQ(QDir::cleanPath(dialogs_.requests[0].initDir), QDir::cleanPath(CurrentFolder));
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
  }
  EXPECT_TRUE(errors_.empty());
  QStringList entries = QDir(CurrentFolder).entryList(QDir::Files);
  entries.sort();
  EXPECT_EQ(entries, QStringList({QStringLiteral("my sounding.pdf"), QString::fromUtf8("sondéo.pdf"),
                                  QStringLiteral("we\\ird.pdf"), QString::fromUtf8("зондаж.pdf")}));
  // Nothing at the paths a '\' taken for '/' would give.
  EXPECT_TRUE(QDir(dir_.path() + QStringLiteral("/da/ta")).entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(QDir(dir_.path() + QStringLiteral("/da/ta/we")).entryList(QDir::Files).isEmpty());
  EXPECT_EQ(dialogs_.unexpected, 0);
}

TEST_F(QtPrinterServiceTest, TheCopiesOfOnePrintAreOnePdfWhoseNameIsAskedOnce) {
  if (HasPrinters()) GTEST_SKIP() << "the system has a printer";
  Compose(doc_, 3);
  const QString path = dir_.filePath(QStringLiteral("copies.pdf"));
  dialogs_.choose(path);
  doc_.BeginPrintBatch();
  doc_.PrintDoc();
  doc_.PrintDoc(1, 1);
  EXPECT_TRUE(dialogs_.requests.empty()) << "asked before the print was complete";
  doc_.EndPrintBatch();

  EXPECT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(PageObjects(ReadAll(path)), 4);
  EXPECT_TRUE(errors_.empty());

  // A batch without jobs asks nothing.
  doc_.BeginPrintBatch();
  doc_.EndPrintBatch();
  EXPECT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.unexpected, 0);
}

TEST_F(QtPrinterServiceTest, ACancelledNameDialogDeclinesTheJobWithoutAnErrorInTheUsersLanguage) {
  if (HasPrinters()) GTEST_SKIP() << "the system has a printer";
  Compose(doc_, 2);
  struct Case {
    int16_t french, spanish;
    const char* title;
  } cases[] = {
      {kTrue, kFalse, "Imprimer dans un fichier PDF"},
      {kFalse, kTrue, "Imprimir en un fichero PDF"},
      {kFalse, kFalse, "Print to a PDF file"},
  };
  // No sounding file and no current folder: "Tellumo.pdf" at home.
  FileTitle.clear();
  CurrentFolder = dir_.filePath(QStringLiteral("gone/"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    IsFrench = c.french;
    IsSpanish = c.spanish;
    dialogs_.requests.clear();
    dialogs_.cancel();
    doc_.PrintDoc();
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].title, QString::fromUtf8(c.title));
    EXPECT_EQ(QDir::cleanPath(dialogs_.requests[0].fileName),
              QDir::cleanPath(QDir::homePath() + QStringLiteral("/Tellumo.pdf")));
  }
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(FilesInDir().isEmpty());
}

TEST_F(QtPrinterServiceTest, AFolderThatDoesNotExistFailsTheJobAndCreatesNothing) {
  if (HasPrinters()) GTEST_SKIP() << "the system has a printer";
  Compose(doc_, 1);
  dialogs_.choose(dir_.filePath(QStringLiteral("missing/report.pdf")));
  doc_.PrintDoc();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0], 0);
  EXPECT_TRUE(FilesInDir().isEmpty());
}

TEST_F(QtPrinterServiceTest, AFileTheUserAgreedToReplaceIsReplacedOnlyByACompleteFile) {
  if (HasPrinters()) GTEST_SKIP() << "the system has a printer";
  Compose(doc_, 2);
  const QString path = dir_.filePath(QStringLiteral("report.pdf"));
  const QByteArray old = "an earlier report";
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(old);
  }

  // A file-size limit far below the PDF's size: the write fails part way.
  struct rlimit before {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  auto* const oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = before;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  dialogs_.choose(path);
  doc_.PrintDoc();
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, oldHandler);

  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0], 0);
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(FilesInDir(), QStringList{QStringLiteral("report.pdf")});  // no half-written file left

  // Without the limit the new report takes its place.
  dialogs_.choose(path);
  doc_.PrintDoc();
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_EQ(PageObjects(ReadAll(path)), 2);
}

// The profile's print button on a PDF the file system cannot take whole (a
// size limit stands for a full disk): the old file stays and the user is
// told, as the report's print tells it.
TEST_F(QtPrinterServiceTest, AProfilePrintThatCannotBeWrittenIsToldAndLeavesTheOldFile) {
  if (HasPrinters()) GTEST_SKIP() << "the system has a printer";
  PageDocument& profile = ProfilePreview();
  const std::function<void()> before = profile.Error;
  InstallProfilePreviewEvents();
  Compose(profile, 1);
  const QString path = dir_.filePath(QStringLiteral("section.pdf"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("an earlier section");
  }
  ScriptedMessageService boxes;
  ScopedMessageService boxesInstalled(&boxes);
  struct rlimit limit {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  auto* const oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  dialogs_.choose(path);
  Command14_Click();
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);
  profile.Error = before;

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith(QStringLiteral("The print preview reported error ")))
      << boxes.boxes[0].text.toStdString();
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
  EXPECT_EQ(ReadAll(path), QByteArray("an earlier section"));
  EXPECT_EQ(FilesInDir(), QStringList{QStringLiteral("section.pdf")});
}

// ---------------------------------------------------------------------------
// Setup dialogs

TEST_F(QtPrinterServiceTest, ThePrinterDialogSetsPaperAndOrientationAndKeepsTheMargins) {
  Compose(doc_, 1);
  doc_.MarginLeft = 1000;
  bool looked = false;
  WhenDialogShows([&](QDialog& d) {
    looked = true;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Printer Setup"));
    auto* printer = d.findChild<QComboBox*>(QStringLiteral("PrinterName"));
    auto* paper = d.findChild<QComboBox*>(QStringLiteral("PaperSize"));
    auto* portrait = d.findChild<QRadioButton*>(QStringLiteral("Portrait"));
    auto* landscape = d.findChild<QRadioButton*>(QStringLiteral("Landscape"));
    ASSERT_TRUE(printer && paper && portrait && landscape);
    if (!HasPrinters()) {
      EXPECT_EQ(printer->count(), 1);
      EXPECT_EQ(printer->itemText(0), QStringLiteral("PDF file"));
    }
    EXPECT_EQ(paper->currentText(), QStringLiteral("A4"));
    EXPECT_TRUE(portrait->isChecked());
    paper->setCurrentIndex(paper->findText(QStringLiteral("A5")));
    landscape->setChecked(true);
    d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_TRUE(doc_.PrintDialog(0));
  EXPECT_TRUE(looked);
  EXPECT_NEAR(doc_.PageWidth(), 210 * 56.7, 1e-6);
  EXPECT_NEAR(doc_.PageHeight(), 148 * 56.7, 1e-6);
  EXPECT_DOUBLE_EQ(doc_.MarginLeft, 1000);
  EXPECT_DOUBLE_EQ(doc_.MarginTop, 1440);

  // Cancelled, it changes nothing; opened again, it shows the choice made.
  WhenDialogShows([&](QDialog& d) {
    EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("PaperSize"))->currentText(), QStringLiteral("A5"));
    EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("Landscape"))->isChecked());
    d.findChild<QComboBox*>(QStringLiteral("PaperSize"))->setCurrentIndex(0);
    d.reject();
  });
  EXPECT_FALSE(doc_.PrintDialog(0));
  EXPECT_NEAR(doc_.PageWidth(), 210 * 56.7, 1e-6);
}

TEST_F(QtPrinterServiceTest, ThePageSetupDialogReadsBackWhatChangedAndLeavesTheRestExactly) {
  Compose(doc_, 1);
  doc_.MarginLeft = 1234.5;  // not a whole number of hundredths of a millimetre
  // Accepted as shown: the very same paper and margins.
  WhenDialogShows([](QDialog& d) { d.accept(); });
  EXPECT_TRUE(doc_.PrintDialog(1));
  EXPECT_DOUBLE_EQ(doc_.PageWidth(), kA4WidthTwipsPage);
  EXPECT_DOUBLE_EQ(doc_.PageHeight(), kA4HeightTwipsPage);
  EXPECT_DOUBLE_EQ(doc_.MarginLeft, 1234.5);
  EXPECT_DOUBLE_EQ(doc_.MarginBottom, 1440);

  // Turned to landscape in the dialog: width and height swap.
  WhenDialogShows([](QDialog& d) {
    auto* landscape = d.findChild<QRadioButton*>(QStringLiteral("landscape"));
    if (landscape) landscape->click();
    d.accept();
  });
  EXPECT_TRUE(doc_.PrintDialog(1));
  EXPECT_NEAR(doc_.PageWidth(), kA4HeightTwipsPage, 1e-6);
  EXPECT_NEAR(doc_.PageHeight(), kA4WidthTwipsPage, 1e-6);

  WhenDialogShows([](QDialog& d) { d.reject(); });
  EXPECT_FALSE(doc_.PrintDialog(1));
  EXPECT_NEAR(doc_.PageWidth(), kA4HeightTwipsPage, 1e-6);
}

// ---------------------------------------------------------------------------
// The preview's paging

class PreviewPagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Compose(doc_, 4);
    doc_.FollowPage = [this](int page) { followed_.push_back(page); };
    view_ = std::make_unique<PrintPreviewView>(doc_);
    view_->resize(600, 400);
    view_->show();
    QApplication::processEvents();
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(view_->scrollArea(), &event);
  }
  void Wheel(int delta) {
    QWidget* viewport = view_->scrollArea()->viewport();
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
  }
  QScrollBar* Bar() { return view_->scrollArea()->verticalScrollBar(); }

  PageDocument doc_;
  std::vector<int> followed_;
  std::unique_ptr<PrintPreviewView> view_;
};

TEST_F(PreviewPagingTest, PagingKeysTurnByThePagesShownAtOnce) {
  struct Case {
    const char* name;
    int mode, start, key;
    Qt::KeyboardModifiers modifiers;
    int shown;  // afterwards; the page event fires when it differs from start
  } cases[] = {
      {"next", 3, 1, Qt::Key_PageDown, Qt::NoModifier, 2},
      {"none after the last", 3, 4, Qt::Key_PageDown, Qt::NoModifier, 4},
      {"previous", 3, 3, Qt::Key_PageUp, Qt::NoModifier, 2},
      {"none before the first", 3, 1, Qt::Key_PageUp, Qt::NoModifier, 1},
      {"last", 0, 1, Qt::Key_End, Qt::ControlModifier, 4},
      {"first", 0, 4, Qt::Key_Home, Qt::ControlModifier, 1},
      {"two pages on", 2, 1, Qt::Key_PageDown, Qt::NoModifier, 3},
      {"two pages back", 2, 3, Qt::Key_PageUp, Qt::NoModifier, 1},
      {"the last two stay together", 2, 3, Qt::Key_PageDown, Qt::NoModifier, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc_.ZoomMode = c.mode;
    doc_.PreviewPage = c.start;
    followed_.clear();
    Key(c.key, c.modifiers);
    EXPECT_EQ(doc_.PreviewPage, c.shown);
    EXPECT_EQ(view_->firstPageShown(), c.shown);
    if (c.shown != c.start) EXPECT_EQ(followed_, std::vector<int>{c.shown});
    else EXPECT_TRUE(followed_.empty());
  }
}

TEST_F(PreviewPagingTest, TheWheelScrollsWithinThePageAndTurnsItPastTheEnds) {
  doc_.ZoomMode = 0;
  doc_.Zoom = 150;  // taller than the view
  doc_.PreviewPage = 2;
  QApplication::processEvents();
  ASSERT_GT(Bar()->maximum(), 0);
  Bar()->setValue(0);

  Wheel(-120);  // down, from the top: scrolls
  EXPECT_GT(Bar()->value(), 0);
  EXPECT_EQ(doc_.PreviewPage, 2);

  Bar()->setValue(Bar()->maximum());
  Wheel(-60);  // half a notch past the bottom: not yet
  EXPECT_EQ(doc_.PreviewPage, 2);
  Wheel(-60);
  EXPECT_EQ(doc_.PreviewPage, 3);
  EXPECT_EQ(Bar()->value(), 0);  // the new page from its top

  Wheel(120);  // up, at the top: the page before, from its bottom
  EXPECT_EQ(doc_.PreviewPage, 2);
  EXPECT_EQ(Bar()->value(), Bar()->maximum());
  EXPECT_EQ(followed_, (std::vector<int>{3, 2}));
}

}  // namespace
}  // namespace tellumo
