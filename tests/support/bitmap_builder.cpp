#include "tests/support/bitmap_builder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/game_palette.h"

namespace quorvel::testing {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutAt32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

}  // namespace

std::vector<std::uint8_t> BuildBitmap(const BitmapFields& f) {
    std::vector<std::uint8_t> out;
    out.push_back(static_cast<std::uint8_t>(f.type[0]));
    out.push_back(static_cast<std::uint8_t>(f.type[1]));
    Put32(out, 0);  // file size, filled in below
    Put32(out, 0);  // reserved
    Put32(out, 0);  // pixel offset, filled in below

    const std::size_t infoStart = out.size();
    Put32(out, f.infoSize);
    if (f.infoSize == 12) {
        Put16(out, static_cast<std::uint32_t>(f.width));
        Put16(out, static_cast<std::uint32_t>(f.height));
        Put16(out, f.planes);
        Put16(out, f.bitCount);
    } else {
        Put32(out, static_cast<std::uint32_t>(f.width));
        Put32(out, static_cast<std::uint32_t>(f.height));
        Put16(out, f.planes);
        Put16(out, f.bitCount);
        Put32(out, f.compression);
        Put32(out, static_cast<std::uint32_t>(f.pixels.size()));
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, f.coloursUsed);
        Put32(out, 0);
        const bool masksInside = f.infoSize > 40;
        for (std::size_t i = 0;
             masksInside && i < f.masks.size() && out.size() < infoStart + f.infoSize; ++i) {
            Put32(out, f.masks[i]);
        }
        out.resize(infoStart + f.infoSize, 0);
        if (!masksInside) {
            for (std::uint32_t mask : f.masks) {
                Put32(out, mask);
            }
        }
    }
    out.insert(out.end(), f.palette.begin(), f.palette.end());
    out.insert(out.end(), f.gap.begin(), f.gap.end());
    const auto offset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), f.pixels.begin(), f.pixels.end());
    PutAt32(out, 2, f.fileSize.value_or(static_cast<std::uint32_t>(out.size())));
    PutAt32(out, 10, f.pixelOffset.value_or(offset));
    return out;
}

std::vector<std::uint8_t> StoreRows8(const std::vector<std::vector<std::uint8_t>>& rows,
                                     std::uint8_t padding) {
    std::vector<std::uint8_t> out;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        out.insert(out.end(), row->begin(), row->end());
        for (std::size_t x = row->size(); x % 4 != 0; ++x) {
            out.push_back(padding);
        }
    }
    return out;
}

std::vector<std::uint8_t> StoreRows24(const std::vector<std::vector<Bgr>>& rows) {
    std::vector<std::uint8_t> out;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (const Bgr& p : *row) {
            out.insert(out.end(), {p.blue, p.green, p.red});
        }
        for (std::size_t n = 3 * row->size(); n % 4 != 0; ++n) {
            out.push_back(0);
        }
    }
    return out;
}

std::vector<std::uint8_t> GamePaletteBytes() {
    return {GamePalette.begin(), GamePalette.end()};
}

BitmapFields TrueColourBitmap(const std::vector<std::vector<Bgr>>& rows) {
    BitmapFields f;
    f.height = static_cast<std::int32_t>(rows.size());
    f.width = rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size());
    f.bitCount = 24;
    f.pixels = StoreRows24(rows);
    return f;
}

BitmapFields PalettedBitmap(const std::vector<std::vector<std::uint8_t>>& rows,
                            const std::vector<std::uint8_t>& palette, std::uint8_t padding) {
    BitmapFields f;
    f.height = static_cast<std::int32_t>(rows.size());
    f.width = rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size());
    f.bitCount = 8;
    f.palette = palette;
    f.pixels = StoreRows8(rows, padding);
    return f;
}

Bgr GameColour(std::uint8_t index) {
    return {GamePalette[4 * index], GamePalette[4 * index + 1], GamePalette[4 * index + 2]};
}

void WriteTestFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::uint8_t> ReadTestFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quorvel::testing
