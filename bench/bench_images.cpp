#include "bench/bench_images.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <utility>

namespace quorvel::bench {

namespace {

std::uint8_t Smooth(std::uint32_t x, std::uint32_t y, int channel, std::uint32_t side,
                    std::mt19937& random) {
    // A few waves whose length scales with the image, so every size looks alike.
    const double u = 6.0 * x / side;
    const double v = 6.0 * y / side;
    const double c = channel;
    const double wave = std::sin(u * (1.0 + 0.3 * c) + c) * std::cos(v * 0.8 - 0.5 * c) +
                        0.5 * std::sin((u + v) * 1.7 + 2.0 * c);
    const double grain = static_cast<double>(random() % 9) - 4.0;
    return static_cast<std::uint8_t>(std::clamp(128.0 + 80.0 * wave + grain, 0.0, 255.0));
}

}  // namespace

const TrueColourImage& TrueColourSource(Content content, std::uint32_t side) {
    static std::map<std::pair<Content, std::uint32_t>, std::unique_ptr<TrueColourImage>> made;
    auto& slot = made[{content, side}];
    if (!slot) {
        slot = std::make_unique<TrueColourImage>();
        const std::size_t stride = (3 * std::size_t{side} + 3) / 4 * 4;
        slot->bytes.resize(stride * side);
        std::mt19937 random(side);
        for (std::uint32_t y = 0; y < side; ++y) {
            std::uint8_t* p = slot->bytes.data() + y * stride;
            for (std::uint32_t x = 0; x < side; ++x, p += 3) {
                for (int c = 0; c < 3; ++c) {
                    p[2 - c] = content == Content::Smooth
                                   ? Smooth(x, y, c, side, random)
                                   : static_cast<std::uint8_t>(random() >> 24);
                }
            }
        }
        slot->rows = {slot->bytes.data(), static_cast<std::ptrdiff_t>(stride), side, side};
    }
    return *slot;
}

const PalettedImage& PalettedSource(std::uint32_t side) {
    static std::map<std::uint32_t, std::unique_ptr<PalettedImage>> made;
    auto& slot = made[side];
    if (!slot) {
        slot = std::make_unique<PalettedImage>();
        std::mt19937 random(side + 1);
        slot->palette.resize(1024);
        for (auto& b : slot->palette) {
            b = static_cast<std::uint8_t>(random() >> 24);
        }
        const std::size_t stride = (std::size_t{side} + 3) / 4 * 4;
        slot->bytes.resize(stride * side);
        for (auto& b : slot->bytes) {
            b = static_cast<std::uint8_t>(random() >> 24);
        }
        slot->rows = {slot->bytes.data(), static_cast<std::ptrdiff_t>(stride), side, side,
                      slot->palette.data()};
    }
    return *slot;
}

}  // namespace quorvel::bench
