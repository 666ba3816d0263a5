#include "platform/qt/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace pellark {

void ShowMessage(QWidget* owner, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::string AskFileName(QWidget* owner, FileDialogKind kind, const QString& title,
                        const QString& folder, std::string_view pattern) {
  QFileDialog dialog(owner, title, folder);
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
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
