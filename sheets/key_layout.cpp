#include "sheets/key_layout.h"

#include <cstdint>
#include <new>

namespace quorvel {

namespace {

// One byte per pixel, 1 where the pixel is the key colour.
class KeyMask {
  public:
    KeyMask(const SheetPicture& picture, const SheetColour& key);

    bool Key(std::uint32_t x, std::uint32_t y) const { return mask_[std::size_t{y} * width_ + x]; }

    bool RowIsKey(std::uint32_t y, std::uint32_t x0, std::uint32_t x1) const {
        for (std::uint32_t x = x0; x < x1; ++x) {
            if (!Key(x, y)) {
                return false;
            }
        }
        return true;
    }

    bool ColumnIsKey(std::uint32_t x, std::uint32_t y0, std::uint32_t y1) const {
        for (std::uint32_t y = y0; y < y1; ++y) {
            if (!Key(x, y)) {
                return false;
            }
        }
        return true;
    }

    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }

  private:
    std::uint32_t width_;
    std::uint32_t height_;
    std::vector<std::uint8_t> mask_;
};

KeyMask::KeyMask(const SheetPicture& picture, const SheetColour& key)
    : width_(picture.Width()), height_(picture.Height()) {
    mask_.resize(std::size_t{width_} * height_);
    for (std::uint32_t y = 0; y < height_; ++y) {
        for (std::uint32_t x = 0; x < width_; ++x) {
            const SheetColour colour = picture.At(x, y);
            mask_[std::size_t{y} * width_ + x] = colour.opaque && colour.SameColour(key);
        }
    }
}

// The frames of the band of rows [top, bottom): runs of columns that are not wholly key,
// each trimmed at the top and bottom to its rows that are not wholly key.
Status AddBandFrames(const KeyMask& mask, std::uint32_t top, std::uint32_t bottom,
                     std::vector<SheetFrame>& frames) {
    std::uint32_t x = 0;
    while (x < mask.Width()) {
        if (mask.ColumnIsKey(x, top, bottom)) {
            ++x;
            continue;
        }
        const std::uint32_t left = x;
        while (x < mask.Width() && !mask.ColumnIsKey(x, top, bottom)) {
            ++x;
        }
        std::uint32_t first = top, last = bottom;
        while (mask.RowIsKey(first, left, x)) {
            ++first;
        }
        while (mask.RowIsKey(last - 1, left, x)) {
            --last;
        }
        if (frames.size() == kMostSheetFrames) {
            return Failure{"it holds more than 65,535 frames"};
        }
        frames.push_back(WholeFrame(left, first, x - left, last - first));
    }
    return Success();
}

}  // namespace

bool UsableKeyColour(const SheetColour& colour) {
    return colour.opaque && !colour.SameColour(SheetColour{0, 0, 0, true});
}

Result<std::vector<SheetFrame>> KeyFrames(const SheetPicture& picture) {
    if (picture.Width() == 0 || picture.Height() == 0) {
        return Failure{"it holds no frames"};
    }
    const SheetColour key = picture.At(0, 0);
    if (!UsableKeyColour(key)) {
        return Failure{
            "its top-left pixel is black or transparent, so it cannot be the key colour"};
    }
    try {
        const KeyMask mask(picture, key);
        std::vector<SheetFrame> frames;
        std::uint32_t y = 0;
        while (y < mask.Height()) {
            if (mask.RowIsKey(y, 0, mask.Width())) {
                ++y;
                continue;
            }
            const std::uint32_t top = y;
            while (y < mask.Height() && !mask.RowIsKey(y, 0, mask.Width())) {
                ++y;
            }
            if (const Status added = AddBandFrames(mask, top, y, frames); !added) {
                return Failure{added.error()};
            }
        }
        if (frames.empty()) {
            return Failure{"it holds no frames"};
        }
        return frames;
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for a picture this large"};
    }
}

}  // namespace quorvel
