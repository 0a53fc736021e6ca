#include "ui/qt/file_choice.h"

#include <QFileInfo>

namespace quorvel {

namespace {

const QString kAllFiles = QStringLiteral("All files (*.*)");

struct Filter {
    QString description;
    QString extension;
};

// Each kind's own filters, in the order the dialogs list them, before "All files".
QList<Filter> FiltersOf(FileKind kind) {
    if (kind == FileKind::Sprite) {
        return {{QStringLiteral("Creatures Sprite (*.SPR)"), QStringLiteral("spr")}};
    }
    if (kind == FileKind::Palette) {
        return {{QStringLiteral("GIMP Palette (*.GPL)"), QStringLiteral("gpl")},
                {QStringLiteral("Photoshop Colour Table (*.ACT)"), QStringLiteral("act")},
                {QStringLiteral("JASC Palette (*.PAL)"), QStringLiteral("pal")}};
    }
    return {{QStringLiteral("Windows Bitmap (*.BMP)"), QStringLiteral("bmp")},
            {QStringLiteral("PNG Image (*.PNG)"), QStringLiteral("png")}};
}

// "*.[bB][mM][pP]": the extension in either case, whatever the dialog's own case rules.
QString AnyCasePattern(const QString& extension) {
    QString pattern = QStringLiteral("*.");
    for (const QChar c : extension) {
        pattern += u'[' + c.toLower() + c.toUpper() + u']';
    }
    return pattern;
}

bool AnyoneMayWrite(const QFileInfo& info) {
    return (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) != 0;
}

}  // namespace

QString InitialFileName(FileKind kind) {
    return QStringLiteral("*.") + FiltersOf(kind).constFirst().extension;
}

QStringList NameFilters(FileKind kind) {
    QStringList filters;
    for (const Filter& filter : FiltersOf(kind)) {
        filters.push_back(filter.description + QStringLiteral(" (") +
                          AnyCasePattern(filter.extension) + u')');
    }
    return filters << kAllFiles + QStringLiteral(" (*)");
}

QString WithChosenExtension(FileKind kind, const QString& path, qsizetype filter) {
    const QList<Filter> filters = FiltersOf(kind);
    if (kind != FileKind::Palette || filter < 0 || filter >= filters.size() ||
        !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    return path + u'.' + filters[filter].extension;
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
