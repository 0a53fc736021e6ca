#include "core/bitmap_writer.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "core/game_palette.h"
#include "core/little_endian.h"
#include "core/save_encoded.h"

namespace quorvel {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelOffset =
    kFileHeaderSize + kInfoHeaderSize + static_cast<std::uint32_t>(kBitmapPaletteBytes);  // 1078

}  // namespace

Result<EncodedPieces> BitmapPieces(const IndexedImage& image) {
    // Width and height are signed 32-bit fields, the sizes unsigned 32-bit ones.
    constexpr std::uint64_t kMaxDimension = INT32_MAX;
    if (image.width > kMaxDimension || image.height > kMaxDimension) {
        return Failure{"the image is too large for a bitmap file"};
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(image.width) + 3) / 4 * 4;
    const std::uint64_t imageSize = stride * image.height;
    const std::uint64_t fileSize = kPixelOffset + imageSize;
    if (fileSize > UINT32_MAX) {
        return Failure{"the image is too large for a bitmap file"};
    }
    if (image.pixels.size() != static_cast<std::uint64_t>(image.width) * image.height) {
        return Failure{"the image holds fewer pixels than its size says"};
    }

    EncodedPieces file;
    try {
        file.head.assign(kPixelOffset, 0);
        file.pieces.reserve(image.width == 0 ? 0 : std::size_t{image.height} * 2);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory to write an image this large"};
    }
    std::uint8_t* b = file.head.data();
    b[0] = 'B';
    b[1] = 'M';
    WriteU32(b + 2, static_cast<std::uint32_t>(fileSize));
    WriteU32(b + 10, kPixelOffset);
    std::uint8_t* info = b + kFileHeaderSize;
    WriteU32(info + 0, kInfoHeaderSize);
    WriteU32(info + 4, image.width);
    WriteU32(info + 8, image.height);  // positive: rows bottom to top
    WriteU16(info + 12, 1);            // planes
    WriteU16(info + 14, 8);            // bits per pixel
    WriteU32(info + 16, 0);            // no compression
    WriteU32(info + 20, static_cast<std::uint32_t>(imageSize));
    WriteU32(info + 32, kPaletteEntries);  // colours used
    WriteU32(info + 36, kPaletteEntries);  // colours important
    std::memcpy(b + kFileHeaderSize + kInfoHeaderSize, GamePalette.data(), kBitmapPaletteBytes);

    // Rows bottom to top, each padded with zeros.
    const std::size_t padding = static_cast<std::size_t>(stride - image.width);
    for (std::uint32_t k = 0; image.width != 0 && k < image.height; ++k) {
        const std::uint8_t* row =
            image.pixels.data() + static_cast<std::size_t>(image.height - 1 - k) * image.width;
        file.pieces.emplace_back(row, image.width);
        if (padding != 0) {
            file.pieces.push_back(ZeroBytes(padding));
        }
    }
    return file;
}

Result<std::vector<std::uint8_t>> EncodeBitmap(const IndexedImage& image) {
    return JoinedFile(BitmapPieces(image),
                      "there is not enough memory to write an image this large");
}

bool SaveBitmapFile(const std::string& fileName) {
    return SaveEncodedFile(fileName, BitmapPieces(CurrentImage()));
}

}  // namespace quorvel
