// The game palette as paint programs' palette files: each format's exact bytes at its start,
// at a colour in the middle and at its end, chosen by the name's extension in any case.

#include <gtest/gtest.h>

#include <string>

#include "palettes/palette_file.h"

namespace quorvel::testing {
namespace {

std::string Text(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count) {
    from = std::min(from, bytes.size());
    return std::string(
        bytes.begin() + static_cast<std::ptrdiff_t>(from),
        bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), from + count)));
}

std::string Times(int count, const std::string& text) {
    std::string repeated;
    while (count-- > 0) {
        repeated += text;
    }
    return repeated;
}

TEST(PaletteFile, EachFormatHoldsAllEntriesInIndexOrder) {
    struct Row {
        const char* name;
        std::size_t size;
        std::string start;   // the header and the first entries
        std::string middle;  // entry 11, 0x100808, found anywhere
        std::string end;
    };
    const Row rows[] = {
        {"c1.gpl", 45 + 19 * 256 + 658,  // header, lines, digits of the indexes
         "GIMP Palette\nName: Creatures 1\nColumns: 16\n#\n  0   0   0\tIndex 0\n252 252 "
         "252\tIndex 1\n",
         "\n 16   8   8\tIndex 11\n", "\n252 252 252\tIndex 254\n252 252 252\tIndex 255\n"},
        {"C1.ACT", 768, std::string("\0\0\0\xFC\xFC\xFC", 6),
         std::string("\x10\x08\x08\x14\x18\x28", 6), std::string("\xFC\xFC\xFC", 3)},
        {"c1.Pal", 0, "JASC-PAL\r\n0100\r\n256\r\n0 0 0\r\n252 252 252\r\n",
         "\r\n16 8 8\r\n20 24 40\r\n", "\r\n0 0 0\r\n" + Times(10, "252 252 252\r\n")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Result<std::vector<std::uint8_t>> file = EncodePaletteFile(row.name);
        ASSERT_TRUE(file);
        const std::vector<std::uint8_t>& bytes = file.value();
        if (row.size != 0) {
            EXPECT_EQ(bytes.size(), row.size);
        }
        EXPECT_EQ(Text(bytes, 0, row.start.size()), row.start);
        EXPECT_NE(Text(bytes, 0, bytes.size()).find(row.middle), std::string::npos);
        EXPECT_EQ(
            Text(bytes, bytes.size() - std::min(bytes.size(), row.end.size()), row.end.size()),
            row.end);
    }
    const std::string pal = Text(EncodePaletteFile("x.pal").value(), 0, SIZE_MAX);
    EXPECT_EQ(std::count(pal.begin(), pal.end(), '\n'), 259);
    EXPECT_EQ(pal.find("\n\n"), std::string::npos);
    EXPECT_EQ(std::count(pal.begin(), pal.end(), '\r'), 259);
    for (const char* name : {"x.png", "x", "gpl", "x.gpl.txt"}) {
        const Result<std::vector<std::uint8_t>> refused = EncodePaletteFile(name);
        ASSERT_FALSE(refused) << name;
        EXPECT_EQ(refused.error(), "a palette file must end in .gpl, .act or .pal");
    }
}

}  // namespace
}  // namespace quorvel::testing
