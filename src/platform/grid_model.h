#pragma once
// A flexible grid as the program's tables use it (the field-data grid, the
// model window's layer table, the profile list), held without widgets: cells
// of text with their colours, boldness and alignment, column widths and row
// heights in twips, the current cell, and the switch that holds repainting
// back while a routine rewrites many cells. A view mirrors it through the
// change notifications and hands the user's clicks and keys back through the
// event hooks.
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tellumo {

// Alignment codes as the grid component numbers them.
enum GridAlignment : int16_t {
  kAlignLeftTop = 0,
  kAlignLeftCenter = 1,
  kAlignLeftBottom = 2,
  kAlignCenterTop = 3,
  kAlignCenterCenter = 4,
  kAlignCenterBottom = 5,
  kAlignRightTop = 6,
  kAlignRightCenter = 7,
  kAlignRightBottom = 8,
  kAlignGeneral = 9,
};

// What changed, for a view that mirrors the grid.
struct GridChange {
  enum class Kind {
    Text,       // the text of cell (row, col)
    Format,     // colour, boldness or alignment of cell (row, col); row -1: the whole column
    Layout,     // rows, columns, fixed rows or columns, sizes, fonts: re-read the shape
    Selection,  // the current cell moved
    Refresh,    // repainting was switched back on after changes: re-read everything
  };
  Kind kind;
  int row = -1;
  int col = -1;
};

class GridModel {
 public:
  static constexpr int32_t kDefaultColWidth = 960;   // twips
  static constexpr int32_t kDefaultRowHeight = 240;  // twips

  // The component's shape when first placed on a form: 50 rows, 10 columns,
  // one fixed row and one fixed column.
  GridModel() : GridModel(50, 10, 1, 1) {}
  GridModel(int rows, int cols, int fixedRows, int fixedCols);
  GridModel(const GridModel&) = delete;
  GridModel& operator=(const GridModel&) = delete;

  // Back to a fresh grid of this shape: every text, format, size and the
  // current cell are forgotten; listeners and event hooks stay.
  void reset(int rows, int cols, int fixedRows, int fixedCols);

  // Shape. Growing adds empty rows or columns at the end; shrinking drops the
  // last ones (and lowers the fixed counts and the current cell to fit).
  int Rows() const { return static_cast<int>(cells_.size()); }
  void setRows(int n);
  int Cols() const { return cols_; }
  void setCols(int n);
  int FixedRows() const { return fixedRows_; }
  void setFixedRows(int n);  // 0..Rows, else error 5
  int FixedCols() const { return fixedCols_; }
  void setFixedCols(int n);  // 0..Cols, else error 5

  // Texts. A row or column outside the grid raises error 9.
  QString TextMatrix(int row, int col) const;
  void setTextMatrix(int row, int col, const QString& text);

  // The current cell. Code may make any cell current, the fixed ones too.
  int Row() const { return row_; }
  void setRow(int row);
  int Col() const { return col_; }
  void setCol(int col);
  QString Text() const { return TextMatrix(row_, col_); }
  void setText(const QString& text) { setTextMatrix(row_, col_, text); }

  // A row from tab-separated texts (column 0 first), inserted before row
  // `index` or appended when index is -1 or Rows. The current row keeps its
  // number. Error 9 for an index outside 0..Rows.
  void AddItem(const QString& item, int index = -1);
  // Removes a row; the current row keeps its number, lowered to the last row
  // when it falls off. A fixed row cannot be removed (error 5), nor a row
  // outside the grid (error 9).
  void RemoveItem(int index);

  // Repainting. While it is off, no change is announced; switching it back on
  // announces one Refresh when anything changed meanwhile.
  bool Redraw() const { return redraw_; }
  void setRedraw(bool on);

  // Sizes in twips.
  int32_t ColWidth(int col) const;
  void setColWidth(int col, int32_t twips);
  int32_t RowHeight(int row) const;
  void setRowHeight(int row, int32_t twips);

  // Column layout from a format string: columns separated by "|", each an
  // optional alignment mark ("<" left, "^" centre, ">" right) followed by the
  // heading written into row 0; after a ";" the headings of rows 1, 2, ...
  // written into column 0. The number of columns becomes the number of entries.
  QString FormatString() const { return formatString_; }
  void setFormatString(const QString& format);

  // Alignment of a column's cells, and of its cells in the fixed rows and
  // columns (which follow the column's alignment until set).
  int16_t ColAlignment(int col) const;
  void setColAlignment(int col, int16_t alignment);
  int16_t FixedAlignment(int col) const;
  void setFixedAlignment(int col, int16_t alignment);

  // Grid-wide colours (the colours of every cell without one of its own) and
  // font. Colours are 0x00BBGGRR.
  int32_t BackColor() const { return backColor_; }
  void setBackColor(int32_t c);
  int32_t ForeColor() const { return foreColor_; }
  void setForeColor(int32_t c);
  QString FontName() const { return fontName_; }
  void setFontName(const QString& name);
  float FontSize() const { return fontSize_; }
  void setFontSize(float size);
  bool FontBold() const { return fontBold_; }
  void setFontBold(bool bold);

  // Format of the current cell.
  int32_t CellBackColor() const { return CellBackColorAt(row_, col_); }
  void setCellBackColor(int32_t c) { setCellBackColorAt(row_, col_, c); }
  int32_t CellForeColor() const { return CellForeColorAt(row_, col_); }
  void setCellForeColor(int32_t c) { setCellForeColorAt(row_, col_, c); }
  bool CellFontBold() const { return CellFontBoldAt(row_, col_); }
  void setCellFontBold(bool b) { setCellFontBoldAt(row_, col_, b); }
  int16_t CellAlignment() const { return CellAlignmentAt(row_, col_); }
  void setCellAlignment(int16_t a) { setCellAlignmentAt(row_, col_, a); }

  // Format of any cell: its own value when one was set, else the grid's.
  int32_t CellBackColorAt(int row, int col) const;
  void setCellBackColorAt(int row, int col, int32_t c);
  int32_t CellForeColorAt(int row, int col) const;
  void setCellForeColorAt(int row, int col, int32_t c);
  bool CellFontBoldAt(int row, int col) const;
  void setCellFontBoldAt(int row, int col, bool b);
  // The alignment the cell is shown with: its own, else the fixed alignment
  // in a fixed row or column, else the column's.
  int16_t CellAlignmentAt(int row, int col) const;
  void setCellAlignmentAt(int row, int col, int16_t a);

  // Change notifications; the number returned removes the listener again.
  int addListener(std::function<void(const GridChange&)> f);
  void removeListener(int id);

  // Event hooks: the form sets its handlers here, the view calls the fire
  // functions after making the clicked cell current. KeyDown takes the key
  // code by reference, as a handler may change it.
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void(int16_t& KeyCode, int16_t Shift)> KeyDown;
  void fireClick();
  void fireDblClick();
  void fireKeyDown(int16_t& keyCode, int16_t shift);

 private:
  struct CellData {
    QString text;
    std::optional<int32_t> back;
    std::optional<int32_t> fore;
    std::optional<bool> bold;
    std::optional<int16_t> alignment;
  };
  struct Column {
    int32_t width = kDefaultColWidth;
    int16_t alignment = kAlignGeneral;
    std::optional<int16_t> fixedAlignment;
  };
  struct RowData {
    std::vector<CellData> cells;
    int32_t height = kDefaultRowHeight;
  };

  const CellData& cell(int row, int col) const;
  CellData& cell(int row, int col);
  void checkRow(int row) const;
  void checkCol(int col) const;
  RowData emptyRow() const;
  void clampSelection();
  void resizeCols(int n);
  void announce(GridChange::Kind kind, int row = -1, int col = -1);

  std::vector<RowData> cells_;
  std::vector<Column> columns_;
  int cols_ = 0;
  int fixedRows_ = 0;
  int fixedCols_ = 0;
  int row_ = 0;
  int col_ = 0;
  bool redraw_ = true;
  bool changedWhileOff_ = false;
  QString formatString_;
  int32_t backColor_ = 0xFFFFFF;
  int32_t foreColor_ = 0x000000;
  QString fontName_ = QStringLiteral("MS Sans Serif");
  float fontSize_ = 8.25f;
  bool fontBold_ = false;
  std::vector<std::pair<int, std::function<void(const GridChange&)>>> listeners_;
  int nextListener_ = 1;
};

}  // namespace tellumo
