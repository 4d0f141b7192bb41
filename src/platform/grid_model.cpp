#include "platform/grid_model.h"

#include <QStringList>

#include <algorithm>

#include "platform/vb_error.h"

namespace tellumo {

GridModel::GridModel(int rows, int cols, int fixedRows, int fixedCols) { reset(rows, cols, fixedRows, fixedCols); }

void GridModel::reset(int rows, int cols, int fixedRows, int fixedCols) {
  if (rows < 0 || cols < 0 || fixedRows < 0 || fixedRows > rows || fixedCols < 0 || fixedCols > cols)
    vb::Raise(vb::kErrInvalidCall, "grid shape");
  cols_ = cols;
  columns_.assign(static_cast<size_t>(cols), Column{});
  cells_.assign(static_cast<size_t>(rows), emptyRow());
  fixedRows_ = fixedRows;
  fixedCols_ = fixedCols;
  // The first cell the user can edit is current, as on a fresh control.
  row_ = fixedRows < rows ? fixedRows : std::max(rows - 1, 0);
  col_ = fixedCols < cols ? fixedCols : std::max(cols - 1, 0);
  formatString_.clear();
  backColor_ = 0xFFFFFF;
  foreColor_ = 0x000000;
  fontName_ = QStringLiteral("MS Sans Serif");
  fontSize_ = 8.25f;
  fontBold_ = false;
  redraw_ = true;
  changedWhileOff_ = false;
  announce(GridChange::Kind::Layout);
}

GridModel::RowData GridModel::emptyRow() const {
  RowData r;
  r.cells.resize(static_cast<size_t>(cols_));
  return r;
}

void GridModel::checkRow(int row) const {
  if (row < 0 || row >= Rows()) vb::Raise(vb::kErrSubscript, "grid row");
}

void GridModel::checkCol(int col) const {
  if (col < 0 || col >= cols_) vb::Raise(vb::kErrSubscript, "grid column");
}

const GridModel::CellData& GridModel::cell(int row, int col) const {
  checkRow(row);
  checkCol(col);
  return cells_[static_cast<size_t>(row)].cells[static_cast<size_t>(col)];
}

GridModel::CellData& GridModel::cell(int row, int col) {
  checkRow(row);
  checkCol(col);
  return cells_[static_cast<size_t>(row)].cells[static_cast<size_t>(col)];
}

void GridModel::clampSelection() {
  row_ = std::clamp(row_, 0, std::max(Rows() - 1, 0));
  col_ = std::clamp(col_, 0, std::max(cols_ - 1, 0));
}

void GridModel::setRows(int n) {
  if (n < 0) vb::Raise(vb::kErrInvalidCall, "grid rows");
  cells_.resize(static_cast<size_t>(n), emptyRow());
  fixedRows_ = std::min(fixedRows_, n);
  clampSelection();
  announce(GridChange::Kind::Layout);
}

void GridModel::resizeCols(int n) {
  cols_ = n;
  columns_.resize(static_cast<size_t>(n));
  for (auto& r : cells_) r.cells.resize(static_cast<size_t>(n));
  fixedCols_ = std::min(fixedCols_, n);
  clampSelection();
}

void GridModel::setCols(int n) {
  if (n < 0) vb::Raise(vb::kErrInvalidCall, "grid columns");
  resizeCols(n);
  announce(GridChange::Kind::Layout);
}

void GridModel::setFixedRows(int n) {
  if (n < 0 || n > Rows()) vb::Raise(vb::kErrInvalidCall, "fixed rows");
  fixedRows_ = n;
  announce(GridChange::Kind::Layout);
}

void GridModel::setFixedCols(int n) {
  if (n < 0 || n > cols_) vb::Raise(vb::kErrInvalidCall, "fixed columns");
  fixedCols_ = n;
  announce(GridChange::Kind::Layout);
}

QString GridModel::TextMatrix(int row, int col) const { return cell(row, col).text; }

void GridModel::setTextMatrix(int row, int col, const QString& text) {
  cell(row, col).text = text;
  announce(GridChange::Kind::Text, row, col);
}

void GridModel::setRow(int row) {
  checkRow(row);
  row_ = row;
  announce(GridChange::Kind::Selection, row_, col_);
}

void GridModel::setCol(int col) {
  checkCol(col);
  col_ = col;
  announce(GridChange::Kind::Selection, row_, col_);
}

void GridModel::AddItem(const QString& item, int index) {
  if (index == -1) index = Rows();
  if (index < 0 || index > Rows()) vb::Raise(vb::kErrSubscript, "grid row");
  RowData r = emptyRow();
  const QStringList fields = item.split(QLatin1Char('\t'));
  for (int c = 0; c < cols_ && c < fields.size(); ++c) r.cells[static_cast<size_t>(c)].text = fields[c];
  cells_.insert(cells_.begin() + index, std::move(r));
  announce(GridChange::Kind::Layout);
}

void GridModel::RemoveItem(int index) {
  checkRow(index);
  if (index < fixedRows_) vb::Raise(vb::kErrInvalidCall, "a fixed row cannot be removed");
  cells_.erase(cells_.begin() + index);
  clampSelection();
  announce(GridChange::Kind::Layout);
}

void GridModel::setRedraw(bool on) {
  if (on == redraw_) return;
  redraw_ = on;
  if (on && changedWhileOff_) {
    changedWhileOff_ = false;
    announce(GridChange::Kind::Refresh);
  }
}

int32_t GridModel::ColWidth(int col) const {
  checkCol(col);
  return columns_[static_cast<size_t>(col)].width;
}

void GridModel::setColWidth(int col, int32_t twips) {
  checkCol(col);
  if (twips < 0) vb::Raise(vb::kErrInvalidCall, "column width");
  columns_[static_cast<size_t>(col)].width = twips;
  announce(GridChange::Kind::Layout);
}

int32_t GridModel::RowHeight(int row) const {
  checkRow(row);
  return cells_[static_cast<size_t>(row)].height;
}

void GridModel::setRowHeight(int row, int32_t twips) {
  checkRow(row);
  if (twips < 0) vb::Raise(vb::kErrInvalidCall, "row height");
  cells_[static_cast<size_t>(row)].height = twips;
  announce(GridChange::Kind::Layout);
}

void GridModel::setFormatString(const QString& format) {
  const int semicolon = format.indexOf(QLatin1Char(';'));
  const QString colPart = semicolon < 0 ? format : format.left(semicolon);
  const QStringList entries = colPart.split(QLatin1Char('|'));

  // Written straight into the cells, so that the whole layout is announced once.
  resizeCols(static_cast<int>(entries.size()));
  if (cells_.empty()) cells_.push_back(emptyRow());
  for (int c = 0; c < entries.size(); ++c) {
    QString e = entries[c];
    if (!e.isEmpty() && (e[0] == QLatin1Char('<') || e[0] == QLatin1Char('^') || e[0] == QLatin1Char('>'))) {
      const char mark = e[0].toLatin1();
      columns_[static_cast<size_t>(c)].alignment = mark == '<'   ? kAlignLeftCenter
                                                   : mark == '^' ? kAlignCenterCenter
                                                                 : kAlignRightCenter;
      e.remove(0, 1);
    }
    cell(0, c).text = e;
  }
  if (semicolon >= 0 && cols_ > 0) {
    const QStringList rowHeads = format.mid(semicolon + 1).split(QLatin1Char('|'));
    for (int r = 0; r < rowHeads.size() && r + 1 < Rows(); ++r) cell(r + 1, 0).text = rowHeads[r];
  }
  formatString_ = format;
  announce(GridChange::Kind::Layout);
}

int16_t GridModel::ColAlignment(int col) const {
  checkCol(col);
  return columns_[static_cast<size_t>(col)].alignment;
}

void GridModel::setColAlignment(int col, int16_t alignment) {
  checkCol(col);
  columns_[static_cast<size_t>(col)].alignment = alignment;
  announce(GridChange::Kind::Format, -1, col);
}

int16_t GridModel::FixedAlignment(int col) const {
  checkCol(col);
  const Column& c = columns_[static_cast<size_t>(col)];
  return c.fixedAlignment.value_or(c.alignment);
}

void GridModel::setFixedAlignment(int col, int16_t alignment) {
  checkCol(col);
  columns_[static_cast<size_t>(col)].fixedAlignment = alignment;
  announce(GridChange::Kind::Format, -1, col);
}

void GridModel::setBackColor(int32_t c) {
  backColor_ = c;
  announce(GridChange::Kind::Layout);
}

void GridModel::setForeColor(int32_t c) {
  foreColor_ = c;
  announce(GridChange::Kind::Layout);
}

void GridModel::setFontName(const QString& name) {
  fontName_ = name;
  announce(GridChange::Kind::Layout);
}

void GridModel::setFontSize(float size) {
  fontSize_ = size;
  announce(GridChange::Kind::Layout);
}

void GridModel::setFontBold(bool bold) {
  fontBold_ = bold;
  announce(GridChange::Kind::Layout);
}

int32_t GridModel::CellBackColorAt(int row, int col) const { return cell(row, col).back.value_or(backColor_); }

void GridModel::setCellBackColorAt(int row, int col, int32_t c) {
  cell(row, col).back = c;
  announce(GridChange::Kind::Format, row, col);
}

int32_t GridModel::CellForeColorAt(int row, int col) const { return cell(row, col).fore.value_or(foreColor_); }

void GridModel::setCellForeColorAt(int row, int col, int32_t c) {
  cell(row, col).fore = c;
  announce(GridChange::Kind::Format, row, col);
}

bool GridModel::CellFontBoldAt(int row, int col) const { return cell(row, col).bold.value_or(fontBold_); }

void GridModel::setCellFontBoldAt(int row, int col, bool b) {
  cell(row, col).bold = b;
  announce(GridChange::Kind::Format, row, col);
}

int16_t GridModel::CellAlignmentAt(int row, int col) const {
  const CellData& d = cell(row, col);
  if (d.alignment) return *d.alignment;
  if (row < fixedRows_ || col < fixedCols_) return FixedAlignment(col);
  return ColAlignment(col);
}

void GridModel::setCellAlignmentAt(int row, int col, int16_t a) {
  cell(row, col).alignment = a;
  announce(GridChange::Kind::Format, row, col);
}

int GridModel::addListener(std::function<void(const GridChange&)> f) {
  listeners_.emplace_back(nextListener_, std::move(f));
  return nextListener_++;
}

void GridModel::removeListener(int id) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(), [id](const auto& l) { return l.first == id; }),
                   listeners_.end());
}

void GridModel::announce(GridChange::Kind kind, int row, int col) {
  if (!redraw_) {
    changedWhileOff_ = true;
    return;
  }
  const GridChange change{kind, row, col};
  // A copy, so that a listener may remove itself.
  const auto listeners = listeners_;
  for (const auto& l : listeners) l.second(change);
}

void GridModel::fireClick() {
  if (Click) Click();
}

void GridModel::fireDblClick() {
  if (DblClick) DblClick();
}

void GridModel::fireKeyDown(int16_t& keyCode, int16_t shift) {
  if (KeyDown) KeyDown(keyCode, shift);
}

}  // namespace tellumo
