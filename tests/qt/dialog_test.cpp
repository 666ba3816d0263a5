#include <sys/stat.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>
#include <string>

#include "desktop_fixture.h"
#include "platform/qt/dialogs.h"

namespace pellark {
namespace {

// Acts on the first modal dialog that opens while it lives. Any dialog after that one is one
// the test did not expect (such as a question before replacing a file); it is counted and
// rejected, so that the test ends instead of waiting for a user.
class ModalScript {
 public:
  explicit ModalScript(std::function<void(QWidget&)> act) : act_(std::move(act)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
    timer_.start(10);
  }

  int UnexpectedDialogs() const { return unexpectedDialogs_; }

 private:
  void Step() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (!acted_) {
      acted_ = true;
      act_(*modal);
      return;
    }
    ++unexpectedDialogs_;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  }

  std::function<void(QWidget&)> act_;
  QTimer timer_;
  bool acted_ = false;
  int unexpectedDialogs_ = 0;
};

using DialogTest = DesktopTest;

TEST_F(DialogTest, MessageBoxHasTheTitleTheTextAndOneOkButton) {
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
  ModalScript script([&](QWidget& modal) {
    auto* box = qobject_cast<QMessageBox*>(&modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    buttons = box->standardButtons();
    box->button(QMessageBox::Ok)->click();
  });
  Desktop().ShowMessageBox("Pellark", "Error: Can't read the file");
  EXPECT_EQ(title, "Pellark");
  EXPECT_EQ(text, "Error: Can't read the file");
  EXPECT_EQ(buttons, QMessageBox::Ok);
  EXPECT_EQ(script.UnexpectedDialogs(), 0);
}

TEST_F(DialogTest, FunctionKeysInADialogSelectNothing) {
  ModalScript script([](QWidget& modal) {
    QTest::keyClick(&modal, Qt::Key_F5);
    qobject_cast<QMessageBox*>(&modal)->button(QMessageBox::Ok)->click();
  });
  Desktop().ShowMessageBox("Pellark", "Pellark");
  EXPECT_TRUE(EventsWithin(std::chrono::milliseconds(20)).empty());
}

class FileDialogTest : public DesktopTest {
 protected:
  std::string PathOf(const char* name) const {
    return QDir(folder_.path()).filePath(QLatin1String(name)).toStdString();
  }
  void CreateFile(const char* name) const {
    QFile file(QString::fromStdString(PathOf(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  std::filesystem::path Folder() const { return folder_.path().toStdString(); }

  QTemporaryDir folder_;
};

// Types a file name into the dialog and accepts it, as a user would.
std::function<void(QWidget&)> Choose(const char* name) {
  return [name](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nameEdit, nullptr);
    nameEdit->setText(QLatin1String(name));
    // The file dialog's own accept, which checks the choice, is reached through QDialog.
    static_cast<QDialog*>(dialog)->accept();
  };
}

TEST_F(FileDialogTest, OpenDialogStartsInTheFolderWithTheFilter) {
  QString title;
  QString directory;
  QStringList filters;
  bool ownDialog = false;
  ModalScript script([&](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    directory = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
    dialog->reject();
  });
  const std::string chosen =
      Desktop().AskFileToOpen("Open Chip 8 rom file", Folder(), "Chip 8 Rom game|*.ch8");
  EXPECT_EQ(chosen, "");
  EXPECT_EQ(title, "Open Chip 8 rom file");
  EXPECT_EQ(directory, QDir(folder_.path()).absolutePath());
  EXPECT_EQ(filters, QStringList{"Chip 8 Rom game (*.ch8)"});
  EXPECT_TRUE(ownDialog);
}

TEST_F(FileDialogTest, OpenDialogGivesTheFullPath) {
  CreateFile("pong.ch8");
  ModalScript script(Choose("pong.ch8"));
  EXPECT_EQ(Desktop().AskFileToOpen("Open Chip 8 rom file", Folder(), "Chip 8 Rom game|*.ch8"),
            PathOf("pong.ch8"));
  EXPECT_EQ(script.UnexpectedDialogs(), 0);
}

TEST_F(FileDialogTest, OpenDialogLeavesAMissingFileToTheCaller) {
  ModalScript script(Choose("missing.ch8"));
  EXPECT_EQ(Desktop().AskFileToOpen("Open Chip 8 rom file", Folder(), "Chip 8 Rom game|*.ch8"),
            PathOf("missing.ch8"));
}

TEST_F(FileDialogTest, SaveDialogCancelGivesNothing) {
  ModalScript script([](QWidget& modal) { qobject_cast<QDialog*>(&modal)->reject(); });
  EXPECT_EQ(Desktop().AskFileToSave("Save memory program", Folder(), ""), "");
}

TEST_F(FileDialogTest, SaveDialogReplacesWithoutAsking) {
  CreateFile("memory");
  ModalScript script(Choose("memory"));
  EXPECT_EQ(Desktop().AskFileToSave("Save memory program", Folder(), ""), PathOf("memory"));
  EXPECT_EQ(script.UnexpectedDialogs(), 0);
}

TEST_F(FileDialogTest, SaveDialogAddsNoExtension) {
  ModalScript script(Choose("program"));
  EXPECT_EQ(Desktop().AskFileToSave("Save memory program", Folder(), "Chip 8 Rom game|*.ch8"),
            PathOf("program"));
}

// Guessing a type from a file's first bytes waits forever on a FIFO or on /proc/kmsg (run as
// root), freezing the program; the dialog names types from the file name only. A hang fails
// the test by its time limit.
TEST_F(FileDialogTest, ListsFoldersWithoutReadingTheFilesInThem) {
  ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0600), 0);
  QFile picture(QString::fromStdString(PathOf("picture")));
  ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
  picture.write("\x89PNG\r\n\x1a\n");
  picture.close();
  std::map<std::string, std::string> types;
  ModalScript script([&](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    dialog->setViewMode(QFileDialog::Detail);
    const QModelIndex listed = model->index(folder_.path());
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(listed) > 0; }));
    dialog->setDirectory(QStringLiteral("/proc"));
    for (const std::string& path : {PathOf("picture"), std::string("/proc/kmsg")}) {
      const QModelIndex type = model->index(QString::fromStdString(path), 2);
      types[path] = model->data(type).toString().toStdString();
    }
    dialog->reject();
  });
  Desktop().AskFileToOpen("Open Chip 8 rom file", Folder(), "");
  ASSERT_EQ(types.size(), 2u);
  for (const auto& [path, type] : types) EXPECT_EQ(type, "File") << path;
}

TEST(NameFiltersTest, PairsOfDescriptionAndFilter) {
  EXPECT_EQ(NameFiltersOf("Chip 8 Rom game|*.ch8"), QStringList{"Chip 8 Rom game (*.ch8)"});
  EXPECT_EQ(NameFiltersOf("Programs|*.ch8;*.c8|All files|*"),
            (QStringList{"Programs (*.ch8 *.c8)", "All files (*)"}));
  EXPECT_TRUE(NameFiltersOf("").isEmpty());
}

}  // namespace
}  // namespace pellark
