#pragma once

#include <QAbstractItemView>
#include <string_view>

#include "platform/qt/line_list_model.h"

namespace pellark {

// A list of text lines that stays fast with a million of them: every row has the same height,
// so adding rows, scrolling and painting cost the same whatever the number of rows (Qt's list
// and tree views lay out every row again when rows are added). Like a desktop list box it
// has a sunken frame and both scroll bars, and it never selects by itself. While it shows its
// last line it follows the new ones; scrolled up, it stays where the user is.
class ListControl : public QAbstractItemView {
 public:
  explicit ListControl(QWidget* parent);

  void AddLine(std::string_view line) { model_->Append(line); }
  void RemoveLastLine() { model_->RemoveLast(); }
  // Shows the lines added since the last call.
  void PublishNewLines();

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex& index) const override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int RowCount() const { return model_->rowCount(); }
  int RowHeight() const;
  int FirstShownRow() const;
  // Rows that fit entirely, at least one; a partly shown row at the bottom is also painted.
  int WholeRowsShown() const;
  int RowAt(int y) const;
  int TextWidth(std::string_view line) const;

  LineListModel* model_;
  int contentWidth_ = 0;
};

}  // namespace pellark
