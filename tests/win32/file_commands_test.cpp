// The four file commands driven end to end through the buttons: scripted file dialogs, real
// files under a folder with a non-ASCII name, and the window's labels, list, radio group and
// working folder read back afterwards.

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"
#include "sprites/sprite_file.h"
#include "tests/win32/window_fixture.h"

namespace quorvel::testing {
namespace {

using FileCommands = WindowTest;

SpriteSet TwoSprites() {
    SpriteSet set;
    set.count = 2;
    set.widths = {4, 3};
    set.heights = {2, 5};
    set.images = {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels};
    return set;
}

TEST_F(FileCommands, EachShowsWhatItDidAndEntersTheFilesFolder) {
    ASSERT_TRUE(fs::create_directories(Path(L"pictures ×")));
    ASSERT_TRUE(fs::create_directories(Path(L"sprites")));
    WriteBytes(Path(L"pictures ×/sample.bmp"), TrueColourSample());
    WriteBytes(Path(L"sprites/two.spr"), EncodeSpriteFile(TwoSprites()).value());

    Pick(Path(L"pictures ×/sample.bmp"));
    Click(IDC_LOAD_BITMAP);
    EXPECT_EQ(CurrentImage().width, 64u);  // rounded up to a multiple of 4
    EXPECT_EQ(Text(IDC_IMAGE_LABEL), L"(64 × 30)");
    EXPECT_FALSE(DitherChecked());
    EXPECT_TRUE(InFolder(Path(L"pictures ×")));

    CheckDither(true);  // not read by the sprite load, which puts the group back
    Pick(Path(L"sprites/two.spr"));
    Click(IDC_LOAD_SPRITES);
    EXPECT_EQ(Text(IDC_COUNT_LABEL), L"2 images");
    EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"#0:\t4 × 2", L"#1:\t3 × 5"}));
    EXPECT_EQ(SendDlgItemMessageW(Window(), IDC_SPRITE_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(Text(IDC_IMAGE_LABEL), L"(64 × 30)");
    EXPECT_FALSE(DitherChecked());
    EXPECT_TRUE(InFolder(Path(L"sprites")));

    Pick(Path(L"saved.bmp"));
    Click(IDC_SAVE_BITMAP);
    EXPECT_EQ(ReadBytes(Path(L"saved.bmp")), EncodeBitmap(CurrentImage()).value());
    EXPECT_TRUE(InFolder(folder_));

    Pick(Path(L"pictures ×/saved.spr"));
    Click(IDC_SAVE_SPRITES);
    EXPECT_EQ(ReadBytes(Path(L"pictures ×/saved.spr")), EncodeSpriteFile(TwoSprites()).value());
    EXPECT_TRUE(InFolder(Path(L"pictures ×")));
    EXPECT_EQ(dialogs_->asked, (Asked{{FileKind::Bitmap, FileAction::Open},
                                      {FileKind::Sprite, FileAction::Open},
                                      {FileKind::Bitmap, FileAction::Save},
                                      {FileKind::Sprite, FileAction::Save}}));
    EXPECT_TRUE(boxes_->shown.empty());
}

// The group is read just before a bitmap load, and put back to the mode by Add.
TEST_F(FileCommands, TheRadioGroupIsReadByBitmapLoadAndPutBackByAdd) {
    const std::vector<std::uint8_t> bytes = TrueColourSample();
    WriteBytes(Path(L"sample.bmp"), bytes);
    const IndexedImage dithered = DecodeBitmap(bytes, ConversionMode::Dither).value();
    ASSERT_FALSE(SameImage(dithered, DecodeBitmap(bytes, ConversionMode::Nearest).value()));

    CheckDither(true);
    Pick(Path(L"sample.bmp"));
    Click(IDC_LOAD_BITMAP);
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_TRUE(SameImage(CurrentImage(), dithered));
    EXPECT_TRUE(DitherChecked());

    CheckDither(false);
    Click(IDC_ADD_SPRITE);
    EXPECT_TRUE(DitherChecked());
    EXPECT_EQ(Lines(), std::vector<std::wstring>{L"#0\t64 × 30"});
}

TEST_F(FileCommands, FailuresShowAFileErrorBoxAndLoadsStillRefreshTheLabels) {
    CurrentImage() = PatternImage(8, 3);  // present, but the labels have not been told
    CurrentSpriteSet() = TwoSprites();
    Pick(Path(L"gone.bmp"));
    Click(IDC_LOAD_BITMAP);
    Pick(Path(L"gone.spr"));
    Click(IDC_LOAD_SPRITES);
    Pick(Path(L"gone/kept.spr"));  // a folder that cannot be entered
    Click(IDC_SAVE_SPRITES);

    EXPECT_EQ(boxes_->shown,
              (std::vector<ShownBox>{FileError(L"Unable to open gone.bmp for read."),
                                     FileError(L"Unable to open gone.spr for read."),
                                     FileError(L"Unable to open kept.spr for write.")}));
    EXPECT_TRUE(InFolder(folder_));
    EXPECT_TRUE(SameImage(CurrentImage(), PatternImage(8, 3)));
    EXPECT_EQ(Text(IDC_IMAGE_LABEL), L"(8 × 3)");
    EXPECT_EQ(Text(IDC_COUNT_LABEL), L"2 images");
}

}  // namespace
}  // namespace quorvel::testing
