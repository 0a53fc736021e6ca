#include "core/rle8.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr const char* kEndsEarly = "its compressed pixel data ends early";
constexpr const char* kPastEdge = "its compressed pixels run past the edge of the image";

// One expansion: where the next code is read and where the next pixel goes.
class Rle8Expansion {
  public:
    Rle8Expansion(std::span<const std::uint8_t> codes, std::uint32_t height,
                  std::span<std::uint8_t> rows, std::size_t stride, std::uint64_t paddedWidth)
        : codes_(codes), rows_(rows), stride_(stride), height_(height), paddedWidth_(paddedWidth) {}

    // Follows the codes to the end of the bitmap.
    Status Run() {
        while (true) {
            if (codes_.size() - at_ < 2) {
                // Some writers leave out the end-of-bitmap code after the last row.
                return y_ >= height_ ? Success() : Failure{kEndsEarly};
            }
            const std::uint8_t first = codes_[at_];
            const std::uint8_t second = codes_[at_ + 1];
            at_ += 2;
            if (first == 0 && second == 1) {
                return Success();
            }
            const Status step = Step(first, second);
            if (!step) {
                return step;
            }
        }
    }

  private:
    // Every code pair but the end of the bitmap.
    Status Step(std::uint8_t first, std::uint8_t second) {
        if (first != 0) {
            return Repeat(first, second);
        }
        if (second == 0) {
            x_ = 0;
            ++y_;
            return Success();
        }
        return second == 2 ? Move() : Copy(second);
    }

    // n > 0, v: n pixels of index v.
    Status Repeat(std::uint8_t count, std::uint8_t value) {
        std::uint8_t* out = Target(count);
        if (out == nullptr) {
            return Failure{kPastEdge};
        }
        std::memset(out, value, count);
        x_ += count;
        return Success();
    }

    // 0, 2, dx, dy: dx pixels right and dy rows up.
    Status Move() {
        if (codes_.size() - at_ < 2) {
            return Failure{kEndsEarly};
        }
        x_ += codes_[at_];
        y_ += codes_[at_ + 1];
        at_ += 2;
        return x_ > paddedWidth_ || y_ > height_ ? Failure{kPastEdge} : Success();
    }

    // 0, n >= 3, then n indexes as they are.
    Status Copy(std::size_t count) {
        if (codes_.size() - at_ < count) {
            return Failure{kEndsEarly};
        }
        std::uint8_t* out = Target(count);
        if (out == nullptr) {
            return Failure{kPastEdge};
        }
        std::memcpy(out, codes_.data() + at_, count);
        x_ += count;
        // Literal runs keep the codes aligned to 2 bytes.
        at_ = std::min(at_ + count + (count & 1), codes_.size());
        return Success();
    }

    // Where pixel x of row y goes, once `count` pixels are known to fit; nullptr if they do not.
    std::uint8_t* Target(std::uint64_t count) const {
        if (y_ >= height_ || x_ + count > paddedWidth_) {
            return nullptr;
        }
        return rows_.data() + static_cast<std::size_t>(height_ - 1 - y_) * stride_ +
               static_cast<std::size_t>(x_);
    }

    std::span<const std::uint8_t> codes_;
    std::span<std::uint8_t> rows_;
    std::size_t stride_;
    std::uint64_t height_;
    std::uint64_t paddedWidth_;
    std::size_t at_ = 0;
    std::uint64_t x_ = 0;
    std::uint64_t y_ = 0;  // counted from the bottom row, as the codes run
};

}  // namespace

Status ExpandRle8(std::span<const std::uint8_t> codes, std::uint32_t width, std::uint32_t height,
                  std::span<std::uint8_t> rows, std::size_t stride) {
    // Codes may fill a row up to its padded width: some writers encode the whole stored row,
    // padding included (for width 37, a run over columns 37-39 before each end of row).
    const std::uint64_t paddedWidth = (std::uint64_t{width} + 3) / 4 * 4;
    return Rle8Expansion(codes, height, rows, stride, paddedWidth).Run();
}

}  // namespace quorvel
