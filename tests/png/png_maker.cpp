#include "tests/png/png_maker.h"

#include <cstring>
#include <stdexcept>

namespace quorvel::testing {

PngPicture MakePng(std::uint32_t width, std::uint32_t height, std::uint8_t colourType,
                   std::uint8_t bitDepth, bool interlaced) {
    PngPicture p;
    p.width = width;
    p.height = height;
    p.colourType = colourType;
    p.bitDepth = bitDepth;
    p.interlaced = interlaced;
    return p;
}

int ChannelsOf(std::uint8_t colourType) {
    switch (colourType) {
        case kRgb:
            return 3;
        case kGreyAlpha:
            return 2;
        case kRgba:
            return 4;
        default:
            return 1;
    }
}

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBigEndian(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

void PutChunk(Bytes& file, const char* type, const Bytes& data) {
    PutBigEndian(file, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    PutBigEndian(file, Crc32(file.data() + start, file.size() - start));
}

// A zlib stream of stored (uncompressed) blocks: any decoder must read them, and the tests
// need no compressor.
Bytes StoredZlib(const Bytes& data) {
    Bytes out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(data.size() - at, 65535);
        out.push_back(at + n == data.size() ? 1 : 0);
        for (const std::size_t v : {n, n ^ 0xFFFF}) {
            out.push_back(static_cast<std::uint8_t>(v));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        out.insert(out.end(), data.begin() + at, data.begin() + at + n);
        at += n;
    } while (at < data.size());
    std::uint32_t a = 1, b = 0;  // Adler-32
    for (const std::uint8_t v : data) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, b << 16 | a);
    return out;
}

// The pixels of one pass as the format stores them: each row a filter byte 0 and then the
// samples, big-endian, depths below 8 packed from the high bits.
void PutPass(const PngPicture& p, std::uint32_t x0, std::uint32_t y0, std::uint32_t dx,
             std::uint32_t dy, Bytes& out) {
    const int channels = ChannelsOf(p.colourType);
    for (std::uint32_t y = y0; y < p.height; y += dy) {
        if (x0 >= p.width) {
            return;
        }
        out.push_back(0);
        std::size_t bits = 0;
        const std::size_t rowStart = out.size();
        for (std::uint32_t x = x0; x < p.width; x += dx) {
            for (int c = 0; c < channels; ++c) {
                const std::uint16_t v = p.samples.at((std::size_t{y} * p.width + x) * channels + c);
                if (p.bitDepth == 16) {
                    out.push_back(static_cast<std::uint8_t>(v >> 8));
                    out.push_back(static_cast<std::uint8_t>(v));
                } else if (p.bitDepth == 8) {
                    out.push_back(static_cast<std::uint8_t>(v));
                } else {
                    if (bits % 8 == 0) {
                        out.push_back(0);
                    }
                    out[rowStart + bits / 8] |=
                        static_cast<std::uint8_t>(v << (8 - p.bitDepth - bits % 8));
                    bits += p.bitDepth;
                }
            }
        }
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeTestPng(const PngPicture& p) {
    Bytes file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBigEndian(ihdr, p.width);
    PutBigEndian(ihdr, p.height);
    ihdr.insert(ihdr.end(),
                {p.bitDepth, p.colourType, 0, 0, p.interlaced ? std::uint8_t{1} : std::uint8_t{0}});
    PutChunk(file, "IHDR", ihdr);
    if (!p.palette.empty()) {
        Bytes plte;
        for (const auto& entry : p.palette) {
            plte.insert(plte.end(), entry.begin(), entry.end());
        }
        PutChunk(file, "PLTE", plte);
    }
    if (!p.paletteAlpha.empty()) {
        PutChunk(file, "tRNS", p.paletteAlpha);
    } else if (p.transparentColour) {
        Bytes trns;
        for (int c = 0; c < (p.colourType == kGrey ? 1 : 3); ++c) {
            trns.push_back(static_cast<std::uint8_t>((*p.transparentColour)[c] >> 8));
            trns.push_back(static_cast<std::uint8_t>((*p.transparentColour)[c]));
        }
        PutChunk(file, "tRNS", trns);
    }
    Bytes raw;
    if (p.interlaced) {
        // Adam7: the seven passes' starting column and row and their steps.
        constexpr std::uint32_t kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                                 {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2},
                                                 {0, 1, 1, 2}};
        for (const auto& pass : kPasses) {
            PutPass(p, pass[0], pass[1], pass[2], pass[3], raw);
        }
    } else {
        PutPass(p, 0, 0, 1, 1, raw);
    }
    PutChunk(file, "IDAT", StoredZlib(raw));
    PutChunk(file, "IEND", {});
    return file;
}

std::size_t ChunkOffset(const std::vector<std::uint8_t>& file, const char* type) {
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t length = std::size_t{file[at]} << 24 | std::size_t{file[at + 1]} << 16 |
                                   std::size_t{file[at + 2]} << 8 | file[at + 3];
        if (std::memcmp(file.data() + at + 4, type, 4) == 0) {
            return at;
        }
        at += 12 + length;
    }
    throw std::runtime_error(std::string("no chunk ") + type);
}

void FixChunkCrc(std::vector<std::uint8_t>& file, std::size_t offset) {
    const std::size_t length = std::size_t{file[offset]} << 24 |
                               std::size_t{file[offset + 1]} << 16 |
                               std::size_t{file[offset + 2]} << 8 | file[offset + 3];
    const std::uint32_t crc = Crc32(file.data() + offset + 4, length + 4);
    for (int i = 0; i < 4; ++i) {
        file[offset + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
}

}  // namespace quorvel::testing
