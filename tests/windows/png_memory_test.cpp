// Decoding a PNG on Windows takes memory in proportion to the picture, whatever its shape: one
// very long row of 16-bit samples must not cost a band of many rows.

#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "png/png_codec.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutChunk(Bytes& out, std::string_view type, const Bytes& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks: valid for any decoder, no compressor needed.
Bytes StoredZlib(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const auto length =
            static_cast<std::uint16_t>(std::min<std::size_t>(65535, raw.size() - at));
        out.push_back(at + length >= raw.size() ? 1 : 0);
        for (const std::uint16_t field : {length, static_cast<std::uint16_t>(~length)}) {
            out.push_back(static_cast<std::uint8_t>(field));
            out.push_back(static_cast<std::uint8_t>(field >> 8));
        }
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
    }
    PutBigEndian(out, b << 16 | a);
    return out;
}

// One row of `width` 16-bit RGBA pixels, all samples 0x1234.
Bytes OneRowRgba16(std::uint32_t width) {
    Bytes out(png::kSignature.begin(), png::kSignature.end());
    Bytes header;
    PutBigEndian(header, width);
    PutBigEndian(header, 1);
    header.insert(header.end(), {16, 6, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    Bytes raw(1 + std::size_t{8} * width, 0x12);
    raw[0] = 0;  // filter type None
    for (std::size_t i = 2; i < raw.size(); i += 2) {
        raw[i] = 0x34;
    }
    PutChunk(out, "IDAT", StoredZlib(raw));
    PutChunk(out, "IEND", {});
    return out;
}

TEST(PngMemory, AOneRowPictureTakesMemoryInProportionToItsPixels) {
    constexpr std::uint32_t kWidth = 1'000'000;
    const Bytes file = OneRowRgba16(kWidth);
    PROCESS_MEMORY_COUNTERS before{}, after{};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before));
    const Result<png::DecodedPicture> picture = png::DecodePng(file);
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after));
    ASSERT_TRUE(picture) << picture.error();
    ASSERT_EQ(picture.value().pixels.size(), std::size_t{4} * kWidth);
    EXPECT_EQ(picture.value().pixels[4 * (kWidth - 1)], 0x12);
    const std::size_t decoded = picture.value().pixels.size();
    const std::size_t allowed = decoded * 5 / 2 + (std::size_t{32} << 20);
    EXPECT_LE(after.PeakWorkingSetSize - before.WorkingSetSize, allowed);
}

}  // namespace
}  // namespace quorvel::testing
