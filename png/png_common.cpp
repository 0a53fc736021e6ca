#include <algorithm>
#include <array>
#include <new>
#include <string>

#include "png/png_codec.h"
#include "png/png_shared.h"

namespace quorvel::png {

bool HasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), file.begin());
}

Result<DecodedPicture> DecodePng(std::span<const std::uint8_t> file) {
    if (const Status size = detail::CheckStatedSize(file); !size) {
        return Failure{size.error()};
    }
    try {
        return detail::DecodeFile(file);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for an image this large"};
    }
}

Result<std::vector<std::uint8_t>> EncodeIndexedPng(const IndexedImage& image) {
    if (!image.HasArea()) {
        return Failure{"a PNG file cannot hold an image without pixels"};
    }
    // The format's sides are positive 31-bit numbers.
    if (image.width > 0x7FFFFFFFu || image.height > 0x7FFFFFFFu) {
        return Failure{"the image is too large for a PNG file"};
    }
    try {
        return detail::EncodeFile(image);
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory to encode it"};
    }
}

namespace detail {

Status CheckStatedSize(std::span<const std::uint8_t> file) {
    // The header chunk comes first: signature, length, "IHDR", width and height big-endian.
    constexpr std::size_t kWidthAt = 16;
    if (!HasPngSignature(file) || file.size() < kWidthAt + 8 ||
        !std::equal(file.begin() + 12, file.begin() + 16, "IHDR")) {
        return Success();  // the decoder says what is wrong
    }
    auto field = [&](std::size_t at) {
        return std::uint32_t{file[at]} << 24 | std::uint32_t{file[at + 1]} << 16 |
               std::uint32_t{file[at + 2]} << 8 | file[at + 3];
    };
    const std::uint32_t width = field(kWidthAt), height = field(kWidthAt + 4);
    if (DecodedBytes(width, height) > kLargestDecodedBytes) {
        return Failure{"its " + std::to_string(width) + " × " + std::to_string(height) +
                       " pixels would take more than 256 MiB decoded"};
    }
    return Success();
}

namespace {

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    static const std::array<std::uint32_t, 256> kTable = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            table[n] = c;
        }
        return table;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes) {
        crc = kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

// The header chunk's fields, checked in the order libspng checks them.
const char* DescribeHeader(std::span<const std::uint8_t> ihdr) {
    constexpr std::uint32_t kLargestSide = 0x7FFFFFFF;
    const std::uint32_t width = BigEndian(ihdr, 0), height = BigEndian(ihdr, 4);
    const unsigned depth = ihdr[8], type = ihdr[9];
    if (width == 0 || width > kLargestSide) {
        return "invalid image width";
    }
    if (height == 0 || height > kLargestSide) {
        return "invalid image height";
    }
    const bool power = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    const bool depthFits = type == 0   ? power
                           : type == 3 ? power && depth <= 8
                                       : depth == 8 || depth == 16;
    if (type != 0 && type != 2 && type != 3 && type != 4 && type != 6) {
        return "invalid color type";
    }
    if (!depthFits) {
        return "invalid bit depth";
    }
    if (ihdr[10] != 0) {
        return "invalid compression method";
    }
    if (ihdr[11] != 0) {
        return "invalid filter method";
    }
    return ihdr[12] > 1 ? "invalid interlace method" : "";
}

}  // namespace

std::string DescribeDamage(std::span<const std::uint8_t> file) {
    if (!HasPngSignature(file)) {
        return "invalid signature";
    }
    // Each chunk: length, type, data, checksum of type and data. IHDR first, IEND last.
    for (std::size_t at = kSignature.size(); at < file.size();) {
        if (file.size() - at < 12) {
            return "end of stream";
        }
        const std::uint32_t length = BigEndian(file, at);
        const bool first = at == kSignature.size();
        const bool header = std::equal(file.begin() + at + 4, file.begin() + at + 8, "IHDR");
        if (length > 0x7FFFFFFFu) {
            return "invalid chunk length";
        }
        if (first && (!header || length != 13)) {
            return header ? "invalid IHDR chunk size" : "missing IHDR chunk";
        }
        if (file.size() - at - 12 < length) {
            return "end of stream";
        }
        const auto covered = file.subspan(at + 4, std::size_t{4} + length);
        if (Crc32(covered) != BigEndian(file, at + 8 + length)) {
            return "invalid chunk checksum";
        }
        if (const char* fault = first ? DescribeHeader(file.subspan(at + 8, 13)) : ""; *fault) {
            return fault;
        }
        if (std::equal(file.begin() + at + 4, file.begin() + at + 8, "IEND")) {
            return "";
        }
        at += std::size_t{12} + length;
    }
    return "end of stream";
}

void UnpackIndexes(std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height,
                   unsigned depth) {
    const std::size_t packedStride = (std::size_t{width} * depth + 7) / 8;
    std::vector<std::uint8_t> packed;
    packed.swap(pixels);
    pixels.resize(std::size_t{width} * height);
    const unsigned mask = (1u << depth) - 1;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* in = packed.data() + y * packedStride;
        std::uint8_t* out = pixels.data() + std::size_t{y} * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t bit = std::size_t{x} * depth;
            const unsigned shift = 8 - depth - static_cast<unsigned>(bit % 8);
            out[x] = static_cast<std::uint8_t>((in[bit / 8] >> shift) & mask);
        }
    }
}

}  // namespace detail

}  // namespace quorvel::png
