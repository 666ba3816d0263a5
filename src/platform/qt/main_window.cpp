#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace pellark {
namespace {

constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

}  // namespace

MainWindow::MainWindow(WindowEventQueue& events)
    : QWidget(nullptr, kFrameFlags), events_(events), pictureArea_(new PictureArea(this)) {
  pictureArea_->setObjectName(QStringLiteral("pictureArea"));
  NewMenuBar();
}

void MainWindow::Open(int x, int y, int contentWidth, int contentHeight, const QString& title) {
  setWindowTitle(title);
  SetContentSize(contentWidth, contentHeight);
  move(x, y);
  show();
  if (!watchingExposure_) {
    windowHandle()->installEventFilter(this);
    watchingExposure_ = true;
  }
  if (const QScreen* shownOn = screen()) pictureArea_->SetRefreshRate(shownOn->refreshRate());
}

void MainWindow::SetContentSize(int width, int height) {
  setFixedSize(std::max(width, 0), std::max(height, 0));
  PlaceContent();
}

QMenuBar& MainWindow::NewMenuBar() {
  delete menuBar_;
  menuBar_ = new QMenuBar(this);
  // A desktop-wide menu bar outside the window would leave the reserved line empty.
  menuBar_->setNativeMenuBar(false);
  PlaceContent();
  menuBar_->show();
  return *menuBar_;
}

int MainWindow::MenuHeight() const {
  // Actions that do not fit go to the extension button, so this is one line at any width.
  return menuBar_->heightForWidth(width());
}

bool MainWindow::event(QEvent* event) {
  // The menu bar asks for this when its items or its font change its height.
  if (event->type() == QEvent::LayoutRequest) PlaceContent();
  return QWidget::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  events_.push_back({WindowEvent::Kind::CloseRequest});
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Only the window system exposes the window; our own repaints never do, so asking the
  // program to draw again cannot start a loop.
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    // One drawing serves every exposure that waits with it.
    const bool waiting = std::ranges::any_of(events_, [](const WindowEvent& queued) {
      return queued.kind == WindowEvent::Kind::RepaintRequest;
    });
    if (!waiting) events_.push_back({WindowEvent::Kind::RepaintRequest});
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::PlaceContent() {
  const int menuHeight = MenuHeight();
  menuBar_->setGeometry(0, 0, width(), menuHeight);
  pictureArea_->setGeometry(0, menuHeight, width(), std::max(height() - menuHeight, 0));
}

}  // namespace pellark
