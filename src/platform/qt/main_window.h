#pragma once

#include <QMenuBar>
#include <QString>
#include <QWidget>

#include "platform/qt/picture_area.h"
#include "platform/qt/window_event_queue.h"

namespace pellark {

// The one top-level window: a fixed-size frame with a title and a close box only. Its content
// is the menu bar, always exactly one line high, over the picture area. The two are placed
// here rather than by a layout, which could give a narrow window's menu bar a second line and
// squeeze the picture. A file dropped anywhere on the window is reported for the program to
// open.
class MainWindow : public QWidget {
 public:
  explicit MainWindow(WindowEventQueue& events);

  // Shows the window with its frame's top-left corner at (x, y).
  void Open(int x, int y, int contentWidth, int contentHeight, const QString& title);
  // Resizes the content, menu bar included, keeping the position; in full screen only
  // records the size to return to.
  void SetContentSize(int width, int height);
  // Covers the screen, the picture centred and the menu bar shown only while the pointer is at
  // the top edge or a menu is open; off, the window as it was, at the size last asked for.
  void SetFullScreen(bool on);
  bool IsFullScreen() const { return fullScreen_; }
  QMenuBar& MenuBar() { return *menuBar_; }
  // Replaces the menu bar by an empty one.
  QMenuBar& NewMenuBar();
  // The height of one line of the menu bar.
  int MenuHeight() const;
  PictureArea& Picture() { return *pictureArea_; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceContent();
  // In full screen, shows the menu bar when the pointer at y reaches the top edge and hides it
  // when the pointer leaves it with no menu open.
  void FollowPointer(int y);

  WindowEventQueue& events_;
  QMenuBar* menuBar_ = nullptr;
  PictureArea* pictureArea_;
  bool watchingExposure_ = false;
  bool fullScreen_ = false;
  // The content size asked for, and the frame's place before full screen.
  QSize contentSize_;
  QPoint normalPosition_;
};

}  // namespace pellark
