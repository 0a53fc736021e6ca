// The Windows main window from its resource template, with scripted file dialogs and boxes.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/bitmap_reader.h"
#include "core/file_messages.h"
#include "core/game_palette.h"
#include "pictures/picture_file.h"
#include "sprites/background.h"
#include "sprites/sprite_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"
#include "win32/main_dialog.h"
#include "win32/preview.h"
#include "win32/resource.h"
#include "win32/wide_text.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::wstring>;
using Asked = std::vector<std::pair<FileKind, FileAction>>;
using Box = std::tuple<std::wstring, std::wstring, UINT>;  // caption, text, style
using Shown = std::vector<Box>;

Box FileError(const std::wstring& text) {
    return {L"File Error", text, MB_OK | MB_ICONERROR};
}

// Answers the n-th file dialog with the n-th scripted path; "" cancels it.
struct ScriptedFileDialogs final : FileDialogs {
    std::wstring Choose(HWND /*owner*/, FileKind kind, FileAction action) override {
        asked.emplace_back(kind, action);
        return asked.size() <= answers.size() ? answers[asked.size() - 1] : L"";
    }
    Texts answers;
    Asked asked;
};

// Records each message box and presses the scripted button in it.
struct ScriptedMessageBoxes final : MessageBoxes {
    int Show(HWND /*owner*/, const std::wstring& text, const std::wstring& caption,
             UINT style) override {
        shown.emplace_back(caption, text, style);
        return answer;
    }
    int answer = IDOK;
    Shown shown;
};

// A fresh working folder and a window opened as at the program's start.
class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        fs::current_path(folder_);
        OpenWindow();
    }
    void TearDown() override {
        EXPECT_EQ(dialogs_->asked.size(), dialogs_->answers.size()) << "file dialogs scripted";
        fs::current_path(startFolder_);
    }

    void OpenWindow() {
        window_.reset();
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        dialogs_ = new ScriptedFileDialogs;
        boxes_ = new ScriptedMessageBoxes;
        window_ = std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_),
                                               std::unique_ptr<MessageBoxes>(boxes_));
        ASSERT_NE(window_->Open(), nullptr);
    }

    HWND Window() const { return window_->Handle(); }
    fs::path Path(const std::wstring& name) const { return folder_ / name; }
    // Clicks `button` with the file dialog it opens scripted to answer `name`.
    void ClickPicking(int button, const std::wstring& name) {
        dialogs_->answers.push_back(Path(name).wstring());
        Click(button);
    }
    void Click(int button) { SendDlgItemMessageW(Window(), button, BM_CLICK, 0, 0); }
    // The image label, the count label, the checked radio button (it alone) and the list.
    Texts Shows() const {
        wchar_t text[256] = {};
        Texts texts;
        for (const int label : {IDC_IMAGE_LABEL, IDC_COUNT_LABEL}) {
            GetDlgItemTextW(Window(), label, text, 256);
            texts.emplace_back(text);
        }
        const bool dither = IsDlgButtonChecked(Window(), IDC_DIFFUSION_DITHER) == BST_CHECKED;
        const bool nearest = IsDlgButtonChecked(Window(), IDC_NEAREST_COLOR) == BST_CHECKED;
        texts.emplace_back(dither == nearest ? L"both or none" : dither ? L"Dither" : L"Nearest");
        const auto lines = SendDlgItemMessageW(Window(), IDC_SPRITE_LIST, LB_GETCOUNT, 0, 0);
        for (WPARAM i = 0; i < static_cast<WPARAM>(lines); ++i) {
            SendDlgItemMessageW(Window(), IDC_SPRITE_LIST, LB_GETTEXT, i,
                                reinterpret_cast<LPARAM>(text));
            texts.emplace_back(text);
        }
        return texts;
    }

    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    const fs::path startFolder_ = fs::current_path();
    ScriptedFileDialogs* dialogs_ = nullptr;  // owned by the window
    ScriptedMessageBoxes* boxes_ = nullptr;   // owned by the window
    std::unique_ptr<MainDialog> window_;
};

const SpriteSet kTwoSprites{
    2, {4, 3}, {2, 5}, {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels}, false};

// Hands `path` to the window as Explorer does when a file is dropped on it.
void DropFile(HWND window, const fs::path& path) {
    struct Drop {
        DROPFILES header;
        wchar_t names[MAX_PATH + 2];  // zeroed: the name's end and the list's
    };
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(Drop));
    auto* files = static_cast<Drop*>(GlobalLock(drop));
    files->header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    path.wstring().copy(files->names, MAX_PATH);
    GlobalUnlock(drop);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);  // which frees it
}

// Each command enters its file's folder; a bitmap Load or drop reads the radio group first, and
// a sprite load or Add puts it back to the image's mode. A failed load still refreshes labels.
TEST_F(MainWindow, FileCommandsAndDropsShowWhatTheyDidAndEnterTheFilesFolder) {
    ASSERT_TRUE(fs::create_directories(Path(L"pictures ×")));
    // One colour between the game's, which the two conversion methods reduce differently.
    const auto sample = BuildBitmap(TrueColourBitmap({std::vector<Bgr>(61, Bgr{90, 120, 150})}));
    WriteTestFile(Utf8Of(Path(L"pictures ×/Sample.BMP")), sample);
    WriteTestFile(Utf8Of(Path(L"two.Spr")), EncodeSpriteFile(kTwoSprites).value());
    WriteTestFile(Utf8Of(Path(L"notes.txt")), {'h', 'i'});
    const IndexedImage dithered = DecodeBitmap(sample, ConversionMode::Dither).value();
    const IndexedImage nearest = DecodeBitmap(sample, ConversionMode::Nearest).value();
    ASSERT_NE(dithered.pixels, nearest.pixels);

    Click(IDC_DIFFUSION_DITHER);
    ClickPicking(IDC_LOAD_BITMAP, L"pictures ×/Sample.BMP");
    EXPECT_EQ(CurrentImage().pixels, dithered.pixels);
    EXPECT_EQ(Shows(), (Texts{L"(64 × 1)", L"0 images", L"Dither"}));  // width rounded up to 4s
    EXPECT_TRUE(fs::equivalent(fs::current_path(), Path(L"pictures ×")));
    DropFile(Window(), Path(L"two.Spr"));
    EXPECT_EQ(SendDlgItemMessageW(Window(), IDC_SPRITE_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), folder_));
    Click(IDC_NEAREST_COLOR);
    Click(IDC_ADD_SPRITE);
    const Texts lines = {L"#0:\t4 × 2", L"#1:\t3 × 5", L"#2\t64 × 1"};
    EXPECT_EQ(Shows(), (Texts{L"(64 × 1)", L"3 images", L"Dither", lines[0], lines[1], lines[2]}));
    ClickPicking(IDC_SAVE_BITMAP, L"pictures ×/saved.bmp");
    EXPECT_EQ(ReadTestFile(Utf8Of(Path(L"pictures ×/saved.bmp"))),
              EncodePicture(dithered, "x.bmp").value());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), Path(L"pictures ×")));
    ClickPicking(IDC_SAVE_SPRITES, L"saved.spr");
    EXPECT_EQ(ReadTestFile(Utf8Of(Path(L"saved.spr"))),
              EncodeSpriteFile(CurrentSpriteSet()).value());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), folder_));
    EXPECT_EQ(dialogs_->asked, (Asked{{FileKind::Picture, FileAction::Open},
                                      {FileKind::Picture, FileAction::Save},
                                      {FileKind::Sprite, FileAction::Save}}));

    Click(IDC_NEAREST_COLOR);
    DropFile(Window(), Path(L"pictures ×/Sample.BMP"));
    EXPECT_EQ(CurrentImage().pixels, nearest.pixels);
    CurrentImage() = PatternImage(8, 3);  // the labels are not told of these two
    CurrentSpriteSet() = kTwoSprites;
    ClickPicking(IDC_LOAD_BITMAP, L"gone.bmp");
    ClickPicking(IDC_LOAD_SPRITES, L"gone.spr");
    ClickPicking(IDC_SAVE_SPRITES, L"gone/kept.spr");  // a folder that cannot be entered
    DropFile(Window(), Path(L"notes.txt"));
    EXPECT_EQ(boxes_->shown, (Shown{FileError(L"Unable to open gone.bmp for read."),
                                    FileError(L"Unable to open gone.spr for read."),
                                    FileError(L"Unable to open kept.spr for write."),
                                    FileError(L"Unable to load notes.txt: only Windows bitmaps "
                                              L"(.bmp), PNG pictures (.png) and Creatures sprite "
                                              L"files (.spr) can be loaded.")}));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), folder_));
    EXPECT_EQ(CurrentImage().pixels, PatternImage(8, 3).pixels);
    EXPECT_EQ(Shows(), (Texts{L"(8 × 3)", L"2 images", L"Nearest", lines[0], lines[1], lines[2]}));
}

// The keep-black item, off at first, decides loads and backgrounds; a wrong shape stops the latter.
TEST_F(MainWindow, PngKeepBlackAndBackgroundCommands) {
    std::wstring filter = DialogFilter(FileKind::Picture);
    std::replace(filter.begin(), filter.end(), L'\0', L'|');
    EXPECT_EQ(filter,
              L"Windows Bitmap (*.BMP)|*.bmp|PNG Image (*.PNG)|*.png|All files (*.*)|*.*||");
    WriteTestFile("black.bmp", BuildBitmap(TrueColourBitmap({std::vector<Bgr>(4)})));
    WriteTestFile("p.Png", EncodePicture(PatternImage(4, 2), "x.png").value());
    DropFile(Window(), Path(L"p.Png"));
    EXPECT_EQ(CurrentImage().pixels, PatternImage(4, 2).pixels);
    DropFile(Window(), Path(L"black.bmp"));
    EXPECT_EQ(CurrentImage().pixels, std::vector<std::uint8_t>(4, 0));
    SendMessageW(Window(), WM_SYSCOMMAND, IDM_KEEP_BLACK | 0xF, 0);  // checked
    WriteTestFile("bg.bmp",
                  BuildBitmap(TrueColourBitmap(std::vector(1200, std::vector<Bgr>(8352)))));
    WriteTestFile("two.spr", EncodeSpriteFile(kTwoSprites).value());
    dialogs_->answers = {L"bg.bmp", L"bg.spr", L"black.bmp", L"bg.spr", L"bg.png", L"two.spr"};
    for (const WPARAM command :
         {IDM_MAKE_BACKGROUND, IDM_MAKE_BACKGROUND, IDM_EXPORT_BACKGROUND, IDM_EXPORT_BACKGROUND}) {
        SendMessageW(Window(), WM_SYSCOMMAND, command, 0);
    }
    const IndexedImage whole{8352, 1200, std::vector<std::uint8_t>(8352 * 1200, 243)};
    EXPECT_EQ(ReadTestFile("bg.spr"), EncodeSpriteFile(CutBackground(whole).value()).value());
    EXPECT_EQ(ReadTestFile("bg.png"), EncodePicture(whole, "x.png").value());
    EXPECT_EQ(boxes_->shown.size(), 2u);  // black.bmp too small, two.spr not a background
    EXPECT_EQ(Shows(), (Texts{L"(4 × 1)", L"0 images", L"Nearest"}));  // as the last load left them
}

// The client area from (0, 0) to just past the frame after a repaint, as 0x??RRGGBB values.
std::vector<std::uint32_t> GrabClient(HWND window, int side) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(side) * side);
    HDC screen = GetDC(window);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, side, side);
    SelectObject(copy, shot);
    BitBlt(copy, 0, 0, side, side, screen, 0, 0, SRCCOPY);
    DeleteDC(copy);  // which lets go of the bitmap
    GetDIBits(screen, shot, 0, static_cast<UINT>(side), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(shot);
    ReleaseDC(window, screen);
    return pixels;
}

// The frame shows the image 1:1 from its top-left corner, cut at its edge, black around it.
TEST_F(MainWindow, PreviewShowsTheImageFromTheTopLeftAndBlackAroundIt) {
    constexpr int kSide = kPreviewLeft + kPreviewSide + 1;
    for (const auto& [width, height] : {std::pair{0, 0}, {10, 10}, {300, 50}, {5, 3}, {203, 201}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        const IndexedImage& image = CurrentImage() = PatternImage(width, height);
        const std::vector<std::uint32_t> shot = GrabClient(Window(), kSide);
        const std::uint32_t background = shot[0] & 0xFFFFFF;
        ASSERT_NE(background, 0u);
        int wrong = 0;  // pixels of the frame and the window's row and column just past it
        for (int y = 0; y <= kPreviewSide; ++y) {
            for (int x = 0; x <= kPreviewSide; ++x) {
                const std::uint32_t expected = x == kPreviewSide || y == kPreviewSide ? background
                                               : x < width && y < height
                                                   ? kGameColours[image.pixels[y * width + x]]
                                                   : 0u;
                wrong +=
                    (shot[(kPreviewTop + y) * kSide + kPreviewLeft + x] & 0xFFFFFF) != expected;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

std::wstring aboutSeen;  // the About box's version line and its picture's size

// Reads the About box once it is open and closes it with OK; runs inside its modal loop.
void CALLBACK AnswerAboutBox(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    if (HWND about = FindWindowW(L"#32770", L"About quorvel")) {
        KillTimer(nullptr, timer);
        aboutSeen.resize(64);
        aboutSeen.resize(GetDlgItemTextW(about, IDC_ABOUT_VERSION, aboutSeen.data(), 64));
        BITMAP picture{};
        GetObjectW(reinterpret_cast<HBITMAP>(SendDlgItemMessageW(about, IDC_ABOUT_PICTURE,
                                                                 STM_GETIMAGE, IMAGE_BITMAP, 0)),
                   sizeof picture, &picture);
        aboutSeen +=
            L", " + std::to_wstring(picture.bmWidth) + L" x " + std::to_wstring(picture.bmHeight);
        SendMessageW(about, WM_COMMAND, IDOK, 0);
    }
}

// The window menu ends with a separator and the About item. The system uses the command's low
// four bits, so those are sent set.
TEST_F(MainWindow, TheWindowMenuEndsWithTheAboutItemWhichOpensTheAboutBox) {
    HMENU menu = GetSystemMenu(Window(), FALSE);
    const int items = GetMenuItemCount(menu);
    EXPECT_EQ(GetMenuItemID(menu, items - 1), static_cast<UINT>(IDM_ABOUT));
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(items - 1), text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&About quorvel...");
    EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(items - 2), MF_BYPOSITION) & MF_SEPARATOR);

    SetTimer(nullptr, 0, 20, AnswerAboutBox);
    SendMessageW(Window(), WM_SYSCOMMAND, IDM_ABOUT | 0xF, 0);  // returns once the box is closed
    EXPECT_EQ(aboutSeen, L"quorvel Version 1.1, 240 x 128");
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
    const std::pair<const char*, void (*)(HWND)> ways[] = {
        {"Escape", [](HWND window) { PressKey(window, VK_ESCAPE); }},
        {"Enter on the list", [](HWND window) { PressKey(window, VK_RETURN); }},
        {"close box", [](HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); }},
        {"window menu Close, Alt+F4",
         [](HWND window) { SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"sprite Load",
         [](HWND window) { SendDlgItemMessageW(window, IDC_LOAD_SPRITES, BM_CLICK, 0, 0); }},
    };
    const Box question{L"quorvel", Utf8ToWide(DiscardUnsavedSpritesQuestion()),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2};
    for (const auto& [way, act] : ways) {
        const bool load = std::string(way) == "sprite Load";
        for (const auto& [unsaved, answer] : {std::pair{false, 0}, {true, IDNO}, {true, IDYES}}) {
            SCOPED_TRACE(::testing::Message() << way << ", unsaved " << unsaved << ", " << answer);
            OpenWindow();
            if (unsaved) {
                CurrentImage() = PatternImage(4, 2);
                Click(IDC_ADD_SPRITE);
            }
            boxes_->answer = answer;
            SetFocus(GetDlgItem(Window(), IDC_SPRITE_LIST));
            dialogs_->answers.assign(load && answer != IDNO, L"");  // a cancelled dialog
            act(Window());
            EXPECT_EQ(boxes_->shown, unsaved ? Shown{question} : Shown{});
            EXPECT_EQ(Window() == nullptr, answer != IDNO && !load);
            EXPECT_EQ(dialogs_->asked.size(), dialogs_->answers.size());
            EXPECT_EQ(CurrentSpriteSet().count, unsaved ? 1u : 0u);
        }
    }
}

}  // namespace
}  // namespace quorvel::testing
