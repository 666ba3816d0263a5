#include "platform/qt/memory_view.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace pellark {
namespace {

constexpr int kMargin = 4;
// Translucent, so that the text stays readable in light and dark colour schemes alike.
const QColor kPcMark(255, 190, 0, 120);
const QColor kIMark(0, 150, 255, 90);
const QColor kBreakpointMark(230, 0, 0, 110);
const QColor kNextFetchFrame(230, 120, 0);
// The characters of a row: the address and sixteen cells of a space and two characters.
constexpr int kRowCharacters = MemoryCellColumn(16) - 1;

}  // namespace

MemoryView::MemoryView(const InspectorSnapshot& snapshot,
                       std::function<void(int address)> toggleBreakpoint, QWidget* parent)
    : QAbstractScrollArea(parent),
      snapshot_(snapshot),
      toggleBreakpoint_(std::move(toggleBreakpoint)) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  verticalScrollBar()->setSingleStep(1);
  UpdateScrollBars(MemoryRows(snapshot_));
}

void MemoryView::PrepareFor(const InspectorSnapshot& next) {
  if (next.CellCount() != snapshot_.CellCount()) {
    // A memory of another size: every row, and the scroll range, change.
    UpdateScrollBars(MemoryRows(next));
    return;
  }
  for (int row = 0; row < MemoryRows(snapshot_); ++row) {
    const auto first = snapshot_.memory.begin() + 16 * row;
    const auto end = snapshot_.memory.begin() + std::min(16 * row + 16, snapshot_.CellCount());
    if (!std::equal(first, end, next.memory.begin() + 16 * row)) UpdateRowOf(16 * row);
  }
  for (const InspectorSnapshot* shown : {&snapshot_, &next}) {
    for (const int address :
         {shown->pc, shown->pc + 1, shown->i, shown->nextFetch, shown->nextFetch + 1}) {
      UpdateRowOf(address);
    }
  }
  if (next.breakpoints != snapshot_.breakpoints) {
    for (const std::int32_t address : snapshot_.breakpoints) UpdateRowOf(address);
    for (const std::int32_t address : next.breakpoints) UpdateRowOf(address);
  }
}

void MemoryView::ShowAtTop(int address) {
  verticalScrollBar()->setValue(address / 16);
}

void MemoryView::KeepInSight(int address) {
  const int row = address / 16;
  const int first = verticalScrollBar()->value();
  if (row >= first && row < first + RowsShown()) return;
  verticalScrollBar()->setValue(row - RowsShown() / 4);
}

int MemoryView::AddressAt(QPoint point) const {
  if (point.y() < 0 || point.x() < TextLeft()) return -1;
  // A cell takes the space before its text and its two characters.
  const int column = (point.x() - TextLeft()) / CharacterWidth() - (MemoryCellColumn(0) - 1);
  if (column < 0 || column >= 3 * 16) return -1;
  const int row = verticalScrollBar()->value() + point.y() / RowHeight();
  const int address = 16 * row + column / 3;
  return address < snapshot_.CellCount() ? address : -1;
}

QSize MemoryView::sizeHint() const {
  const int width = kRowCharacters * CharacterWidth() + 2 * kMargin +
                    verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
  return {width, 32 * RowHeight() + 2 * frameWidth()};
}

void MemoryView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const auto mark = [&](int address, const QColor& colour) {
    if (address >= 0 && address < snapshot_.CellCount()) {
      painter.fillRect(CellArea(address), colour);
    }
  };
  for (const std::int32_t address : snapshot_.breakpoints) mark(address, kBreakpointMark);
  mark(snapshot_.i, kIMark);
  mark(snapshot_.pc, kPcMark);
  mark(snapshot_.pc + 1, kPcMark);

  painter.setPen(palette().color(QPalette::Text));
  // Only the rows asked for are drawn again.
  const int shownFirst = verticalScrollBar()->value();
  const int first = shownFirst + std::max(event->rect().top(), 0) / RowHeight();
  const int end =
      std::min(MemoryRows(snapshot_), shownFirst + event->rect().bottom() / RowHeight() + 1);
  const int ascent = fontMetrics().ascent();
  for (int row = first; row < end; ++row) {
    painter.drawText(TextLeft(), (row - shownFirst) * RowHeight() + ascent,
                     ToQString(MemoryRowText(snapshot_, row)));
  }

  const int next = snapshot_.nextFetch;
  if (next >= 0 && next < snapshot_.CellCount()) {
    painter.setPen(kNextFetchFrame);
    QRect frame = CellArea(next);
    // The instruction's second cell, when it is on the same row.
    if (next % 16 != 15 && next + 1 < snapshot_.CellCount()) frame |= CellArea(next + 1);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
  }
}

void MemoryView::mouseDoubleClickEvent(QMouseEvent* event) {
  const int address = AddressAt(event->position().toPoint());
  if (address >= 0) toggleBreakpoint_(address);
}

void MemoryView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars(MemoryRows(snapshot_));
}

void MemoryView::UpdateScrollBars(int rows) {
  const int shown = RowsShown();
  verticalScrollBar()->setRange(0, std::max(rows - shown, 0));
  verticalScrollBar()->setPageStep(shown);
  const int width = kRowCharacters * CharacterWidth() + 2 * kMargin;
  horizontalScrollBar()->setRange(0, std::max(width - viewport()->width(), 0));
  horizontalScrollBar()->setPageStep(viewport()->width());
  viewport()->update();
}

int MemoryView::RowHeight() const {
  return fontMetrics().height();
}

int MemoryView::CharacterWidth() const {
  return std::max(fontMetrics().horizontalAdvance(QLatin1Char('0')), 1);
}

int MemoryView::RowsShown() const {
  return std::max(viewport()->height() / RowHeight(), 1);
}

int MemoryView::TextLeft() const {
  return kMargin - horizontalScrollBar()->value();
}

void MemoryView::UpdateRowOf(int address) {
  if (address < 0 || address >= snapshot_.CellCount()) return;
  const int row = address / 16 - verticalScrollBar()->value();
  if (row >= 0 && row <= RowsShown()) {
    viewport()->update(0, row * RowHeight(), viewport()->width(), RowHeight());
  }
}

QRect MemoryView::CellArea(int address) const {
  const int row = address / 16 - verticalScrollBar()->value();
  const int left = TextLeft() + MemoryCellColumn(address % 16) * CharacterWidth();
  const int half = CharacterWidth() / 2;
  return {left - half, row * RowHeight(), 2 * CharacterWidth() + 2 * half, RowHeight()};
}

}  // namespace pellark
