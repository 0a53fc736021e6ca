// The file commands, drops and the background commands, through a fake window.

#include <numeric>

#include "sprites/background.h"
#include "tests/ui/commands/fake_window.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

const SpriteSet kTwo{2, {4, 3}, {2, 5}, {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels}};

// A true-colour bitmap (128 × 64) of one colour, which Nearest and Dither render apart, with a
// black pixel, which keep-black turns visible.
std::vector<std::uint8_t> Picture() {
    std::vector rows(64, std::vector<Bgr>(128, Bgr{37, 91, 203}));
    rows[0][0] = {};
    return BuildBitmap(TrueColourBitmap(rows));
}

enum Arrival { Button, Dropped, Cancelled };  // Cancelled: at the button's file dialog

// How the file arrives, its path in the temporary folder (a name starting "gone" is not there),
// the radio group and keep-black, and the one message shown.
using LoadCase = std::tuple<Arrival, const char*, ConversionMode, BlackHandling, const char*>;
const LoadCase kLoads[] = {
    {Button, "pictures/sample.bmp", Dither, AsSearched, ""},
    {Dropped, "in/Dark.BMP", Dither, KeepVisible, ""},
    {Dropped, "in/Sample.PNG", Nearest, AsSearched, ""},
    {Button, "sprites/two.spr", Dither, AsSearched, ""},
    {Dropped, "in/two.Spr", Dither, AsSearched, ""},
    {Button, "gone.bmp", Nearest, AsSearched, "Unable to open gone.bmp for read."},
    {Button, "gone/two.spr", Dither, AsSearched, "Unable to open two.spr for read."},
    {Cancelled, "pictures/sample.bmp", Dither, AsSearched, ""},
    {Cancelled, "sprites/two.spr", Dither, AsSearched, ""},
    {Dropped, "in/notes.txt", Dither, AsSearched,
     "Unable to load notes.txt: only Windows bitmaps (.bmp), PNG pictures (.png) and Creatures "
     "sprite files (.spr) can be loaded."},
};

class LoadTable : public CommandsTest, public ::testing::WithParamInterface<LoadCase> {};

// Before each load an image (8 × 3) and two sprites are there, untold to labels and list. A load,
// failed or not, labels what is there then; only a file loaded has its folder entered.
TEST_P(LoadTable, ShowsWhatWasLoadedAndEntersTheFilesFolder) {
    const auto& [arrival, path, checked, black, error] = GetParam();
    const std::optional<FileKind> kind = KindOfFileName(path);
    const bool picture = kind == FileKind::Picture, sprites = kind == FileKind::Sprite;
    const std::vector<std::uint8_t> bytes =
        sprites              ? EncodeSpriteFile(kTwo).value()
        : NamesPngFile(path) ? EncodePicture(PatternImage(128, 64), "x.png").value()
                             : Picture();
    if (arrival != Cancelled && !std::string(path).starts_with("gone")) {
        Write(path, bytes);
    }
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = kTwo;
    std::tie(window_.checked, window_.keepBlack) = std::tuple(checked, black);
    if (arrival == Dropped) {
        commands_.OpenDroppedFile(Chosen(path));
    } else {
        window_.files = {arrival == Button ? std::optional(Chosen(path)) : std::nullopt};
        picture ? commands_.OnLoadBitmap() : commands_.OnLoadSprites();
    }

    const bool shown = arrival != Cancelled, loaded = shown && *error == 0;
    const IndexedImage image =
        loaded && picture ? DecodePicture(bytes, checked, black).value() : PatternImage(8, 3);
    const std::string size = std::to_string(image.width) + " × " + std::to_string(image.height);
    EXPECT_EQ(
        std::tuple(window_.errors, fs::current_path(), window_.imageLabel, window_.countLabel,
                   window_.lines, CurrentImage().pixels),
        std::tuple(*error ? Lines{error} : Lines{},
                   fs::canonical(folder_.path() / (loaded ? PathOf(path).parent_path() : "")),
                   picture && shown ? "(" + size + ")" : "(no image)",
                   sprites && shown ? "2 images" : "0 images",
                   loaded && sprites ? Lines{"#0:\t4 × 2", "#1:\t3 × 5"} : Lines{}, image.pixels));
    // A picture load reads the radio group into the mode, even when it was cancelled.
    EXPECT_EQ(commands_.conversionMode(), picture ? checked : Nearest);
}

INSTANTIATE_TEST_SUITE_P(FileCommands, LoadTable, ::testing::ValuesIn(kLoads));

// The saves enter the chosen folder; PNG by the name, a bitmap by any other. For a background
// the radio group and keep-black decide the reduction; a wrong shape stops before the target.
TEST_F(CommandsTest, SavesAndBackgroundCommandsWriteOnlyTheChosenFiles) {
    BitmapFields room = TrueColourBitmap(std::vector(1200, std::vector<Bgr>(8352)));
    std::iota(room.pixels.begin(), room.pixels.end(), std::uint8_t{0});
    Write("room.bmp", BuildBitmap(room));
    Write("pictures/small.bmp", Picture());
    Write("two.spr", EncodeSpriteFile(kTwo).value());
    CurrentImage() = PatternImage(8, 3);
    CurrentSpriteSet() = kTwo;
    std::tie(window_.checked, window_.keepBlack) = std::tuple(Dither, KeepVisible);
    for (const char* name :
         {"saved.spr", "gone/kept.spr", "room.bmp", "back.spr", "pictures/small.bmp", "back.spr",
          "room.PNG", "two.spr", "pictures/saved.Png"}) {
        window_.files.push_back(Chosen(name));
    }
    commands_.OnSaveSprites();
    commands_.OnSaveSprites();  // a folder that cannot be entered
    commands_.OnMakeBackground();
    commands_.OnMakeBackground();
    commands_.OnExportBackground();
    commands_.OnExportBackground();
    commands_.OnSaveBitmap();

    const IndexedImage whole = DecodePicture(BuildBitmap(room), Dither, KeepVisible).value();
    EXPECT_EQ(ReadTestFile(folder_.File("saved.spr")), EncodeSpriteFile(kTwo).value());
    EXPECT_EQ(ReadTestFile(folder_.File("back.spr")),
              EncodeSpriteFile(CutBackground(whole).value()).value());
    EXPECT_EQ(ReadTestFile(folder_.File("room.PNG")), EncodePicture(whole, "x.png").value());
    EXPECT_EQ(ReadTestFile(folder_.File("pictures/saved.Png")),
              EncodePicture(PatternImage(8, 3), "x.png").value());
    ASSERT_EQ(window_.errors.size(), 3u);  // the background messages are the command line's too
    EXPECT_EQ(window_.errors[0], "Unable to open kept.spr for write.");
    EXPECT_TRUE(window_.errors[1].starts_with("Unable to use small.bmp: a background must be"));
    EXPECT_TRUE(window_.errors[2].starts_with("Unable to use two.spr: a background file holds"));
    EXPECT_EQ(window_.asked, "S>S>P<S>P<S<P>S<P>");
    EXPECT_EQ(fs::current_path(), fs::canonical(folder_.path() / "pictures"));
}

}  // namespace
}  // namespace quorvel::testing
