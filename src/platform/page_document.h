#pragma once
// The print-preview control as the program composes on it, held without
// widgets: a document of pages, each a list of drawing operations in twips of
// the page (56.7 per millimetre, y downwards), with the pen, brush, font and
// text position that persist from one operation to the next, tables, a
// footer on every page, and the viewing state (zoom, page shown). One
// renderer draws a page on any QPainter (page_renderer.h); the preview widget
// shows it. The report preview VSPrint and the profile preview VSPrint1 are
// two documents.
//
// Text is measured with the font it is drawn in (QFontMetricsF of the font
// at its point size, 20 twips a point, unhinted so that the measure is the
// same on every device); tests may put a fixed measurer in its place.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <ostream>
#include <utility>
#include <vector>

#include "modelling/page_drawing.h"

namespace tellumo {

// A4 in twips, 56.7 per millimetre.
inline constexpr double kA4WidthTwipsPage = 210 * 56.7;
inline constexpr double kA4HeightTwipsPage = 297 * 56.7;

// One drawing operation as it lies on a page. Coordinates in twips; colours
// 0x00BBGGRR; the font and pen as they were when the operation was made.
// A dot is a Line whose two ends are the same point.
struct PageOp {
  enum class Kind { Line, Rectangle, Polyline, Text };
  Kind kind = Kind::Line;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line ends; rectangle corners; text box (left, top, right, bottom)
  std::vector<double> points;             // polyline: x0, y0, x1, y1, ...
  int32_t penColour = 0;
  int penWidth = 1;     // twips
  int penStyle = 0;     // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none
  int32_t brushColour = 0xFFFFFF;
  int brushStyle = 1;   // 1 transparent, 0 solid
  QString text;         // Text: the line of text (already wrapped: one op per line)
  QString fontName;
  double fontSize = 10;  // points
  bool bold = false;
  bool italic = false;
  int textAngle = 0;     // tenths of a degree, counter-clockwise about the text's top-left corner
  int32_t textColour = 0;
  // Text of a table cell: the glyphs are cut at this box (left, top, right,
  // bottom), the cell less its padding.
  bool clipped = false;
  double clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0;
};

struct PageContent {
  std::vector<PageOp> ops;
  // The paper this page was composed on (twips).
  double width = kA4WidthTwipsPage;
  double height = kA4HeightTwipsPage;
};

// The font a text is measured in.
struct PageFont {
  QString name;
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
};

// Measures text for the page document, in twips. The default measurer uses
// the font's metrics; tests install one of fixed widths.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual double width(const PageFont& font, const QString& text) const = 0;
  // Height of one line of text (line spacing).
  virtual double height(const PageFont& font) const = 0;
};

// A viewing setting of the document: reads and assigns as a plain value; an
// assignment is normalised by the document (a page shown within the pages, a
// zoom within its bounds) and lets the views know.
template <typename T>
class ViewSetting {
 public:
  ViewSetting(T value, std::function<void(T&)> onSet) : value_(value), onSet_(std::move(onSet)) {}
  ViewSetting(const ViewSetting&) = delete;
  ViewSetting& operator=(const ViewSetting& other) { return *this = other.value_; }
  ViewSetting& operator=(T value) {
    value_ = value;
    if (onSet_) onSet_(value_);
    return *this;
  }
  operator T() const { return value_; }
  T value() const { return value_; }
  // Without the document's notice (the document's own bookkeeping).
  void setQuietly(T value) { value_ = value; }
  friend std::ostream& operator<<(std::ostream& os, const ViewSetting& s) { return os << s.value_; }

 private:
  T value_;
  std::function<void(T&)> onSet_;
};

class PageDocument : public PageDrawing {
 public:
  PageDocument();
  PageDocument(const PageDocument&) = delete;
  PageDocument& operator=(const PageDocument&) = delete;

  // A fresh, empty A4 document with 1440-twip margins and the control's
  // initial pen, brush, font and viewing state. Handlers and listeners are
  // kept.
  void Reset();

  // Paper (twips); height above width is portrait. A page takes the paper in
  // force when it is opened; the margins are read whenever they are used.
  double PageWidth() const { return pageWidth_; }
  double PageHeight() const { return pageHeight_; }
  void setPaperSize(double widthTwips, double heightTwips);
  bool Portrait() const { return pageHeight_ > pageWidth_; }
  double MarginLeft = 1440, MarginTop = 1440, MarginRight = 1440, MarginBottom = 1440;

  // Repainting of the views while a document is composed: while off, no
  // change is announced; switching it on announces the document.
  ViewSetting<bool> Redraw;

  // Everything drawn between StartDoc and EndDoc forms the pages; StartDoc
  // empties the document and opens page 1 with the current position at the
  // top-left margin corner; EndDoc closes it, puts the footer on every page
  // and announces the page count. Drawing while no document is open starts
  // one as StartDoc does (the earlier pages go), but leaves the current
  // position where it was set; it stays open until EndDoc.
  void StartDoc();
  void EndDoc();
  bool Composing() const { return composing_; }
  // A new page; the current position goes to the top-left margin corner.
  void NewPage();
  int PageCount() const { return static_cast<int>(pages_.size()); }
  const PageContent& Page(int number) const;  // 1-based; an empty page when out of range
  const std::vector<PageContent>& Pages() const { return pages_; }

  // Font and text.
  QString FontName = QStringLiteral("Arial");
  double FontSize = 10;  // points
  bool FontBold = false;
  bool FontItalic = false;  // the control's second style switch
  int32_t TextColor = 0;
  int TextAngle = 0;  // tenths of a degree
  double CurrentX = 0, CurrentY = 0;
  // The text at the current position, anchored at its top-left corner. Text
  // that would pass the right margin wraps there at blanks onto the
  // following lines (which start at the same x, one line-height apart); a
  // single word wider than the room stays whole on its line and runs past
  // the margin. Text that starts at or beyond the right margin, and turned
  // text (TextAngle not 0), does not wrap. A "\n" in the text breaks the line
  // there. Text does not move on to a new page by itself. Afterwards the
  // position is at the end of the text on its last line: CurrentX after its
  // last character, CurrentY at that line's top.
  void Text(const QString& text);
  // Width and height (twips) of a text in the current font.
  double TextWidth(const QString& text) const;
  double TextHeight() const;
  PageFont CurrentFont() const { return PageFont{FontName, FontSize, FontBold, FontItalic}; }

  // The measurer of every document (nullptr: the fonts' own metrics).
  static void SetTextMeasurer(const TextMeasurer* measurer);
  static const TextMeasurer& Measurer();

  // Pen and brush; every following drawing takes them.
  void PenColor(int32_t colour) override { penColour_ = colour; }
  void PenWidth(int twips) override { penWidth_ = twips; }
  int32_t penColour() const { return penColour_; }
  int penWidth() const { return penWidth_; }
  int PenStyle = 0;
  int32_t BrushColor = 0xFFFFFF;
  int BrushStyle = 1;  // 1 transparent, 0 solid

  // Lines: from (x1, y1) to (x2, y2); a line from a point to itself leaves a
  // dot and makes that point the start of the next two-coordinate line; the
  // two-coordinate form draws from the end of the previous line. Lines leave
  // CurrentX and CurrentY alone.
  void DrawLine(double x1, double y1, double x2, double y2) override;
  void DrawLine(double x, double y) override;
  // Hollow in the pen with BrushStyle 1, filled with BrushColor with 0.
  void DrawRectangle(double x1, double y1, double x2, double y2);
  // Through the points of a text "x0 y0 x1 y1 ..." (numbers separated by
  // blanks or tabs). A number that cannot be read ends the list; an odd last
  // number is left out; fewer than two points draw nothing.
  void Polyline(const QString& points);

  // Tables. A column format "<+1100|>+1400|..." (alignment mark "<" left,
  // "^" centre or ">" right, optional "+", width in twips, columns separated
  // by "|", a closing ";" allowed); header and body rows of fields separated
  // by "|" and rows ended by ";" (a last row without ";" counts, an empty
  // text is no row). Fields beyond the format's columns are left out; cell
  // texts are aligned in their column and cut at the cell, never wrapped.
  //
  // Between StartTable and EndTable the first AddTable gives the format and
  // header and every AddTable appends its body rows; the table is written at
  // EndTable. AddTable outside StartTable/EndTable writes a table at once.
  // The table is written at the current position in the current font, the
  // header row in bold when the row event says so; rows that do not fit above
  // the bottom margin continue at the top margin of a new page, the header
  // repeated first (a table whose header and first row do not fit starts
  // on the new page). Afterwards CurrentY is at the table's bottom and
  // CurrentX where the table started. Each row raises RowEvent with 0 for a
  // header row and 1 on for the body rows, before the row is written (also
  // for a repeated header).
  //
  // A lead of a table (AddTableLead, between StartTable and EndTable) is a
  // table of its own columns written above the repeated header wherever the
  // table goes on to a new page: the column names of a table whose header
  // is its units row, say, stand above the units again on the next page.
  void StartTable();
  void AddTable(const QString& format, const QString& header, const QString& body);
  void AddTableLead(const QString& format, const QString& rows);
  void EndTable();
  int TableBorder = 1;  // 0 none, otherwise every cell line (black, 10 twips)
  std::function<void(int row)> RowEvent;
  // The control's table settings by index: kept, with no effect on the layout.
  void SetTableSetting(int index, int value);
  int TableSetting(int index) const;
  // Row height of the current font: one text line and the cell padding.
  double TableRowHeight() const;
  static constexpr double kCellPaddingX = 60;  // twips, left and right in a cell
  static constexpr double kCellPaddingY = 15;  // twips, above and below

  // Footer: left, centre and right parts split by "|", written at EndDoc on
  // every page in FontName at FooterFontSize (not bold, not italic): the
  // line stands half way down the bottom margin (centred in it), the left
  // part at the left margin, the centre part centred between the margins,
  // the right part ending at the right margin. An empty footer writes
  // nothing.
  QString Footer;
  double FooterFontSize = 8;

  // Viewing: zoom percentage (10 to 1000), zoom mode (0 percentage,
  // 1 thumbnail, 2 two pages, 3 whole page, 4 page width, 5 stretch), page
  // shown (1-based, kept within 1 to the page count), physical page (the
  // paper's edge shown), guides (the margins shown). Each assignment lets
  // the views know (when Redraw is on).
  ViewSetting<int> Zoom;
  ViewSetting<int> ZoomMode;
  ViewSetting<int> PreviewPage;
  ViewSetting<bool> PhysicalPage;
  ViewSetting<bool> ShowGuides;
  // Pages shown at once: 2 in the two-pages mode, else 1.
  int PagesShownAtOnce() const { return ZoomMode == 2 ? 2 : 1; }

  // The view's own paging (keys, wheel): the page shown becomes `page` and
  // the page event FollowPage fires with it.
  void ShowPageFromView(int page);

  // Printing through Printers(): without arguments the whole document, else
  // pages fromPage to toPage (cut to the pages there are). A document
  // without pages, or a range without any of its pages, sends nothing. A failing job raises the Error event with
  // its code in ErrorCode.
  void PrintDoc();
  void PrintDoc(int fromPage, int toPage);
  // The setup dialogs: kind 1 page setup (paper, orientation, margins),
  // 0 printer (printer, paper, orientation). On acceptance the paper size
  // and the margins are read back into the document (the pages already
  // composed keep theirs). Returns whether the dialog was accepted.
  bool PrintDialog(int kind);
  // The copies of one print: the jobs between BeginPrintBatch and
  // EndPrintBatch may go out as one (one PDF when there is no printer); a
  // failure at the end raises the Error event as PrintDoc does.
  void BeginPrintBatch();
  void EndPrintBatch();

  // Events of the control: Error (code in ErrorCode), the page event with a
  // page number (the view's paging), the page-count event after each EndDoc
  // (PageCountChanged, below), and the row event of tables (RowEvent).
  std::function<void()> Error;
  int ErrorCode = 0;
  std::function<void(int page)> FollowPage;

  // A change of the pages or of the viewing state, for the window; fired
  // after EndDoc and after each viewing change while Redraw is on.
  std::function<void()> Changed;
  // The page count after each EndDoc.
  std::function<void()> PageCountChanged;
  // The views follow the same changes through listeners of their own.
  int AddChangeListener(std::function<void()> f);
  void RemoveChangeListener(int id);

 private:
  struct TableColumn {
    double width = 0;
    int align = 0;  // 0 left, 1 centre, 2 right
  };
  struct TableLead {
    std::vector<TableColumn> columns;
    std::vector<QStringList> rows;
  };
  struct PendingTable {
    bool open = false;
    bool hasFormat = false;
    std::vector<TableColumn> columns;
    std::vector<QStringList> header;
    std::vector<QStringList> body;
    std::vector<TableLead> leads;
  };

  // The columns of a format "<+1100|>+1400|...".
  static std::vector<TableColumn> parseColumns(const QString& format);
  PageContent& current();
  PageOp base(PageOp::Kind kind) const;
  // A line or rectangle between two corners, in the pen and brush of the moment.
  void AddShape(PageOp::Kind kind, double x1, double y1, double x2, double y2);
  void openIfClosed();
  void openFirstPage();
  void announce();
  void writeTextLine(double x, double y, const QString& line);
  void writeTable(const PendingTable& table);
  double writeRow(const std::vector<TableColumn>& columns, const QStringList& fields, double x, double y);

  double pageWidth_ = kA4WidthTwipsPage;
  double pageHeight_ = kA4HeightTwipsPage;
  std::vector<PageContent> pages_;
  bool composing_ = false;
  int32_t penColour_ = 0;
  int penWidth_ = 1;
  double lastX_ = 0, lastY_ = 0;
  PendingTable table_;
  std::vector<std::pair<int, int>> tableSettings_;
  std::vector<std::pair<int, std::function<void()>>> listeners_;
  int nextListener_ = 1;
};

// The report preview VSPrint and the profile preview VSPrint1.
PageDocument& ReportPreview();
PageDocument& ProfilePreview();
// Both back to a fresh, empty A4 document.
void ResetPreviews();

}  // namespace tellumo
