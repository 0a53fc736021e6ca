#include "ui/working_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/file_messages.h"
#include "core/window_services.h"

namespace quorvel {

bool NamesAFile(const QString& path) {
    return !QFileInfo(path).fileName().isEmpty();
}

std::string BareFileName(const QString& path) {
    return QFile::encodeName(QFileInfo(path).fileName()).toStdString();
}

void RunInFolderOf(const QString& path, FileAction action,
                   const std::function<void(const std::string& name)>& operation) {
    const std::string name = BareFileName(path);
    if (QDir::setCurrent(QFileInfo(path).absolutePath())) {
        operation(name);
    } else {
        ShowFileError(action == FileAction::Open ? CannotOpenForRead(name)
                                                 : CannotOpenForWrite(name));
    }
}

}  // namespace quorvel
