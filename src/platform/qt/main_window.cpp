#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace pellark {
namespace {

constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The first local file among the dragged items, of which the program opens one; empty when
// there is none.
QString FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

MainWindow::MainWindow(WindowEventQueue& events)
    : QWidget(nullptr, kFrameFlags), events_(events), pictureArea_(new PictureArea(this)) {
  pictureArea_->setObjectName(QStringLiteral("pictureArea"));
  pictureArea_->installEventFilter(this);
  // The children take no drops, so drops on them come here.
  setAcceptDrops(true);
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
  contentSize_ = QSize(std::max(width, 0), std::max(height, 0));
  // A resolution switch in full screen resizes nothing.
  if (fullScreen_) return;
  setFixedSize(contentSize_);
  PlaceContent();
}

void MainWindow::SetFullScreen(bool on) {
  if (on == fullScreen_) return;
  fullScreen_ = on;
  pictureArea_->setMouseTracking(on);
  pictureArea_->SetCentred(on);
  if (on) {
    normalPosition_ = pos();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    menuBar_->hide();
    showFullScreen();
    // Without a window manager nobody else gives the window the screen's size.
    if (const QScreen* shownOn = screen()) setGeometry(shownOn->geometry());
  } else {
    showNormal();
    setFixedSize(contentSize_);
    move(normalPosition_);
    menuBar_->show();
  }
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = FirstLocalFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  events_.push_back({.kind = WindowEvent::Kind::FileDrop, .path = ToFileName(path)});
  // The file manager had the keyboard; the program now wants it for the keypad.
  activateWindow();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceContent();
}

void MainWindow::FollowPointer(int y) {
  if (y <= 0) {
    menuBar_->show();
    menuBar_->raise();
  } else if (menuBar_->isVisible() && y >= MenuHeight() && menuBar_->activeAction() == nullptr) {
    menuBar_->hide();
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pictureArea_ && fullScreen_ && event->type() == QEvent::MouseMove) {
    FollowPointer(
        pictureArea_->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint()).y());
  }
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
  // In full screen the menu bar, when shown, lies over the picture, which never moves.
  const int top = fullScreen_ ? 0 : menuHeight;
  pictureArea_->setGeometry(0, top, width(), std::max(height() - top, 0));
}

}  // namespace pellark
