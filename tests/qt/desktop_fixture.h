#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QMenuBar>
#include <QString>
#include <QWidget>
#include <chrono>
#include <functional>
#include <vector>

#include "platform/qt/qt_window_system.h"

namespace pellark {

// The main window as the program sets it up: at 130,130, titled "Pellark", with the program's
// menu tree and function keys and an area of 128 × 64 below the menu bar.
class DesktopTest : public testing::Test {
 public:
  static void UseDesktop(QtDesktop& desktop) { desktop_ = &desktop; }

 protected:
  void SetUp() override;
  void TearDown() override;

  static QtDesktop& Desktop() { return *desktop_; }
  static QWidget& PictureArea();
  static QWidget& Window() { return *PictureArea().window(); }
  static QMenuBar& MenuBar();
  // The list control, or null when there is none.
  static QAbstractItemView* List();
  // The menu action showing that label, wherever it is in the tree; null when there is none.
  static QAction* FindAction(const QString& label);

  // How long a test waits for an event or a picture: far beyond what a healthy run takes, even
  // on a busy machine or in a sanitizer build.
  static constexpr std::chrono::seconds kEventLimit{60};

  // Polls until an event arrives; an event of kind None when none came in time.
  static WindowEvent NextEvent(std::chrono::milliseconds timeout = kEventLimit);
  // Polls events until done() holds, within kEventLimit; what done() says last.
  static bool PollUntil(const std::function<bool()>& done);
  // Everything the poll delivers in that time.
  static std::vector<WindowEvent> EventsWithin(std::chrono::milliseconds time);

 private:
  static QtDesktop* desktop_;
};

bool operator==(const WindowEvent& left, const WindowEvent& right);
void PrintTo(const WindowEvent& event, std::ostream* out);

inline WindowEvent MenuSelection(int id) {
  return {WindowEvent::Kind::MenuSelection, id};
}

}  // namespace pellark
