#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "desktop_fixture.h"
#include "platform/qt/qt_text.h"

namespace pellark {
namespace {

using DropTest = DesktopTest;

// Drags the items onto the widget and drops them, as the toolkit delivers a drop from a file
// manager; false when the window refused the drag.
bool DropOn(QWidget& target, const QList<QUrl>& items) {
  QMimeData data;
  data.setUrls(items);
  const QPoint position = target.rect().center();
  QDragEnterEvent enter(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &drop);
  return drop.isAccepted();
}

TEST_F(DropTest, TheFirstFileDroppedOnAnyPartOfTheWindowIsReported) {
  const QTemporaryDir folder;
  const QString first = folder.filePath(QStringLiteral("spiel ä.ch8"));
  const QString second = folder.filePath(QStringLiteral("second.ch8"));
  const QUrl notAFile(QStringLiteral("data:text/plain,x"));
  Desktop().CreateListBox(0, 66, 128, 64);
  for (QWidget* target : {static_cast<QWidget*>(&PictureArea()), static_cast<QWidget*>(List()),
                          static_cast<QWidget*>(&MenuBar())}) {
    ASSERT_TRUE(
        DropOn(*target, {notAFile, QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}))
        << target->metaObject()->className();
    EXPECT_EQ(NextEvent(),
              (WindowEvent{.kind = WindowEvent::Kind::FileDrop, .path = ToFileName(first)}));
    EXPECT_EQ(Desktop().PollWindowEvent(), WindowEvent{});
  }
}

TEST_F(DropTest, ADragWithoutALocalFileIsRefused) {
  EXPECT_FALSE(DropOn(PictureArea(), {QUrl(QStringLiteral("data:text/plain,x"))}));
  EXPECT_FALSE(DropOn(PictureArea(), {}));
  EXPECT_TRUE(EventsWithin(std::chrono::milliseconds(20)).empty());
}

}  // namespace
}  // namespace pellark
