#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace pellark {

// The system's texts are 8-bit; labels and trace lines are ASCII and messages may carry file
// names, which are UTF-8 on the desktop.
inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// File names keep the bytes the file system uses.
inline QString ToQtFileName(const std::filesystem::path& path) {
  return QFile::decodeName(path.c_str());
}

inline std::string ToFileName(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace pellark
