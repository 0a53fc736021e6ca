#include "ui/file_choice.h"

#include <QFileInfo>

namespace quorvel {

namespace {

const QString kAllFiles = QStringLiteral("All files (*.*)");

QString Description(FileKind kind) {
    return kind == FileKind::Bitmap ? QStringLiteral("Windows Bitmap (*.BMP)")
                                    : QStringLiteral("Creatures Sprite (*.SPR)");
}

// "*.[bB][mM][pP]": the extension in either case, whatever the dialog's own case rules.
QString AnyCasePattern(const QString& extension) {
    QString pattern = QStringLiteral("*.");
    for (const QChar c : extension) {
        pattern += u'[' + c.toLower() + c.toUpper() + u']';
    }
    return pattern;
}

QString Extension(FileKind kind) {
    return kind == FileKind::Bitmap ? QStringLiteral("bmp") : QStringLiteral("spr");
}

bool AnyoneMayWrite(const QFileInfo& info) {
    return (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) != 0;
}

}  // namespace

QString InitialFileName(FileKind kind) {
    return QStringLiteral("*.") + Extension(kind);
}

QStringList NameFilters(FileKind kind) {
    return {Description(kind) + QStringLiteral(" (") + AnyCasePattern(Extension(kind)) + u')',
            kAllFiles + QStringLiteral(" (*)")};
}

QStringList FilterDescriptions(FileKind kind) {
    return {Description(kind), kAllFiles};
}

std::optional<FileKind> KindOfFileName(const QString& name) {
    const QString extension = QFileInfo(name).suffix();
    for (const FileKind kind : {FileKind::Bitmap, FileKind::Sprite}) {
        if (extension.compare(Extension(kind), Qt::CaseInsensitive) == 0) {
            return kind;
        }
    }
    return std::nullopt;
}

QString SaveTargetRefusal(const QString& path) {
    const QFileInfo target(path);
    if (target.exists() && (!target.isWritable() || !AnyoneMayWrite(target))) {
        return QStringLiteral("%1 is read-only.\nChoose another name.").arg(target.fileName());
    }
    const QFileInfo folder(target.absolutePath());
    if (!folder.isWritable() || !AnyoneMayWrite(folder)) {
        return QStringLiteral(
                   "%1 cannot be saved in %2, which is write-protected.\n"
                   "Choose another folder.")
            .arg(target.fileName(), folder.absoluteFilePath());
    }
    return {};
}

}  // namespace quorvel
