// Cutting sheets: by their JSON description in both forms, by grids and cells, by key colour;
// each frame as the same rectangle saved as a picture of its own and loaded would be; and every
// refusal with its message.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <tuple>

#include "pictures/picture_file.h"
#include "sheets/sheet_files.h"
#include "tests/sheets/sheet_test_support.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using CutFrames = std::optional<std::vector<IndexedImage>>;

// The rectangle of a 20 × 10 true-colour sheet, as rows of its own.
std::vector<std::vector<Bgr>> TrueColour(const Rect& r) {
    std::vector<std::vector<Bgr>> rows(r.height, std::vector<Bgr>(r.width));
    for (std::uint32_t y = r.y; y < r.y + r.height; ++y) {
        for (std::uint32_t x = r.x; x < r.x + r.width; ++x) {
            rows[y - r.y][x - r.x] = {std::uint8_t(x * 13), std::uint8_t(y * 27),
                                      std::uint8_t((x * y * 5 + 60) % 256)};
        }
    }
    return rows;
}

// The rectangle saved as a 24-bit bitmap of its own and loaded by dithering, placed at the
// canvas's (x, y) on a canvas of its size (width rounded up to 4) of index 0, if one is given.
IndexedImage Separately(const Rect& r, const Rect& canvas = {}) {
    const auto bmp = BuildBitmap(TrueColourBitmap(TrueColour(r)));
    const auto own = DecodePicture(bmp, ConversionMode::Dither, BlackHandling::AsSearched).value();
    if (canvas.width == 0) {
        return own;
    }
    IndexedImage on{static_cast<std::uint32_t>(ConvertedWidth(canvas.width)), canvas.height, {}};
    on.pixels.assign(std::size_t{on.width} * on.height, 0);
    for (std::uint32_t y = 0; y < r.height; ++y) {
        std::copy_n(&own.pixels[y * own.width], r.width,
                    &on.pixels[(canvas.y + y) * on.width + canvas.x]);
    }
    return on;
}

void ExpectFrames(const CutFrames& frames, const std::vector<IndexedImage>& want) {
    ASSERT_TRUE(frames) << (Recorded().fileErrors.empty() ? "" : Recorded().fileErrors[0]);
    EXPECT_TRUE(std::equal(frames->begin(), frames->end(), want.begin(), want.end(), SameImage));
}

// The one reason shown, with the file name left out.
std::string Shown(const std::string& name) {
    EXPECT_EQ(Recorded().fileErrors.size(), 1u);
    std::string text = Recorded().fileErrors.empty() ? "" : Recorded().fileErrors[0];
    const std::size_t at = text.find(name);
    return at == std::string::npos ? text : text.replace(at, name.size(), "NAME");
}

// A description of these frame objects; F is one with its rectangle and further fields.
std::string Json(const std::string& frames) {
    return R"({"frames": [)" + frames + "]}";
}
std::string F(int x, int y, int w, int h, const std::string& more = "") {
    return R"({"frame": {"x": )" + std::to_string(x) + R"(, "y": )" + std::to_string(y) +
           R"(, "w": )" + std::to_string(w) + R"(, "h": )" + std::to_string(h) + "}" + more + "}";
}

// `count` empty frame objects, and the start of each message.
std::string EmptyFrames(int count) {
    std::string frames = "{}";
    for (int i = 1; i < count; ++i) {
        frames += ",{}";
    }
    return frames;
}
const std::string cut = "Unable to cut NAME.bmp: ", read = "Unable to read NAME.json: ",
                  malformed = read + "it is not a sheet description (";
const std::string full = R"(, "rotated": false, "trimmed": false, "duration": 100,
        "spriteSourceSize": {"x": 0, "y": 0, "w": 5, "h": 4}, "sourceSize": {"w": 5, "h": 4})";

// Each row: the description beside the sheet ("" for none), then the frames it gives or the
// start of the message shown instead.
TEST(SheetDescription, CutsEachFrameAsAPictureOfItsOwnOrSaysWhy) {
    const struct {
        std::string json;
        std::string message;
        std::vector<IndexedImage> frames = {};
    } kCases[] = {
        {R"({"frames": [)" + F(0, 0, 5, 4, R"(, "filename": "a 0")" + full) + ", " + F(5, 2, 8, 8) +
             R"(], "meta": {"app": "x"}})",
         "",
         {Separately({0, 0, 5, 4}), Separately({5, 2, 8, 8})}},
        {R"({"meta": {}, "frames": {"walk 1": )" + F(12, 1, 8, 3) + R"(, "walk 0": )" +
             F(1, 1, 3, 9) + "}}",
         "",
         {Separately({12, 1, 8, 3}), Separately({1, 1, 3, 9})}},
        {Json(F(2, 2, 4, 3, R"(, "trimmed": true, "spriteSourceSize": {"x": 5, "y": 2, "w": 4,
             "h": 3}, "sourceSize": {"w": 9, "h": 6})")),
         "",
         {Separately({2, 2, 4, 3}, {5, 2, 9, 6})}},
        {Json(F(3, 3, 0, 0) + "," + F(20, 0, 0, 7) + "," + F(0, 2, 6, 0)),
         "",
         {IndexedImage{0, 0, {}}, IndexedImage{0, 7, {}}, IndexedImage{6, 0, {}}}},
        {Json(F(0, 0, 2, 2) + "," + F(0, 0, 2, 2, R"(, "rotated": true)")),
         cut + "frame 1 is rotated, which is not supported."},
        {Json(F(15, 0, 6, 2)), cut + "frame 0 lies outside the picture."},
        {Json(F(-1, 0, 2, 2)), cut + "frame 0 lies outside the picture."},
        {Json(F(0, 0, 5, 2,
                R"(, "spriteSourceSize": {"x": 4, "y": 0},)"
                R"( "sourceSize": {"w": 8, "h": 2})")),
         cut + "frame 0 does not fit its source size."},
        {Json(""), cut + "it holds no frames."},
        {"", cut + "give --grid, --cell or --key, or put the sheet's JSON file beside it."},
        {std::string((16u << 20) + 1, ' '),
         read + "it is larger than 16 MiB, too large for a sheet description."},
        {Json(EmptyFrames(65536)), read + "it describes more than 65,535 frames."},
        {R"({"frames": [)", malformed},
        {Json(R"({"frame": {"x": 1.5, "y": 0, "w": 2, "h": 2}})"), malformed},
        {Json(F(0, 0, -2, 2)), malformed},
        {R"({"meta": {"frames": []}})", malformed},
        {"[" + F(0, 0, 2, 2) + "]", malformed},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.json.substr(0, 200));
        TempFolder folder;
        const std::string name = folder.File("sheet");
        WriteTestFile(name + ".bmp", BuildBitmap(TrueColourBitmap(TrueColour({0, 0, 20, 10}))));
        WriteText(folder.File(c.json.empty() ? "other.json" : "sheet.json"), c.json);
        ResetRecorder();
        const CutFrames frames = ReadSheetFile(name + ".bmp", std::nullopt, ConversionMode::Dither,
                                               BlackHandling::AsSearched);
        if (c.message.empty()) {
            ExpectFrames(frames, c.frames);
            continue;
        }
        EXPECT_FALSE(frames);
        const std::string shown = Shown(name);
        EXPECT_EQ(shown.substr(0, c.message.size()), c.message);
        EXPECT_EQ(shown.back(), '.');
    }
}

// A 23 × 13 sheet of 3 × 2 cells of 6 × 5, border 1, spacing 2; cells 0, 2 and 3 painted, the
// rest index 0 (transparent in a PNG file, black in a bitmap).
constexpr Rect kCells[] = {{1, 1, 6, 5}, {9, 1, 6, 5}, {17, 1, 6, 5},
                           {1, 8, 6, 5}, {9, 8, 6, 5}, {17, 8, 6, 5}};

// Frames on key colour 100 in two bands: A and B (B shorter, so trimmed at both ends), then
// C. A holds a key-coloured pixel, C index 0 at its top-left corner; neither is the key there.
constexpr Rect kKeyFrames[] = {{2, 2, 5, 4}, {10, 3, 6, 2}, {3, 10, 8, 6}};

IndexedImage KeySheet(std::uint8_t corner) {
    IndexedImage sheet = PaintSheet(40, 20, 100, {kKeyFrames, kKeyFrames + 3});
    sheet.pixels[3 * 40 + 4] = 100;
    sheet.pixels[10 * 40 + 3] = 0;
    sheet.pixels[0] = corner;
    return sheet;
}

// Each row: the sheet as a file, the layout, then the rectangles cut or the reason shown.
TEST(SheetCut, TakesGridCellsOrFramesOnTheKeyColour) {
    const IndexedImage cells = PaintSheet(23, 13, 0, {kCells[0], kCells[2], kCells[3]});
    const auto G = SheetLayoutKind::Grid, C = SheetLayoutKind::Cell;
    const SheetLayout key{SheetLayoutKind::Key};
    const std::string black =
        "its top-left pixel is black or transparent, so it cannot be the key colour";
    const struct {
        const char* file;
        IndexedImage sheet;
        SheetLayout layout;
        std::vector<Rect> frames;
        std::string reason = "";
    } kCases[] = {
        {"s.png", cells, {G, 3, 2, 0, 0, 1, 2}, {kCells[0], kCells[1], kCells[2], kCells[3]}},
        {"s.bmp", cells, {G, 3, 2, 0, 0, 1, 2}, {kCells, kCells + 6}},
        {"s.png", cells, {C, 0, 0, 6, 5, 1, 2}, {kCells[0], kCells[1], kCells[2], kCells[3]}},
        {"s.png", cells, {C, 0, 0, 10, 6, 0, 0}, {{0, 0, 10, 6}, {10, 0, 10, 6}, {0, 6, 10, 6}}},
        {"s.png", cells, {G, 1, 1, 0, 0, 0, 0}, {{0, 0, 23, 13}}},
        {"s.png", cells, {G, 3, 2, 0, 0, 1, 3}, {}, "a grid of 3 × 2 does not divide 23 × 13"},
        {"k.png", KeySheet(100), key, {kKeyFrames, kKeyFrames + 3}},
        {"k.bmp", KeySheet(100), key, {kKeyFrames, kKeyFrames + 3}},
        {"k.bmp", KeySheet(0), key, {}, black},
        {"k.png", KeySheet(0), key, {}, black},  // transparent
        {"k.png", KeySheet(243), key, {}, black},
        {"k.png", PaintSheet(8, 8, 100, {}), key, {}, "it holds no frames"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(&c - kCases));
        TempFolder folder;
        WriteSheet(c.sheet, folder.File(c.file));
        ResetRecorder();
        const CutFrames frames = ReadSheetFile(folder.File(c.file), c.layout,
                                               ConversionMode::Nearest, BlackHandling::AsSearched);
        if (!c.reason.empty()) {
            EXPECT_FALSE(frames);
            EXPECT_EQ(Shown(folder.File(c.file)), "Unable to cut NAME: " + c.reason + ".");
            continue;
        }
        std::vector<IndexedImage> expected;
        for (const Rect& r : c.frames) {
            expected.push_back(TakenOver(c.sheet, r));
        }
        ExpectFrames(frames, expected);
    }
}

// Each row: the sheet, the names it and a description are written as, and the guess for g.png.
TEST(SheetGuess, LooksForTheDescriptionThenAKeySquare) {
    const std::tuple<IndexedImage, const char*, const char*, SheetGuess> kCases[] = {
        {PaintSheet(8, 8, 100, {}), "g.png", "x.json", SheetGuess::Key},
        {PaintSheet(8, 8, 100, {}), "g.png", "g.json", SheetGuess::Description},
        {PaintSheet(8, 8, 100, {{4, 4, 1, 1}}), "g.png", "x.json", SheetGuess::AskGrid},
        {PaintSheet(8, 8, 243, {}), "g.png", "x.json", SheetGuess::AskGrid},
        {PaintSheet(4, 4, 100, {}), "g.png", "x.json", SheetGuess::AskGrid},
        {PaintSheet(8, 8, 100, {}), "x.png", "x.json", SheetGuess::AskGrid},  // no g.png
    };
    for (const auto& [sheet, picture, description, expected] : kCases) {
        TempFolder folder;
        WriteSheet(sheet, folder.File(picture));
        WriteText(folder.File(description), "{}");
        EXPECT_EQ(GuessSheetLayout(folder.File("g.png")), expected);
    }
}

}  // namespace
}  // namespace quorvel::testing
