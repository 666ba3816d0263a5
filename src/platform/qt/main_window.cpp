#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
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
