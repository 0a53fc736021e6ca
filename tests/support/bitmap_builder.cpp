#include "tests/support/bitmap_builder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/support/temp_folder.h"

namespace quorvel::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint32_t v) {  // little-endian
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// Rows (top to bottom) stored bottom to top, each padded with zeros to a multiple of 4 bytes.
template <typename Pixel, typename Store>
BitmapFields Classic(const std::vector<std::vector<Pixel>>& rows, std::uint16_t bitCount,
                     Store store) {
    BitmapFields f;
    f.width = rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size());
    f.height = static_cast<std::int32_t>(rows.size());
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
    const auto size = static_cast<std::uint32_t>(f.pixels.size());
    const auto offset = static_cast<std::uint32_t>(54 + 4 * f.masks.size() + f.palette.size());
    Bytes out = {static_cast<std::uint8_t>(f.type[0]), static_cast<std::uint8_t>(f.type[1])};
    for (std::uint32_t v :
         {f.fileSize.value_or(offset + size), 0u, f.pixelOffset.value_or(offset), 40u,
          static_cast<std::uint32_t>(f.width), static_cast<std::uint32_t>(f.height),
          1u | f.bitCount << 16u, f.compression, size, 2835u, 2835u, f.coloursUsed, 0u}) {
        Put(out, v);
    }
    for (std::uint32_t mask : f.masks) {
        Put(out, mask);
    }
    out.insert(out.end(), f.palette.begin(), f.palette.end());
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

IndexedImage PatternImage(std::uint32_t width, std::uint32_t height) {
    IndexedImage image{width, height, std::vector<std::uint8_t>(std::size_t{width} * height)};
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint8_t>(11 + (i % width + i / width) % 231);
    }
    return image;
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
