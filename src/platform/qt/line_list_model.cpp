#include "platform/qt/line_list_model.h"

#include <algorithm>

#include "platform/qt/qt_text.h"

namespace pellark {

int LineListModel::PublishNewLines() {
  PublishDroppedLines();
  const auto storedLines = static_cast<int>(lines_.Size());
  const int firstNewRow = NoticeRows() + publishedLines_;
  if (storedLines == publishedLines_) return firstNewRow;
  beginInsertRows(QModelIndex(), firstNewRow, NoticeRows() + storedLines - 1);
  publishedLines_ = storedLines;
  endInsertRows();
  return firstNewRow;
}

void LineListModel::PublishDroppedLines() {
  const std::size_t dropped = lines_.Dropped();
  if (dropped == publishedDropped_) return;
  // The published lines are the oldest; those dropped since are the first of them.
  const int gone =
      static_cast<int>(std::min(dropped - publishedDropped_, std::size_t(publishedLines_)));
  if (gone > 0) {
    beginRemoveRows(QModelIndex(), NoticeRows(), NoticeRows() + gone - 1);
    publishedLines_ -= gone;
    endRemoveRows();
  }
  notice_ = "(";
  notice_ += std::to_string(dropped);
  notice_ += " older lines dropped)";
  if (publishedDropped_ == 0) {
    beginInsertRows(QModelIndex(), 0, 0);
    publishedDropped_ = dropped;
    endInsertRows();
    return;
  }
  publishedDropped_ = dropped;
  emit dataChanged(index(0), index(0));
}

std::string_view LineListModel::Line(int row) const {
  if (NoticeRows() == 1 && row == 0) return notice_;
  return lines_.Line(static_cast<std::size_t>(row - NoticeRows()));
}

void LineListModel::RemoveLast() {
  const auto storedLines = static_cast<int>(lines_.Size());
  if (storedLines == 0) return;
  if (storedLines > publishedLines_) {
    lines_.RemoveLast();
    return;
  }
  const int row = NoticeRows() + storedLines - 1;
  beginRemoveRows(QModelIndex(), row, row);
  lines_.RemoveLast();
  publishedLines_ = storedLines - 1;
  endRemoveRows();
}

int LineListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : NoticeRows() + publishedLines_;
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  return ToQString(Line(index.row()));
}

}  // namespace pellark
