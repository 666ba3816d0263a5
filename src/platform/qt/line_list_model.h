#pragma once

#include <QAbstractListModel>
#include <string>
#include <string_view>

#include "platform/line_store.h"

namespace pellark {

// The lines of a list control. Appending only stores the line; views learn about new lines
// when PublishNewLines announces all of them in one batch, since a signal per line would cost
// far more than the line itself. Once the store has dropped lines, the first row says how many.
class LineListModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  // Past the store's capacity the oldest lines are dropped.
  void Append(std::string_view line) { lines_.Append(line); }
  // Announces the lines dropped and added since the last call; returns the row of the first
  // line added (the row count when none was).
  int PublishNewLines();
  // Removes the newest line, telling the views when they were shown it.
  void RemoveLast();
  std::string_view Line(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  // The row of the dropped lines' count, once there is one.
  int NoticeRows() const { return publishedDropped_ > 0 ? 1 : 0; }
  // Removes the published rows of lines the store dropped, and shows their count.
  void PublishDroppedLines();

  LineStore lines_;
  int publishedLines_ = 0;
  std::size_t publishedDropped_ = 0;
  std::string notice_;
};

}  // namespace pellark
