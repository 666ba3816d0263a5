#include "platform/qt/line_list_model.h"

#include "platform/qt/qt_text.h"

namespace pellark {

void LineListModel::PublishNewLines() {
  const auto storedRows = static_cast<int>(lines_.Size());
  if (storedRows == publishedRows_) return;
  beginInsertRows(QModelIndex(), publishedRows_, storedRows - 1);
  publishedRows_ = storedRows;
  endInsertRows();
}

void LineListModel::RemoveLast() {
  const auto storedRows = static_cast<int>(lines_.Size());
  if (storedRows == 0) return;
  if (storedRows > publishedRows_) {
    lines_.RemoveLast();
    return;
  }
  beginRemoveRows(QModelIndex(), storedRows - 1, storedRows - 1);
  lines_.RemoveLast();
  publishedRows_ = storedRows - 1;
  endRemoveRows();
}

int LineListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : publishedRows_;
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  return ToQString(Line(index.row()));
}

}  // namespace pellark
