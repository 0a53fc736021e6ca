// The four file commands driven end to end: scripted file dialogs, real files in a temporary
// folder, and the window's labels, list and radio group checked afterwards.

#include "core/bitmap_writer.h"
#include "tests/ui/window_fixture.h"

namespace quorvel::testing {
namespace {

using FileCommands = WindowTest;
using Asked = std::vector<std::pair<FileKind, FileAction>>;

bool SameImage(const IndexedImage& a, const IndexedImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

SpriteSet TwoSprites() {
    return {2, {4, 3}, {2, 5}, {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels}};
}

TEST_F(FileCommands, EachShowsWhatItDidAndEntersTheFilesFolder) {
    ASSERT_TRUE(QDir().mkpath(PathOf("pictures")) && QDir().mkpath(PathOf("sprites")));
    WriteFile(PathOf("pictures/sample.bmp"), TrueColourSample());
    WriteFile(PathOf("sprites/two.spr"), EncodeSpriteFile(TwoSprites()).value());

    Pick(PathOf("pictures/sample.bmp"));
    Click("loadBitmap");
    EXPECT_EQ(CurrentImage().width, 128u);  // rounded up to a multiple of 4
    EXPECT_EQ(Text("imageLabel"), "(128 × 64)");
    EXPECT_FALSE(DitherChecked());
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf("pictures")));

    CheckDither(true);  // not read by the sprite load, which puts the group back
    Pick(PathOf("sprites/two.spr"));
    Click("loadSprites");
    EXPECT_EQ(Text("countLabel"), "2 images");
    EXPECT_EQ(Lines(), (QStringList{"#0:\t4 × 2", "#1:\t3 × 5"}));
    EXPECT_EQ(window_->SelectedLine(), -1);
    EXPECT_EQ(Text("imageLabel"), "(128 × 64)");
    EXPECT_FALSE(DitherChecked());
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf("sprites")));

    Pick(PathOf("saved.bmp"));
    Click("saveBitmap");
    EXPECT_EQ(ReadTestFile(PathOf("saved.bmp").toStdString()),
              EncodeBitmap(CurrentImage()).value());
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(folder_.path()));

    Pick(PathOf("pictures/saved.spr"));
    Click("saveSprites");
    EXPECT_EQ(ReadTestFile(PathOf("pictures/saved.spr").toStdString()),
              EncodeSpriteFile(TwoSprites()).value());
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf("pictures")));
    EXPECT_EQ(dialogs_->asked, (Asked{{FileKind::Bitmap, FileAction::Open},
                                      {FileKind::Sprite, FileAction::Open},
                                      {FileKind::Bitmap, FileAction::Save},
                                      {FileKind::Sprite, FileAction::Save}}));
}

TEST_F(FileCommands, CancelledDialogsChangeNothing) {
    CurrentImage() = PatternImage(8, 2);
    CurrentSpriteSet() = TwoSprites();
    window_->AppendLine("#0\t4 × 2");
    const QString folderBefore = QDir::currentPath();

    for (const char* button : {"loadBitmap", "saveBitmap", "loadSprites", "saveSprites"}) {
        SCOPED_TRACE(button);
        CheckDither(true);
        Pick(QString());
        Click(button);

        EXPECT_EQ(QDir::currentPath(), folderBefore);
        EXPECT_TRUE(SameImage(CurrentImage(), PatternImage(8, 2)));
        EXPECT_EQ(CurrentSpriteSet().count, 2u);
        EXPECT_EQ(Text("imageLabel"), "(no image)");
        EXPECT_EQ(Text("countLabel"), "0 images");
        EXPECT_EQ(Lines(), QStringList{"#0\t4 × 2"});
        EXPECT_TRUE(DitherChecked());
        CheckDither(false);
    }
    // Only the bitmap "Load" copies the group into the mode, even when cancelled.
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_TRUE(answerer_.seen.empty());
}

// The group is read just before a bitmap load, and put back to the mode by Add.
TEST_F(FileCommands, TheRadioGroupIsReadByBitmapLoadAndPutBackByAdd) {
    const std::vector<std::uint8_t> bytes = TrueColourSample();
    WriteFile(PathOf("sample.bmp"), bytes);
    const IndexedImage dithered = DecodeBitmap(bytes, ConversionMode::Dither).value();
    ASSERT_FALSE(SameImage(dithered, DecodeBitmap(bytes, ConversionMode::Nearest).value()));

    CheckDither(true);
    Pick(PathOf("sample.bmp"));
    Click("loadBitmap");
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_TRUE(SameImage(CurrentImage(), dithered));
    EXPECT_TRUE(DitherChecked());

    CheckDither(false);
    Click("addSprite");
    EXPECT_TRUE(DitherChecked());
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
}

TEST_F(FileCommands, FailuresShowAFileErrorBoxAndLoadsStillRefreshTheLabels) {
    CurrentImage() = PatternImage(8, 3);  // present, but the labels have not been told
    CurrentSpriteSet() = TwoSprites();
    for (int box = 0; box < 2; ++box) {
        answerer_.Then([](QWidget* window) {
            auto* error = qobject_cast<QMessageBox*>(window);
            EXPECT_EQ(error->icon(), QMessageBox::Critical);
            EXPECT_EQ(error->standardButtons(), QMessageBox::Ok);
            error->close();
        });
    }
    Pick(PathOf("gone.bmp"));
    Click("loadBitmap");
    Pick(PathOf("gone.spr"));
    Click("loadSprites");
    Pick(PathOf("gone/kept.spr"));  // a folder that cannot be entered
    Click("saveSprites");

    EXPECT_EQ(answerer_.seen, (QStringList{"File Error: Unable to open gone.bmp for read.",
                                           "File Error: Unable to open gone.spr for read.",
                                           "File Error: Unable to open kept.spr for write."}));
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(folder_.path()));
    EXPECT_TRUE(SameImage(CurrentImage(), PatternImage(8, 3)));
    EXPECT_EQ(Text("imageLabel"), "(8 × 3)");
    EXPECT_EQ(Text("countLabel"), "2 images");
}

}  // namespace
}  // namespace quorvel::testing
