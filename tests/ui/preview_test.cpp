// The preview's pixels, read back from a grab of the window.

#include <QImage>

#include "core/game_palette.h"
#include "tests/ui/window_fixture.h"
#include "ui/preview_image.h"

namespace quorvel::testing {
namespace {

using Preview = WindowTest;

constexpr QRgb kBlack = 0xFF000000;

QRgb Colour(std::uint8_t index) {
    return 0xFF000000u | kGameColours[index];
}

class PreviewShot {
  public:
    explicit PreviewShot(QWidget* window)
        : shot_(window->grab().toImage().convertToFormat(QImage::Format_ARGB32)) {}
    // Pixel (x, y) of the frame.
    QRgb At(int x, int y) const {
        return shot_.pixel(kPreviewOrigin.x() + x, kPreviewOrigin.y() + y);
    }
    QRgb Window(int x, int y) const { return shot_.pixel(x, y); }
    // Whether every frame pixel in [x0, x1) × [y0, y1) is black.
    bool Black(int x0, int y0, int x1, int y1) const {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (At(x, y) != kBlack) {
                    return false;
                }
            }
        }
        return true;
    }
    // Whether frame pixels [0, w) × [0, h) show `image` at 1:1.
    bool Shows(const IndexedImage& image, int w, int h) const {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (At(x, y) != Colour(image.pixels[y * image.width + x])) {
                    return false;
                }
            }
        }
        return true;
    }

  private:
    QImage shot_;
};

TEST_F(Preview, WithoutAnImageTheFrameIsBlack) {
    const PreviewShot shot(window_.get());
    EXPECT_TRUE(shot.Black(0, 0, kPreviewSide, kPreviewSide));
    // The frame starts at (8, 8) and ends after 200 pixels: the window shows around it.
    EXPECT_NE(shot.Window(7, 7), kBlack);
    EXPECT_NE(shot.Window(8 + kPreviewSide, 8 + kPreviewSide), kBlack);
}

struct Case {
    std::uint32_t width, height;
};

class PreviewSizes : public WindowTest, public ::testing::WithParamInterface<Case> {};

// The image at 1:1 from the top-left corner, cut at 200, black around it; widths that are
// not a multiple of 4 included.
TEST_P(PreviewSizes, ShowTheImageAtItsRealSizeFromTheTopLeft) {
    const auto [width, height] = GetParam();
    CurrentImage() = PatternImage(width, height);
    window_->RequestRepaint();

    const PreviewShot shot(window_.get());
    const int w = std::min<int>(static_cast<int>(width), kPreviewSide);
    const int h = std::min<int>(static_cast<int>(height), kPreviewSide);
    EXPECT_TRUE(shot.Shows(CurrentImage(), w, h));
    EXPECT_TRUE(shot.Black(w, 0, kPreviewSide, kPreviewSide));
    EXPECT_TRUE(shot.Black(0, h, kPreviewSide, kPreviewSide));
}

INSTANTIATE_TEST_SUITE_P(Preview, PreviewSizes,
                         ::testing::Values(Case{10, 10}, Case{300, 50}, Case{5, 3}, Case{1, 7},
                                           Case{203, 201}));

TEST(PreviewComposition, ShowsOnlyTheRowsAShortBufferHolds) {
    IndexedImage image = PatternImage(6, 4);
    image.pixels.resize(6 * 2 + 3);  // two whole rows and part of a third
    const QImage frame = ComposePreview(image);
    EXPECT_EQ(frame.format(), QImage::Format_Indexed8);
    EXPECT_EQ(frame.pixelIndex(5, 1), image.pixels[11]);
    EXPECT_EQ(frame.pixelIndex(0, 2), 0);
}

TEST_F(Preview, ShowsALoadedBitmap) {
    const QString path = PathOf(QStringLiteral("g.bmp"));
    WriteFile(path, GradientBitmap(20, 10));
    Pick(path);
    Click("loadBitmap");
    const PreviewShot shot(window_.get());
    EXPECT_TRUE(shot.Shows(CurrentImage(), 20, 10));
}

}  // namespace
}  // namespace quorvel::testing
