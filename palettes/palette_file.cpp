#include "palettes/palette_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "core/file_names.h"
#include "core/game_palette.h"
#include "core/save_encoded.h"

namespace quorvel {

namespace {

struct Rgb {
    unsigned red, green, blue;
};

Rgb ColourOf(std::size_t index) {
    const std::uint32_t colour = kGameColours[index];
    return {(colour >> 16) & 0xFFu, (colour >> 8) & 0xFFu, colour & 0xFFu};
}

void Append(std::vector<std::uint8_t>& file, std::string_view text) {
    file.insert(file.end(), text.begin(), text.end());
}

// A paint program's own palette format: a header, then a line of each colour. Some programs
// drop colour lines without a name, so every line carries one.
std::vector<std::uint8_t> TextPalette() {
    std::vector<std::uint8_t> file;
    Append(file, "GIMP Palette\nName: Creatures 1\nColumns: 16\n#\n");
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const Rgb c = ColourOf(i);
        std::array<char, 40> line{};
        const int length = std::snprintf(line.data(), line.size(), "%3u %3u %3u\tIndex %zu\n",
                                         c.red, c.green, c.blue, i);
        Append(file, std::string_view(line.data(), static_cast<std::size_t>(length)));
    }
    return file;
}

// The colour table: the three bytes of each entry and nothing else. Readers recognise it by
// its size of exactly 768 bytes.
std::vector<std::uint8_t> ColourTable() {
    std::vector<std::uint8_t> file;
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const Rgb c = ColourOf(i);
        for (const unsigned channel : {c.red, c.green, c.blue}) {
            file.push_back(static_cast<std::uint8_t>(channel));
        }
    }
    return file;
}

// JASC's text palette, with the CR LF line ends some readers insist on.
std::vector<std::uint8_t> JascPalette() {
    std::vector<std::uint8_t> file;
    Append(file, "JASC-PAL\r\n0100\r\n256\r\n");
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const Rgb c = ColourOf(i);
        Append(file, std::to_string(c.red) + ' ' + std::to_string(c.green) + ' ' +
                         std::to_string(c.blue) + "\r\n");
    }
    return file;
}

}  // namespace

std::optional<PaletteFormat> PaletteFormatOf(std::string_view fileName) {
    constexpr std::pair<std::string_view, PaletteFormat> kExtensions[] = {
        {".gpl", PaletteFormat::Gpl}, {".act", PaletteFormat::Act}, {".pal", PaletteFormat::Pal}};
    for (const auto& [extension, format] : kExtensions) {
        if (EndsWithNoCase(fileName, extension)) {
            return format;
        }
    }
    return std::nullopt;
}

std::vector<std::uint8_t> EncodePalette(PaletteFormat format) {
    switch (format) {
        case PaletteFormat::Gpl:
            return TextPalette();
        case PaletteFormat::Act:
            return ColourTable();
        case PaletteFormat::Pal:
            break;
    }
    return JascPalette();
}

Result<std::vector<std::uint8_t>> EncodePaletteFile(std::string_view fileName) {
    const std::optional<PaletteFormat> format = PaletteFormatOf(fileName);
    if (!format) {
        return Failure{"a palette file must end in .gpl, .act or .pal"};
    }
    return EncodePalette(*format);
}

bool SavePaletteFile(const std::string& fileName) {
    return SaveEncodedFile(fileName, EncodePaletteFile(fileName));
}

}  // namespace quorvel
