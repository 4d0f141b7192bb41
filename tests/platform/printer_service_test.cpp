#include "platform/printer_service.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/page_document.h"

namespace tellumo {
namespace {

void ComposePages(PageDocument& doc, int pages) {
  doc.StartDoc();
  for (int n = 1; n <= pages; ++n) {
    if (n > 1) doc.NewPage();
    doc.DrawLine(1440, 1440, 5000, 1440);
  }
  doc.EndDoc();
}

class PrintDocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ComposePages(doc_, 3);
    doc_.Error = [this] { errors_.push_back(doc_.ErrorCode); };
  }

  RecordingPrinterService printers_;
  ScopedPrinterService installed_{&printers_};
  PageDocument doc_;
  std::vector<int> errors_;
};

TEST_F(PrintDocTest, SendsTheWholeDocumentOrThePagesAskedThatThereAre) {
  struct Case {
    const char* name;
    int from, to;  // 0, 0: the whole document
    std::vector<int> pages;
  } cases[] = {
      {"whole", 0, 0, {1, 2, 3}},
      {"first page only", 1, 1, {1}},
      {"last two", 2, 3, {2, 3}},
      {"past both ends", 0, 9, {1, 2, 3}},
      {"beyond the last page", 5, 9, {}},
      {"reversed", 3, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    printers_.jobs.clear();
    if (c.from == 0 && c.to == 0) doc_.PrintDoc();
    else doc_.PrintDoc(c.from, c.to);
    if (c.pages.empty()) {
      EXPECT_TRUE(printers_.jobs.empty());
      continue;
    }
    ASSERT_EQ(printers_.jobs.size(), 1u);
    EXPECT_EQ(printers_.jobs[0].document, &doc_);
    EXPECT_EQ(printers_.jobs[0].pages, c.pages);
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PrintDocTest, ADocumentWithoutPagesSendsNothing) {
  PageDocument empty;
  empty.Error = [this] { errors_.push_back(-1); };
  empty.PrintDoc();
  empty.PrintDoc(1, 1);
  EXPECT_TRUE(printers_.jobs.empty());
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PrintDocTest, AFailedJobRaisesTheErrorEventWithItsCodeOnce) {
  printers_.failures.push_back(482);
  doc_.PrintDoc();
  EXPECT_TRUE(printers_.jobs.empty());
  ASSERT_EQ(errors_, std::vector<int>{482});
  EXPECT_EQ(doc_.ErrorCode, 482);
  // The next job goes out and raises nothing.
  doc_.PrintDoc(1, 1);
  EXPECT_EQ(printers_.jobs.size(), 1u);
  EXPECT_EQ(errors_.size(), 1u);
}

// Answers a setup dialog and remembers the setup it was shown.
class AnsweringPrinters : public PrinterService {
 public:
  int print(const PageDocument&, int, int) override { return 0; }
  bool pageSetup(const PageDocument& d, PaperSetup& s) override { return answer(d, s, 1); }
  bool printerSetup(const PageDocument& d, PaperSetup& s) override { return answer(d, s, 0); }

  std::optional<PaperSetup> reply;
  PaperSetup shown;
  int kind = -1;

 private:
  bool answer(const PageDocument&, PaperSetup& s, int k) {
    shown = s;
    kind = k;
    if (!reply) return false;
    s = *reply;
    return true;
  }
};

TEST(PrintDialog, AnAcceptedDialogGivesTheDocumentItsPaperAndMarginsACancelledOneLeavesThem) {
  AnsweringPrinters printers;
  ScopedPrinterService installed(&printers);
  const PaperSetup landscape{16839.9, 11907, 900, 1000, 1100, 1200};
  for (int kind : {1, 0}) {
    SCOPED_TRACE(kind);
    PageDocument doc;
    ComposePages(doc, 2);
    doc.MarginLeft = 1500;

    printers.reply.reset();
    EXPECT_FALSE(doc.PrintDialog(kind));
    EXPECT_EQ(printers.kind, kind);
    // The dialog starts from the document's own setup.
    EXPECT_DOUBLE_EQ(printers.shown.width, kA4WidthTwipsPage);
    EXPECT_DOUBLE_EQ(printers.shown.height, kA4HeightTwipsPage);
    EXPECT_DOUBLE_EQ(printers.shown.marginLeft, 1500);
    EXPECT_DOUBLE_EQ(doc.PageWidth(), kA4WidthTwipsPage);
    EXPECT_DOUBLE_EQ(doc.MarginLeft, 1500);

    printers.reply = landscape;
    EXPECT_TRUE(doc.PrintDialog(kind));
    EXPECT_DOUBLE_EQ(doc.PageWidth(), 16839.9);
    EXPECT_DOUBLE_EQ(doc.PageHeight(), 11907);
    EXPECT_FALSE(doc.Portrait());
    EXPECT_DOUBLE_EQ(doc.MarginLeft, 900);
    EXPECT_DOUBLE_EQ(doc.MarginTop, 1000);
    EXPECT_DOUBLE_EQ(doc.MarginRight, 1100);
    EXPECT_DOUBLE_EQ(doc.MarginBottom, 1200);
    // The pages composed before keep their paper until composed again.
    EXPECT_DOUBLE_EQ(doc.Page(1).width, kA4WidthTwipsPage);
    doc.StartDoc();
    doc.EndDoc();
    EXPECT_DOUBLE_EQ(doc.Page(1).width, 16839.9);
  }
}

TEST(PrintDialog, TheRecordingServiceAnswersFromItsQueuesAndCountsTheDialogs) {
  RecordingPrinterService printers;
  ScopedPrinterService installed(&printers);
  PageDocument doc;
  printers.pageSetups.push_back(PaperSetup{11907, 8391.6, 720, 720, 720, 720});
  printers.pageSetups.push_back(std::nullopt);
  EXPECT_TRUE(doc.PrintDialog(1));
  EXPECT_DOUBLE_EQ(doc.PageHeight(), 8391.6);
  EXPECT_FALSE(doc.PrintDialog(1));  // cancelled
  EXPECT_FALSE(doc.PrintDialog(0));  // nothing queued
  EXPECT_DOUBLE_EQ(doc.PageHeight(), 8391.6);
  EXPECT_DOUBLE_EQ(doc.MarginTop, 720);
  EXPECT_EQ(printers.pageSetupDialogs, 2);
  EXPECT_EQ(printers.printerSetupDialogs, 1);
}

TEST(PrinterService, WithoutAnInstalledServiceNothingIsSentAndEveryDialogIsCancelled) {
  ScopedPrinterService none(nullptr);
  PageDocument doc;
  ComposePages(doc, 1);
  bool raised = false;
  doc.Error = [&] { raised = true; };
  doc.PrintDoc();
  EXPECT_FALSE(raised);
  EXPECT_FALSE(doc.PrintDialog(1));
  EXPECT_FALSE(doc.PrintDialog(0));
  EXPECT_DOUBLE_EQ(doc.PageWidth(), kA4WidthTwipsPage);
}

}  // namespace
}  // namespace tellumo
