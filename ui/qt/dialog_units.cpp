#include "ui/qt/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>
#include <algorithm>

namespace quorvel {

namespace {

// units × base / divisor, rounded to nearest (half away from zero; units are never negative).
int Scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    return static_cast<int>((2 * product + divisor) / (2 * divisor));
}

}  // namespace

BaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int averageWidth = (letters / 26 + 1) / 2;
    return {std::max(averageWidth, kLeastBaseUnits.x),
            std::max(metrics.height(), kLeastBaseUnits.y)};
}

int DialogUnitsToPixelsX(int units, BaseUnits base) {
    return Scale(units, base.x, 4);
}

int DialogUnitsToPixelsY(int units, BaseUnits base) {
    return Scale(units, base.y, 8);
}

QRect DialogRect(int left, int top, int width, int height, BaseUnits base) {
    // Each edge is converted on its own, so controls that meet in dialog units meet in pixels.
    const int x0 = DialogUnitsToPixelsX(left, base);
    const int y0 = DialogUnitsToPixelsY(top, base);
    const int x1 = DialogUnitsToPixelsX(left + width, base);
    const int y1 = DialogUnitsToPixelsY(top + height, base);
    return {x0, y0, x1 - x0, y1 - y0};
}

QSize DialogSize(int width, int height, BaseUnits base) {
    return {DialogUnitsToPixelsX(width, base), DialogUnitsToPixelsY(height, base)};
}

QFont DialogFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

}  // namespace quorvel
