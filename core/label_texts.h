#pragma once
// The texts of the two labels of the window and of the sprite list lines. The × between
// width and height is U+00D7, here in UTF-8.

#include <cstdint>
#include <string>

namespace quorvel {

inline constexpr const char* kNoImageLabel = "(no image)";

// "W × H": how every label, list line and message gives a size.
std::string SizeText(std::uint64_t width, std::uint64_t height);

std::string ImageSizeLabel(std::uint32_t width, std::uint32_t height);  // "(W × H)"
std::string CountLabel(std::uint32_t count);                            // "N images"

enum class LineForm {
    WithColon,     // "#I:\tW × H", as the sprite file reader writes every line
    WithoutColon,  // "#I\tW × H", as add, insert and delete write the lines they touch
};
std::string SpriteLine(std::uint32_t index, std::uint32_t width, std::uint32_t height,
                       LineForm form);

}  // namespace quorvel

namespace quorvel {
// The image label after a bitmap load: "(no image)" when width and height are both 0.
std::string ImageLabelFor(std::uint32_t width, std::uint32_t height);
}  // namespace quorvel
