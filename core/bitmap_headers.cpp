#include "core/bitmap_headers.h"

#include <bit>
#include <cstdint>
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

struct InfoHeader {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kCompressionNone;
    std::uint32_t coloursUsed = 0;
    bool os2 = false;
};

// The file header: its type and size fields; returns the offset of the pixel data.
Result<std::uint64_t> ReadFileHeader(std::span<const std::uint8_t> file) {
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
    return std::uint64_t{ReadU32(file, 10)};
}

// The fields of the info header this reader uses, with the sizes and bit counts it can read.
Result<InfoHeader> ReadInfoHeader(std::span<const std::uint8_t> file) {
    const std::uint64_t length = file.size();
    if (length < kFileHeaderSize + 4) {
        return Failure{kShorterThanHeaders};
    }
    InfoHeader h;
    h.size = ReadU32(file, kFileHeaderSize);
    if (!IsKnownInfoHeaderSize(h.size)) {
        return Failure{"its info header has an unknown size (" + std::to_string(h.size) +
                       " bytes)"};
    }
    if (length < kFileHeaderSize + h.size) {
        return Failure{kShorterThanHeaders};
    }
    const std::size_t info = kFileHeaderSize;
    if (h.size == 12) {
        h.os2 = true;
        h.width = ReadU16(file, info + 4);
        h.height = ReadU16(file, info + 6);
        h.bitCount = ReadU16(file, info + 10);
    } else {
        h.width = I32(file, info + 4);
        h.height = I32(file, info + 8);
        h.bitCount = ReadU16(file, info + 14);
        h.compression = ReadU32(file, info + 16);
        h.coloursUsed = ReadU32(file, info + 32);
    }

    if (h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24 && h.bitCount != 32) {
        return Failure{"it has " + std::to_string(h.bitCount) +
                       (h.bitCount == 1 ? " bit" : " bits") +
                       " per pixel; only 8, 16, 24 and 32 can be read"};
    }
    if (h.width < 0) {
        return Failure{"its width is negative"};
    }
    if (h.height == INT32_MIN) {
        return Failure{"its height is out of range"};
    }
    return h;
}

struct Encoding {
    PixelEncoding encoding = PixelEncoding::Paletted8;
    ColourMasks masks;
    std::uint64_t headersEnd = 0;  // where the palette starts, after any colour masks
};

// What the compression field means, which depends on the bit count, and the colour masks of
// the masked encodings.
Result<Encoding> ReadEncoding(std::span<const std::uint8_t> file, const InfoHeader& h) {
    Encoding e;
    e.headersEnd = kFileHeaderSize + h.size;
    switch (h.compression) {
        case kCompressionNone:
            switch (h.bitCount) {
                case 8:
                    e.encoding = PixelEncoding::Paletted8;
                    break;
                case 16:
                    e.encoding = PixelEncoding::Masked16;
                    e.masks = {0x7C00, 0x03E0, 0x001F};
                    break;
                case 24:
                    e.encoding = PixelEncoding::Rgb24;
                    break;
                default:
                    e.encoding = PixelEncoding::Masked32;
                    e.masks = {0xFF0000, 0x00FF00, 0x0000FF};
                    break;
            }
            return e;
        case kCompressionRle8:
            if (h.bitCount != 8) {
                return Failure{"its compression does not suit its bit count"};
            }
            if (h.height < 0) {
                return Failure{"its compressed rows are marked as stored top to bottom"};
            }
            e.encoding = PixelEncoding::Rle8;
            return e;
        case kCompressionBitFields:
        case kCompressionAlphaBitFields: {
            if (h.bitCount != 16 && h.bitCount != 32) {
                return Failure{"its compression does not suit its bit count"};
            }
            e.encoding = h.bitCount == 16 ? PixelEncoding::Masked16 : PixelEncoding::Masked32;
            // Inside the longer info headers; after the 40-byte one.
            const std::size_t masksAt = kFileHeaderSize + 40;
            if (h.size == 40) {
                e.headersEnd += h.compression == kCompressionAlphaBitFields ? 16 : 12;
                if (file.size() < e.headersEnd) {
                    return Failure{kShorterThanHeaders};
                }
            }
            e.masks = {ReadU32(file, masksAt), ReadU32(file, masksAt + 4),
                       ReadU32(file, masksAt + 8)};
            for (const std::uint32_t mask : {e.masks.red, e.masks.green, e.masks.blue}) {
                if (const char* problem = CheckMask(mask, h.bitCount)) {
                    return Failure{problem};
                }
            }
            return e;
        }
        default:
            return Failure{"its pixels are compressed in a way this reader does not support"};
    }
}

// The palette of an 8-bit bitmap, between the headers and the pixel data.
Status ReadPalette(std::span<const std::uint8_t> file, const InfoHeader& h,
                   std::uint64_t paletteStart, std::uint64_t pixelOffset, BitmapLayout& layout) {
    // Colours used 0 means a full palette. The palette cannot reach into the pixel data, so a
    // shorter gap than announced means fewer entries (some writers leave the field at 0 and
    // store fewer).
    const std::uint64_t announced = h.coloursUsed == 0 ? kPaletteEntries : h.coloursUsed;
    if (announced > kPaletteEntries) {
        return Failure{"its palette has more than 256 colours"};
    }
    const std::uint64_t entrySize = h.os2 ? 3 : 4;
    const std::uint64_t room = (pixelOffset - paletteStart) / entrySize;
    layout.paletteEntries = static_cast<std::uint32_t>(announced < room ? announced : room);
    for (std::uint32_t i = 0; i < layout.paletteEntries; ++i) {
        const std::size_t at = static_cast<std::size_t>(paletteStart + i * entrySize);
        for (std::size_t c = 0; c < entrySize; ++c) {
            layout.palette[4 * i + c] = file[at + c];
        }
    }
    return Success();
}

// The pixel data from `pixelOffset`: uncompressed rows must be there in full; RLE8 codes may
// expand only so far (see kMaxRle8Expansion).
Status LocatePixels(std::span<const std::uint8_t> file, std::uint16_t bitCount,
                    std::uint64_t pixelOffset, BitmapLayout& layout) {
    const std::uint64_t available = file.size() - pixelOffset;
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
        return Success();
    }
    layout.rowStride = (static_cast<std::uint64_t>(layout.width) * bitCount + 31) / 32 * 4;
    if (layout.height != 0 && layout.rowStride > available / layout.height) {
        return Failure{kShorterThanHeaders};
    }
    layout.pixelData = {pixels, static_cast<std::size_t>(layout.rowStride * layout.height)};
    return Success();
}

}  // namespace

Result<BitmapLayout> ReadBitmapLayout(std::span<const std::uint8_t> file) {
    const Result<std::uint64_t> pixelOffset = ReadFileHeader(file);
    if (!pixelOffset) {
        return Failure{pixelOffset.error()};
    }
    const Result<InfoHeader> info = ReadInfoHeader(file);
    if (!info) {
        return Failure{info.error()};
    }
    const InfoHeader& h = info.value();
    const Result<Encoding> encoding = ReadEncoding(file, h);
    if (!encoding) {
        return Failure{encoding.error()};
    }
    const std::uint64_t paletteStart = encoding.value().headersEnd;
    const std::uint64_t offset = pixelOffset.value();
    if (offset < paletteStart) {
        return Failure{"its pixel data starts inside its headers"};
    }
    if (offset > file.size()) {
        return Failure{kShorterThanHeaders};
    }

    BitmapLayout layout;
    layout.width = static_cast<std::uint32_t>(h.width);
    layout.topDown = h.height < 0;
    layout.height = static_cast<std::uint32_t>(h.height < 0 ? -h.height : h.height);
    layout.encoding = encoding.value().encoding;
    layout.masks = encoding.value().masks;
    if (h.bitCount == 8) {
        const Status palette = ReadPalette(file, h, paletteStart, offset, layout);
        if (!palette) {
            return Failure{palette.error()};
        }
    }
    const Status located = LocatePixels(file, h.bitCount, offset, layout);
    if (!located) {
        return Failure{located.error()};
    }
    return layout;
}

}  // namespace quorvel
