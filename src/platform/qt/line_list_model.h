#pragma once

#include <QAbstractListModel>
#include <string_view>

#include "platform/line_store.h"

namespace pellark {

// The lines of a list control. Appending only stores the line; views learn about new lines
// when PublishNewLines announces all of them in one batch, since a signal per line would cost
// far more than the line itself.
class LineListModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  // Lines past the store's capacity are dropped.
  void Append(std::string_view line) { lines_.Append(line); }
  void PublishNewLines();
  // Removes the last line, telling the views when they were shown it.
  void RemoveLast();
  std::string_view Line(int row) const { return lines_.Line(static_cast<std::size_t>(row)); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  LineStore lines_;
  int publishedRows_ = 0;
};

}  // namespace pellark
