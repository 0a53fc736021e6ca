// Opens the main window as a user would have it after a little work: a true-colour picture
// loaded with diffusion dithering and added to the sprite set a few times. scripts/screenshot.sh
// photographs it for the README. Everything is put there through the window's own commands.

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/converter_app.h"
#include "ui/main_dialog.h"

namespace {

// A small evening scene in full colour, for the window to reduce to the game palette.
QImage Picture() {
    QImage picture(180, 140, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 140);
    sky.setColorAt(0.0, QColor(30, 60, 140));
    sky.setColorAt(0.7, QColor(250, 170, 90));
    painter.fillRect(picture.rect(), sky);
    QRadialGradient sun(QPointF(130, 70), 30);
    sun.setColorAt(0.0, QColor(255, 250, 200));
    sun.setColorAt(1.0, QColor(250, 180, 60, 0));
    painter.fillRect(picture.rect(), sun);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(50, 110, 60));
    painter.drawEllipse(QRectF(-60, 95, 200, 90));
    painter.setBrush(QColor(80, 150, 70));
    painter.drawEllipse(QRectF(70, 105, 190, 80));
    painter.setBrush(QColor(240, 200, 90));
    painter.drawEllipse(QRectF(38, 62, 34, 44));
    painter.setBrush(QColor(200, 80, 40));
    painter.drawEllipse(QRectF(48, 74, 6, 6));
    painter.drawEllipse(QRectF(58, 88, 5, 5));
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    quorvel::ConverterApp app(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("evening.bmp"));
    if (!folder.isValid() || !Picture().save(path, "BMP")) {
        return 1;
    }

    quorvel::MainDialog window;
    window.findChild<QRadioButton*>(QStringLiteral("diffusionDither"))->setChecked(true);
    window.OpenDroppedFile(path);  // as "Load" with this file chosen
    auto* add = window.findChild<QPushButton*>(QStringLiteral("addSprite"));
    for (int i = 0; i < 3; ++i) {
        add->click();
    }
    window.SelectLine(1);
    // Once the window is up and painted, tell the screenshot script which window to take.
    QTimer::singleShot(500, &window, [&window] {
        std::printf("%llu\n", static_cast<unsigned long long>(window.winId()));
        std::fflush(stdout);
    });
    window.exec();
    return 0;
}
