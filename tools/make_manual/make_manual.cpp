// make_manual: lays a Markdown text out as an A4 PDF, the form in which the
// program's manuals are shipped.
//
//   make_manual <input.md> <output.pdf>
//
// The text is set in Liberation Sans (headings in its bold, code in
// Liberation Mono) so that the manuals look the same on every machine that
// builds them; a missing font is an error rather than a silent fallback to
// whatever fontconfig offers. The first "# " heading is the document's title:
// it goes into the PDF's metadata and into the footer of every page, beside
// the page number. The PDF is written under a temporary name and renamed when
// complete, so a failed run never leaves half a manual behind.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>

#include <cstdio>
#include <vector>

namespace {

constexpr int kDpi = 300;
constexpr double kMarginMm = 20.0;

const QString kSans = QStringLiteral("Liberation Sans");
const QString kMono = QStringLiteral("Liberation Mono");

constexpr double kBodyPt = 10.5;
constexpr double kFooterPt = 8.0;
// Room below the text for the footer: a rule and one line.
constexpr double kFooterHeightPt = 22.0;

const QColor kHeadingColour(0x1f, 0x3a, 0x5f);
const QColor kFooterColour(0x60, 0x60, 0x60);

// Points to device pixels, for what is painted directly on the page.
double Px(double points) { return points * kDpi / 72.0; }

// Points to the lengths of text formats (margins, padding, borders): the
// layout takes those as pixels of a 96 dpi screen and scales them to the
// device itself.
double FormatLength(double points) { return points * 96.0 / 72.0; }

void Fail(const QString& what) { std::fprintf(stderr, "make_manual: %s\n", qPrintable(what)); }

// The text of the first level-1 heading, without its marker.
QString TitleOf(const QString& markdown, const QString& fallback) {
  for (const QString& line : markdown.split(QLatin1Char('\n'))) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1String("# "))) return t.mid(2).trimmed();
  }
  return fallback;
}

struct HeadingStyle {
  double pointSize;
  double spaceAbovePt;
  double spaceBelowPt;
};

HeadingStyle HeadingFor(int level) {
  switch (level) {
    case 1: return {20.0, 0.0, 10.0};
    case 2: return {14.5, 16.0, 5.0};
    case 3: return {12.0, 11.0, 3.0};
    default: return {kBodyPt + 0.5, 9.0, 2.0};
  }
}

bool IsFixedPitch(const QTextCharFormat& f) {
  if (f.fontFixedPitch()) return true;
  for (const QString& family : f.fontFamilies().toStringList())
    if (family.contains(QLatin1String("mono"), Qt::CaseInsensitive) ||
        family.contains(QLatin1String("courier"), Qt::CaseInsensitive))
      return true;
  return false;
}

// Every run of text in the manual's fonts: the Markdown reader leaves code in
// the system's fixed font and headings in relative sizes, and either could
// end up as a font other than Liberation in the PDF.
void ApplyFonts(QTextDocument& doc) {
  struct Run {
    int start, length;
    QTextCharFormat format;
  };
  std::vector<Run> runs;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const int level = b.blockFormat().headingLevel();
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (!frag.isValid()) continue;
      QTextCharFormat f = frag.charFormat();
      const bool mono = IsFixedPitch(f);
      f.clearProperty(QTextFormat::FontFamily);
      f.setFontFamilies(QStringList{mono ? kMono : kSans});
      f.setFontFixedPitch(mono);
      f.clearProperty(QTextFormat::FontSizeAdjustment);
      if (level > 0) {
        f.setFontPointSize(HeadingFor(level).pointSize);
        f.setFontWeight(QFont::Bold);
        f.setForeground(kHeadingColour);
      } else {
        f.setFontPointSize(mono ? kBodyPt - 1.0 : kBodyPt);
      }
      runs.push_back({frag.position(), frag.length(), f});
    }
  }
  QTextCursor c(&doc);
  for (const Run& r : runs) {
    c.setPosition(r.start);
    c.setPosition(r.start + r.length, QTextCursor::KeepAnchor);
    c.setCharFormat(r.format);
  }
}

// Spacing of headings, paragraphs and list items.
void ApplyBlockSpacing(QTextDocument& doc) {
  QTextCursor c(&doc);
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    QTextBlockFormat f = b.blockFormat();
    const int level = f.headingLevel();
    if (level > 0) {
      const HeadingStyle h = HeadingFor(level);
      f.setTopMargin(FormatLength(h.spaceAbovePt));
      f.setBottomMargin(FormatLength(h.spaceBelowPt));
    } else {
      const QTextList* list = b.textList();
      const bool inTable = QTextCursor(b).currentTable() != nullptr;
      // The last item of a list is followed by a paragraph's space.
      const bool lastItem = list && list->itemNumber(b) == list->count() - 1;
      f.setTopMargin(0);
      f.setBottomMargin(FormatLength(inTable ? 1.0 : list && !lastItem ? 2.5 : 6.0));
      f.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
    }
    c.setPosition(b.position());
    c.setBlockFormat(f);
  }
}

// Tables with a thin grid and some air in their cells.
void ApplyTableStyle(QTextDocument& doc) {
  QTextFrame* root = doc.rootFrame();
  for (QTextFrame* child : root->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(child);
    if (!table) continue;
    QTextTableFormat f = table->format();
    // One pixel of the format's scale: thinner borders are not drawn.
    f.setBorder(1.0);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorderBrush(QColor(0x90, 0x90, 0x90));
    f.setBorderCollapse(true);
    f.setCellPadding(FormatLength(3.0));
    f.setCellSpacing(0);
    f.setTopMargin(FormatLength(2.0));
    f.setBottomMargin(FormatLength(8.0));
    // A table that runs onto the next page repeats its heading row there.
    f.setHeaderRowCount(1);
    table->setFormat(f);
    // The heading row on a light ground.
    for (int col = 0; col < table->columns(); ++col) {
      QTextTableCell cell = table->cellAt(0, col);
      QTextCharFormat cf = cell.format();
      cf.setBackground(QColor(0xe6, 0xec, 0xf3));
      cell.setFormat(cf);
    }
  }
}

// A heading never ends a page: when the first lines of what follows it fall
// on the next page, the heading starts that page. Each change moves what
// comes after, so the check runs again from the top until nothing moves.
void KeepHeadingsWithNext(QTextDocument& doc, double pageHeight) {
  QAbstractTextDocumentLayout* layout = doc.documentLayout();
  for (int pass = 0; pass < 200; ++pass) {
    // The layout is done lazily: the whole document first, then the blocks'
    // places can be read.
    doc.pageCount();
    bool moved = false;
    for (QTextBlock b = doc.begin(); b.isValid() && !moved; b = b.next()) {
      const QTextBlockFormat bf = b.blockFormat();
      if (bf.headingLevel() == 0 || bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;
      const QTextBlock next = b.next();
      if (!next.isValid() || !next.layout() || next.layout()->lineCount() == 0) continue;
      const QRectF heading = layout->blockBoundingRect(b);
      const QRectF following = layout->blockBoundingRect(next);
      const QTextLine line = next.layout()->lineAt(qMin(1, next.layout()->lineCount() - 1));
      const double linesBottom = following.top() + line.rect().bottom();
      const int headingPage = static_cast<int>(heading.top() / pageHeight);
      const int followingPage = static_cast<int>(linesBottom / pageHeight);
      if (followingPage > headingPage) {
        QTextBlockFormat f = bf;
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(b).setBlockFormat(f);
        moved = true;
      }
    }
    if (!moved) return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The fonts and the text layout need the GUI application; it runs on the
  // offscreen platform at build time.
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3) {
    Fail(QStringLiteral("usage: make_manual <input.md> <output.pdf>"));
    return 2;
  }
  const QString inputPath = args.at(1);
  const QString outputPath = args.at(2);

  QFile input(inputPath);
  if (!input.open(QIODevice::ReadOnly)) {
    Fail(QStringLiteral("cannot read %1: %2").arg(inputPath, input.errorString()));
    return 1;
  }
  const QString markdown = QString::fromUtf8(input.readAll());
  input.close();

  for (const QString& family : {kSans, kMono}) {
    if (!QFontDatabase::hasFamily(family)) {
      Fail(QStringLiteral("the font \"%1\" is not installed (Debian: fonts-liberation)").arg(family));
      return 1;
    }
  }

  const QString title = TitleOf(markdown, QFileInfo(inputPath).completeBaseName());

  if (!QDir().mkpath(QFileInfo(outputPath).absolutePath())) {
    Fail(QStringLiteral("cannot create the folder of %1").arg(outputPath));
    return 1;
  }
  // Written beside the target under a temporary name, renamed by commit().
  QSaveFile output(outputPath);
  if (!output.open(QIODevice::WriteOnly)) {
    Fail(QStringLiteral("cannot write %1: %2").arg(outputPath, output.errorString()));
    return 1;
  }

  QPdfWriter pdf(&output);
  pdf.setResolution(kDpi);
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
  pdf.setTitle(title);
  pdf.setCreator(QStringLiteral("Tellumo"));

  QTextDocument doc;
  // Measured on the PDF's own pixels, so that what is laid out is what prints.
  doc.documentLayout()->setPaintDevice(&pdf);
  QFont body(kSans);
  body.setPointSizeF(kBodyPt);
  doc.setDefaultFont(body);
  doc.setDocumentMargin(0);
  doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
  ApplyFonts(doc);
  ApplyBlockSpacing(doc);
  ApplyTableStyle(doc);

  const QRect paintRect = pdf.pageLayout().paintRectPixels(kDpi);
  const double footerHeight = Px(kFooterHeightPt);
  const QSizeF page(paintRect.width(), paintRect.height() - footerHeight);
  doc.setPageSize(page);
  KeepHeadingsWithNext(doc, page.height());

  const int pages = doc.pageCount();
  QPainter painter;
  if (!painter.begin(&pdf)) {
    Fail(QStringLiteral("cannot start the PDF %1").arg(outputPath));
    output.cancelWriting();
    return 1;
  }
  QFont footerFont(kSans);
  footerFont.setPointSizeF(kFooterPt);
  for (int i = 0; i < pages; ++i) {
    if (i > 0 && !pdf.newPage()) {
      Fail(QStringLiteral("cannot add page %1 to %2").arg(i + 1).arg(outputPath));
      painter.end();
      output.cancelWriting();
      return 1;
    }
    painter.save();
    painter.setClipRect(QRectF(QPointF(0, 0), page));
    painter.translate(0, -i * page.height());
    QAbstractTextDocumentLayout::PaintContext context;
    // A line moved to the next page starts exactly on this page's lower
    // edge: a clip that touches the edge would still draw it here (invisible
    // under the painter's clip, but text of the page all the same).
    context.clip = QRectF(0, i * page.height() + 0.5, page.width(), page.height() - 1.0);
    doc.documentLayout()->draw(&painter, context);
    painter.restore();

    const double ruleY = page.height() + Px(8.0);
    painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), Px(0.4)));
    painter.drawLine(QPointF(0, ruleY), QPointF(page.width(), ruleY));
    painter.setPen(kFooterColour);
    painter.setFont(footerFont);
    const QRectF footer(0, ruleY + Px(2.0), page.width(), paintRect.height() - ruleY - Px(2.0));
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
  }
  if (!painter.end()) {
    Fail(QStringLiteral("cannot finish the PDF %1").arg(outputPath));
    output.cancelWriting();
    return 1;
  }
  if (!output.commit()) {
    Fail(QStringLiteral("cannot write %1: %2").arg(outputPath, output.errorString()));
    return 1;
  }
  return 0;
}
