// The window around the file commands: its preview, About box, drops and ways to close.

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

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

// Drags `path` over the window and drops it there.
void DropFile(QWidget* window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter({100, 100}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    QCoreApplication::processEvents();  // the load runs once the drop is over
}

TEST_F(MainWindow, DroppedFilesLoadAsTheMatchingLoadWouldAndOthersAreRefused) {
    WriteFile(PathOf("notes.txt"), {'h', 'i'});
    DropFile(window_.get(), PathOf("notes.txt"));
    EXPECT_EQ(answerer_.seen,
              QStringList{"File Error: Unable to load notes.txt: only Windows bitmaps "
                          "(.bmp) and Creatures sprite files (.spr) can be loaded."});
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(folder_.path()));
    EXPECT_TRUE(CurrentImage().IsEmpty());
    EXPECT_EQ(Text("imageLabel"), "(no image)");

    ASSERT_TRUE(QDir().mkpath(PathOf("in")));
    const std::vector<std::uint8_t> bytes = TrueColourSample();
    WriteFile(PathOf("in/Sample.BMP"), bytes);
    CheckDither(true);
    DropFile(window_.get(), PathOf("in/Sample.BMP"));
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_EQ(CurrentImage().pixels, DecodeBitmap(bytes, ConversionMode::Dither).value().pixels);
    EXPECT_EQ(Text("imageLabel"), "(128 × 64)");
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf("in")));

    const SpriteSet one{1, {4}, {3}, {PatternImage(4, 3).pixels}};
    WriteFile(PathOf("one.Spr"), EncodeSpriteFile(one).value());
    DropFile(window_.get(), PathOf("one.Spr"));
    EXPECT_EQ(Text("countLabel"), "1 images");
    EXPECT_EQ(Lines(), QStringList{"#0:\t4 × 3"});
    EXPECT_EQ(answerer_.seen.size(), 1);
}

TEST_F(MainWindow, EscapeOrCloseEndsItWithoutAsking) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
    window_->show();
    EXPECT_TRUE(window_->close());
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(answerer_.seen.empty());
}

}  // namespace
}  // namespace quorvel::testing
