// The application object may exist only once per process, so the window system is created
// here for all tests.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QtGlobal>
#include <cstdio>
#include <string>

#include "desktop_fixture.h"
#include "platform/qt/qt_window_system.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (as CTest does at build time) needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
#ifdef PELLARK_SCALE_FACTOR
  // Stands for a high-density screen: every window pixel is that many device pixels across.
  qputenv("QT_SCALE_FACTOR", PELLARK_SCALE_FACTOR);
#endif
  // The file dialogs keep their history in settings; the tests keep theirs apart from the
  // user's, where another program may have left a folder that cannot be listed.
  QStandardPaths::setTestModeEnabled(true);
  std::string error;
  const auto desktop = pellark::CreateQtWindowSystem(argc, argv, error);
  if (desktop == nullptr) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  pellark::DesktopTest::UseDesktop(*desktop);
  return RUN_ALL_TESTS();
}
