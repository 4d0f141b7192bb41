#include "platform/page_document.h"

#include "platform/printer_service.h"

#include <QFont>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace tellumo {
namespace {

constexpr double kTwipsPerPoint = 20.0;
// Table cell lines: black, half a point.
constexpr int kTableLineWidth = 10;
// A column whose format gives no width.
constexpr double kDefaultColumnWidth = 1440;

// The fonts' own metrics. Measured unhinted at a large reference size and
// scaled, so that a text measures the same whatever device draws it later.
class FontMetricsMeasurer : public TextMeasurer {
 public:
  double width(const PageFont& font, const QString& text) const override {
    return QFontMetricsF(reference(font)).horizontalAdvance(text) * scale(font);
  }
  double height(const PageFont& font) const override {
    return QFontMetricsF(reference(font)).lineSpacing() * scale(font);
  }

 private:
  static constexpr int kReferencePixels = 1000;
  static QFont reference(const PageFont& font) {
    QFont q(font.name);
    q.setPixelSize(kReferencePixels);
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
  }
  static double scale(const PageFont& font) { return font.size * kTwipsPerPoint / kReferencePixels; }
};

const TextMeasurer* installedMeasurer = nullptr;

bool HasInk(const QString& s) {
  return std::any_of(s.begin(), s.end(), [](QChar c) { return !c.isSpace(); });
}

// A paragraph cut into pieces of leading blanks and one word; blanks at the
// end form a piece of their own.
QStringList Pieces(const QString& paragraph) {
  QStringList pieces;
  QString piece;
  bool inWord = false;
  for (QChar c : paragraph) {
    const bool blank = c == QLatin1Char(' ') || c == QLatin1Char('\t');
    if (blank && inWord) {
      pieces.push_back(piece);
      piece.clear();
      inWord = false;
    }
    if (!blank) inWord = true;
    piece += c;
  }
  if (!piece.isEmpty()) pieces.push_back(piece);
  return pieces;
}

std::vector<QString> SplitRows(const QString& text) {
  std::vector<QString> rows;
  if (text.isEmpty()) return rows;
  QStringList parts = text.split(QLatin1Char(';'));
  if (parts.size() > 1 && parts.back().isEmpty()) parts.removeLast();
  for (const QString& p : parts) rows.push_back(p);
  return rows;
}

}  // namespace

PageDocument::PageDocument()
    : Redraw(true,
             [this](bool& on) {
               if (on) announce();
             }),
      Zoom(100,
           [this](int& z) {
             z = std::clamp(z, 10, 1000);
             announce();
           }),
      ZoomMode(0,
               [this](int& m) {
                 m = std::clamp(m, 0, 5);
                 announce();
               }),
      PreviewPage(1,
                  [this](int& p) {
                    p = std::clamp(p, 1, std::max(1, PageCount()));
                    announce();
                  }),
      PhysicalPage(true, [this](bool&) { announce(); }),
      ShowGuides(true, [this](bool&) { announce(); }) {}

void PageDocument::Reset() {
  pageWidth_ = kA4WidthTwipsPage;
  pageHeight_ = kA4HeightTwipsPage;
  MarginLeft = MarginTop = MarginRight = MarginBottom = 1440;
  pages_.clear();
  composing_ = false;
  table_ = PendingTable{};
  tableSettings_.clear();
  FontName = QStringLiteral("Arial");
  FontSize = 10;
  FontBold = false;
  FontItalic = false;
  TextColor = 0;
  TextAngle = 0;
  CurrentX = CurrentY = 0;
  penColour_ = 0;
  penWidth_ = 1;
  PenStyle = 0;
  BrushColor = 0xFFFFFF;
  BrushStyle = 1;
  lastX_ = lastY_ = 0;
  TableBorder = 1;
  Footer.clear();
  FooterFontSize = 8;
  Redraw.setQuietly(true);
  Zoom.setQuietly(100);
  ZoomMode.setQuietly(0);
  PreviewPage.setQuietly(1);
  PhysicalPage.setQuietly(true);
  ShowGuides.setQuietly(true);
  announce();
}

void PageDocument::setPaperSize(double w, double h) {
  pageWidth_ = w;
  pageHeight_ = h;
}

// ---------------------------------------------------------------------------
// Document and pages

void PageDocument::openFirstPage() {
  pages_.clear();
  table_ = PendingTable{};
  composing_ = true;
  pages_.push_back(PageContent{{}, pageWidth_, pageHeight_});
}

void PageDocument::openIfClosed() {
  if (!composing_) openFirstPage();
}

void PageDocument::StartDoc() {
  openFirstPage();
  CurrentX = MarginLeft;
  CurrentY = MarginTop;
  lastX_ = lastY_ = 0;
}

void PageDocument::NewPage() {
  openIfClosed();
  pages_.push_back(PageContent{{}, pageWidth_, pageHeight_});
  CurrentX = MarginLeft;
  CurrentY = MarginTop;
}

PageContent& PageDocument::current() {
  openIfClosed();
  return pages_.back();
}

void PageDocument::EndDoc() {
  if (!composing_) {
    // Closed already (or never opened): an empty document still has a page.
    if (!pages_.empty()) {
      announce();
      return;
    }
    openFirstPage();
  }
  if (table_.open) EndTable();
  composing_ = false;

  if (!Footer.isEmpty()) {
    const QStringList parts = Footer.split(QLatin1Char('|'));
    const PageFont font{FontName, FooterFontSize, false, false};
    const double h = Measurer().height(font);
    for (PageContent& page : pages_) {
      const double y = page.height - MarginBottom + (MarginBottom - h) / 2;
      const double left = MarginLeft;
      const double right = page.width - MarginRight;
      for (int i = 0; i < std::min<int>(3, static_cast<int>(parts.size())); ++i) {
        const QString& t = parts[i];
        if (t.isEmpty()) continue;
        const double w = Measurer().width(font, t);
        const double x = i == 0 ? left : i == 1 ? (left + right - w) / 2 : right - w;
        PageOp op = base(PageOp::Kind::Text);
        op.fontSize = FooterFontSize;
        op.bold = false;
        op.italic = false;
        op.textAngle = 0;
        op.text = t;
        op.x1 = x;
        op.y1 = y;
        op.x2 = x + w;
        op.y2 = y + h;
        page.ops.push_back(op);
      }
    }
  }

  PreviewPage.setQuietly(std::clamp(PreviewPage.value(), 1, std::max(1, PageCount())));
  if (PageCountChanged) PageCountChanged();
  announce();
}

const PageContent& PageDocument::Page(int number) const {
  static const PageContent empty;
  if (number < 1 || number > PageCount()) return empty;
  return pages_[static_cast<size_t>(number - 1)];
}

PageOp PageDocument::base(PageOp::Kind kind) const {
  PageOp op;
  op.kind = kind;
  op.penColour = penColour_;
  op.penWidth = penWidth_;
  op.penStyle = PenStyle;
  op.brushColour = BrushColor;
  op.brushStyle = BrushStyle;
  op.fontName = FontName;
  op.fontSize = FontSize;
  op.bold = FontBold;
  op.italic = FontItalic;
  op.textAngle = TextAngle;
  op.textColour = TextColor;
  return op;
}

// ---------------------------------------------------------------------------
// Changes

void PageDocument::announce() {
  if (!Redraw) return;
  if (Changed) Changed();
  auto listeners = listeners_;  // a listener may come or go meanwhile
  for (auto& l : listeners) l.second();
}

int PageDocument::AddChangeListener(std::function<void()> f) {
  const int id = nextListener_++;
  listeners_.emplace_back(id, std::move(f));
  return id;
}

void PageDocument::RemoveChangeListener(int id) {
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

// ---------------------------------------------------------------------------
// Text

void PageDocument::SetTextMeasurer(const TextMeasurer* measurer) { installedMeasurer = measurer; }

const TextMeasurer& PageDocument::Measurer() {
  static const FontMetricsMeasurer fonts;
  return installedMeasurer ? *installedMeasurer : fonts;
}

double PageDocument::TextWidth(const QString& text) const { return Measurer().width(CurrentFont(), text); }

double PageDocument::TextHeight() const { return Measurer().height(CurrentFont()); }

void PageDocument::writeTextLine(double x, double y, const QString& line) {
  if (line.isEmpty()) return;
  PageOp op = base(PageOp::Kind::Text);
  op.text = line;
  op.x1 = x;
  op.y1 = y;
  op.x2 = x + TextWidth(line);
  op.y2 = y + TextHeight();
  current().ops.push_back(std::move(op));
}

void PageDocument::Text(const QString& text) {
  PageContent& page = current();
  const double x = CurrentX;
  double y = CurrentY;
  const double right = page.width - MarginRight;
  const bool wrap = TextAngle == 0 && x < right;
  const double room = right - x;
  const double lineHeight = TextHeight();

  QString last;
  const QStringList paragraphs = text.split(QLatin1Char('\n'));
  for (int i = 0; i < paragraphs.size(); ++i) {
    QString paragraph = paragraphs[i];
    if (paragraph.endsWith(QLatin1Char('\r'))) paragraph.chop(1);
    if (i > 0) y += lineHeight;

    std::vector<QString> lines;
    if (!wrap) {
      lines.push_back(paragraph);
    } else {
      QString line;
      for (const QString& piece : Pieces(paragraph)) {
        const QString candidate = line + piece;
        // Blanks at the end never break a line; a word that does not fit
        // goes to the next line unless it is the line's first.
        if (HasInk(piece) && HasInk(line) && TextWidth(candidate) > room) {
          lines.push_back(line);
          line = piece.trimmed();
        } else {
          line = candidate;
        }
      }
      lines.push_back(line);
    }
    for (size_t j = 0; j < lines.size(); ++j) {
      if (j > 0) y += lineHeight;
      writeTextLine(x, y, lines[j]);
      last = lines[j];
    }
  }
  CurrentX = x + TextWidth(last);
  CurrentY = y;
}

// ---------------------------------------------------------------------------
// Lines, rectangles, polylines

void PageDocument::DrawLine(double x1, double y1, double x2, double y2) {
  AddShape(PageOp::Kind::Line, x1, y1, x2, y2);
  lastX_ = x2;
  lastY_ = y2;
}

void PageDocument::DrawLine(double x, double y) { DrawLine(lastX_, lastY_, x, y); }

void PageDocument::DrawRectangle(double x1, double y1, double x2, double y2) {
  AddShape(PageOp::Kind::Rectangle, x1, y1, x2, y2);
}

void PageDocument::AddShape(PageOp::Kind kind, double x1, double y1, double x2, double y2) {
  PageOp op = base(kind);
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  current().ops.push_back(std::move(op));
}

void PageDocument::Polyline(const QString& points) {
  std::vector<double> values;
  const QStringList items = points.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (const QString& item : items) {
    bool ok = false;
    const double v = item.toDouble(&ok);
    if (!ok || !std::isfinite(v)) break;
    values.push_back(v);
  }
  if (values.size() % 2 != 0) values.pop_back();
  if (values.size() < 4) return;
  PageOp op = base(PageOp::Kind::Polyline);
  op.points = std::move(values);
  op.x1 = op.points[0];
  op.y1 = op.points[1];
  op.x2 = op.points[op.points.size() - 2];
  op.y2 = op.points.back();
  current().ops.push_back(std::move(op));
}

// ---------------------------------------------------------------------------
// Tables

void PageDocument::SetTableSetting(int index, int value) {
  for (auto& s : tableSettings_) {
    if (s.first == index) {
      s.second = value;
      return;
    }
  }
  tableSettings_.emplace_back(index, value);
}

int PageDocument::TableSetting(int index) const {
  for (const auto& s : tableSettings_)
    if (s.first == index) return s.second;
  return 0;
}

double PageDocument::TableRowHeight() const { return TextHeight() + 2 * kCellPaddingY; }

void PageDocument::StartTable() {
  openIfClosed();
  table_ = PendingTable{};
  table_.open = true;
}

std::vector<PageDocument::TableColumn> PageDocument::parseColumns(const QString& format) {
  std::vector<TableColumn> columns;
  QString f = format;
  const int semicolon = static_cast<int>(f.indexOf(QLatin1Char(';')));
  if (semicolon >= 0) f.truncate(semicolon);
  for (QString entry : f.split(QLatin1Char('|'))) {
    entry = entry.trimmed();
    if (entry.isEmpty()) continue;
    TableColumn c;
    int i = 0;
    if (entry[0] == QLatin1Char('<')) c.align = 0, ++i;
    else if (entry[0] == QLatin1Char('^')) c.align = 1, ++i;
    else if (entry[0] == QLatin1Char('>')) c.align = 2, ++i;
    while (i < entry.size() && !entry[i].isDigit() && entry[i] != QLatin1Char('.')) ++i;  // "+" and the like
    bool ok = false;
    const double w = entry.mid(i).toDouble(&ok);
    c.width = ok && w > 0 ? w : kDefaultColumnWidth;
    columns.push_back(c);
  }
  return columns;
}

void PageDocument::AddTable(const QString& format, const QString& header, const QString& body) {
  const bool standalone = !table_.open;
  if (standalone) StartTable();
  if (!table_.hasFormat) {
    table_.hasFormat = true;
    table_.columns = parseColumns(format);
    for (const QString& row : SplitRows(header)) table_.header.push_back(row.split(QLatin1Char('|')));
  }
  for (const QString& row : SplitRows(body)) table_.body.push_back(row.split(QLatin1Char('|')));
  if (standalone) EndTable();
}

void PageDocument::AddTableLead(const QString& format, const QString& rows) {
  if (!table_.open) return;
  TableLead lead;
  lead.columns = parseColumns(format);
  for (const QString& row : SplitRows(rows)) lead.rows.push_back(row.split(QLatin1Char('|')));
  if (!lead.columns.empty()) table_.leads.push_back(std::move(lead));
}

void PageDocument::EndTable() {
  if (!table_.open) return;
  PendingTable table = std::move(table_);
  table_ = PendingTable{};
  writeTable(table);
}

double PageDocument::writeRow(const std::vector<TableColumn>& columns, const QStringList& fields, double x,
                              double y) {
  const double h = TableRowHeight();
  const double textHeight = TextHeight();
  double left = x;
  for (size_t c = 0; c < columns.size(); ++c) {
    const double cellRight = left + columns[c].width;
    const QString field = c < static_cast<size_t>(fields.size()) ? fields[static_cast<int>(c)] : QString();
    if (!field.isEmpty()) {
      const double w = TextWidth(field);
      const double innerLeft = left + kCellPaddingX;
      const double innerRight = cellRight - kCellPaddingX;
      const double tx = columns[c].align == 0   ? innerLeft
                        : columns[c].align == 1 ? (innerLeft + innerRight - w) / 2
                                                : innerRight - w;
      PageOp op = base(PageOp::Kind::Text);
      op.textAngle = 0;
      op.text = field;
      op.x1 = tx;
      op.y1 = y + kCellPaddingY;
      op.x2 = tx + w;
      op.y2 = op.y1 + textHeight;
      op.clipped = true;
      op.clipX1 = innerLeft;
      op.clipY1 = y + kCellPaddingY;
      op.clipX2 = innerRight;
      op.clipY2 = y + h - kCellPaddingY;
      current().ops.push_back(std::move(op));
    }
    left = cellRight;
  }
  return h;
}

void PageDocument::writeTable(const PendingTable& table) {
  const double x = CurrentX;
  double y = CurrentY;
  if (table.columns.empty()) return;

  // Row tops and the bottom of the part of the table on the present page.
  std::vector<double> rowLines;
  auto drawBordersOf = [&](const std::vector<TableColumn>& columns, const std::vector<double>& lines) {
    if (TableBorder == 0 || lines.size() < 2) return;
    double width = 0;
    for (const TableColumn& c : columns) width += c.width;
    PageContent& page = current();
    auto line = [&](double x1, double y1, double x2, double y2) {
      PageOp op = base(PageOp::Kind::Line);
      op.penColour = 0;
      op.penWidth = kTableLineWidth;
      op.penStyle = 0;
      op.x1 = x1;
      op.y1 = y1;
      op.x2 = x2;
      op.y2 = y2;
      page.ops.push_back(std::move(op));
    };
    for (double ly : lines) line(x, ly, x + width, ly);
    double cx = x;
    line(cx, lines.front(), cx, lines.back());
    for (const TableColumn& c : columns) {
      cx += c.width;
      line(cx, lines.front(), cx, lines.back());
    }
  };
  auto drawBorders = [&] { drawBordersOf(table.columns, rowLines); };
  // The leads on a page the table has gone on to, each with its own columns.
  auto writeLeads = [&] {
    for (const TableLead& lead : table.leads) {
      std::vector<double> lines{y};
      for (const QStringList& row : lead.rows) {
        if (RowEvent) RowEvent(0);
        y += writeRow(lead.columns, row, x, y);
        lines.push_back(y);
      }
      drawBordersOf(lead.columns, lines);
    }
  };
  auto writeHeader = [&] {
    for (const QStringList& row : table.header) {
      if (RowEvent) RowEvent(0);
      if (rowLines.empty()) rowLines.push_back(y);
      y += writeRow(table.columns, row, x, y);
      rowLines.push_back(y);
    }
  };
  const double bottom = [&] { return current().height - MarginBottom; }();

  // A table whose header and first row do not fit starts on a new page.
  const double firstRows =
      TableRowHeight() * (static_cast<double>(table.header.size()) + (table.body.empty() ? 0 : 1));
  if (y + firstRows > bottom && y > MarginTop) {
    NewPage();
    y = MarginTop;
    writeLeads();
  }

  writeHeader();
  bool bodyOnPage = false;
  for (size_t i = 0; i < table.body.size(); ++i) {
    if (bodyOnPage && y + TableRowHeight() > current().height - MarginBottom) {
      drawBorders();
      rowLines.clear();
      NewPage();
      y = MarginTop;
      writeLeads();
      writeHeader();
      bodyOnPage = false;
    }
    if (RowEvent) RowEvent(static_cast<int>(i) + 1);
    if (rowLines.empty()) rowLines.push_back(y);
    y += writeRow(table.columns, table.body[i], x, y);
    rowLines.push_back(y);
    bodyOnPage = true;
  }
  drawBorders();
  CurrentX = x;
  CurrentY = y;
}

// ---------------------------------------------------------------------------

PageDocument& ReportPreview() {
  static PageDocument d;
  return d;
}

PageDocument& ProfilePreview() {
  static PageDocument d;
  return d;
}

void ResetPreviews() {
  ReportPreview().Reset();
  ProfilePreview().Reset();
}

}  // namespace tellumo

namespace tellumo {

// The view's paging and the printer's work.
void PageDocument::ShowPageFromView(int page) {
  PreviewPage = page;
  if (FollowPage) FollowPage(PreviewPage);
}

void PageDocument::PrintDoc() { PrintDoc(1, PageCount()); }

void PageDocument::PrintDoc(int fromPage, int toPage) {
  // Cut to the pages there are; a range with none of them sends nothing.
  fromPage = std::max(fromPage, 1);
  toPage = std::min(toPage, PageCount());
  if (fromPage > toPage) return;
  const int code = Printers().print(*this, fromPage, toPage);
  if (code != 0) {
    ErrorCode = code;
    if (Error) Error();
  }
}

void PageDocument::BeginPrintBatch() { Printers().beginBatch(); }

void PageDocument::EndPrintBatch() {
  const int code = Printers().endBatch();
  if (code != 0) {
    ErrorCode = code;
    if (Error) Error();
  }
}

bool PageDocument::PrintDialog(int kind) {
  PaperSetup setup{pageWidth_, pageHeight_, MarginLeft, MarginTop, MarginRight, MarginBottom};
  const bool accepted =
      kind == 1 ? Printers().pageSetup(*this, setup) : Printers().printerSetup(*this, setup);
  if (!accepted) return false;
  setPaperSize(setup.width, setup.height);
  MarginLeft = setup.marginLeft;
  MarginTop = setup.marginTop;
  MarginRight = setup.marginRight;
  MarginBottom = setup.marginBottom;
  return true;
}

}  // namespace tellumo
