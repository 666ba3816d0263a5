#include "platform/qt/list_control.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace pellark {
namespace {

// Room above and below the text of a row.
constexpr int kRowPadding = 1;

}  // namespace

ListControl::ListControl(QWidget* parent)
    : QAbstractItemView(parent), model_(new LineListModel(this)) {
  setModel(model_);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  setTextElideMode(Qt::ElideNone);
  updateGeometries();
}

void ListControl::PublishNewLines() {
  const int oldRows = RowCount();
  QScrollBar& scrollBar = *verticalScrollBar();
  const bool following = scrollBar.value() == scrollBar.maximum();
  const int firstNewRow = model_->PublishNewLines();
  const int rows = RowCount();
  if (rows == oldRows && firstNewRow == oldRows) return;
  // Measuring every line would cost more than storing it; the longest of a batch by length
  // stands for the batch.
  int longest = firstNewRow;
  for (int row = firstNewRow + 1; row < rows; ++row) {
    if (model_->Line(row).size() > model_->Line(longest).size()) longest = row;
  }
  if (longest < rows) contentWidth_ = std::max(contentWidth_, TextWidth(model_->Line(longest)));
  updateGeometries();
  // Scrolled up, the user keeps the lines in view as older ones above them are dropped.
  const int rowsGoneAbove = oldRows - firstNewRow;
  if (following) {
    scrollBar.setValue(scrollBar.maximum());
  } else if (rowsGoneAbove > 0) {
    scrollBar.setValue(scrollBar.value() - rowsGoneAbove);
  }
  if (following || rowsGoneAbove > 0 || oldRows <= FirstShownRow() + WholeRowsShown())
    viewport()->update();
}

QRect ListControl::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != model_) return {};
  return QRect(-horizontalOffset(), (index.row() - FirstShownRow()) * RowHeight(),
               std::max(contentWidth_, viewport()->width()), RowHeight());
}

void ListControl::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  const int row = index.row();
  const int shown = WholeRowsShown();
  int first = FirstShownRow();
  switch (hint) {
    case EnsureVisible:
      if (row < first) {
        first = row;
      } else if (row >= first + shown) {
        first = row - shown + 1;
      }
      break;
    case PositionAtTop: first = row; break;
    case PositionAtBottom: first = row - shown + 1; break;
    case PositionAtCenter: first = row - shown / 2; break;
  }
  verticalScrollBar()->setValue(first);
}

QModelIndex ListControl::indexAt(const QPoint& point) const {
  const int row = RowAt(point.y());
  return row >= 0 && row < RowCount() ? model_->index(row) : QModelIndex();
}

QModelIndex ListControl::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  const int rows = RowCount();
  const QModelIndex current = currentIndex();
  if (rows == 0) return current;
  const int row = current.isValid() ? current.row() : -1;
  int target = row;
  switch (action) {
    case MoveUp:
    case MovePrevious: target = row - 1; break;
    case MoveDown:
    case MoveNext: target = row + 1; break;
    case MovePageUp: target = row - WholeRowsShown(); break;
    case MovePageDown: target = row + WholeRowsShown(); break;
    case MoveHome: target = 0; break;
    case MoveEnd: target = rows - 1; break;
    case MoveLeft:
    case MoveRight: return current;
  }
  return model_->index(std::clamp(target, 0, rows - 1));
}

int ListControl::horizontalOffset() const {
  return horizontalScrollBar()->value();
}

int ListControl::verticalOffset() const {
  return FirstShownRow() * RowHeight();
}

bool ListControl::isIndexHidden(const QModelIndex&) const {
  return false;
}

void ListControl::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  const int rows = RowCount();
  if (rows == 0) return;
  const QRect area = rect.normalized();
  const int top = std::clamp(RowAt(std::max(area.top(), 0)), 0, rows - 1);
  const int bottom = std::clamp(RowAt(std::max(area.bottom(), 0)), 0, rows - 1);
  selectionModel()->select(QItemSelection(model_->index(top), model_->index(bottom)), command);
}

QRegion ListControl::visualRegionForSelection(const QItemSelection& selection) const {
  const int first = FirstShownRow();
  const int last = first + WholeRowsShown();
  QRegion region;
  for (const QItemSelectionRange& range : selection) {
    const int top = std::max(range.top(), first);
    const int bottom = std::min(range.bottom(), last);
    if (top > bottom) continue;
    region += visualRect(model_->index(top)).united(visualRect(model_->index(bottom)));
  }
  return region;
}

void ListControl::updateGeometries() {
  const int shown = WholeRowsShown();
  verticalScrollBar()->setRange(0, std::max(RowCount() - shown, 0));
  verticalScrollBar()->setPageStep(shown);
  verticalScrollBar()->setSingleStep(1);
  const int width = viewport()->width();
  horizontalScrollBar()->setRange(0, std::max(contentWidth_ - width, 0));
  horizontalScrollBar()->setPageStep(width);
  horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
  QAbstractItemView::updateGeometries();
}

void ListControl::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  QStyleOptionViewItem rowOption;
  initViewItemOption(&rowOption);
  const QModelIndex current = currentIndex();
  const int first = FirstShownRow();
  const int end = std::min(RowCount(), first + WholeRowsShown() + 1);
  for (int row = first; row < end; ++row) {
    const QModelIndex index = model_->index(row);
    QStyleOptionViewItem option = rowOption;
    option.rect = visualRect(index);
    if (selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
    if (index == current && hasFocus()) option.state |= QStyle::State_HasFocus;
    itemDelegate()->paint(&painter, option, index);
  }
}

int ListControl::RowHeight() const {
  return fontMetrics().height() + 2 * kRowPadding;
}

int ListControl::FirstShownRow() const {
  return verticalScrollBar()->value();
}

int ListControl::WholeRowsShown() const {
  return std::max(viewport()->height() / RowHeight(), 1);
}

int ListControl::RowAt(int y) const {
  return y < 0 ? -1 : FirstShownRow() + y / RowHeight();
}

int ListControl::TextWidth(std::string_view line) const {
  // The item delegate leaves this margin on both sides of the text.
  const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
  return fontMetrics().horizontalAdvance(ToQString(line)) + 2 * margin;
}

}  // namespace pellark
