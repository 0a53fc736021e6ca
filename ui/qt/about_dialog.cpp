#include "ui/qt/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "quorvel_version.h"
#include "ui/qt/app_resources.h"
#include "ui/qt/dialog_units.h"

namespace quorvel {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About quorvel"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    const BaseUnits base = BaseUnitsOf(font());
    setFixedSize(DialogSize(177, 146, base));

    // Layout in dialog units: left, top, width, height. The icon and the picture keep their
    // own sizes in pixels.
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(IconPixmap());
    icon->setGeometry(QRect(DialogRect(10, 5, 0, 0, base).topLeft(), QSize(32, 32)));

    auto* name = new QLabel(QStringLiteral("quorvel Version " QUORVEL_SHORT_VERSION), this);
    name->setObjectName(QStringLiteral("version"));
    name->setGeometry(DialogRect(40, 5, 119, 8, base));

    auto* purpose = new QLabel(
        QStringLiteral(
            "Converts Windows bitmaps and PNG pictures to and from Creatures sprite files."),
        this);
    purpose->setObjectName(QStringLiteral("purpose"));
    purpose->setWordWrap(true);
    purpose->setGeometry(DialogRect(40, 17, 128, 24, base));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    const QPixmap pixmap = AboutPicture();
    picture->setPixmap(pixmap);
    picture->setGeometry(QRect(DialogRect(9, 50, 0, 0, base).topLeft(), pixmap.size()));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(DialogRect(72, 130, 32, 14, base));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace quorvel
