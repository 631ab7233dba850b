#pragma once

#include <QString>
#include <filesystem>

// File names between Qt (file dialogs, QFile) and the core's std::filesystem::path, through
// the one conversion that orivel-cli uses for its arguments too (files/FilePaths.h): UTF-16
// names on Windows, the name's bytes elsewhere.
namespace orivel {

std::filesystem::path filePath(const QString& name);
QString fileNameText(const std::filesystem::path& path);

}  // namespace orivel
