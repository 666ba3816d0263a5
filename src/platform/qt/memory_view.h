#pragma once

#include <QAbstractScrollArea>
#include <functional>

#include "platform/inspector_snapshot.h"

namespace pellark {

// The machine's memory as the machine holds it: sixteen text cells to a row, in a fixed-pitch
// font, with PC and PC + 1, I and the breakpoints marked and the next fetch framed.
// Double-clicking a cell asks for a breakpoint there.
class MemoryView : public QAbstractScrollArea {
 public:
  MemoryView(const InspectorSnapshot& snapshot, std::function<void(int address)> toggleBreakpoint,
             QWidget* parent);

  // Before the snapshot shown becomes next: marks for repainting the rows whose cells or marks
  // differ, so that a running machine costs a few rows a frame rather than the whole view.
  void PrepareFor(const InspectorSnapshot& next);

  // Scrolls so that the row of address is at the top, as far as the rows go.
  void ShowAtTop(int address);
  // Scrolls as little as needed for the row of address to be in sight, with some rows above.
  void KeepInSight(int address);
  // The address of the cell at a point of the viewport; -1 for none.
  int AddressAt(QPoint point) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateScrollBars(int rows);
  int RowHeight() const;
  int CharacterWidth() const;
  int RowsShown() const;
  int TextLeft() const;
  void UpdateRowOf(int address);
  // The area of a cell's text in the viewport, a little wider on both sides.
  QRect CellArea(int address) const;

  const InspectorSnapshot& snapshot_;
  std::function<void(int address)> toggleBreakpoint_;
};

}  // namespace pellark
