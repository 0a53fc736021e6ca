#include "ui/qt/preview_image.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "core/game_palette.h"

namespace quorvel {

QRect PreviewRect() {
    return {kPreviewOrigin, QSize(kPreviewSide, kPreviewSide)};
}

const QVector<QRgb>& GamePaletteColourTable() {
    static const QVector<QRgb> table = [] {
        QVector<QRgb> colours;
        colours.reserve(static_cast<qsizetype>(kPaletteEntries));
        for (const std::uint32_t colour : kGameColours) {
            colours.push_back(0xFF000000u | colour);
        }
        return colours;
    }();
    return table;
}

QImage ComposePreview(const IndexedImage& image) {
    QImage frame(kPreviewSide, kPreviewSide, QImage::Format_Indexed8);
    frame.setColorTable(GamePaletteColourTable());
    frame.fill(0);  // entry 0 is black

    if (image.width == 0 || image.height == 0) {
        return frame;
    }
    // The frame's rows are padded to 32 bits and the image's are not, so copy row by row;
    // an image whose buffer is shorter than its size claims shows only its complete rows.
    const std::size_t width = image.width;
    const std::size_t rowsPresent = image.pixels.size() / width;
    const std::size_t rows = std::min<std::size_t>({image.height, rowsPresent, kPreviewSide});
    const std::size_t columns = std::min<std::size_t>(width, kPreviewSide);
    for (std::size_t y = 0; y < rows; ++y) {
        std::memcpy(frame.scanLine(static_cast<int>(y)), image.pixels.data() + y * width, columns);
    }
    return frame;
}

void PaintPreview(QPainter& painter, const IndexedImage& image) {
    painter.drawImage(kPreviewOrigin, ComposePreview(image));
}

}  // namespace quorvel
