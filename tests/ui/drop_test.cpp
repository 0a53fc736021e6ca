// Files dropped on the window load as the matching "Load" command would load them.

#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "core/bitmap_reader.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/ui/window_fixture.h"

namespace quorvel::testing {
namespace {

class Drop : public WindowTest {
  protected:
    // Drags `url` over the preview and drops it; returns whether the window took the drag.
    bool DropUrl(const QUrl& url) {
        QMimeData data;
        data.setUrls({url});
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &drop);
        QCoreApplication::processEvents();  // the load runs once the drop is over
        return true;
    }
    bool DropFile(const QString& path) { return DropUrl(QUrl::fromLocalFile(path)); }
};

TEST_F(Drop, ABitmapLoadsAsBitmapLoadWould) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir("in"));
    const QString path = PathOf("in/Gradient.BMP");
    const std::vector<std::uint8_t> bytes = GradientBitmap(8, 4);
    WriteFile(path, bytes);
    CheckDither(true);

    ASSERT_TRUE(DropFile(path));

    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_EQ(CurrentImage().pixels, DecodeBitmap(bytes, ConversionMode::Dither).value().pixels);
    EXPECT_EQ(ImageLabel(), QStringLiteral("(8 × 4)"));
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(),
              QFileInfo(PathOf("in")).canonicalFilePath());
}

TEST_F(Drop, ASpriteFileLoadsAsSpriteLoadWould) {
    SpriteSet set;
    set.count = 1;
    set.widths = {4};
    set.heights = {3};
    set.images = {PatternImage(4, 3).pixels};
    const QString path = PathOf("one.Spr");
    WriteFile(path, EncodeSpriteFile(set).value());

    ASSERT_TRUE(DropFile(path));

    EXPECT_EQ(CountLabel(), QStringLiteral("1 images"));
    EXPECT_EQ(Lines(), QStringList{QStringLiteral("#0:\t4 × 3")});
}

TEST_F(Drop, AnyOtherFileIsRefusedWithAMessage) {
    const QString path = PathOf("notes.txt");
    WriteFile(path, {'h', 'i'});
    const QString folderBefore = QDir::currentPath();

    ASSERT_TRUE(DropFile(path));

    ASSERT_EQ(answerer_.seen().size(), 1u);
    EXPECT_TRUE(answerer_.seen()[0].text.contains("notes.txt"));
    EXPECT_EQ(QDir::currentPath(), folderBefore);
    EXPECT_TRUE(CurrentImage().IsEmpty());
    EXPECT_EQ(ImageLabel(), QStringLiteral("(no image)"));
}

TEST_F(Drop, OnlyLocalFilesAreTaken) {
    EXPECT_FALSE(DropUrl(QUrl("https://example.org/a.bmp")));
}

}  // namespace
}  // namespace quorvel::testing
