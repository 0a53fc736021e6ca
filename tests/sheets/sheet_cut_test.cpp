// Cutting sheets: by their JSON description in both forms, by grids and cells, by key colour;
// each frame as the same rectangle saved as a picture of its own and loaded would be; and every
// refusal with its message.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "pictures/picture_file.h"
#include "sheets/sheet_description.h"
#include "sheets/sheet_files.h"
#include "tests/sheets/sheet_test_support.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Frames = std::optional<std::vector<IndexedImage>>;

constexpr std::uint32_t kSheetWidth = 20, kSheetHeight = 10;

std::vector<std::vector<Bgr>> TrueColourSheet() {
    std::vector<std::vector<Bgr>> rows(kSheetHeight, std::vector<Bgr>(kSheetWidth));
    for (std::uint32_t y = 0; y < kSheetHeight; ++y) {
        for (std::uint32_t x = 0; x < kSheetWidth; ++x) {
            rows[y][x] = {static_cast<std::uint8_t>(x * 13), static_cast<std::uint8_t>(y * 27),
                          static_cast<std::uint8_t>((x * y * 5 + 60) % 256)};
        }
    }
    return rows;
}

// The rectangle saved as a 24-bit bitmap of its own and loaded by dithering.
IndexedImage Separately(const Rect& r) {
    const auto sheet = TrueColourSheet();
    std::vector<std::vector<Bgr>> part;
    for (std::uint32_t y = r.y; y < r.y + r.height; ++y) {
        part.emplace_back(sheet[y].begin() + r.x, sheet[y].begin() + r.x + r.width);
    }
    return DecodePicture(BuildBitmap(TrueColourBitmap(part)), ConversionMode::Dither,
                         BlackHandling::AsSearched)
        .value();
}

// `image` at (x, y) on a canvas of `width` (rounded up to 4) × `height` of index 0.
IndexedImage OnCanvas(const IndexedImage& image, std::uint32_t sourceWidth, std::uint32_t x,
                      std::uint32_t y, std::uint32_t width, std::uint32_t height) {
    IndexedImage canvas{static_cast<std::uint32_t>(ConvertedWidth(width)), height, {}};
    canvas.pixels.assign(std::size_t{canvas.width} * height, 0);
    for (std::uint32_t row = 0; row < image.height; ++row) {
        for (std::uint32_t column = 0; column < sourceWidth; ++column) {
            canvas.pixels[(y + row) * canvas.width + x + column] =
                image.pixels[row * image.width + column];
        }
    }
    return canvas;
}

Frames Read(const std::string& picture, const std::optional<SheetLayout>& layout,
            ConversionMode mode = ConversionMode::Nearest) {
    ResetRecorder();
    return ReadSheetFile(picture, layout, mode, BlackHandling::AsSearched);
}

void ExpectFrames(const Frames& frames, const std::vector<IndexedImage>& expected) {
    ASSERT_TRUE(frames) << (Recorded().fileErrors.empty() ? "" : Recorded().fileErrors[0]);
    ASSERT_EQ(frames->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(SameImage((*frames)[i], expected[i])) << "frame " << i;
    }
}

// The reason shown, with the file name left out.
std::string Shown(const std::string& name) {
    EXPECT_EQ(Recorded().fileErrors.size(), 1u);
    std::string text = Recorded().fileErrors.empty() ? "" : Recorded().fileErrors[0];
    const std::size_t at = text.find(name);
    return at == std::string::npos ? text : text.replace(at, name.size(), "NAME");
}

TEST(SheetDescription, CutsEveryFrameAsAPictureOfItsOwn) {
    const std::string full =
        R"("rotated": false, "trimmed": false, "spriteSourceSize": {"x": 0, "y": 0, "w": 5, "h": 4},
           "sourceSize": {"w": 5, "h": 4}, "duration": 100)";
    const struct {
        const char* name;
        std::string json;
        std::vector<IndexedImage> expected;
    } kCases[] = {
        {"array",
         R"({"frames": [{"filename": "a 0", "frame": {"x": 0, "y": 0, "w": 5, "h": 4}, )" + full +
             R"(}, {"frame": {"x": 5, "y": 2, "w": 8, "h": 8}}], "meta": {"app": "x"}})",
         {Separately({0, 0, 5, 4}), Separately({5, 2, 8, 8})}},
        {"hash, in the file's order",
         R"({"meta": {}, "frames": {"walk 1": {"frame": {"x": 12, "y": 1, "w": 8, "h": 3}},
             "walk 0": {"frame": {"x": 1, "y": 1, "w": 3, "h": 9}}}})",
         {Separately({12, 1, 8, 3}), Separately({1, 1, 3, 9})}},
        {"trimmed",
         R"({"frames": [{"frame": {"x": 2, "y": 2, "w": 4, "h": 3}, "trimmed": true,
             "spriteSourceSize": {"x": 5, "y": 2, "w": 4, "h": 3}, "sourceSize": {"w": 9, "h": 6}}]})",
         {OnCanvas(Separately({2, 2, 4, 3}), 4, 5, 2, 9, 6)}},
        {"without pixels",
         R"({"frames": [{"frame": {"x": 3, "y": 3, "w": 0, "h": 0}},
             {"frame": {"x": 20, "y": 0, "w": 0, "h": 7}}, {"frame": {"x": 0, "y": 2, "w": 6, "h": 0}}]})",
         {IndexedImage{0, 0, {}}, IndexedImage{0, 7, {}}, IndexedImage{6, 0, {}}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        WriteTestFile(folder.File("sheet.bmp"), BuildBitmap(TrueColourBitmap(TrueColourSheet())));
        WriteTestFile(folder.File("sheet.json"),
                      std::vector<std::uint8_t>(c.json.begin(), c.json.end()));
        ExpectFrames(Read(folder.File("sheet.bmp"), std::nullopt, ConversionMode::Dither),
                     c.expected);
    }
}

TEST(SheetDescription, RefusesWhatItCannotCut) {
    const std::string cut = "Unable to cut NAME.bmp: ";
    const std::string malformed = "Unable to read NAME.json: it is not a sheet description (";
    const struct {
        const char* json;
        std::string message;  // a malformed file's message is checked up to its detail
    } kCases[] = {
        {R"({"frames": [{"frame": {"x": 0, "y": 0, "w": 2, "h": 2}},
            {"frame": {"x": 0, "y": 0, "w": 2, "h": 2}, "rotated": true}]})",
         cut + "frame 1 is rotated, which is not supported."},
        {R"({"frames": [{"frame": {"x": 15, "y": 0, "w": 6, "h": 2}}]})",
         cut + "frame 0 lies outside the picture."},
        {R"({"frames": [{"frame": {"x": -1, "y": 0, "w": 2, "h": 2}}]})",
         cut + "frame 0 lies outside the picture."},
        {R"({"frames": [{"frame": {"x": 0, "y": 0, "w": 5, "h": 2},
            "spriteSourceSize": {"x": 4, "y": 0}, "sourceSize": {"w": 8, "h": 2}}]})",
         cut + "frame 0 does not fit its source size."},
        {R"({"frames": []})", cut + "it holds no frames."},
        {R"({"frames": [)", malformed},
        {R"({"frames": [{"frame": {"x": 1.5, "y": 0, "w": 2, "h": 2}}]})", malformed},
        {R"({"frames": [{"frame": {"x": 0, "y": 0, "w": -2, "h": 2}}]})", malformed},
        {R"({"meta": {"frames": []}})", malformed},
        {R"([{"frame": {"x": 0, "y": 0, "w": 2, "h": 2}}])", malformed},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.json);
        TempFolder folder;
        const std::string name = folder.File("sheet");
        WriteTestFile(name + ".bmp", BuildBitmap(TrueColourBitmap(TrueColourSheet())));
        WriteTestFile(name + ".json",
                      std::vector<std::uint8_t>(c.json, c.json + std::strlen(c.json)));
        EXPECT_FALSE(Read(name + ".bmp", std::nullopt));
        const std::string shown = Shown(name);
        EXPECT_EQ(shown.substr(0, c.message.size()), c.message);
        EXPECT_EQ(shown.back(), '.');
    }
}

TEST(SheetDescription, BoundsWhatItReads) {
    std::string many = R"({"frames": [)";
    for (int i = 0; i < 65536; ++i) {
        many += i == 0 ? "{}" : ",{}";
    }
    many += "]}";
    const auto parsed = ParseSheetDescription(std::vector<std::uint8_t>(many.begin(), many.end()));
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.error(), "it describes more than 65,535 frames");

    TempFolder folder;
    const std::string name = folder.File("big");
    WriteTestFile(name + ".png", png::EncodeIndexedPng(PaintSheet(4, 4, 100, {})).value());
    WriteTestFile(name + ".json", std::vector<std::uint8_t>((16u << 20) + 1, ' '));
    EXPECT_FALSE(Read(name + ".png", std::nullopt));
    EXPECT_EQ(Shown(name),
              "Unable to read NAME.json: it is larger than 16 MiB, too large for a "
              "sheet description.");
    EXPECT_FALSE(Read(folder.File("none.png"), std::nullopt));
    EXPECT_EQ(Shown(folder.File("none.png")),
              "Unable to cut NAME: give --grid, --cell or --key, or put the sheet's JSON file "
              "beside it.");
}

// A 23 × 13 sheet of 3 × 2 cells of 6 × 5, border 1, spacing 2; cells 0, 2 and 3 painted, the
// rest index 0 (transparent in a PNG file, black in a bitmap).
constexpr Rect kCells[] = {{1, 1, 6, 5}, {9, 1, 6, 5}, {17, 1, 6, 5},
                           {1, 8, 6, 5}, {9, 8, 6, 5}, {17, 8, 6, 5}};

TEST(SheetGrid, TakesCellsWhileTheyFitAndDropsTrailingTransparentOnes) {
    const IndexedImage sheet = PaintSheet(23, 13, 0, {kCells[0], kCells[2], kCells[3]});
    auto layout = [](SheetLayoutKind kind, std::uint32_t a, std::uint32_t b, std::uint32_t border,
                     std::uint32_t spacing) {
        SheetLayout l{kind};
        (kind == SheetLayoutKind::Grid ? l.columns : l.width) = a;
        (kind == SheetLayoutKind::Grid ? l.rows : l.height) = b;
        l.border = border;
        l.spacing = spacing;
        return l;
    };
    const struct {
        const char* file;
        SheetLayout layout;
        std::vector<Rect> expected;
    } kCases[] = {
        {"s.png",
         layout(SheetLayoutKind::Grid, 3, 2, 1, 2),
         {kCells[0], kCells[1], kCells[2], kCells[3]}},
        {"s.bmp", layout(SheetLayoutKind::Grid, 3, 2, 1, 2), {kCells, kCells + 6}},
        {"s.png",
         layout(SheetLayoutKind::Cell, 6, 5, 1, 2),
         {kCells[0], kCells[1], kCells[2], kCells[3]}},
        {"s.png",
         layout(SheetLayoutKind::Cell, 10, 6, 0, 0),
         {{0, 0, 10, 6}, {10, 0, 10, 6}, {0, 6, 10, 6}}},
        {"s.png", layout(SheetLayoutKind::Grid, 1, 1, 0, 0), {{0, 0, 23, 13}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.file + std::to_string(c.layout.width + c.layout.columns));
        TempFolder folder;
        WriteSheet(sheet, folder.File(c.file));
        std::vector<IndexedImage> expected;
        for (const Rect& r : c.expected) {
            expected.push_back(TakenOver(sheet, r));
        }
        ExpectFrames(Read(folder.File(c.file), c.layout), expected);
    }
    TempFolder folder;
    WriteSheet(sheet, folder.File("s.png"));
    EXPECT_FALSE(Read(folder.File("s.png"), layout(SheetLayoutKind::Grid, 3, 2, 1, 3)));
    EXPECT_EQ(Shown(folder.File("s.png")),
              "Unable to cut NAME: a grid of 3 × 2 does not divide 23 × 13.");
}

// Frames on key colour 100 in two bands: A and B (B shorter, so trimmed), then C. A holds a
// key-coloured pixel, C index 0 at its top-left corner; neither is the key there.
constexpr Rect kKeyFrames[] = {{2, 2, 5, 4}, {10, 3, 6, 3}, {3, 10, 8, 6}};

IndexedImage KeySheet(std::uint8_t corner) {
    IndexedImage sheet = PaintSheet(40, 20, 100, {kKeyFrames, kKeyFrames + 3});
    sheet.pixels[3 * 40 + 4] = 100;
    sheet.pixels[10 * 40 + 3] = 0;
    sheet.pixels[0] = corner;
    return sheet;
}

TEST(SheetKey, CutsBandsThenFramesTrimmedToTheirPixels) {
    for (const char* file : {"k.png", "k.bmp"}) {
        SCOPED_TRACE(file);
        TempFolder folder;
        const IndexedImage sheet = KeySheet(100);
        WriteSheet(sheet, folder.File(file));
        ExpectFrames(Read(folder.File(file), SheetLayout{SheetLayoutKind::Key}),
                     {TakenOver(sheet, kKeyFrames[0]), TakenOver(sheet, kKeyFrames[1]),
                      TakenOver(sheet, kKeyFrames[2])});
    }
    const std::string black =
        "Unable to cut NAME: its top-left pixel is black or transparent, "
        "so it cannot be the key colour.";
    const struct {
        const char* file;
        IndexedImage sheet;
        std::string message;
    } kRefused[] = {
        {"k.bmp", KeySheet(0), black},
        {"k.png", KeySheet(0), black},  // transparent
        {"k.png", KeySheet(243), black},
        {"k.png", PaintSheet(8, 8, 100, {}), "Unable to cut NAME: it holds no frames."},
    };
    for (const auto& c : kRefused) {
        TempFolder folder;
        WriteSheet(c.sheet, folder.File(c.file));
        EXPECT_FALSE(Read(folder.File(c.file), SheetLayout{SheetLayoutKind::Key}));
        EXPECT_EQ(Shown(folder.File(c.file)), c.message);
    }
}

TEST(SheetGuess, LooksForTheDescriptionThenAKeySquare) {
    IndexedImage almost = PaintSheet(8, 8, 100, {});
    almost.pixels[4 * 8 + 4] = 101;
    const struct {
        std::optional<IndexedImage> sheet;
        bool description;
        SheetGuess expected;
    } kCases[] = {
        {PaintSheet(8, 8, 100, {}), false, SheetGuess::Key},
        {PaintSheet(8, 8, 100, {}), true, SheetGuess::Description},
        {almost, false, SheetGuess::AskGrid},
        {PaintSheet(8, 8, 243, {}), false, SheetGuess::AskGrid},
        {PaintSheet(4, 4, 100, {}), false, SheetGuess::AskGrid},
        {std::nullopt, false, SheetGuess::AskGrid},
    };
    for (const auto& c : kCases) {
        TempFolder folder;
        if (c.sheet) {
            WriteSheet(*c.sheet, folder.File("g.png"));
        }
        if (c.description) {
            WriteTestFile(folder.File("g.json"), {'{', '}'});
        }
        EXPECT_EQ(GuessSheetLayout(folder.File("g.png")), c.expected);
    }
}

}  // namespace
}  // namespace quorvel::testing
