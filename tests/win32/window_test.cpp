// The window around the file commands: its preview, the window menu's About box, the question
// before unsaved sprites are lost, and dropped files.

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstring>
#include <functional>

#include "core/bitmap_reader.h"
#include "core/file_messages.h"
#include "core/game_palette.h"
#include "sprites/sprite_file.h"
#include "tests/win32/window_fixture.h"
#include "win32/preview.h"
#include "win32/wide_text.h"

namespace quorvel::testing {
namespace {

using MainWindow = WindowTest;

// The client area from (0, 0) to just past the frame, as 0xRRGGBB values, copied from the
// window's own device context after a repaint.
std::vector<std::uint32_t> GrabClient(HWND window, int side) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP shot = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(copy, shot);
    BitBlt(copy, 0, 0, side, side, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(side) * side);
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0xFFFFFF;
    }
    SelectObject(copy, previous);
    DeleteObject(shot);
    DeleteDC(copy);
    ReleaseDC(window, screen);
    return pixels;
}

// The 200 × 200 frame shows the image at 1:1 from its top-left corner, cut off at the frame's
// edge, black where the image is not; also for widths that are not a multiple of 4.
TEST_F(MainWindow, PreviewShowsTheImageFromTheTopLeftAndBlackAroundIt) {
    constexpr int kSide = kPreviewLeft + kPreviewSide + 1;
    for (const auto& [width, height] : {std::pair{0, 0}, {10, 10}, {300, 50}, {5, 3}, {203, 201}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        const IndexedImage& image = CurrentImage() = PatternImage(width, height);
        const std::vector<std::uint32_t> shot = GrabClient(Window(), kSide);
        const std::uint32_t background = shot[0];
        ASSERT_NE(background, 0u);
        int wrong = 0;  // pixels of the frame and the window's row and column just past it
        for (int y = 0; y <= kPreviewSide; ++y) {
            for (int x = 0; x <= kPreviewSide; ++x) {
                const std::uint32_t expected = x == kPreviewSide || y == kPreviewSide ? background
                                               : x < width && y < height
                                                   ? kGameColours[image.pixels[y * width + x]]
                                                   : 0u;
                wrong += shot[(kPreviewTop + y) * kSide + kPreviewLeft + x] != expected;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

struct AboutSeen {
    std::wstring version;
    SIZE picture{};
};
AboutSeen aboutSeen;

// Reads the About box once it is open and closes it with OK; runs inside its modal loop.
void CALLBACK AnswerAboutBox(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    HWND about = FindWindowW(L"#32770", L"About quorvel");
    if (about == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    wchar_t version[64] = {};
    GetDlgItemTextW(about, IDC_ABOUT_VERSION, version, 64);
    aboutSeen.version = version;
    BITMAP picture{};
    const auto image = reinterpret_cast<HBITMAP>(
        SendDlgItemMessageW(about, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (GetObjectW(image, sizeof picture, &picture) != 0) {
        aboutSeen.picture = {picture.bmWidth, picture.bmHeight};
    }
    SendMessageW(about, WM_COMMAND, IDOK, 0);
}

TEST_F(MainWindow, TheWindowMenuEndsWithTheAboutItemWhichOpensTheAboutBox) {
    HMENU menu = GetSystemMenu(Window(), FALSE);
    const int items = GetMenuItemCount(menu);
    ASSERT_GE(items, 3);
    EXPECT_EQ(GetMenuItemID(menu, items - 1), static_cast<UINT>(IDM_ABOUT));
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(items - 1), text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&About quorvel...");
    EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(items - 2), MF_BYPOSITION) & MF_SEPARATOR);

    aboutSeen = {};
    SetTimer(nullptr, 0, 20, AnswerAboutBox);
    SendMessageW(Window(), WM_SYSCOMMAND, IDM_ABOUT, 0);  // returns once the box is closed
    EXPECT_EQ(aboutSeen.version, L"quorvel Version 1.1");
    EXPECT_EQ(aboutSeen.picture.cx, 240);
    EXPECT_EQ(aboutSeen.picture.cy, 128);
    EXPECT_TRUE(IsWindow(Window()));
}

// Sends a key to the focused control through the dialog manager, as the message loop would.
void PressKey(HWND window, WPARAM key) {
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    IsDialogMessageW(window, &message);
}

// Each way of closing the window, and sprite "Load", ask first while sprites are unsaved; No
// keeps everything as it was, Yes goes on. Nothing is asked while nothing is unsaved.
TEST_F(MainWindow, LosingUnsavedSpritesIsAskedFirst) {
    struct Way {
        const char* name;
        std::function<void(HWND)> act;
    };
    const Way ways[] = {
        {"Escape", [](HWND window) { PressKey(window, VK_ESCAPE); }},
        {"Enter on the list", [](HWND window) { PressKey(window, VK_RETURN); }},
        {"close box", [](HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); }},
        {"window menu Close, Alt+F4",
         [](HWND window) { SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"sprite Load",
         [](HWND window) { SendDlgItemMessageW(window, IDC_LOAD_SPRITES, BM_CLICK, 0, 0); }},
    };
    const ShownBox question{L"quorvel", Utf8ToWide(DiscardUnsavedSpritesQuestion()),
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2};
    for (const Way& way : ways) {
        const bool load = std::string(way.name) == "sprite Load";
        for (const auto& [unsaved, answer] : {std::pair{false, 0}, {true, IDNO}, {true, IDYES}}) {
            SCOPED_TRACE(::testing::Message()
                         << way.name << ", unsaved " << unsaved << ", answer " << answer);
            OpenWindow();
            CurrentSpriteSet() = SpriteSet{};
            CurrentImage() = PatternImage(4, 2);
            if (unsaved) {
                Click(IDC_ADD_SPRITE);
                boxes_->answers.push_back(answer);
            }
            SetFocus(GetDlgItem(Window(), IDC_SPRITE_LIST));
            const bool goesOn = answer != IDNO;
            if (load && goesOn) {
                Pick(L"");
            }
            way.act(Window());

            EXPECT_EQ(boxes_->shown,
                      unsaved ? std::vector<ShownBox>{question} : std::vector<ShownBox>{});
            EXPECT_EQ(Window() == nullptr, goesOn && !load);
            EXPECT_EQ(dialogs_->asked.size(), load && goesOn ? 1u : 0u);
            EXPECT_EQ(CurrentSpriteSet().count, unsaved ? 1u : 0u);
        }
    }
    OpenWindow();
}

// Hands `path` to the window as Explorer does when a file is dropped on it.
void DropFile(HWND window, const fs::path& path) {
    const std::wstring name = path.wstring();
    const std::size_t size = sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GHND, size);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(files + 1, name.c_str(), name.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);  // which frees it
}

TEST_F(MainWindow, DroppedFilesLoadAsTheMatchingLoadWouldAndOthersAreRefused) {
    WriteBytes(Path(L"notes.txt"), {'h', 'i'});
    DropFile(Window(), Path(L"notes.txt"));
    EXPECT_EQ(boxes_->shown, std::vector<ShownBox>{FileError(
                                 L"Unable to load notes.txt: only Windows bitmaps (.bmp) and "
                                 L"Creatures sprite files (.spr) can be loaded.")});
    EXPECT_TRUE(InFolder(folder_));
    EXPECT_TRUE(CurrentImage().IsEmpty());
    EXPECT_EQ(Text(IDC_IMAGE_LABEL), L"(no image)");

    ASSERT_TRUE(fs::create_directories(Path(L"in")));
    const std::vector<std::uint8_t> bytes = TrueColourSample();
    WriteBytes(Path(L"in/Sample.BMP"), bytes);
    CheckDither(true);
    DropFile(Window(), Path(L"in/Sample.BMP"));
    EXPECT_EQ(window_->conversionMode(), ConversionMode::Dither);
    EXPECT_EQ(CurrentImage().pixels, DecodeBitmap(bytes, ConversionMode::Dither).value().pixels);
    EXPECT_EQ(Text(IDC_IMAGE_LABEL), L"(64 × 30)");
    EXPECT_TRUE(InFolder(Path(L"in")));

    SpriteSet one;
    one.count = 1;
    one.widths = {4};
    one.heights = {3};
    one.images = {PatternImage(4, 3).pixels};
    WriteBytes(Path(L"one.Spr"), EncodeSpriteFile(one).value());
    DropFile(Window(), Path(L"one.Spr"));
    EXPECT_EQ(Text(IDC_COUNT_LABEL), L"1 images");
    EXPECT_EQ(Lines(), std::vector<std::wstring>{L"#0:\t4 × 3"});
    EXPECT_EQ(boxes_->shown.size(), 1u);
}

}  // namespace
}  // namespace quorvel::testing
