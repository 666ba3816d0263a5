#include "platform/qt/state_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <algorithm>

namespace pellark {
namespace {

constexpr int kMargin = 4;
// Wide enough for the longest line of the state.
constexpr int kColumns = 50;

}  // namespace

StateView::StateView(QWidget* parent) : QWidget(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setFocusPolicy(Qt::StrongFocus);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void StateView::ShowLines(const QStringList& lines) {
  if (lines.size() != lines_.size()) {
    lines_ = lines;
    shownLines_.clear();
    for (const QString& line : lines) shownLines_.emplace_back(line);
    updateGeometry();
    update();
    return;
  }
  for (qsizetype line = 0; line < lines.size(); ++line) {
    if (lines[line] == lines_[line]) continue;
    lines_[line] = lines[line];
    shownLines_[static_cast<std::size_t>(line)].setText(lines[line]);
    update(0, kMargin + static_cast<int>(line) * LineHeight(), width(), LineHeight());
  }
}

QSize StateView::sizeHint() const {
  return {kColumns * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 2 * kMargin,
          static_cast<int>(lines_.size()) * LineHeight() + 2 * kMargin};
}

void StateView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const int first = std::max((event->rect().top() - kMargin) / LineHeight(), 0);
  const int end = std::min(static_cast<int>(shownLines_.size()),
                           (event->rect().bottom() - kMargin) / LineHeight() + 1);
  for (int line = first; line < end; ++line) {
    painter.drawStaticText(kMargin, kMargin + line * LineHeight(),
                           shownLines_[static_cast<std::size_t>(line)]);
  }
}

void StateView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    Copy();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void StateView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("Copy"), this, [this] { Copy(); });
  menu.exec(event->globalPos());
}

void StateView::Copy() const {
  QGuiApplication::clipboard()->setText(Text());
}

int StateView::LineHeight() const {
  return fontMetrics().lineSpacing();
}

}  // namespace pellark
