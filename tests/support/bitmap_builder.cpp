#include "tests/support/bitmap_builder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/game_palette.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint32_t v, int size) {  // little-endian
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// Rows (top to bottom) stored bottom to top, each padded with zeros to a multiple of 4 bytes.
template <typename Pixel, typename Store>
BitmapFields Classic(const std::vector<std::vector<Pixel>>& rows, std::uint16_t bitCount,
                     Store store) {
    BitmapFields f;
    f.height = static_cast<std::int32_t>(rows.size());
    f.width = rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size());
    f.bitCount = bitCount;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (const Pixel& p : *row) {
            store(f.pixels, p);
        }
        f.pixels.resize((f.pixels.size() + 3) / 4 * 4, 0);
    }
    return f;
}

}  // namespace

Bytes BuildBitmap(const BitmapFields& f) {
    Bytes info;  // everything between the file header and the pixel data
    Put(info, f.infoSize, 4);
    const int side = f.infoSize == 12 ? 2 : 4;
    Put(info, static_cast<std::uint32_t>(f.width), side);
    Put(info, static_cast<std::uint32_t>(f.height), side);
    Put(info, f.planes, 2);
    Put(info, f.bitCount, 2);
    if (f.infoSize != 12) {
        const auto imageSize = static_cast<std::uint32_t>(f.pixels.size());
        for (std::uint32_t v : {f.compression, imageSize, 2835u, 2835u, f.coloursUsed, 0u}) {
            Put(info, v, 4);
        }
        for (std::uint32_t mask : f.masks) {
            Put(info, mask, 4);
        }
        if (f.infoSize > 40) {
            info.resize(f.infoSize, 0);  // the masks go inside the longer header
        }
    }
    info.insert(info.end(), f.palette.begin(), f.palette.end());
    info.insert(info.end(), f.gap.begin(), f.gap.end());
    const auto offset = static_cast<std::uint32_t>(14 + info.size());
    Bytes out = {static_cast<std::uint8_t>(f.type[0]), static_cast<std::uint8_t>(f.type[1])};
    Put(out, f.fileSize.value_or(offset + static_cast<std::uint32_t>(f.pixels.size())), 4);
    Put(out, 0, 4);
    Put(out, f.pixelOffset.value_or(offset), 4);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), f.pixels.begin(), f.pixels.end());
    return out;
}

BitmapFields TrueColourBitmap(const std::vector<std::vector<Bgr>>& rows) {
    return Classic(rows, 24, [](Bytes& out, Bgr p) {
        out.insert(out.end(), {p.blue, p.green, p.red});
    });
}

BitmapFields PalettedBitmap(const std::vector<std::vector<std::uint8_t>>& rows,
                            const Bytes& palette) {
    BitmapFields f = Classic(rows, 8, [](Bytes& out, std::uint8_t p) { out.push_back(p); });
    f.palette = palette;
    return f;
}

Bytes GamePaletteBytes() {
    return {GamePalette.begin(), GamePalette.end()};
}

Bgr GameColour(std::uint8_t index) {
    return {GamePalette[4 * index], GamePalette[4 * index + 1], GamePalette[4 * index + 2]};
}

void WriteTestFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

Bytes ReadTestFile(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quorvel::testing
