#pragma once

#include <QStaticText>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace pellark {

// The machine's state as lines of fixed-pitch text. A running machine changes a few lines a
// frame, so only those are laid out and painted again. Ctrl+C, or Copy in its context menu,
// copies all of it.
class StateView : public QWidget {
 public:
  explicit StateView(QWidget* parent);

  void ShowLines(const QStringList& lines);
  QString Text() const { return lines_.join(QLatin1Char('\n')); }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Copy() const;
  int LineHeight() const;

  QStringList lines_;
  std::vector<QStaticText> shownLines_;
};

}  // namespace pellark
