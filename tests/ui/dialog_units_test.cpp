#include <gtest/gtest.h>

#include "ui/dialog_units.h"

namespace quorvel {
namespace {

TEST(DialogUnits, ScaleByAQuarterAndAnEighthOfTheBaseUnitsRoundingToNearest) {
    struct Case {
        int units;
        BaseUnits base;
        int x, y;
    };
    const Case cases[] = {
        {0, {6, 13}, 0, 0},       {4, {6, 13}, 6, 7},       {1, {6, 13}, 2, 2},
        {145, {6, 13}, 218, 236}, {287, {6, 13}, 431, 466}, {161, {7, 15}, 282, 302},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogUnitsToPixelsX(c.units, c.base), c.x) << c.units;
        EXPECT_EQ(DialogUnitsToPixelsY(c.units, c.base), c.y) << c.units;
    }
}

TEST(DialogUnits, RectanglesConvertTheirEdgesSoNeighboursStillMeet) {
    const BaseUnits base{6, 13};
    const QRect left = DialogRect(200, 105, 40, 14, base);
    const QRect right = DialogRect(240, 105, 40, 14, base);
    EXPECT_EQ(left.x() + left.width(), right.x());
    EXPECT_EQ(left, QRect(300, 171, 60, 22));
}

TEST(DialogUnits, BaseUnitsNeverFallBelowThoseTheLayoutWasDesignedFor) {
    QFont tiny = DialogFont();
    tiny.setPixelSize(4);
    const BaseUnits small = BaseUnitsOf(tiny);
    EXPECT_EQ(small.x, kLeastBaseUnits.x);
    EXPECT_EQ(small.y, kLeastBaseUnits.y);

    QFont large = DialogFont();
    large.setPixelSize(40);
    const BaseUnits big = BaseUnitsOf(large);
    EXPECT_GT(big.x, kLeastBaseUnits.x);
    EXPECT_GT(big.y, kLeastBaseUnits.y);
}

}  // namespace
}  // namespace quorvel
