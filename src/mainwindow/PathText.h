#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace brixel {

// File names between Qt's text and the document back end's bytes, in the file system's
// encoding, so that any name the system lists opens again.
inline std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
inline QString ShownPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace brixel
