#include "platform/qt/dialogs.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace pellark {
namespace {

// Icons and type names from an entry's kind and name alone. The stock provider reads the start
// of a file to guess its type, which waits forever on a file such as /proc/kmsg or a FIFO, and
// the dialog with the whole program waits with it.
class NameOnlyIconProvider final : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QStringLiteral("Folder");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("File") : suffix + QStringLiteral(" File");
  }
};

}  // namespace

void ShowMessage(QWidget* owner, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::string AskFileName(QWidget* owner, FileDialogKind kind, const QString& title,
                        const QString& folder, std::string_view pattern) {
  NameOnlyIconProvider iconProvider;
  QFileDialog dialog(owner, title, folder);
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  // Only once the dialog is Qt's own does it have the file model that takes the provider.
  dialog.setIconProvider(&iconProvider);
  dialog.setAcceptMode(kind == FileDialogKind::Open ? QFileDialog::AcceptOpen
                                                    : QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = NameFiltersOf(pattern);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? std::string() : ToFileName(chosen.first());
}

QStringList NameFiltersOf(std::string_view pattern) {
  const QStringList parts = ToQString(pattern).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    filters.append(parts[i] + QLatin1String(" (") +
                   patterns.replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')'));
  }
  return filters;
}

}  // namespace pellark
