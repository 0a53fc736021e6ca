// The file commands, drops, the discard question and the background commands, through a fake
// window.

#include <gtest/gtest.h>

#include <numeric>

#include "ui/commands/window_commands.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "pictures/picture_file.h"
#include "sprites/background.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/ui/commands/fake_window.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;
using Asked = std::vector<std::pair<FileKind, FileAction>>;
constexpr auto kOpenPicture = std::pair(FileKind::Picture, FileAction::Open);
constexpr auto kOpenSprites = std::pair(FileKind::Sprite, FileAction::Open);

const SpriteSet kTwoSprites{
    2, {4, 3}, {2, 5}, {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels}};

// A true-colour bitmap (128 × 64) from pure black on, which Nearest and Dither tell apart.
std::vector<std::uint8_t> Picture() {
    std::vector<std::vector<Bgr>> rows(64, std::vector<Bgr>(128));
    for (std::size_t i = 0; i < 64 * 128; ++i) {
        rows[i / 128][i % 128] = {std::uint8_t(i), std::uint8_t(i / 32), std::uint8_t(i / 64)};
    }
    return BuildBitmap(TrueColourBitmap(rows));
}

class FileCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::current_path(folder_.path());
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
    }
    void TearDown() override { fs::current_path(folder_.path().parent_path()); }

    void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        fs::create_directories(folder_.path() / PathOf(path).parent_path());
        WriteTestFile(folder_.File(path), bytes);
    }
    // The file `path` of the temporary folder as a dialog gives it.
    ChosenFile Chosen(const std::string& path) const {
        const fs::path full = folder_.path() / PathOf(path);
        return {Utf8Of(full.parent_path()), Utf8Of(full.filename())};
    }

    TempFolder folder_;
    FakeWindow window_;
    WindowCommands commands_{window_};
};

enum class Arrival { Button, Dropped, Cancelled };  // Cancelled: at the button's file dialog
using enum Arrival;

struct LoadCase {
    Arrival arrival;
    const char* path;  // in the temporary folder; a name starting "gone" is not there
    ConversionMode checked;
    BlackHandling black;
    const char* error;   // the one message shown, "" for none
    const char* folder;  // the working folder afterwards
    const char* imageLabel;
    const char* countLabel;
};

constexpr auto kNearest = ConversionMode::Nearest;
constexpr auto kDither = ConversionMode::Dither;
constexpr auto kAsSearched = BlackHandling::AsSearched;

// Before each load the image (8 × 3) and the set (two sprites) are present, but the labels and
// the list have not been told of them. Failures leave both, and the label of the load shows them.
const LoadCase kLoads[] = {
    {Button, "pictures/sample.bmp", kDither, kAsSearched, "", "pictures", "(128 × 64)", "0 images"},
    {Button, "sample.bmp", kNearest, kAsSearched, "", "", "(128 × 64)", "0 images"},
    {Dropped, "in/Dark.BMP", kDither, BlackHandling::KeepVisible, "", "in", "(128 × 64)",
     "0 images"},
    {Button, "pictures/sample.png", kDither, kAsSearched, "", "pictures", "(128 × 64)", "0 images"},
    {Dropped, "in/Sample.PNG", kNearest, kAsSearched, "", "in", "(128 × 64)", "0 images"},
    {Button, "sprites/two.spr", kDither, kAsSearched, "", "sprites", "(no image)", "2 images"},
    {Dropped, "in/two.Spr", kDither, kAsSearched, "", "in", "(no image)", "2 images"},
    {Button, "gone.bmp", kNearest, kAsSearched, "Unable to open gone.bmp for read.", "", "(8 × 3)",
     "0 images"},
    {Button, "gone/two.spr", kDither, kAsSearched, "Unable to open two.spr for read.", "",
     "(no image)", "2 images"},
    {Cancelled, "pictures/sample.bmp", kDither, kAsSearched, "", "", "(no image)", "0 images"},
    {Cancelled, "sprites/two.spr", kDither, kAsSearched, "", "", "(no image)", "0 images"},
    {Dropped, "in/notes.txt", kDither, kAsSearched,
     "Unable to load notes.txt: only Windows bitmaps (.bmp), PNG pictures (.png) and Creatures "
     "sprite files (.spr) can be loaded.",
     "", "(no image)", "0 images"},
};

class LoadTable : public FileCommands, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTable, ShowsWhatWasLoadedAndEntersTheFilesFolder) {
    const LoadCase& row = GetParam();
    const std::optional<FileKind> kind = KindOfFileName(row.path);
    const std::vector<std::uint8_t> bytes =
        kind == FileKind::Sprite ? EncodeSpriteFile(kTwoSprites).value()
        : NamesPngFile(row.path) ? EncodePicture(PatternImage(128, 64), "x.png").value()
                                 : Picture();
    if (row.arrival != Cancelled && std::string(row.path).rfind("gone", 0) != 0) {
        Write(row.path, bytes);
    }
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = kTwoSprites;
    window_.checked = row.checked;
    window_.keepBlack = row.black;

    if (row.arrival == Dropped) {
        commands_.OpenDroppedFile(Chosen(row.path));
    } else {
        window_.files.push_back(row.arrival == Button ? std::optional(Chosen(row.path))
                                                      : std::nullopt);
        if (kind == FileKind::Picture) {
            commands_.OnLoadBitmap();
        } else {
            commands_.OnLoadSprites();
        }
        EXPECT_EQ(window_.asked, Asked{kind == FileKind::Picture ? kOpenPicture : kOpenSprites});
    }

    const bool loaded = *row.error == 0 && row.arrival != Cancelled;
    EXPECT_EQ(window_.errors,
              *row.error ? std::vector<std::string>{row.error} : std::vector<std::string>{});
    EXPECT_EQ(fs::current_path(), fs::canonical(folder_.path() / row.folder));
    EXPECT_EQ(std::tuple(window_.imageLabel, window_.countLabel, window_.lines),
              std::tuple(std::string(row.imageLabel), std::string(row.countLabel),
                         loaded && kind == FileKind::Sprite
                             ? std::vector<std::string>{"#0:\t4 × 2", "#1:\t3 × 5"}
                             : std::vector<std::string>{}));
    const IndexedImage image = loaded && kind == FileKind::Picture
                                   ? DecodePicture(bytes, row.checked, row.black).value()
                                   : PatternImage(8, 3);
    EXPECT_EQ(CurrentImage().pixels, image.pixels);
    // A picture load reads the radio group into the mode, even when it was cancelled.
    EXPECT_EQ(commands_.conversionMode(), kind == FileKind::Picture ? row.checked : kNearest);
}

INSTANTIATE_TEST_SUITE_P(FileCommands, LoadTable, ::testing::ValuesIn(kLoads));

TEST_F(FileCommands, SavesWriteInTheChosenFolderAndReportFailures) {
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = kTwoSprites;
    fs::create_directory("pictures");
    window_.files = {Chosen("saved.spr"), Chosen("gone/kept.spr"), Chosen("pictures/saved.Png")};
    commands_.OnSaveSprites();
    commands_.OnSaveSprites();  // a folder that cannot be entered
    commands_.OnSaveBitmap();   // PNG by the name, a bitmap by any other

    EXPECT_EQ(ReadTestFile(folder_.File("pictures/saved.Png")),
              EncodePicture(PatternImage(8, 3), "x.png").value());
    EXPECT_EQ(ReadTestFile(folder_.File("saved.spr")), EncodeSpriteFile(kTwoSprites).value());
    EXPECT_EQ(window_.errors, std::vector<std::string>{"Unable to open kept.spr for write."});
    EXPECT_EQ(fs::current_path(), fs::canonical(folder_.path() / "pictures"));
}

// After an edit of a loaded set: closing or loading another set asks first, and No keeps it.
TEST_F(FileCommands, TheDiscardQuestionComesBeforeUnsavedSpritesWouldBeLost) {
    Write("two.spr", EncodeSpriteFile(kTwoSprites).value());
    window_.files.push_back(Chosen("two.spr"));
    commands_.OnLoadSprites();
    EXPECT_TRUE(commands_.MayClose());  // freshly loaded: nothing to ask
    CurrentImage() = PatternImage(6, 6);
    commands_.OnAddSprite();
    window_.answers = {false, false, true};
    window_.files.push_back(Chosen("two.spr"));
    EXPECT_FALSE(commands_.MayClose());
    commands_.OpenDroppedFile(Chosen("two.spr"));  // No: stays
    EXPECT_EQ(window_.lines.size(), 3u);
    commands_.OnLoadSprites();  // Yes: loads
    EXPECT_EQ(window_.lines, (std::vector<std::string>{"#0:\t4 × 2", "#1:\t3 × 5"}));
    EXPECT_EQ(window_.questions, std::vector<std::string>(3, DiscardUnsavedSpritesQuestion()));
    EXPECT_FALSE(commands_.CanUndo());  // a loaded file starts a new history
}

// The radio group and keep-black decide the reduction; a wrong shape stops before the target.
TEST_F(FileCommands, BackgroundCommandsWriteOnlyTheChosenFiles) {
    BitmapFields room = TrueColourBitmap(std::vector(1200, std::vector<Bgr>(8352)));
    std::iota(room.pixels.begin(), room.pixels.end(), std::uint8_t{0});
    Write("room.bmp", BuildBitmap(room));
    Write("small.bmp", Picture());
    Write("two.spr", EncodeSpriteFile(kTwoSprites).value());
    CurrentImage() = PatternImage(8, 3);
    window_.checked = kDither;
    window_.keepBlack = BlackHandling::KeepVisible;
    for (const char* name :
         {"room.bmp", "back.spr", "small.bmp", "back.spr", "room.PNG", "two.spr"}) {
        window_.files.push_back(Chosen(name));
    }
    commands_.OnMakeBackground();
    commands_.OnMakeBackground();
    commands_.OnExportBackground();
    commands_.OnExportBackground();

    const IndexedImage whole =
        DecodePicture(BuildBitmap(room), kDither, BlackHandling::KeepVisible).value();
    EXPECT_EQ(ReadTestFile("back.spr"), EncodeSpriteFile(CutBackground(whole).value()).value());
    EXPECT_EQ(ReadTestFile("room.PNG"), EncodePicture(whole, "x.png").value());
    EXPECT_EQ(window_.errors,
              (std::vector<std::string>{"Unable to use small.bmp: a background must be 8352 × "
                                        "1200 pixels; this picture is 128 × 64.",
                                        "Unable to use two.spr: a background file holds 464 "
                                        "sprites of 144 × 150."}));
    EXPECT_EQ(window_.asked, (Asked{kOpenPicture,
                                    {FileKind::Sprite, FileAction::Save},
                                    kOpenPicture,
                                    kOpenSprites,
                                    {FileKind::Picture, FileAction::Save},
                                    kOpenSprites}));
    EXPECT_EQ(CurrentImage().pixels, PatternImage(8, 3).pixels);
}

}  // namespace
}  // namespace quorvel::testing
