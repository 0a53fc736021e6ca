#include "ui/working_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvel {

bool NamesAFile(const QString& path) {
    return !QFileInfo(path).fileName().isEmpty();
}

std::string BareFileName(const QString& path) {
    return QFile::encodeName(QFileInfo(path).fileName()).toStdString();
}

bool EnterFolderOf(const QString& path) {
    return QDir::setCurrent(QFileInfo(path).absolutePath());
}

}  // namespace quorvel
