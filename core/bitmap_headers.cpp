#include "core/bitmap_headers.h"

#include <bit>
#include <climits>
#include <string>

#include "core/little_endian.h"

namespace quorvel {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;

constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionBitFields = 3;
constexpr std::uint32_t kCompressionAlphaBitFields = 6;

const char* const kShorterThanHeaders = "the file is shorter than its headers say";

std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(b, at));
}

bool IsKnownInfoHeaderSize(std::uint32_t size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// A mask must select one unbroken run of bits that lies inside the pixel.
const char* CheckMask(std::uint32_t mask, std::uint16_t bitCount) {
    if (mask == 0) {
        return "one of its colour masks is empty";
    }
    if (bitCount < 32 && (mask >> bitCount) != 0) {
        return "one of its colour masks is wider than its pixels";
    }
    const std::uint32_t run = mask >> std::countr_zero(mask);
    if ((run & (run + 1)) != 0) {
        return "one of its colour masks is not a single run of bits";
    }
    return nullptr;
}

struct InfoFields {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kCompressionNone;
    std::uint32_t coloursUsed = 0;
    bool os2 = false;
};

}  // namespace

Result<BitmapLayout> ReadBitmapLayout(std::span<const std::uint8_t> file) {
    const std::uint64_t length = file.size();
    if (length <= kFileHeaderSize) {
        return Failure{"the file is too short to be a bitmap"};
    }
    if (file[0] != 'B' || file[1] != 'M') {
        return Failure{"it is not a bitmap file"};
    }
    if (ReadU32(file, 2) != length) {
        return Failure{"the file size in its header does not match its length"};
    }
    const std::uint64_t pixelOffset = ReadU32(file, 10);

    if (length < kFileHeaderSize + 4) {
        return Failure{kShorterThanHeaders};
    }
    const std::uint32_t infoSize = ReadU32(file, kFileHeaderSize);
    if (!IsKnownInfoHeaderSize(infoSize)) {
        return Failure{"its info header has an unknown size (" + std::to_string(infoSize) +
                       " bytes)"};
    }
    if (length < kFileHeaderSize + infoSize) {
        return Failure{kShorterThanHeaders};
    }
    const std::size_t info = kFileHeaderSize;

    InfoFields f;
    if (infoSize == 12) {
        f.os2 = true;
        f.width = ReadU16(file, info + 4);
        f.height = ReadU16(file, info + 6);
        f.bitCount = ReadU16(file, info + 10);
    } else {
        f.width = I32(file, info + 4);
        f.height = I32(file, info + 8);
        f.bitCount = ReadU16(file, info + 14);
        f.compression = ReadU32(file, info + 16);
        f.coloursUsed = ReadU32(file, info + 32);
    }

    if (f.bitCount != 8 && f.bitCount != 16 && f.bitCount != 24 && f.bitCount != 32) {
        return Failure{"it has " + std::to_string(f.bitCount) +
                       (f.bitCount == 1 ? " bit" : " bits") +
                       " per pixel; only 8, 16, 24 and 32 can be read"};
    }
    if (f.width < 0) {
        return Failure{"its width is negative"};
    }
    if (f.height == INT32_MIN) {
        return Failure{"its height is out of range"};
    }

    BitmapLayout layout;
    layout.width = static_cast<std::uint32_t>(f.width);
    layout.topDown = f.height < 0;
    layout.height = static_cast<std::uint32_t>(f.height < 0 ? -f.height : f.height);

    // What the compression field means depends on the bit count.
    std::uint64_t masksAfterHeader = 0;
    switch (f.compression) {
        case kCompressionNone:
            switch (f.bitCount) {
                case 8:
                    layout.encoding = PixelEncoding::Paletted8;
                    break;
                case 16:
                    layout.encoding = PixelEncoding::Masked16;
                    layout.masks = {0x7C00, 0x03E0, 0x001F};
                    break;
                case 24:
                    layout.encoding = PixelEncoding::Rgb24;
                    break;
                default:
                    layout.encoding = PixelEncoding::Masked32;
                    layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
                    break;
            }
            break;
        case kCompressionRle8:
            if (f.bitCount != 8) {
                return Failure{"its compression does not suit its bit count"};
            }
            if (layout.topDown) {
                return Failure{"its compressed rows are marked as stored top to bottom"};
            }
            layout.encoding = PixelEncoding::Rle8;
            break;
        case kCompressionBitFields:
        case kCompressionAlphaBitFields: {
            if (f.bitCount != 16 && f.bitCount != 32) {
                return Failure{"its compression does not suit its bit count"};
            }
            layout.encoding = f.bitCount == 16 ? PixelEncoding::Masked16 : PixelEncoding::Masked32;
            std::size_t masksAt = info + 40;
            if (infoSize == 40) {
                masksAfterHeader = f.compression == kCompressionAlphaBitFields ? 16 : 12;
                if (length < kFileHeaderSize + infoSize + masksAfterHeader) {
                    return Failure{kShorterThanHeaders};
                }
            }
            layout.masks = {ReadU32(file, masksAt), ReadU32(file, masksAt + 4),
                            ReadU32(file, masksAt + 8)};
            for (const std::uint32_t mask :
                 {layout.masks.red, layout.masks.green, layout.masks.blue}) {
                if (const char* problem = CheckMask(mask, f.bitCount)) {
                    return Failure{problem};
                }
            }
            break;
        }
        default:
            return Failure{"its pixels are compressed in a way this reader does not support"};
    }

    const std::uint64_t paletteStart = kFileHeaderSize + infoSize + masksAfterHeader;
    if (pixelOffset < paletteStart) {
        return Failure{"its pixel data starts inside its headers"};
    }
    if (pixelOffset > length) {
        return Failure{kShorterThanHeaders};
    }

    if (f.bitCount == 8) {
        // Colours used 0 means a full palette. The palette cannot reach into the pixel data,
        // so a shorter gap than announced means fewer entries (some writers leave the field
        // at 0 and store fewer).
        const std::uint64_t announced = f.coloursUsed == 0 ? kPaletteEntries : f.coloursUsed;
        if (announced > kPaletteEntries) {
            return Failure{"its palette has more than 256 colours"};
        }
        const std::uint64_t entrySize = f.os2 ? 3 : 4;
        const std::uint64_t room = (pixelOffset - paletteStart) / entrySize;
        layout.paletteEntries = static_cast<std::uint32_t>(announced < room ? announced : room);
        for (std::uint32_t i = 0; i < layout.paletteEntries; ++i) {
            const std::size_t at = static_cast<std::size_t>(paletteStart + i * entrySize);
            for (std::size_t c = 0; c < entrySize; ++c) {
                layout.palette[4 * i + c] = file[at + c];
            }
        }
    }

    const std::uint64_t available = length - pixelOffset;
    const auto* pixels = file.data() + pixelOffset;
    if (layout.encoding == PixelEncoding::Rle8) {
        const std::uint64_t width = layout.width;
        const std::uint64_t expanded = (width + 3) / 4 * 4 * layout.height;
        if (2 * expanded + 24 * (width + 2) > kMaxRle8Expansion * available) {
            return Failure{"its compressed pixels would expand to more than 512 times their size"};
        }
        if (expanded > kMaxRle8ExpandedBytes) {
            return Failure{"its compressed pixels would expand to more than 256 MiB"};
        }
        layout.pixelData = {pixels, static_cast<std::size_t>(available)};
        return layout;
    }

    layout.rowStride = (static_cast<std::uint64_t>(layout.width) * f.bitCount + 31) / 32 * 4;
    if (layout.height != 0 && layout.rowStride > available / layout.height) {
        return Failure{kShorterThanHeaders};
    }
    layout.pixelData = {pixels, static_cast<std::size_t>(layout.rowStride * layout.height)};
    return layout;
}

}  // namespace quorvel
