// The window around the file commands: its preview, About box, and the question before
// unsaved sprites would be lost by closing it or loading a sprite file.

#include <QMenu>
#include <QWindow>

#include "core/game_palette.h"
#include "tests/ui/window_fixture.h"
#include "ui/preview_image.h"

namespace quorvel::testing {
namespace {

using MainWindow = WindowTest;

// The 200 × 200 frame shows the image at 1:1 from its top-left corner, cut off at the frame's
// edge, black where the image is not; also for widths that are not a multiple of 4.
TEST_F(MainWindow, PreviewShowsTheImageFromTheTopLeftAndBlackAroundIt) {
    constexpr QRgb kBlack = 0xFF000000u;
    for (const auto& [width, height] : {std::pair{0, 0}, {10, 10}, {300, 50}, {5, 3}, {203, 201}}) {
        SCOPED_TRACE(::testing::Message() << width << " × " << height);
        const IndexedImage& image = CurrentImage() = PatternImage(width, height);
        const QImage shot = window_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb window = shot.pixel(0, 0);
        ASSERT_NE(window, kBlack);
        int wrong = 0;  // pixels of the frame and the window's row and column just past it
        for (int y = 0; y <= 200; ++y) {
            for (int x = 0; x <= 200; ++x) {
                const QRgb expected = x == 200 || y == 200 ? window
                                      : x < width && y < height
                                          ? kBlack | kGameColours[image.pixels[y * width + x]]
                                          : kBlack;
                wrong += shot.pixel(kPreviewOrigin + QPoint(x, y)) != expected;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(MainWindow, TheWindowMenusAboutItemOpensTheAboutBox) {
    answerer_.Then([](QWidget* menu) {
        const QList<QAction*> items = menu->actions();  // ending in a separator and About
        EXPECT_TRUE(items.size() >= 3 && items[items.size() - 2]->isSeparator());
        EXPECT_EQ(items.back()->text(), "&About quorvel...");
        qobject_cast<QMenu*>(menu)->setActiveAction(items.back());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    answerer_.Then([](QWidget* about) {
        const auto* version = about->findChild<QLabel*>("version");
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->text(), "quorvel Version 1.1");
        EXPECT_EQ(about->findChild<QLabel*>("picture")->pixmap().size(), QSize(240, 128));
        EXPECT_EQ(about->findChild<QLabel*>("icon")->pixmap().size(), QSize(32, 32));
        about->findChild<QPushButton*>("ok")->click();
    });
    // Through the window system, which turns a right click into a context-menu request.
    QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {}, QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitFor([this] { return answerer_.seen.size() == 2; }));

    EXPECT_EQ(answerer_.seen[1], "About quorvel: ");
    EXPECT_TRUE(window_->isVisible());
}

// CloseBox: the close request the close box and the window manager send to the window;
// WidgetClose: QWidget::close(), as a program would call it.
enum class Way { Escape, Enter, CloseBox, WidgetClose, MenuClose, LoadButton, DropSprites };
// How the set came to be. Fresh: Add with no image, which changes nothing; Fresh, Saved and
// Loaded leave nothing unsaved.
enum class Before { Fresh, Added, Inserted, Deleted, Saved, Loaded };
enum class Reply { None, Yes, No };  // None: no question may come
using enum Way;
using enum Before;
using enum Reply;

struct QuestionCase {
    Way way;
    Before before;
    Reply reply;
};

void PrintTo(const QuestionCase& row, std::ostream* out) {
    *out << "way " << static_cast<int>(row.way) << ", before " << static_cast<int>(row.before)
         << ", reply " << static_cast<int>(row.reply);
}

// clang-format off
const QuestionCase kQuestions[] = {
    {Escape, Fresh, None},          {Escape, Added, No},         {Escape, Added, Yes},
    {Enter, Fresh, None},           {Enter, Inserted, No},       {Enter, Inserted, Yes},
    {CloseBox, Saved, None},        {CloseBox, Deleted, No},     {CloseBox, Deleted, Yes},
    {WidgetClose, Loaded, None},    {WidgetClose, Inserted, No}, {WidgetClose, Added, Yes},
    {MenuClose, Fresh, None},       {MenuClose, Deleted, No},    {MenuClose, Added, Yes},
    {LoadButton, Saved, None},      {LoadButton, Added, No},     {LoadButton, Deleted, Yes},
    {DropSprites, Loaded, None},    {DropSprites, Added, No},    {DropSprites, Inserted, Yes},
};
// clang-format on

class DiscardQuestion : public WindowTest, public ::testing::WithParamInterface<QuestionCase> {
  protected:
    // Builds the set through the window's own commands, from a file of two sprites with the
    // second line selected.
    void Prepare(Before before) {
        WriteFile(PathOf("two.spr"),
                  EncodeSpriteFile({2, {2, 3}, {2, 1}, {{1, 2, 3, 4}, {5, 6, 7}}}).value());
        WriteFile(PathOf("one.spr"), EncodeSpriteFile({1, {1}, {1}, {{5}}}).value());
        if (before != Fresh) {
            ASSERT_TRUE(LoadSpriteFile("two.spr"));
            CurrentImage() = PatternImage(6, 6);
            window_->SelectLine(1);
        }
        Click(before == Inserted  ? "insertSprite"
              : before == Deleted ? "deleteSprite"
                                  : "addSprite");
        if (before == Saved) {
            Pick(PathOf("saved.spr"));
            Click("saveSprites");
        } else if (before == Loaded) {
            ASSERT_TRUE(LoadSpriteFile("two.spr"));
        }
    }
};

TEST_P(DiscardQuestion, ComesBeforeUnsavedSpritesWouldBeLost) {
    const QuestionCase& row = GetParam();
    Prepare(row.before);
    const QStringList linesBefore = Lines();
    if (row.reply != None) {
        answerer_.ThenPress(row.reply == Yes ? QMessageBox::Yes : QMessageBox::No);
    }
    const bool goesOn = row.reply != No;
    const bool closing = row.way != LoadButton && row.way != DropSprites;
    if (row.way == Escape || row.way == Enter) {
        QTest::keyClick(window_->findChild<QListWidget*>("spriteList"),
                        row.way == Escape ? Qt::Key_Escape : Qt::Key_Return);
    } else if (row.way == CloseBox) {
        window_->windowHandle()->close();
    } else if (row.way == WidgetClose) {
        window_->close();
    } else if (row.way == MenuClose) {
        answerer_.answers.push_front([](QWidget* menu) { QTest::keyClick(menu, 'c'); });  // &Close
        window_->ShowWindowMenu(window_->mapToGlobal(QPoint(100, 100)));
    } else if (row.way == DropSprites) {
        DropFile(window_.get(), PathOf("one.spr"));
    } else {
        if (goesOn) {
            Pick(PathOf("one.spr"));
        }
        Click("loadSprites");
    }

    EXPECT_EQ(answerer_.seen.filter("quorvel: "),  // the window menu is seen too
              row.reply == None ? QStringList{}
                                : QStringList{"quorvel: The sprite set has changes that are not "
                                              "saved. Discard them?"});
    EXPECT_EQ(window_->isVisible(), !(closing && goesOn));
    EXPECT_EQ(Lines(), !closing && goesOn ? QStringList{"#0:\t1 × 1"} : linesBefore);
    EXPECT_EQ(CurrentSpriteSet().count, static_cast<std::uint32_t>(Lines().size()));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, DiscardQuestion, ::testing::ValuesIn(kQuestions));

}  // namespace
}  // namespace quorvel::testing
