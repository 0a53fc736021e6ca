#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/flip_rows.h"

namespace quorvel {
namespace {

TEST(FlipRows, ReversesRowOrderAndKeepsEachRow) {
    const std::vector<std::uint8_t> source = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::vector<std::uint8_t> flipped(source.size(), 0xAA);
    FlipRows(source.data(), flipped.data(), 3, 3);
    EXPECT_EQ(flipped, (std::vector<std::uint8_t>{7, 8, 9, 4, 5, 6, 1, 2, 3}));

    std::vector<std::uint8_t> back(source.size());
    FlipRows(flipped.data(), back.data(), 3, 3);
    EXPECT_EQ(back, source);
}

TEST(FlipRows, SingleRowAndNoRows) {
    const std::vector<std::uint8_t> source = {1, 2, 3, 4};
    std::vector<std::uint8_t> out(4, 0);
    FlipRows(source.data(), out.data(), 4, 1);
    EXPECT_EQ(out, source);

    std::vector<std::uint8_t> untouched(4, 0xAA);
    FlipRows(source.data(), untouched.data(), 4, 0);
    FlipRows(source.data(), untouched.data(), 0, 4);
    EXPECT_EQ(untouched, std::vector<std::uint8_t>(4, 0xAA));
}

}  // namespace
}  // namespace quorvel
