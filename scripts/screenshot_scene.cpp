// The main window with a picture loaded by diffusion dithering and added to the sprite set a few
// times, through its own commands; prints its id for scripts/screenshot.sh once painted.

#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/qt/converter_app.h"
#include "ui/qt/main_dialog.h"

int main(int argc, char** argv) {
    quorvel::ConverterApp app(argc, argv);
    QImage picture(180, 140, QImage::Format_RGB32);
    QRadialGradient sky(QPointF(130, 70), 150);
    sky.setColorAt(0.0, QColor(255, 240, 190));
    sky.setColorAt(1.0, QColor(30, 60, 140));
    QPainter(&picture).fillRect(picture.rect(), sky);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("evening.bmp"));
    if (!folder.isValid() || !picture.save(path, "BMP")) {
        return 1;
    }
    quorvel::MainDialog window;
    window.findChild<QRadioButton*>(QStringLiteral("diffusionDither"))->setChecked(true);
    window.OpenDroppedFile(path);  // as "Load" with this file chosen
    for (int i = 0; i < 3; ++i) {
        window.findChild<QPushButton*>(QStringLiteral("addSprite"))->click();
    }
    window.SelectLine(1);
    QTimer::singleShot(500, &window, [&window] {
        std::printf("%llu\n", static_cast<unsigned long long>(window.winId()));
        std::fflush(stdout);
    });
    window.exec();
    return 0;
}
