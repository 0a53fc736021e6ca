#include "core/masked_pixels.h"

#include <bit>

namespace quorvel {

namespace {

// Turns one masked channel into 0..255.
class ChannelScale {
  public:
    explicit ChannelScale(std::uint32_t mask)
        : mask_(mask), shift_(std::countr_zero(mask)), bits_(std::popcount(mask)) {
        if (bits_ < 8) {
            // Round to the nearest of 256 levels, so 0 stays 0 and the maximum becomes 255.
            const std::uint32_t top = (1u << bits_) - 1;
            for (std::uint32_t v = 0; v <= top; ++v) {
                table_[v] = static_cast<std::uint8_t>((v * 255 + top / 2) / top);
            }
        }
    }

    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & mask_) >> shift_;
        if (bits_ < 8) {
            return table_[v];
        }
        return static_cast<std::uint8_t>(v >> (bits_ - 8));
    }

  private:
    std::uint32_t mask_;
    int shift_;
    int bits_;
    std::uint8_t table_[128] = {};
};

}  // namespace

ExpandedTrueColour ExpandMaskedPixels(const BitmapLayout& layout) {
    const bool wide = layout.encoding == PixelEncoding::Masked32;
    const std::size_t bytesPerPixel = wide ? 4 : 2;
    const ChannelScale red(layout.masks.red);
    const ChannelScale green(layout.masks.green);
    const ChannelScale blue(layout.masks.blue);

    ExpandedTrueColour out;
    out.stride = (3 * static_cast<std::size_t>(layout.width) + 3) / 4 * 4;
    out.bytes.resize(out.stride * layout.height);
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        const std::uint32_t storedRow = layout.topDown ? y : layout.height - 1 - y;
        const std::uint8_t* in =
            layout.pixelData.data() + static_cast<std::size_t>(storedRow * layout.rowStride);
        std::uint8_t* row = out.bytes.data() + y * out.stride;
        for (std::uint32_t x = 0; x < layout.width; ++x, in += bytesPerPixel) {
            std::uint32_t pixel = in[0] | (static_cast<std::uint32_t>(in[1]) << 8);
            if (wide) {
                pixel |= (static_cast<std::uint32_t>(in[2]) << 16) |
                         (static_cast<std::uint32_t>(in[3]) << 24);
            }
            row[3 * x + 0] = blue(pixel);
            row[3 * x + 1] = green(pixel);
            row[3 * x + 2] = red(pixel);
        }
    }
    return out;
}

}  // namespace quorvel
