#include "ui/qt/app_resources.h"

#include <QFile>

// Outside any namespace: the registration function it calls is a global symbol.
static void RegisterEmbeddedFiles() {
    Q_INIT_RESOURCE(quorvel);
}

namespace quorvel {

void InitResources() {
    static const bool registered = (RegisterEmbeddedFiles(), true);
    (void)registered;
}

QIcon ApplicationIcon() {
    InitResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/quorvel/icon-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/quorvel/icon-32.png"), QSize(32, 32));
    return icon;
}

QPixmap IconPixmap() {
    InitResources();
    return QPixmap(QStringLiteral(":/quorvel/icon-32.png"));
}

QPixmap AboutPicture() {
    InitResources();
    return QPixmap(QStringLiteral(":/quorvel/about.png"));
}

QString HelpText() {
    InitResources();
    QFile file(QStringLiteral(":/quorvel/help.html"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace quorvel
