#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>
#include <string_view>

namespace pellark {

enum class FileDialogKind { Open, Save };

// A modal message with a single OK button; owner may be null.
void ShowMessage(QWidget* owner, const QString& title, const QString& text);

// A modal file dialog starting in folder; the full path chosen, or "" on cancel. Qt's own
// dialog is used so that it looks and behaves the same on every desktop. Neither dialog
// requires the chosen file to exist, and the save dialog neither asks before replacing a file
// nor adds an extension: the caller decides what a missing or existing file means.
std::string AskFileName(QWidget* owner, FileDialogKind kind, const QString& title,
                        const QString& folder, std::string_view pattern);

// The pattern's pairs of description and filter, joined by "|" ("Chip 8 Rom game|*.ch8"), as
// Qt name filters ("Chip 8 Rom game (*.ch8)"); ";" between several filters becomes a space.
QStringList NameFiltersOf(std::string_view pattern);

}  // namespace pellark
