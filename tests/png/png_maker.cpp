#include "tests/png/png_maker.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstring>
#include <stdexcept>

namespace quorvel::testing {

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

void Put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

void PutChunk(Bytes& file, const char* type, const Bytes& data) {
    Put32(file, static_cast<std::uint32_t>(data.size()));
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    Put32(file, Crc32(file.data() + file.size() - data.size() - 4, data.size() + 4));
}

// A zlib stream of stored blocks, closed by the Adler-32 of the data.
Bytes StoredZlib(const Bytes& data) {
    Bytes out = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::size_t at = 0; at == 0 || at < data.size();) {
        const std::size_t n = std::min<std::size_t>(data.size() - at, 65535);
        out.insert(out.end(), {static_cast<std::uint8_t>(at + n == data.size()),
                               static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                               static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
        for (std::size_t i = at; i < at + n; ++i) {
            out.push_back(data[i]);
            a = (a + data[i]) % 65521;
            b = (b + a) % 65521;
        }
        at += n;
    }
    Put32(out, b << 16 | a);
    return out;
}

// One pass of the rows (the whole picture, or an Adam7 pass): filter byte 0, then the samples
// big-endian, depths below 8 packed from the high bits.
void PutPass(const PngPicture& p, const std::uint32_t (&pass)[4], Bytes& out) {
    const int channels = p.colourType == kRgb         ? 3
                         : p.colourType == kRgba      ? 4
                         : p.colourType == kGreyAlpha ? 2
                                                      : 1;
    for (std::uint32_t y = pass[1]; y < p.height && pass[0] < p.width; y += pass[3]) {
        out.push_back(0);
        const std::size_t rowStart = out.size();
        std::size_t bits = 0;
        for (std::uint32_t x = pass[0]; x < p.width; x += pass[2]) {
            for (int c = 0; c < channels; ++c, bits += p.bitDepth) {
                const unsigned v = p.samples.at((std::size_t{y} * p.width + x) * channels + c);
                if (p.bitDepth == 16) {
                    out.insert(out.end(),
                               {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
                } else {
                    out.resize(rowStart + (bits + p.bitDepth + 7) / 8);
                    out[rowStart + bits / 8] |=
                        static_cast<std::uint8_t>(v << (8 - p.bitDepth - bits % 8));
                }
            }
        }
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeTestPng(const PngPicture& p) {
    Bytes file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, ihdr;
    Put32(ihdr, p.width);
    Put32(ihdr, p.height);
    ihdr.insert(ihdr.end(), {p.bitDepth, p.colourType, 0, 0, std::uint8_t{p.interlaced}});
    PutChunk(file, "IHDR", ihdr);
    if (!p.palette.empty()) {
        PutChunk(file, "PLTE", p.palette);
    }
    if (!p.trns.empty()) {
        PutChunk(file, "tRNS", p.trns);
    }
    // Adam7's seven passes by first column, first row and steps; or one pass of everything.
    constexpr std::uint32_t kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    constexpr std::uint32_t kWhole[4] = {0, 0, 1, 1};
    Bytes raw;
    for (int i = 0; i < (p.interlaced ? 7 : 1); ++i) {
        PutPass(p, p.interlaced ? kAdam7[i] : kWhole, raw);
    }
    PutChunk(file, "IDAT", StoredZlib(raw));
    PutChunk(file, "IEND", {});
    return file;
}

bool RunsUnderWine() {
#if defined(_WIN32)
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

void PatchChunk(std::vector<std::uint8_t>& file, const char* type, std::size_t at,
                const std::vector<std::uint8_t>& bytes, bool fixChecksum) {
    for (std::size_t chunk = 8; chunk + 12 <= file.size();) {
        const std::size_t length = std::size_t{file[chunk]} << 24 |
                                   std::size_t{file[chunk + 1]} << 16 |
                                   std::size_t{file[chunk + 2]} << 8 | file[chunk + 3];
        if (std::memcmp(file.data() + chunk + 4, type, 4) == 0) {
            std::copy(bytes.begin(), bytes.end(), file.begin() + chunk + 8 + at);
            const std::uint32_t crc = Crc32(file.data() + chunk + 4, length + 4);
            for (int i = 0; fixChecksum && i < 4; ++i) {
                file[chunk + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
            }
            return;
        }
        chunk += 12 + length;
    }
    throw std::runtime_error(std::string("no chunk ") + type);
}

}  // namespace quorvel::testing
