// The four buttons between the preview and the list, and the list services they rely on.

#include <QTest>

#include "core/window_services.h"
#include "sprites/sprite_set.h"
#include "tests/ui/window_fixture.h"
#include "ui/sprite_list_tabs.h"

namespace quorvel::testing {
namespace {

using SpriteButtons = WindowTest;
using SpriteList = WindowTest;

TEST_F(SpriteButtons, EditTheSetThroughTheWindowsList) {
    const IndexedImage small = PatternImage(4, 2, 30);
    const IndexedImage large = PatternImage(8, 3, 90);
    CurrentImage() = small;
    Click("addSprite");
    Click("addSprite");
    quorvel::SelectLine(0);
    CurrentImage() = large;
    Click("insertSprite");
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("#0\t8 × 3"), QStringLiteral("#1\t4 × 2"),
                                    QStringLiteral("#2\t4 × 2")}));
    EXPECT_EQ(Selected(), 0);

    quorvel::SelectLine(2);
    Click("deleteSprite");
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(CountLabel(), QStringLiteral("2 images"));

    quorvel::SelectLine(0);
    Click("copySprite");
    EXPECT_EQ(CurrentImage().pixels, large.pixels);
    EXPECT_EQ(ImageLabel(), QStringLiteral("(8 × 3)"));

    Click("deleteSprite");
    Click("deleteSprite");
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(CountLabel(), QStringLiteral("0 images"));
}

TEST_F(SpriteList, LinesKeepTheirOrderAndAtMostOneIsSelected) {
    for (const char* line : {"#2\tb", "#0\ta", "#1\tc"}) {
        quorvel::AppendLine(line);
    }
    EXPECT_EQ(Lines(), (QStringList{"#2\tb", "#0\ta", "#1\tc"}));
    EXPECT_EQ(quorvel::GetSelectedLine(), -1);

    quorvel::SelectLine(1);
    quorvel::SelectLine(2);
    EXPECT_EQ(quorvel::GetSelectedLine(), 2);
    EXPECT_EQ(window_->findChild<QListWidget*>("spriteList")->selectedItems().size(), 1);

    quorvel::DeleteLine(0);  // the selection moves up with its line
    EXPECT_EQ(quorvel::GetSelectedLine(), 1);
    quorvel::DeleteLine(7);  // past the end: ignored
    EXPECT_EQ(Lines().size(), 2);
    quorvel::DeleteLine(1);  // the selected line: the selection goes with it
    EXPECT_EQ(quorvel::GetSelectedLine(), -1);
    EXPECT_EQ(Lines(), QStringList{"#0\ta"});

    quorvel::SelectLine(0);
    quorvel::ClearLines();
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(quorvel::GetSelectedLine(), -1);
}

TEST_F(SpriteList, SelectingOrDoubleClickingALineRunsNothing) {
    CurrentImage() = PatternImage(4, 2);
    Click("addSprite");
    CurrentImage() = PatternImage(8, 8);
    auto* list = window_->findChild<QListWidget*>("spriteList");
    const QPoint line = list->visualItemRect(list->item(0)).center();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
    EXPECT_EQ(Selected(), 0);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
    EXPECT_EQ(CurrentImage().width, 8u);
    EXPECT_EQ(CurrentSpriteSet().count, 1u);
    EXPECT_EQ(ImageLabel(), QStringLiteral("(no image)"));
    EXPECT_EQ(Lines(), QStringList{QStringLiteral("#0\t4 × 2")});
}

TEST_F(SpriteList, SizesLineUpAtTheTabStopOf32DialogUnits) {
    auto* list = window_->findChild<QListWidget*>("spriteList");
    auto* delegate = dynamic_cast<TabStopDelegate*>(list->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    EXPECT_EQ(delegate->tabStopPixels(), 8 * window_->baseUnits().x);
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
}

}  // namespace
}  // namespace quorvel::testing
