#pragma once
// The preview of the current image: a fixed 200 × 200 frame near the top-left corner of the
// main window showing the image at 1:1 in the game palette, black where the image is not.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>

#include "core/indexed_image.h"

class QPainter;

namespace quorvel {

inline constexpr int kPreviewSide = 200;
inline constexpr QPoint kPreviewOrigin{8, 8};

// Where the frame lies in the window, in pixels; it does not follow the dialog-unit layout.
QRect PreviewRect();

// The game palette as a colour table for 8-bit images.
const QVector<QRgb>& GamePaletteColourTable();

// The whole frame, composed off screen: black, with the image's top-left corner at the
// frame's top-left corner and whatever lies beyond 200 × 200 cut off.
QImage ComposePreview(const IndexedImage& image);

// Draws the composed frame at kPreviewOrigin in one operation.
void PaintPreview(QPainter& painter, const IndexedImage& image);

}  // namespace quorvel
