// The file commands driven end to end: scripted file dialogs or dropped files, real files in a
// temporary folder, and the window's labels, list and radio group checked afterwards.

#include <QMenu>

#include "core/bitmap_writer.h"
#include "pictures/picture_file.h"
#include "sprites/background.h"
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

enum class Arrival { Button, Drop, Cancelled };  // Cancelled: at the button's file dialog
enum class Content { Missing, Picture, TwoSprites, OneSprite, Text };

struct LoadCase {
    Arrival arrival;
    const char* path;  // in the temporary folder
    Content content;
    bool dither;          // checked before the load
    const char* message;  // the one box shown, "" for none
    const char* folder;   // the working folder afterwards
    const char* imageLabel;
    const char* countLabel;
    QStringList lines;
};

void PrintTo(const LoadCase& row, std::ostream* out) {
    const char* const arrivals[] = {"button ", "drop ", "cancelled "};
    *out << arrivals[static_cast<int>(row.arrival)] << row.path;
}

std::vector<std::uint8_t> Bytes(Content content) {
    switch (content) {
        case Content::Picture:
            return TrueColourSample();
        case Content::TwoSprites:
            return EncodeSpriteFile(TwoSprites()).value();
        case Content::OneSprite:
            return EncodeSpriteFile({1, {4}, {3}, {PatternImage(4, 3).pixels}}).value();
        case Content::Text:
            return {'h', 'i'};
        case Content::Missing:
            break;
    }
    return {};
}

// Before each load the image (8 × 3) and the set (two sprites) are present, but the labels and
// the list have not been told of them. Failures leave both, and the label of the load shows them.
// clang-format off
const LoadCase kLoads[] = {
    {Arrival::Button, "pictures/sample.bmp", Content::Picture, true, "", "pictures",
     "(128 × 64)", "0 images", {}},
    {Arrival::Button, "sample.bmp", Content::Picture, false, "", "", "(128 × 64)", "0 images", {}},
    {Arrival::Drop, "in/Sample.BMP", Content::Picture, true, "", "in", "(128 × 64)", "0 images", {}},
    {Arrival::Button, "sprites/two.spr", Content::TwoSprites, true, "", "sprites", "(no image)",
     "2 images", {"#0:\t4 × 2", "#1:\t3 × 5"}},
    {Arrival::Drop, "in/one.Spr", Content::OneSprite, true, "", "in", "(no image)", "1 images",
     {"#0:\t4 × 3"}},
    {Arrival::Button, "gone.bmp", Content::Missing, false,
     "File Error: Unable to open gone.bmp for read.", "", "(8 × 3)", "0 images", {}},
    {Arrival::Button, "gone.spr", Content::Missing, true,
     "File Error: Unable to open gone.spr for read.", "", "(no image)", "2 images", {}},
    {Arrival::Cancelled, "pictures/sample.bmp", Content::Missing, true, "", "", "(no image)",
     "0 images", {}},
    {Arrival::Cancelled, "sprites/two.spr", Content::Missing, true, "", "", "(no image)",
     "0 images", {}},
    {Arrival::Drop, "in/notes.txt", Content::Text, true, "File Error: Unable to load notes.txt: "
     "only Windows bitmaps (.bmp) and Creatures sprite files (.spr) can be loaded.", "",
     "(no image)", "0 images", {}},
};
// clang-format on

class LoadTable : public WindowTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTable, ShowsWhatWasLoadedAndEntersTheFilesFolder) {
    const LoadCase& row = GetParam();
    const std::vector<std::uint8_t> bytes = Bytes(row.content);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(PathOf(row.path)).absolutePath()));
    if (row.content != Content::Missing) {
        WriteFile(PathOf(row.path), bytes);
    }
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = TwoSprites();
    CheckDither(row.dither);

    const std::optional<FileKind> kind = KindOfFileName(row.path);
    if (row.arrival != Arrival::Drop) {
        Pick(row.arrival == Arrival::Button ? PathOf(row.path) : QString());
        Click(kind == FileKind::Bitmap ? "loadBitmap" : "loadSprites");
        EXPECT_EQ(dialogs_->asked, (Asked{{*kind, FileAction::Open}}));
    } else {
        DropFile(window_.get(), PathOf(row.path));
    }

    EXPECT_EQ(answerer_.seen, *row.message ? QStringList{row.message} : QStringList{});
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf(row.folder)));
    EXPECT_EQ(Text("imageLabel"), row.imageLabel);
    EXPECT_EQ(Text("countLabel"), row.countLabel);
    EXPECT_EQ(Lines(), row.lines);
    EXPECT_EQ(window_->SelectedLine(), -1);
    const ConversionMode mode = row.dither ? ConversionMode::Dither : ConversionMode::Nearest;
    EXPECT_TRUE(SameImage(CurrentImage(), row.content == Content::Picture
                                              ? DecodeBitmap(bytes, mode).value()
                                              : PatternImage(8, 3)));
    // A bitmap load reads the group into the mode; a sprite load puts the group back to the mode
    // without reading it, and so does Add.
    const bool ditherMode = row.dither && kind == FileKind::Bitmap;
    EXPECT_EQ(DitherChecked(), row.lines.isEmpty() ? row.dither : ditherMode);
    CheckDither(!ditherMode);
    Click("addSprite");
    EXPECT_EQ(DitherChecked(), ditherMode);
}

INSTANTIATE_TEST_SUITE_P(FileCommands, LoadTable, ::testing::ValuesIn(kLoads));

TEST_F(FileCommands, SavesWriteInTheChosenFolderAndReportFailures) {
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = TwoSprites();
    ASSERT_TRUE(QDir().mkpath(PathOf("pictures")));
    for (const QString& path : {QString(), PathOf("pictures/saved.bmp")}) {  // cancelled first
        Pick(path);
        Click("saveBitmap");
    }
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(PathOf("pictures")));
    for (const QString& path : {QString(), PathOf("saved.spr"), PathOf("gone/kept.spr")}) {
        Pick(path);  // "gone" is a folder that cannot be entered
        Click("saveSprites");
    }

    EXPECT_EQ(ReadTestFile(PathOf("pictures/saved.bmp").toStdString()),
              EncodeBitmap(PatternImage(8, 3)).value());
    EXPECT_EQ(ReadTestFile(PathOf("saved.spr").toStdString()),
              EncodeSpriteFile(TwoSprites()).value());
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"saved.spr"});
    EXPECT_EQ(answerer_.seen, QStringList{"File Error: Unable to open kept.spr for write."});
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(folder_.path()));
    EXPECT_EQ(dialogs_->asked, (Asked{{FileKind::Bitmap, FileAction::Save},
                                      {FileKind::Bitmap, FileAction::Save},
                                      {FileKind::Sprite, FileAction::Save},
                                      {FileKind::Sprite, FileAction::Save},
                                      {FileKind::Sprite, FileAction::Save}}));
    EXPECT_EQ(Text("imageLabel"), "(no image)");  // saving tells the labels nothing
    EXPECT_EQ(Text("countLabel"), "0 images");
}

// The background commands of the window menu read and write only the files they are given.
TEST_F(FileCommands, BackgroundCommandsLeaveTheImageTheSetAndTheLabels) {
    BitmapFields room = TrueColourBitmap({});
    room.width = 8352;
    room.height = 1200;
    room.pixels.resize(std::size_t{3} * 8352 * 1200);
    for (std::size_t i = 0; i < room.pixels.size(); ++i) {
        room.pixels[i] = static_cast<std::uint8_t>(i % 25057 / 98);
    }
    const IndexedImage whole = DecodeBitmap(BuildBitmap(room), ConversionMode::Dither).value();
    const std::vector<std::uint8_t> back = EncodeSpriteFile(CutBackground(whole).value()).value();
    WriteFile(PathOf("room.bmp"), BuildBitmap(room));
    WriteFile(PathOf("small.bmp"), TrueColourSample());
    WriteFile(PathOf("back.spr"), back);
    WriteFile(PathOf("two.spr"), EncodeSpriteFile(TwoSprites()).value());
    const char* make = "Make &Background File...";
    const char* exportPicture = "&Export Background Picture...";
    const struct {
        const char* item;
        QStringList picks;    // "" for a cancelled dialog
        const char* message;  // the one box shown, "" for none
        const char* written;  // "" for none
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        // clang-format off
        {make, {"room.bmp", "out.spr"}, "", "out.spr", back},
        {make, {"room.bmp", ""}, "", "", {}},
        {make, {"small.bmp"}, "File Error: Unable to use small.bmp: a background must be "
         "8352 × 1200 pixels; this picture is 127 × 64.", "", {}},
        {exportPicture, {"back.spr", "out.PNG"}, "", "out.PNG", EncodePicture(whole, "x.png").value()},
        {exportPicture, {"two.spr"}, "File Error: Unable to use two.spr: a background file "
         "holds 464 sprites of 144 × 150.", "", {}},
    };                  // clang-format on
    CheckDither(true);  // read by the first command
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item + (" " + c.picks.join(' ')).toStdString());
        CurrentImage() = PatternImage(8, 3);
        CurrentSpriteSet() = TwoSprites();
        window_->SetImageLabel("(8 × 3)");
        for (const QString& pick : c.picks) {
            Pick(pick.isEmpty() ? pick : PathOf(pick));
        }
        answerer_.seen.clear();
        answerer_.Then([&](QWidget* menu) {
            for (QAction* action : menu->actions()) {
                if (action->text() == c.item) {
                    qobject_cast<QMenu*>(menu)->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                }
            }
        });
        QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {}, QPoint(100, 100));
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return dialogs_->answers.isEmpty() && answerer_.seen.size() == 1 + (*c.message != 0);
        }));

        EXPECT_EQ(answerer_.seen.mid(1), *c.message ? QStringList{c.message} : QStringList{});
        EXPECT_EQ(QFile::exists(PathOf("out.spr")) || QFile::exists(PathOf("out.PNG")),
                  *c.written != 0);
        if (*c.written) {
            EXPECT_TRUE(ReadTestFile(PathOf(c.written).toStdString()) == c.bytes);
            QFile::remove(PathOf(c.written));
        }
        EXPECT_TRUE(SameImage(CurrentImage(), PatternImage(8, 3)));
        EXPECT_EQ(CurrentSpriteSet().images, TwoSprites().images);
        EXPECT_EQ(Text("imageLabel"), "(8 × 3)");
        EXPECT_EQ(Text("countLabel"), "0 images");
        EXPECT_EQ(Lines(), QStringList{});
    }
}

}  // namespace
}  // namespace quorvel::testing
