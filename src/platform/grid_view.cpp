#include "platform/grid_view.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

#include "platform/vb.h"
#include "platform/vb_error.h"
#include "platform/vb_colour.h"

namespace tellumo {

namespace {


Qt::Alignment ToQtAlignment(int16_t code, const QString& text) {
  switch (code) {
    case kAlignLeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case kAlignLeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case kAlignLeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case kAlignCenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case kAlignCenterCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case kAlignCenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case kAlignRightTop: return Qt::AlignRight | Qt::AlignTop;
    case kAlignRightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case kAlignRightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: {
      // General: numbers to the right, texts to the left.
      bool number = false;
      text.trimmed().toDouble(&number);
      return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
  }
}

bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

// Keys the table passes on to the window: focus moves, the default button.
bool IsWindowKey(int key) {
  return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter ||
         key == Qt::Key_Escape;
}

// Pixels a heading needs to be shown whole: its text in its own font with
// the margins the style draws around it.
int HeadingWidth(const QHeaderView* header, const QTableWidgetItem* heading) {
  if (!heading || heading->text().isEmpty()) return 0;
  QStyleOptionHeader option;
  option.initFrom(header);
  option.orientation = header->orientation();
  option.text = heading->text();
  option.fontMetrics = QFontMetrics(heading->font());
  return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
}

bool IsMouseEvent(QEvent::Type type) {
  return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
         type == QEvent::MouseButtonRelease || type == QEvent::MouseMove;
}

}  // namespace

int16_t VbKeyCode(int key, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<int16_t>((keypad ? 96 : 48) + (key - Qt::Key_0));
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<int16_t>(65 + (key - Qt::Key_A));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<int16_t>(112 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Asterisk: return keypad ? 106 : 0;
    case Qt::Key_Plus: return keypad ? 107 : 187;
    case Qt::Key_Minus: return keypad ? 109 : 189;
    // The keypad's decimal key is one key whatever character it gives.
    case Qt::Key_Period: return keypad ? 110 : 190;
    case Qt::Key_Comma: return keypad ? 110 : 188;
    case Qt::Key_Slash: return keypad ? 111 : 191;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Semicolon: return 186;
    case Qt::Key_Equal: return 187;
    default: return 0;
  }
}

int16_t VbShiftState(Qt::KeyboardModifiers modifiers) {
  int16_t s = 0;
  if (modifiers.testFlag(Qt::ShiftModifier)) s |= 1;
  if (modifiers.testFlag(Qt::ControlModifier)) s |= 2;
  if (modifiers.testFlag(Qt::AltModifier)) s |= 4;
  return s;
}

int GridView::Pixels(int32_t twips) { return static_cast<int>(std::lround(twips / 15.0)); }

GridView::GridView(GridModel& model, QTableWidget* table)
    : QObject(table), model_(model), table_(table), viewport_(table->viewport()) {
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setSelectionBehavior(QAbstractItemView::SelectItems);
  table_->setTabKeyNavigation(false);
  table_->setDragEnabled(false);
  table_->setWordWrap(false);
  table_->setCornerButtonEnabled(false);
  table_->setContextMenuPolicy(Qt::NoContextMenu);
  for (QHeaderView* h : {table_->horizontalHeader(), table_->verticalHeader()}) {
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setMinimumSectionSize(1);
    h->setSectionResizeMode(QHeaderView::Fixed);
  }
  table_->installEventFilter(this);
  viewport_->installEventFilter(this);
  connect(table_, &QTableWidget::currentCellChanged, this,
          [this](int row, int col, int, int) { userMovedTo(row, col); });
  listener_ = model_.addListener([this](const GridChange& c) { onChange(c); });
  readAll();
  markFit(-1);
}

GridView::~GridView() {
  model_.removeListener(listener_);
  // Only QObject's part of the table is used here: the view ends inside the
  // table's destruction, when the table is no longer a QTableWidget.
  if (QObject* table = table_) table->removeEventFilter(this);
  if (viewport_) viewport_->removeEventFilter(this);
}

void GridView::onChange(const GridChange& change) {
  switch (change.kind) {
    case GridChange::Kind::Text:
    case GridChange::Kind::Format:
      if (change.row < 0) readColumn(change.col);
      else readCell(change.row, change.col);
      markFit(change.col);
      break;
    case GridChange::Kind::Selection:
      if (!syncing_) readSelection();
      break;
    case GridChange::Kind::Layout:
    case GridChange::Kind::Refresh:
      readAll();
      markFit(-1);
      break;
  }
}

void GridView::readAll() {
  const bool wasSyncing = syncing_;
  syncing_ = true;
  table_->setUpdatesEnabled(false);
  readShape();
  for (int r = 0; r < model_.Rows(); ++r)
    for (int c = 0; c < model_.Cols(); ++c) readCell(r, c);
  table_->setUpdatesEnabled(true);
  syncing_ = wasSyncing;
  readSelection();
}

void GridView::readShape() {
  rowOffset_ = model_.FixedRows() >= 1 && model_.Rows() >= 1 ? 1 : 0;
  colOffset_ = model_.FixedCols() >= 1 && model_.Cols() >= 1 ? 1 : 0;
  table_->setRowCount(std::max(model_.Rows() - rowOffset_, 0));
  table_->setColumnCount(std::max(model_.Cols() - colOffset_, 0));

  QFont font(model_.FontName());
  font.setPointSizeF(model_.FontSize() > 0 ? model_.FontSize() : 8.0);
  font.setBold(model_.FontBold());
  table_->setFont(font);

  QHeaderView* top = table_->horizontalHeader();
  QHeaderView* left = table_->verticalHeader();
  top->setFont(font);
  left->setFont(font);
  top->setVisible(rowOffset_ == 1);
  left->setVisible(colOffset_ == 1);
  if (rowOffset_ == 1) top->setFixedHeight(Pixels(model_.RowHeight(0)));
  // The widths the texts needed when last measured stay until the next
  // measuring: a column does not shrink and widen again between the two.
  needed_.resize(model_.Cols(), 0);
  stale_.resize(model_.Cols(), true);
  for (int c = 0; c < model_.Cols(); ++c) applyWidth(c);
  for (int r = rowOffset_; r < model_.Rows(); ++r) table_->setRowHeight(r - rowOffset_, Pixels(model_.RowHeight(r)));

  QPalette p = table_->palette();
  p.setColor(QPalette::Base, VbColour(model_.BackColor()));
  p.setColor(QPalette::Text, VbColour(model_.ForeColor()));
  table_->setPalette(p);
}

QTableWidgetItem* GridView::itemAt(int tableRow, int tableCol) {
  QTableWidgetItem* item = table_->item(tableRow, tableCol);
  if (!item) {
    item = new QTableWidgetItem;
    table_->setItem(tableRow, tableCol, item);
  }
  return item;
}

void GridView::readCell(int row, int col) {
  if (row < 0 || col < 0 || row >= model_.Rows() || col >= model_.Cols()) return;
  const QString text = model_.TextMatrix(row, col);
  const Qt::Alignment alignment = ToQtAlignment(model_.CellAlignmentAt(row, col), text);
  const bool bold = model_.CellFontBoldAt(row, col);
  if (row < rowOffset_ || col < colOffset_) {
    if (row < rowOffset_ && col < colOffset_) return;  // the corner is not shown
    const bool top = row < rowOffset_;
    const int section = top ? col - colOffset_ : row - rowOffset_;
    QTableWidgetItem* h = top ? table_->horizontalHeaderItem(section) : table_->verticalHeaderItem(section);
    if (!h) {
      h = new QTableWidgetItem;
      if (top) table_->setHorizontalHeaderItem(section, h);
      else table_->setVerticalHeaderItem(section, h);
    }
    h->setText(text);
    h->setTextAlignment(alignment);
    QFont f = table_->font();
    f.setBold(bold);
    h->setFont(f);
    return;
  }

  QTableWidgetItem* item = itemAt(row - rowOffset_, col - colOffset_);
  item->setText(text);
  item->setTextAlignment(alignment);
  QFont f = table_->font();
  f.setBold(bold);
  item->setFont(f);
  const bool fixed = row < model_.FixedRows() || col < model_.FixedCols();
  const int32_t back = model_.CellBackColorAt(row, col);
  // A fixed cell without a colour of its own looks like the headings.
  if (fixed && back == model_.BackColor()) item->setBackground(table_->palette().button());
  else item->setBackground(VbColour(back));
  item->setForeground(VbColour(model_.CellForeColorAt(row, col)));
  item->setFlags(fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

void GridView::markFit(int col) {
  stale_.resize(model_.Cols(), true);
  if (col < 0) std::fill(stale_.begin(), stale_.end(), true);
  else if (col < static_cast<int>(stale_.size())) stale_[col] = true;
  if (fitQueued_) return;
  fitQueued_ = true;
  QMetaObject::invokeMethod(this, [this] { fitColumns(); }, Qt::QueuedConnection);
}

void GridView::fitColumns() {
  fitQueued_ = false;
  const int cols = model_.Cols();
  needed_.resize(cols, 0);
  stale_.resize(cols, true);
  for (int c = 0; c < cols; ++c) {
    if (!stale_[c]) continue;
    stale_[c] = false;
    needed_[c] = neededWidth(c);
    applyWidth(c);
  }
}

int GridView::neededWidth(int col) const {
  // What the table shows is measured, not the model: with repainting off
  // the model may be ahead of it.
  if (col < colOffset_) {
    int width = 0;
    for (int r = 0; r < table_->rowCount(); ++r)
      width = std::max(width, HeadingWidth(table_->verticalHeader(), table_->verticalHeaderItem(r)));
    return width;
  }
  const int tableCol = col - colOffset_;
  if (tableCol >= table_->columnCount()) return 0;
  int width = rowOffset_ == 1 ? HeadingWidth(table_->horizontalHeader(), table_->horizontalHeaderItem(tableCol)) : 0;

  // Each cell as the table's delegate sizes it: the text in the cell's font
  // with the padding the style puts on both sides; the grid line takes one
  // pixel of the column.
  QStyleOptionViewItem option;
  option.initFrom(table_);
  option.widget = table_;
  option.font = table_->font();
  const int gridLine = table_->showGrid() ? 1 : 0;
  const QAbstractItemModel* model = table_->model();
  for (int r = 0; r < table_->rowCount(); ++r) {
    const QTableWidgetItem* item = table_->item(r, tableCol);
    if (!item || item->text().isEmpty()) continue;
    const QModelIndex index = model->index(r, tableCol);
    const QAbstractItemDelegate* delegate = table_->itemDelegateForIndex(index);
    width = std::max(width, delegate->sizeHint(option, index).width() + gridLine);
  }
  return width;
}

int GridView::shownWidth(int col) const {
  const int needed = col < static_cast<int>(needed_.size()) ? needed_[col] : 0;
  return std::max(Pixels(model_.ColWidth(col)), needed);
}

void GridView::applyWidth(int col) {
  if (col >= model_.Cols()) return;
  if (col < colOffset_) {
    QHeaderView* left = table_->verticalHeader();
    const int width = shownWidth(col);
    if (left->minimumWidth() != width || left->maximumWidth() != width) left->setFixedWidth(width);
    return;
  }
  const int tableCol = col - colOffset_;
  if (tableCol >= table_->columnCount()) return;
  const int width = shownWidth(col);
  if (table_->columnWidth(tableCol) != width) table_->setColumnWidth(tableCol, width);
}

void GridView::readColumn(int col) {
  for (int r = 0; r < model_.Rows(); ++r) readCell(r, col);
}

void GridView::readSelection() {
  const bool wasSyncing = syncing_;
  syncing_ = true;
  const int row = model_.Row();
  const int col = model_.Col();
  if (row < rowOffset_ || col < colOffset_) {
    // The current cell is a heading: the table shows none.
    table_->setCurrentIndex(QModelIndex());
    table_->clearSelection();
  } else {
    table_->setCurrentCell(row - rowOffset_, col - colOffset_);
  }
  syncing_ = wasSyncing;
}

void GridView::userMovedTo(int tableRow, int tableCol) {
  if (syncing_ || tableRow < 0 || tableCol < 0) return;
  const int row = modelRow(tableRow);
  const int col = modelCol(tableCol);
  if (row < model_.FixedRows() || col < model_.FixedCols()) {
    readSelection();  // a fixed cell cannot be the user's
    return;
  }
  if (row == model_.Row() && col == model_.Col()) return;
  syncing_ = true;
  vb::Step([&] {
    model_.setRow(row);
    model_.setCol(col);
  });
  syncing_ = false;
  if (CellChanged) vb::Step([&] { CellChanged(); });
}

bool GridView::handleKey(QKeyEvent* event) {
  int16_t code = VbKeyCode(event->key(), event->modifiers());
  if (code != 0) {
    const int16_t shift = VbShiftState(event->modifiers());
    vb::Step([&] { model_.fireKeyDown(code, shift); });
  }
  // Navigation keys move the current cell as in any table; the window's
  // keys go on to it. Every other key stops here: the table neither edits
  // nor jumps to a row by its first letter.
  if (IsNavigationKey(event->key()) || IsWindowKey(event->key())) return false;
  event->accept();
  return true;
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
  // The event's type is looked at first and the widgets are only compared
  // with: the table and its viewport send events of their own while they are
  // destroyed (focus out, child removed, destroy), when they are no longer of
  // their class, and nothing of theirs may be called then. Those events are
  // none of the ones handled here.
  if (event->type() == QEvent::KeyPress && watched == table_) return handleKey(static_cast<QKeyEvent*>(event));

  if (IsMouseEvent(event->type()) && watched == viewport_) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return true;
        const QModelIndex index = table_->indexAt(mouse->position().toPoint());
        if (!index.isValid()) return true;
        const int row = modelRow(index.row());
        const int col = modelCol(index.column());
        if (row < model_.FixedRows() || col < model_.FixedCols()) return true;
        table_->setFocus(Qt::MouseFocusReason);
        if (event->type() == QEvent::MouseButtonPress) {
          if (row != model_.Row() || col != model_.Col()) {
            syncing_ = true;
            vb::Step([&] {
              model_.setRow(row);
              model_.setCol(col);
            });
            syncing_ = false;
            readSelection();
            if (CellChanged) vb::Step([&] { CellChanged(); });
          }
          vb::Step([&] { model_.fireClick(); });
        } else {
          vb::Step([&] { model_.fireDblClick(); });
        }
        return true;
      }
      case QEvent::MouseButtonRelease:
        return true;
      case QEvent::MouseMove:
        // No drag selection: the current cell is the one clicked.
        return static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tellumo
