#pragma once
// Dialog units: the font-relative coordinates the window layouts are written in. One
// horizontal unit is a quarter of the font's average character width, one vertical unit an
// eighth of its character height, so a layout grows with the font and its texts keep fitting.

#include <QFont>
#include <QRect>
#include <QSize>

namespace quorvel {

struct BaseUnits {
    int x = 0;  // average character width in pixels
    int y = 0;  // character height in pixels
};

// Layouts were designed for an 8-point font of 6 × 13 pixel base units; a smaller font would
// shrink them until controls overlap the fixed-size preview, so these are the least allowed.
inline constexpr BaseUnits kLeastBaseUnits{6, 13};

// Average width of the 52 Latin letters (rounded to nearest) and the line height of `font`,
// raised to kLeastBaseUnits where smaller.
BaseUnits BaseUnitsOf(const QFont& font);

// Scales a dialog-unit value to pixels, rounding to nearest.
int DialogUnitsToPixelsX(int units, BaseUnits base);
int DialogUnitsToPixelsY(int units, BaseUnits base);

// A rectangle given in dialog units (left, top, width, height), in pixels.
QRect DialogRect(int left, int top, int width, int height, BaseUnits base);
QSize DialogSize(int width, int height, BaseUnits base);

// The font the windows use: the platform's usual family at 8 points.
QFont DialogFont();

}  // namespace quorvel
