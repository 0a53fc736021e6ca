// The four file commands driven end to end: scripted file dialogs, real files in a temporary
// folder, and the window's labels, list and radio group checked afterwards.

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/ui/window_fixture.h"

namespace quorvel::testing {
namespace {

using FileCommands = WindowTest;

QString Canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

bool SameImage(const IndexedImage& a, const IndexedImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

SpriteSet ThreeSprites() {
    SpriteSet set;
    for (const auto& [w, h] : {std::pair{4u, 2u}, std::pair{3u, 5u}, std::pair{12u, 1u}}) {
        const IndexedImage image = PatternImage(w, h, static_cast<std::uint8_t>(20 + w));
        set.widths.push_back(w);
        set.heights.push_back(h);
        set.images.push_back(image.pixels);
        ++set.count;
    }
    return set;
}

TEST_F(FileCommands, BitmapLoadShowsTheImageAndEntersItsFolder) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("pictures")));
    const QString path = PathOf(QStringLiteral("pictures/gradient.bmp"));
    WriteFile(path, GradientBitmap(10, 6));

    Pick(path);
    Click("loadBitmap");

    ASSERT_EQ(dialogs_->asked.size(), 1u);
    EXPECT_EQ(dialogs_->asked[0].kind, FileKind::Bitmap);
    EXPECT_EQ(dialogs_->asked[0].action, FileAction::Open);
    EXPECT_EQ(CurrentImage().width, 12u);  // rounded up to a multiple of 4
    EXPECT_EQ(ImageLabel(), QStringLiteral("(12 × 6)"));
    EXPECT_FALSE(DitherChecked());
    // Later relative names resolve in the chosen file's folder.
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf(QStringLiteral("pictures"))));
    EXPECT_TRUE(QFile::exists(QStringLiteral("gradient.bmp")));
}

TEST_F(FileCommands, BitmapLoadReadsTheRadioGroupBeforeLoading) {
    const QString path = PathOf(QStringLiteral("gradient.bmp"));
    const std::vector<std::uint8_t> bytes = GradientBitmap(16, 8);
    WriteFile(path, bytes);
    const IndexedImage dithered = DecodeBitmap(bytes, ConversionMode::Dither).value();
    ASSERT_FALSE(SameImage(dithered, DecodeBitmap(bytes, ConversionMode::Nearest).value()));

    CheckDither(true);  // just before the click
    Pick(path);
    Click("loadBitmap");

    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_TRUE(SameImage(CurrentImage(), dithered));
    EXPECT_TRUE(DitherChecked());
}

TEST_F(FileCommands, CancelledDialogsChangeNothing) {
    CurrentImage() = PatternImage(8, 2);
    CurrentSpriteSet() = ThreeSprites();
    window_->AppendLine(QStringLiteral("#0\t4 × 2"));
    const QString folderBefore = QDir::currentPath();

    for (const char* button : {"loadBitmap", "saveBitmap", "loadSprites", "saveSprites"}) {
        SCOPED_TRACE(button);
        CheckDither(true);
        Cancel();
        Click(button);

        EXPECT_EQ(QDir::currentPath(), folderBefore);
        EXPECT_TRUE(SameImage(CurrentImage(), PatternImage(8, 2)));
        EXPECT_EQ(CurrentSpriteSet().count, 3u);
        EXPECT_EQ(ImageLabel(), QStringLiteral("(no image)"));
        EXPECT_EQ(CountLabel(), QStringLiteral("0 images"));
        EXPECT_EQ(Lines(), QStringList{QStringLiteral("#0\t4 × 2")});
        EXPECT_TRUE(DitherChecked());
        CheckDither(false);
    }
    // Only the bitmap "Load" copies the group into the mode, even when cancelled.
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_TRUE(answerer_.seen().empty());
}

TEST_F(FileCommands, BitmapLoadRefreshesTheLabelAlsoWhenTheFileIsRejected) {
    CurrentImage() = PatternImage(8, 3);  // present, but the label has not been told
    const QString path = PathOf(QStringLiteral("broken.bmp"));
    WriteFile(path, {'B', 'M', 1, 2, 3});

    Pick(path);
    Click("loadBitmap");

    EXPECT_TRUE(SameImage(CurrentImage(), PatternImage(8, 3)));
    EXPECT_EQ(ImageLabel(), QStringLiteral("(8 × 3)"));
}

TEST_F(FileCommands, MissingBitmapIsReportedInAFileErrorBox) {
    Pick(PathOf(QStringLiteral("gone.bmp")));
    Click("loadBitmap");

    ASSERT_EQ(answerer_.seen().size(), 1u);
    const SeenWindow& box = answerer_.seen()[0];
    EXPECT_EQ(box.title, QStringLiteral("File Error"));
    EXPECT_EQ(box.text, QStringLiteral("Unable to open gone.bmp for read."));
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(ImageLabel(), QStringLiteral("(no image)"));
}

TEST_F(FileCommands, BitmapSaveWritesTheCurrentImageInTheChosenFolder) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("out")));
    CurrentImage() = PatternImage(8, 4);

    Pick(PathOf(QStringLiteral("out/saved.bmp")));
    Click("saveBitmap");

    EXPECT_EQ(dialogs_->asked.back().action, FileAction::Save);
    EXPECT_EQ(ReadFile(PathOf(QStringLiteral("out/saved.bmp"))),
              EncodeBitmap(PatternImage(8, 4)).value());
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf(QStringLiteral("out"))));
}

TEST_F(FileCommands, SpriteLoadShowsTheSetAndLeavesTheImageLabel) {
    const QString path = PathOf(QStringLiteral("three.spr"));
    WriteFile(path, EncodeSpriteFile(ThreeSprites()).value());
    CurrentImage() = PatternImage(4, 4);
    window_->SetImageLabel(QStringLiteral("(4 × 4)"));
    CheckDither(true);  // not read by this command; the load puts the group back

    Pick(path);
    Click("loadSprites");

    EXPECT_EQ(dialogs_->asked.back().kind, FileKind::Sprite);
    EXPECT_EQ(CountLabel(), QStringLiteral("3 images"));
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("#0:\t4 × 2"), QStringLiteral("#1:\t3 × 5"),
                                    QStringLiteral("#2:\t12 × 1")}));
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(ImageLabel(), QStringLiteral("(4 × 4)"));
    EXPECT_FALSE(DitherChecked());
}

TEST_F(FileCommands, FailedSpriteLoadStillShowsTheUnchangedCount) {
    CurrentSpriteSet() = ThreeSprites();
    Pick(PathOf(QStringLiteral("gone.spr")));
    Click("loadSprites");

    ASSERT_EQ(answerer_.seen().size(), 1u);
    EXPECT_EQ(answerer_.seen()[0].text, QStringLiteral("Unable to open gone.spr for read."));
    EXPECT_EQ(CountLabel(), QStringLiteral("3 images"));
}

TEST_F(FileCommands, SpriteSaveWritesTheSet) {
    CurrentImage() = PatternImage(4, 2);
    Click("addSprite");
    Click("addSprite");

    Pick(PathOf(QStringLiteral("pair.spr")));
    Click("saveSprites");

    EXPECT_EQ(dialogs_->asked.back().kind, FileKind::Sprite);
    EXPECT_EQ(dialogs_->asked.back().action, FileAction::Save);
    EXPECT_EQ(ReadFile(PathOf(QStringLiteral("pair.spr"))),
              EncodeSpriteFile(CurrentSpriteSet()).value());
}

TEST_F(FileCommands, AddAfterSwitchingTheRadioGroupSwitchesItBack) {
    CurrentImage() = PatternImage(4, 2);
    CheckDither(true);
    Click("addSprite");
    EXPECT_FALSE(DitherChecked());
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Nearest);
}

}  // namespace
}  // namespace quorvel::testing
