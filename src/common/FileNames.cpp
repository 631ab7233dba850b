#include "common/FileNames.h"

#include <QByteArray>

#include "files/FilePaths.h"

namespace orivel {

std::filesystem::path filePath(const QString& name) {
  const QByteArray utf8 = name.toUtf8();
  return PathFromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString fileNameText(const std::filesystem::path& path) {
  return QString::fromStdString(Utf8FromPath(path));
}

}  // namespace orivel
