#include "core/label_texts.h"

namespace quorvel {

std::string SizeText(std::uint64_t width, std::uint64_t height) {
    return std::to_string(width) + " \u00D7 " + std::to_string(height);  // the multiplication sign
}

std::string ImageSizeLabel(std::uint32_t width, std::uint32_t height) {
    return "(" + SizeText(width, height) + ")";
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
           SizeText(width, height);
}

}  // namespace quorvel
