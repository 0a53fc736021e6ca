#include "core/label_texts.h"

namespace quorvel {

namespace {
constexpr const char* kTimes = "\u00D7";  // the multiplication sign
}

std::string ImageSizeLabel(std::uint32_t width, std::uint32_t height) {
    return "(" + std::to_string(width) + " " + kTimes + " " + std::to_string(height) + ")";
}

std::string ImageLabelFor(std::uint32_t width, std::uint32_t height) {
    if (width == 0 && height == 0) {
        return kNoImageLabel;
    }
    return ImageSizeLabel(width, height);
}

std::string CountLabel(std::uint32_t count) {
    return std::to_string(count) + " images";
}

std::string SpriteLine(std::uint32_t index, std::uint32_t width, std::uint32_t height,
                       LineForm form) {
    return "#" + std::to_string(index) + (form == LineForm::WithColon ? ":" : "") + "\t" +
           std::to_string(width) + " " + kTimes + " " + std::to_string(height);
}

}  // namespace quorvel
