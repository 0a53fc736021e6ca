// The Windows main window from its resource template: its buttons, keys and menu items reach the
// shared commands, each seen by a cheap effect, and its realisation of their window holds.

#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>
#include <utility>

#include "core/bitmap_writer.h"
#include "core/game_palette.h"
#include "core/label_texts.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"
#include "ui/win32/clipboard.h"
#include "ui/win32/main_dialog.h"
#include "ui/win32/preview.h"
#include "ui/win32/resource.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/working_folder.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Clipboard = std::vector<std::pair<UINT, Bytes>>;

std::string asked;              // what the scripted dialogs and boxes were asked, About seen
std::wstring chosen, pictures;  // the file dialog's next answer (once), the picture dialog's
int pressed = IDNO;             // the message boxes' answer

// Notes a dialog as " Po" (picture, open; S sprite, L palette), the No-default Yes/No question
// " ?", others " !".
struct Scripted final : FileDialogs, MessageBoxes {
    std::wstring Choose(HWND /*owner*/, FileKind kind, FileAction action) override {
        asked += std::string(" ") + "PSL"[static_cast<int>(kind)] +
                 (action == FileAction::Open ? "o" : "s");
        return std::exchange(chosen, L"");
    }
    std::wstring ChoosePictures(HWND /*owner*/) override { return pictures; }
    int Show(HWND, const std::wstring&, const std::wstring& caption, UINT style) override {
        const bool question = style == (MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        asked += question && caption == L"quorvel" ? " ?" : " !";
        return pressed;
    }
};

// Puts each picture file on the clipboard in its format (a bitmap without its file header).
void SetClipboard(const Clipboard& files) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    for (const auto& [format, file] : files) {
        const Bytes bytes = format == CF_DIB ? Bytes(file.begin() + 14, file.end()) : file;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(GlobalLock(block)));
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }
    CloseClipboard();
}

// Hands `path` to the window as Explorer does when a file is dropped on it.
void DropFile(HWND window, const fs::path& path) {
    const std::wstring name = path.wstring();
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));  // zeroed: the ends of name and list
    *files = {sizeof(DROPFILES), {}, FALSE, TRUE};
    name.copy(reinterpret_cast<wchar_t*>(files + 1), name.size());
    GlobalUnlock(drop);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);  // which frees it
}

// Closes the About box once it is open; runs inside its modal loop.
void CALLBACK CloseAboutBox(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    if (HWND about = FindWindowW(L"#32770", L"About quorvel")) {
        KillTimer(nullptr, timer);
        asked += " About";
        SendMessageW(about, WM_COMMAND, IDOK, 0);
    }
}

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::current_path(folder_);
        const IndexedImage a = PatternImage(4, 2), b = PatternImage(3, 5), c = PatternImage(6, 1);
        const SpriteSet three{3, {4, 3, 6}, {2, 5, 1}, {a.pixels, b.pixels, c.pixels}};
        WriteTestFile("three.spr", EncodeSpriteFile(three).value());
        WriteTestFile("a.bmp", EncodePicture(a, "a.bmp").value());
        Start();
    }
    void TearDown() override { fs::current_path(startFolder_); }

    // A fresh window, three.spr dropped on it, line 1 selected, an 8 × 3 image (label not told)
    // added twice and undone once, a 4 × 6 bitmap on the clipboard, a.bmp for the picture dialog.
    void Start() {
        window_.reset();  // first: a window closed after the next opened costs seconds
        CurrentSpriteSet() = SpriteSet{};
        std::tie(asked, chosen, pictures, pressed) =
            std::tuple("", L"", (folder_ / L"a.bmp").wstring(), IDNO);
        window_ = std::make_unique<MainDialog>(std::make_unique<Scripted>(),
                                               std::make_unique<Scripted>());
        ASSERT_NE(window_->Open(), nullptr) << GetLastError();
        DropFile(Window(), folder_ / L"three.spr");
        CurrentImage() = PatternImage(8, 3);
        WindowCommands& commands = window_->Commands();
        commands.OnAddSprite(), commands.OnAddSprite(), commands.OnUndo();
        Port().SelectLine(1);
        SetClipboard({{CF_DIB, kTallBitmap}});
    }
    // "image label, count label, selected line:its size, clipboard picture" and what was asked.
    std::string State() {
        wchar_t image[32] = {}, count[32] = {};
        GetDlgItemTextW(Window(), IDC_IMAGE_LABEL, image, 32);
        GetDlgItemTextW(Window(), IDC_COUNT_LABEL, count, 32);
        const std::string line = Port().LineText(Port().SelectedLine());
        const Result<IndexedImage> copy = DecodePicture(Port().PictureOnClipboard(), {}, {});
        const std::string copied =
            copy ? ImageLabelFor(copy.value().width, copy.value().height) : "";
        return WideToUtf8(image) + " " + WideToUtf8(count) + " " +
               std::to_string(Port().SelectedLine()) + ":" + line.substr(line.find('\t') + 1) +
               " " + copied + asked;
    }
    HWND Window() const { return window_->Handle(); }
    WindowPort& Port() { return window_->Commands().Window(); }
    HMENU EditMenu() const {  // the window menu's submenu
        HMENU menu = GetSystemMenu(Window(), FALSE), edit = nullptr;
        for (int i = 0; edit == nullptr && i < GetMenuItemCount(menu); ++i) {
            edit = GetSubMenu(menu, i);
        }
        return edit;
    }

    const Bytes kTallBitmap = EncodeBitmap(PatternImage(4, 6)).value();
    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    const fs::path startFolder_ = fs::current_path();
    std::unique_ptr<MainDialog> window_;
};

// From Start (made by a drop), each button; each key, Ctrl Shift Alt held as "csa" says, sent as
// the loop sends it; each menu item (Edit's by place), its id's low bits set; the box answering No.
TEST_F(MainWindow, EachButtonKeyAndMenuItemRunsItsCommandWhereverTheFocusIs) {
    const std::tuple<WPARAM, const char*, int, int, std::string_view> rows[] = {
        {0, "", IDC_LOAD_BITMAP, -1, "(4 × 2) 4 images 1:3 × 5 (4 × 6) Po"},  // chose a.bmp
        {0, "", IDC_SAVE_BITMAP, -1, "(no image) 4 images 1:3 × 5 (4 × 6) Ps"},
        {0, "", IDC_LOAD_SPRITES, -1, "(no image) 4 images 1:3 × 5 (4 × 6) ?"},
        {0, "", IDC_SAVE_SPRITES, -1, "(no image) 4 images 1:3 × 5 (4 × 6) Ss"},
        {0, "", IDC_ADD_SPRITE, -1, "(no image) 5 images 1:3 × 5 (4 × 6)"},
        {0, "", IDC_INSERT_SPRITE, -1, "(no image) 5 images 1:8 × 3 (4 × 6)"},
        {0, "", IDC_DELETE_SPRITE, -1, "(no image) 3 images 1:6 × 1 (4 × 6)"},
        {0, "", IDC_COPY_SPRITE, -1, "(3 × 5) 4 images 1:3 × 5 (4 × 6)"},
        {'Z', "c", IDC_SPRITE_LIST, 0, "(no image) 3 images -1: (4 × 6)"},
        {'Y', "c", IDC_ADD_SPRITE, 1, "(no image) 5 images -1: (4 × 6)"},
        {'Z', "cs", IDC_SPRITE_LIST, -1, "(no image) 5 images -1: (4 × 6)"},
        {VK_UP, "a", IDC_SPRITE_LIST, 3, "(no image) 4 images 0:3 × 5 (4 × 6)"},
        {VK_DOWN, "a", IDC_NEAREST_COLOR, 4, "(no image) 4 images 2:3 × 5 (4 × 6)"},
        {'R', "c", IDC_SPRITE_LIST, 5, "(no image) 4 images 1:8 × 3 (4 × 6)"},
        {'A', "cs", IDC_SPRITE_LIST, 7, "(no image) 5 images 1:4 × 2 (4 × 6)"},
        {'C', "c", IDC_SPRITE_LIST, 9, "(no image) 4 images 1:3 × 5 (8 × 3)"},
        {'V', "c", IDC_LOAD_BITMAP, 10, "(4 × 6) 4 images 1:3 × 5 (4 × 6)"},
        {VK_DELETE, "", IDC_SPRITE_LIST, -1, "(no image) 3 images 1:6 × 1 (4 × 6)"},
        {VK_DELETE, "", IDC_DELETE_SPRITE, -1, "(no image) 4 images 1:3 × 5 (4 × 6)"},
        {VK_ESCAPE, "", IDC_ADD_SPRITE, -1, "(no image) 4 images 1:3 × 5 (4 × 6) ?"},
        {VK_RETURN, "", IDC_SPRITE_LIST, -1, "(no image) 4 images 1:3 × 5 (4 × 6) ?"},
        {0, "", 0, SC_CLOSE, "(no image) 4 images 1:3 × 5 (4 × 6) ?"},  // also the close box's
        {0, "", 0, IDM_MAKE_BACKGROUND, "(no image) 4 images 1:3 × 5 (4 × 6) Po"},
        {0, "", 0, IDM_EXPORT_BACKGROUND, "(no image) 4 images 1:3 × 5 (4 × 6) So"},
        {0, "", 0, IDM_IMPORT_SHEET, "(no image) 4 images 1:3 × 5 (4 × 6) Po"},
        {0, "", 0, IDM_EXPORT_SHEET, "(no image) 4 images 1:3 × 5 (4 × 6) Ps"},
        {0, "", 0, IDM_EXPORT_PALETTE, "(no image) 4 images 1:3 × 5 (4 × 6) Ls"},
        {0, "", 0, IDM_ABOUT, "(no image) 4 images 1:3 × 5 (4 × 6) About"},
    };
    SetTimer(nullptr, 0, 20, CloseAboutBox);  // for the About box, whose modal loop runs it
    for (const auto& [key, held, control, item, state] : rows) {
        Start();
        std::array<BYTE, 256> keys{};
        for (const char modifier : std::string_view(held)) {
            keys[modifier == 'c' ? VK_CONTROL : modifier == 's' ? VK_SHIFT : VK_MENU] = 0x80;
        }
        SetKeyboardState(keys.data());
        const UINT down = *held == 'a' ? WM_SYSKEYDOWN : WM_KEYDOWN;
        MSG message{GetDlgItem(Window(), control), down, key, 0, 0, {}};
        if (key != 0 && !window_->TranslateKey(message)) {
            IsDialogMessageW(Window(), &message);
        }
        if (key == 0 && control != 0) {
            chosen = control == IDC_LOAD_BITMAP ? (folder_ / L"a.bmp").wstring() : L"";
            SendDlgItemMessageW(Window(), control, BM_CLICK, 0, 0);
        }
        EXPECT_EQ(control == 0 ? std::string(state) : State(), state) << "by the key or button";
        if (item >= 0) {
            Start();
            const UINT id = item < 16 ? GetMenuItemID(EditMenu(), item) : static_cast<UINT>(item);
            SendMessageW(Window(), WM_SYSCOMMAND, id | 0xF, 0);  // returns once done
            EXPECT_EQ(State(), state) << "by the menu";
        }
    }
}

// The items of `menu`, each ended by "|": "-" a separator, "~" before greyed, " >" after a submenu.
std::wstring ItemsOf(HMENU menu) {
    std::wstring items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        items += text[0] == 0 ? L"-" : (state & MF_GRAYED) != 0 ? L"~" : L"";
        items += std::wstring(text) + ((state & MF_POPUP) != 0 ? L" >|" : L"|");
    }
    return items;
}

// The program's items; Keep Black toggles; Undo, Redo greyed while they cannot run; Yes closes.
TEST_F(MainWindow, TheWindowMenuHoldsTheProgramsItemsAndGreysUndoAndRedo) {
    for (const BlackHandling checked : {BlackHandling::KeepVisible, BlackHandling::AsSearched}) {
        SendMessageW(Window(), WM_SYSCOMMAND, IDM_KEEP_BLACK | 0xF, 0);
        EXPECT_EQ(Port().KeepBlackItem(), checked);
    }
    const std::wstring items = ItemsOf(GetSystemMenu(Window(), FALSE));
    EXPECT_NE(items.find(L"|-|Keep &Black Visible|-|Edi&t >|-|Make Back&ground File...|"
                         L"&Export Background Picture...|-|"),
              std::wstring::npos)
        << items;
    EXPECT_TRUE(
        items.ends_with(L"|-|&Import Sheet...|Export S&heet...|Export &Palette...|-|"
                        L"&About quorvel...|"))
        << items;
    const std::wstring rest =
        L"-|Move Sprite U&p\tAlt+Up|Move Sprite &Down\tAlt+Down|Replace &Sprite\tCtrl+R|-|"
        L"&Add Pictures...\tCtrl+Shift+A|-|&Copy Image\tCtrl+C|Paste &Image\tCtrl+V|";
    const auto opened = [this, &rest](const wchar_t* undoRedo) {
        SendMessageW(Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(EditMenu()), 3);
        EXPECT_EQ(ItemsOf(EditMenu()), undoRedo + rest);
    };
    opened(L"&Undo\tCtrl+Z|&Redo\tCtrl+Y|");  // from Start
    window_->Commands().OnUndo();
    opened(L"~&Undo\tCtrl+Z|&Redo\tCtrl+Y|");
    window_->Commands().OnRedo(), window_->Commands().OnRedo();
    opened(L"&Undo\tCtrl+Z|~&Redo\tCtrl+Y|");
    pressed = IDYES;
    SendMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Window(), nullptr);
}

// The list box, from Start's four lines with line 1 selected: a replaced line keeps the selection
// wherever it is; a line past the end is not there to delete.
TEST_F(MainWindow, TheListKeepsTheSelectionAsLinesAreReplaced) {
    WindowPort& list = Port();
    list.ReplaceLine(1, "B × ß"), list.ReplaceLine(0, "A"), list.ReplaceLine(3, "D");
    list.DeleteLine(4);
    EXPECT_EQ(list.LineText(0) + list.LineText(1) + list.LineText(3), "AB × ßD");
    EXPECT_EQ(list.SelectedLine(), 1);
    list.SelectLine(-1);
    EXPECT_EQ(list.SelectedLine(), -1);
    list.ClearLines();
    EXPECT_EQ(list.LineText(0), "");
}

// The window's copy comes back; another program's bitmap comes back as its file, the pixel offset
// past the masks and colours its header implies; PNG is preferred; nothing or a cut bitmap: none.
TEST_F(MainWindow, PicturesGoThroughTheClipboard) {
    Port().PutPictureOnClipboard(kTallBitmap);
    EXPECT_EQ(Port().PictureOnClipboard(), kTallBitmap);
    const Bytes png = EncodePicture(PatternImage(8, 2), "x.png").value();
    const auto dib = [](const BitmapFields& f) { return Clipboard{{CF_DIB, BuildBitmap(f)}}; };
    for (const Clipboard& put :
         {dib({1, 1, 8, BI_RGB, 2, {}, Bytes(8, 7), {1, 0, 0, 0}, {}, {}}),  // two colours
          dib({1, 1, 8, BI_RGB, 0, {}, Bytes(1024, 7), {1, 0, 0, 0}, {}, {}}),
          dib({1, 1, 16, BI_BITFIELDS, 0, {0xF800, 0x7E0, 0x1F}, {}, {1, 2, 3, 4}, {}, {}}),
          Clipboard{{CF_DIB, kTallBitmap}, {RegisterClipboardFormatW(L"PNG"), png}}, Clipboard{}}) {
        SetClipboard(put);
        EXPECT_EQ(Port().PictureOnClipboard(), put.empty() ? Bytes{} : put.back().second);
    }
    EXPECT_EQ(BitmapFileOfDib(std::span(kTallBitmap).subspan(14, 30)), Bytes{});
    EXPECT_EQ(BitmapFileOfDib(std::span(kTallBitmap).subspan(14, 4)), Bytes{});
}

std::wstring gridTyped;  // what the next "Sheet Grid" dialog gets typed: columns, rows; or ""

// Reads the open "Sheet Grid" dialog's starting numbers into `asked`, types `gridTyped` and
// presses OK, or Cancel when there is nothing to type; runs inside its modal loop.
void CALLBACK AnswerGrid(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    if (HWND grid = FindWindowW(L"#32770", L"Sheet Grid")) {
        KillTimer(nullptr, timer);
        for (const int field : {IDC_SHEET_COLUMNS, IDC_SHEET_ROWS}) {
            asked += " " + std::to_string(GetDlgItemInt(grid, field, nullptr, FALSE));
        }
        if (!gridTyped.empty()) {
            SetDlgItemTextW(grid, IDC_SHEET_COLUMNS, gridTyped.substr(0, 1).c_str());
            SetDlgItemTextW(grid, IDC_SHEET_ROWS, gridTyped.substr(1).c_str());
        }
        SendMessageW(grid, WM_COMMAND, gridTyped.empty() ? IDCANCEL : IDOK, 0);
    }
}

// "Sheet Grid" starts at 1 by 1 and gives what was typed, or nothing when cancelled.
TEST_F(MainWindow, TheSheetGridDialogGivesColumnsAndRows) {
    for (const auto& [typed, expected] :
         {std::pair{L"", " 1 1 none"}, {L"31024", " 1 1 3 x 1024"}}) {
        asked.clear();
        gridTyped = typed;
        SetTimer(nullptr, 0, 20, AnswerGrid);
        const std::optional<SheetGrid> grid = Port().AskSheetGrid();
        asked += grid ? " " + std::to_string(grid->columns) + " x " + std::to_string(grid->rows)
                      : " none";
        EXPECT_EQ(asked, expected);
    }
}

// The multiple-selection dialog's buffer: a folder and names, or one full path.
TEST(ChosenFiles, TheSelectionIsSplitIntoFolderAndNames) {
    using namespace std::string_view_literals;
    const std::pair<std::wstring_view, std::string> rows[] = {
        {L"C:\\a.bmp\0"sv, "C:\\|a.bmp "},
        {L"C:\\\0a.bmp\0b.bmp\0\0z\0"sv, "C:\\|a.bmp C:\\|b.bmp "},
        {L"D:\\\u00D7\0\u00DF.png\0"sv, "D:\\×|ß.png "},
        {L"\0a.bmp\0"sv, ""},
    };
    for (const auto& [selection, expected] : rows) {
        std::string files;
        for (const ChosenFile& file : ChosenFilesOf(selection)) {
            files += file.folder + "|" + file.name + " ";
        }
        EXPECT_EQ(files, expected) << WideToUtf8(selection);
    }
}

// The frame shows the image 1:1 from its top-left corner, cut at its edge, black around it.
TEST_F(MainWindow, PreviewShowsTheImageFromTheTopLeftAndBlackAroundIt) {
    HDC screen = GetDC(Window());
    for (const auto& [width, height] : {std::pair{0, 0}, {300, 50}, {5, 3}, {203, 201}}) {
        const IndexedImage& image = CurrentImage() = PatternImage(width, height);
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        int wrong = 0;  // in the frame and in the window's row and column just past it
        for (int y = 0; y <= kPreviewSide; ++y) {
            for (int x = 0; x <= kPreviewSide; ++x) {
                const std::uint32_t c =
                    x < width && y < height ? kGameColours[image.pixels[y * width + x]] : 0;
                const COLORREF expected = x == kPreviewSide || y == kPreviewSide
                                              ? GetPixel(screen, 0, 0)
                                              : RGB(c >> 16, c >> 8, c);
                wrong += GetPixel(screen, kPreviewLeft + x, kPreviewTop + y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << width << " × " << height;
    }
    ReleaseDC(Window(), screen);
}

}  // namespace
}  // namespace quorvel::testing
