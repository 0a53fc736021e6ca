// The Windows main window from its resource template: its buttons, keys and window-menu items
// reach the shared commands, and its realisation of the commands' window holds (list, clipboard,
// file choice, preview). What the commands do is tested once, through a fake window.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>

#include "ui/commands/window_menu.h"
#include "core/bitmap_writer.h"
#include "core/game_palette.h"
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
using Texts = std::vector<std::wstring>;
using Asked = std::vector<std::pair<FileKind, FileAction>>;

// Answers each file dialog with the next scripted selection; none left cancels it.
struct ScriptedFileDialogs final : FileDialogs {
    std::wstring Choose(HWND /*owner*/, FileKind kind, FileAction action) override {
        asked.emplace_back(kind, action);
        return Next();
    }
    std::wstring ChoosePictures(HWND owner) override {
        return Choose(owner, FileKind::Picture, FileAction::Open);
    }
    std::wstring Next() {
        std::wstring next = answers.empty() ? L"" : answers.front();
        answers.erase(answers.begin(), answers.begin() + !answers.empty());
        return next;
    }
    std::deque<std::wstring> answers;
    Asked asked;
};

// Records each message box as "caption: text" and presses the scripted button.
struct ScriptedMessageBoxes final : MessageBoxes {
    int Show(HWND /*owner*/, const std::wstring& text, const std::wstring& caption,
             UINT style) override {
        shown.push_back(caption + L": " + text + L" " + std::to_wstring(style));
        return answer;
    }
    int answer = IDOK;
    Texts shown;
};

const SpriteSet kThree{
    3,
    {4, 3, 6},
    {2, 5, 1},
    {PatternImage(4, 2).pixels, PatternImage(3, 5).pixels, PatternImage(6, 1).pixels}};

// A working folder with three.spr, a.bmp (4 × 2) and b.png (8 × 2), and a fresh window.
class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        fs::current_path(folder_);
        WriteTestFile("three.spr", EncodeSpriteFile(kThree).value());
        WriteTestFile("a.bmp", EncodePicture(PatternImage(4, 2), "a.bmp").value());
        WriteTestFile("b.png", EncodePicture(PatternImage(8, 2), "b.png").value());
        OpenWindow();
    }
    void TearDown() override { fs::current_path(startFolder_); }

    void OpenWindow() {
        window_.reset();
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        dialogs_ = new ScriptedFileDialogs;
        boxes_ = new ScriptedMessageBoxes;
        window_ = std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_),
                                               std::unique_ptr<MessageBoxes>(boxes_));
        ASSERT_NE(window_->Open(), nullptr) << GetLastError();
    }
    HWND Window() const { return window_->Handle(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    WindowPort& Port() { return window_->Commands().Window(); }
    void Click(int button) { SendDlgItemMessageW(Window(), button, BM_CLICK, 0, 0); }
    void Select(int line) { SendMessageW(Control(IDC_SPRITE_LIST), LB_SETCURSEL, line, 0); }

    // "image label | count label | lines", a line by its size, the selected one in brackets.
    std::wstring Shows() const {
        wchar_t text[256] = {};
        std::wstring shows;
        for (const int label : {IDC_IMAGE_LABEL, IDC_COUNT_LABEL}) {
            GetDlgItemTextW(Window(), label, text, 256);
            shows += std::wstring(text) + L" | ";
        }
        const auto selected = SendMessageW(Control(IDC_SPRITE_LIST), LB_GETCURSEL, 0, 0);
        for (LRESULT i = 0; i < SendMessageW(Control(IDC_SPRITE_LIST), LB_GETCOUNT, 0, 0); ++i) {
            SendMessageW(Control(IDC_SPRITE_LIST), LB_GETTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            const std::wstring size = std::wstring(text).substr(std::wstring(text).find(L'\t') + 1);
            shows += i == selected ? L"[" + size + L"] " : size + L" ";
        }
        return shows.substr(0, shows.size() - 1);
    }

    TempFolder temp_;
    const fs::path folder_ = temp_.path();
    const fs::path startFolder_ = fs::current_path();
    ScriptedFileDialogs* dialogs_ = nullptr;  // owned by the window
    ScriptedMessageBoxes* boxes_ = nullptr;   // owned by the window
    std::unique_ptr<MainDialog> window_;
};

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

// Each button and a drop run their command, one after another.
TEST_F(MainWindow, ButtonsAndDropsRunTheirCommands) {
    constexpr auto kOpen = FileAction::Open;
    constexpr auto kSave = FileAction::Save;
    struct Row {
        int button;  // 0: drop three.spr
        const wchar_t* answer;
        Asked asked;
        const wchar_t* shows;
    };
    const Row rows[] = {
        {0, nullptr, {}, L"(no image) | 3 images | 4 × 2 3 × 5 6 × 1"},
        {IDC_LOAD_BITMAP,
         L"a.bmp",
         {{FileKind::Picture, kOpen}},
         L"(4 × 2) | 3 images | 4 × 2 3 × 5 6 × 1"},
        {IDC_ADD_SPRITE, nullptr, {}, L"(4 × 2) | 4 images | 4 × 2 3 × 5 6 × 1 4 × 2"},
        {IDC_INSERT_SPRITE, nullptr, {}, L"(4 × 2) | 5 images | 4 × 2 [4 × 2] 3 × 5 6 × 1 4 × 2"},
        {IDC_DELETE_SPRITE, nullptr, {}, L"(4 × 2) | 4 images | 4 × 2 [3 × 5] 6 × 1 4 × 2"},
        {IDC_COPY_SPRITE, nullptr, {}, L"(3 × 5) | 4 images | 4 × 2 [3 × 5] 6 × 1 4 × 2"},
        {IDC_SAVE_BITMAP,
         L"saved.bmp",
         {{FileKind::Picture, kSave}},
         L"(3 × 5) | 4 images | 4 × 2 [3 × 5] 6 × 1 4 × 2"},
        {IDC_SAVE_SPRITES,
         L"saved.spr",
         {{FileKind::Sprite, kSave}},
         L"(3 × 5) | 4 images | 4 × 2 [3 × 5] 6 × 1 4 × 2"},
        {IDC_LOAD_SPRITES,
         L"saved.spr",
         {{FileKind::Sprite, kOpen}},
         L"(3 × 5) | 4 images | 4 × 2 3 × 5 6 × 1 4 × 2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "button " << row.button);
        if (row.button == IDC_INSERT_SPRITE || row.button == IDC_COPY_SPRITE) {
            Select(1);
        }
        dialogs_->asked.clear();
        if (row.answer != nullptr) {
            dialogs_->answers = {(folder_ / row.answer).wstring()};
        }
        row.button == 0 ? DropFile(Window(), folder_ / L"three.spr") : Click(row.button);
        EXPECT_EQ(Shows(), row.shows);
        EXPECT_EQ(dialogs_->asked, row.asked);
    }
    EXPECT_EQ(ReadTestFile("saved.bmp"), EncodeBitmap(PatternImage(3, 5)).value());
    EXPECT_EQ(boxes_->shown, Texts{});  // the set was saved before Load
}

// Sends a key to the focused control as the program's message loop does.
void PressKey(MainDialog& window, WPARAM key) {
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    if (!window.TranslateKey(message)) {
        IsDialogMessageW(window.Handle(), &message);
    }
}

void PutOnClipboard(UINT format, const std::vector<std::uint8_t>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(GlobalLock(block)));
    GlobalUnlock(block);
    SetClipboardData(format, block);
}

// Puts each picture file on the clipboard in its format (a bitmap without its file header).
void SetClipboard(const std::vector<std::pair<UINT, std::vector<std::uint8_t>>>& pictures) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    for (const auto& [format, file] : pictures) {
        PutOnClipboard(format,
                       format == CF_DIB ? std::vector(file.begin() + 14, file.end()) : file);
    }
    CloseClipboard();
}

const std::vector<std::uint8_t> kTallBitmap = EncodeBitmap(PatternImage(4, 6)).value();

// The size of the picture on the clipboard.
std::wstring ClipboardPicture() {
    const Result<IndexedImage> image = DecodePicture(
        PictureFileOnClipboard(nullptr), ConversionMode::Nearest, BlackHandling::AsSearched);
    return image ? std::to_wstring(image.value().width) + L" × " +
                       std::to_wstring(image.value().height)
                 : L"none";
}

// The window menu's Edit submenu, its only submenu.
HMENU EditMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU submenu = GetSubMenu(menu, i)) {
            return submenu;
        }
    }
    return nullptr;
}

// The id of the Edit item of `command`, found by its place in the menu.
WPARAM EditItemId(HWND window, EditCommand command) {
    const auto row =
        std::find_if(std::begin(kEditMenu), std::end(kEditMenu),
                     [command](const EditMenuItem& item) { return item.command == command; });
    return GetMenuItemID(EditMenu(window), static_cast<int>(row - std::begin(kEditMenu)));
}

struct KeyRow {
    const char* name;
    WPARAM key;
    std::vector<int> held;  // virtual keys held down with it
    int focus;              // the control the key goes to
    EditCommand item;       // the Edit item that does the same, or None
    bool taken;             // whether the key runs a command
    const wchar_t* shows;   // the window afterwards
    const wchar_t* clipboard;
};

// Every key, pressed on the list or elsewhere, and every Edit item, from three sprites with
// the second selected, a 8 × 3 image (the label not yet told), a step to undo (adding the
// image) and one to redo (adding it again), and a 4 × 6 bitmap on the clipboard.
TEST_F(MainWindow, EditKeysAndItemsRunTheirCommandsWhereverTheFocusIs) {
    constexpr int kList = IDC_SPRITE_LIST;
    const KeyRow rows[] = {
        {"undo",
         'Z',
         {VK_CONTROL},
         kList,
         EditCommand::Undo,
         true,
         L"(no image) | 3 images | 4 × 2 3 × 5 6 × 1",
         L"4 × 6"},
        {"redo",
         'Y',
         {VK_CONTROL},
         IDC_ADD_SPRITE,
         EditCommand::Redo,
         true,
         L"(no image) | 5 images | 4 × 2 3 × 5 6 × 1 8 × 3 8 × 3",
         L"4 × 6"},
        {"redo too",
         'Z',
         {VK_CONTROL, VK_SHIFT},
         kList,
         EditCommand::None,
         true,
         L"(no image) | 5 images | 4 × 2 3 × 5 6 × 1 8 × 3 8 × 3",
         L"4 × 6"},
        {"up",
         VK_UP,
         {VK_MENU},
         kList,
         EditCommand::MoveSpriteUp,
         true,
         L"(no image) | 4 images | [3 × 5] 4 × 2 6 × 1 8 × 3",
         L"4 × 6"},
        {"down",
         VK_DOWN,
         {VK_MENU},
         IDC_NEAREST_COLOR,
         EditCommand::MoveSpriteDown,
         true,
         L"(no image) | 4 images | 4 × 2 6 × 1 [3 × 5] 8 × 3",
         L"4 × 6"},
        {"replace",
         'R',
         {VK_CONTROL},
         kList,
         EditCommand::ReplaceSprite,
         true,
         L"(no image) | 4 images | 4 × 2 [8 × 3] 6 × 1 8 × 3",
         L"4 × 6"},
        {"add pictures",
         'A',
         {VK_CONTROL, VK_SHIFT},
         kList,
         EditCommand::AddPictures,
         true,
         L"(no image) | 6 images | 4 × 2 [4 × 2] 8 × 2 3 × 5 6 × 1 8 × 3",
         L"4 × 6"},
        {"copy",
         'C',
         {VK_CONTROL},
         kList,
         EditCommand::CopyImage,
         true,
         L"(no image) | 4 images | 4 × 2 [3 × 5] 6 × 1 8 × 3",
         L"8 × 3"},
        {"paste",
         'V',
         {VK_CONTROL},
         IDC_LOAD_BITMAP,
         EditCommand::PasteImage,
         true,
         L"(4 × 6) | 4 images | 4 × 2 [3 × 5] 6 × 1 8 × 3",
         L"4 × 6"},
        {"delete",
         VK_DELETE,
         {},
         kList,
         EditCommand::None,
         true,
         L"(no image) | 3 images | 4 × 2 [6 × 1] 8 × 3",
         L"4 × 6"},
        {"delete elsewhere",
         VK_DELETE,
         {},
         IDC_DELETE_SPRITE,
         EditCommand::None,
         false,
         L"(no image) | 4 images | 4 × 2 [3 × 5] 6 × 1 8 × 3",
         L"4 × 6"},
        {"no control",
         'Z',
         {},
         kList,
         EditCommand::None,
         false,
         L"(no image) | 4 images | 4 × 2 [3 × 5] 6 × 1 8 × 3",
         L"4 × 6"},
    };
    const auto start = [this] {
        OpenWindow();
        DropFile(Window(), folder_ / L"three.spr");
        CurrentImage() = PatternImage(8, 3);
        window_->Commands().OnAddSprite();
        window_->Commands().OnAddSprite();
        window_->Commands().OnUndo();
        Select(1);
        SetClipboard({{CF_DIB, kTallBitmap}});
        dialogs_->answers = {folder_.wstring() + std::wstring(L"\0b.png\0a.bmp\0", 13)};
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.name);
        start();
        std::array<BYTE, 256> keys{};
        for (const int held : row.held) {
            keys[static_cast<std::size_t>(held)] = 0x80;
        }
        SetKeyboardState(keys.data());
        const UINT down = keys[VK_MENU] != 0 ? WM_SYSKEYDOWN : WM_KEYDOWN;
        EXPECT_EQ(window_->TranslateKey(MSG{Control(row.focus), down, row.key, 0, 0, {}}),
                  row.taken);
        SetKeyboardState(std::array<BYTE, 256>{}.data());
        EXPECT_EQ(Shows(), row.shows);
        EXPECT_EQ(ClipboardPicture(), row.clipboard);
        if (row.item != EditCommand::None) {
            start();
            SendMessageW(Window(), WM_SYSCOMMAND, EditItemId(Window(), row.item) | 0xF, 0);
            EXPECT_EQ(Shows(), row.shows) << "from the menu";
            EXPECT_EQ(ClipboardPicture(), row.clipboard) << "from the menu";
        }
    }
}

HWND typedTo = nullptr;

// Types "t" and then "c" into the open menu, one a tick; gives up after a second.
void CALLBACK TypeInMenu(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    static int tick = 0;
    if (tick < 2) {
        PostMessageW(typedTo, WM_CHAR, tick == 0 ? 't' : 'c', 0);
    } else if (tick == 20) {
        EndMenu();
    }
    if (++tick > 20) {
        KillTimer(nullptr, timer);
        tick = 0;
    }
}

// An Edit item chosen in the real window menu with the keyboard, as a user does: Alt+Space
// opens the menu, "t" the Edit submenu, "c" copies the image.
TEST_F(MainWindow, AnEditItemChosenInTheOpenMenuRunsItsCommand) {
    CurrentImage() = PatternImage(8, 3);
    SetClipboard({});
    typedTo = Window();
    SetTimer(nullptr, 0, 50, TypeInMenu);
    SendMessageW(Window(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        DispatchMessageW(&message);  // the item's command, posted as the menu closed
    }
    EXPECT_EQ(ClipboardPicture(), L"8 × 3");
}

// The items after the system's, as "-" for a separator, "text >" for a submenu, marked when
// greyed or checked.
Texts ItemsOf(HMENU menu, int first) {
    Texts items;
    for (int i = first; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 64;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        if ((item.fType & MFT_SEPARATOR) != 0) {
            items.emplace_back(L"-");
            continue;
        }
        std::wstring shown = text;
        shown += item.hSubMenu != nullptr ? L" >" : L"";
        shown += (item.fState & MFS_GRAYED) != 0 ? L" (grey)" : L"";
        items.push_back(shown + ((item.fState & MFS_CHECKED) != 0 ? L" (checked)" : L""));
    }
    return items;
}

// The program's items follow the system's; Undo and Redo are greyed while they cannot run, as
// the menu opens.
TEST_F(MainWindow, TheWindowMenuHoldsTheProgramsItemsAndGreysUndoAndRedo) {
    HMENU menu = GetSystemMenu(Window(), FALSE);
    int first = 0;  // the separator before the first
    while (first + 1 < GetMenuItemCount(menu) && GetMenuItemID(menu, first + 1) != IDM_KEEP_BLACK) {
        ++first;
    }
    EXPECT_EQ(
        ItemsOf(menu, first),
        (Texts{L"-", L"Keep &Black Visible", L"-", L"Edi&t >", L"-", L"Make Back&ground File...",
               L"&Export Background Picture...", L"-", L"&About quorvel..."}));
    const Texts rest = {L"-",
                        L"Move Sprite U&p\tAlt+Up",
                        L"Move Sprite &Down\tAlt+Down",
                        L"Replace &Sprite\tCtrl+R",
                        L"-",
                        L"&Add Pictures...\tCtrl+Shift+A",
                        L"-",
                        L"&Copy Image\tCtrl+C",
                        L"Paste &Image\tCtrl+V"};
    const std::pair<std::function<void()>, Texts> steps[] = {
        {[] {}, {L"&Undo\tCtrl+Z (grey)", L"&Redo\tCtrl+Y (grey)"}},
        {[this] { CurrentImage() = PatternImage(4, 2), Click(IDC_ADD_SPRITE); },
         {L"&Undo\tCtrl+Z", L"&Redo\tCtrl+Y (grey)"}},
        {[this] { window_->Commands().OnUndo(); }, {L"&Undo\tCtrl+Z (grey)", L"&Redo\tCtrl+Y"}},
    };
    for (const auto& [step, undoRedo] : steps) {
        step();
        SendMessageW(Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(EditMenu(Window())), 3);
        Texts expected = undoRedo;
        expected.insert(expected.end(), rest.begin(), rest.end());
        EXPECT_EQ(ItemsOf(EditMenu(Window()), 0), expected);
    }
}

bool aboutSeen = false;

// Closes the About box once it is open; runs inside its modal loop.
void CALLBACK CloseAboutBox(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    if (HWND about = FindWindowW(L"#32770", L"About quorvel")) {
        KillTimer(nullptr, timer);
        aboutSeen = true;
        SendMessageW(about, WM_COMMAND, IDOK, 0);
    }
}

// The other items, with the low four bits set as the system may send them.
TEST_F(MainWindow, TheOtherWindowMenuItemsRunTheirCommands) {
    struct Row {
        WPARAM item;
        Asked asked;  // each dialog cancelled
        BlackHandling keepBlack;
        bool about;
    };
    const Row rows[] = {
        {IDM_KEEP_BLACK, {}, BlackHandling::KeepVisible, false},
        {IDM_MAKE_BACKGROUND,
         {{FileKind::Picture, FileAction::Open}},
         BlackHandling::KeepVisible,
         false},
        {IDM_KEEP_BLACK, {}, BlackHandling::AsSearched, false},
        {IDM_EXPORT_BACKGROUND,
         {{FileKind::Sprite, FileAction::Open}},
         BlackHandling::AsSearched,
         false},
        {IDM_ABOUT, {}, BlackHandling::AsSearched, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        dialogs_->asked.clear();
        aboutSeen = false;
        if (row.about) {
            SetTimer(nullptr, 0, 20, CloseAboutBox);
        }
        SendMessageW(Window(), WM_SYSCOMMAND, row.item | 0xF, 0);  // returns once done
        EXPECT_EQ(dialogs_->asked, row.asked);
        EXPECT_EQ(Port().KeepBlackItem(), row.keepBlack);
        EXPECT_EQ(aboutSeen, row.about);
    }
    EXPECT_TRUE(IsWindow(Window()));
}

// Each way of closing asks first while sprites are unsaved: No keeps the window, Yes closes it.
TEST_F(MainWindow, ClosingAsksWhileSpritesAreUnsaved) {
    const std::pair<const char*, std::function<void(MainDialog&)>> ways[] = {
        {"Escape", [](MainDialog& window) { PressKey(window, VK_ESCAPE); }},
        {"Enter on the list", [](MainDialog& window) { PressKey(window, VK_RETURN); }},
        {"close box", [](MainDialog& window) { SendMessageW(window.Handle(), WM_CLOSE, 0, 0); }},
        {"Alt+F4, the menu's Close",
         [](MainDialog& window) { SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [way, close] : ways) {
        for (const auto& [unsaved, answer] : {std::pair{false, 0}, {true, IDNO}, {true, IDYES}}) {
            SCOPED_TRACE(::testing::Message() << way << ", unsaved " << unsaved << ", " << answer);
            OpenWindow();
            if (unsaved) {
                CurrentImage() = PatternImage(4, 2);
                Click(IDC_ADD_SPRITE);
            }
            boxes_->answer = answer;
            SetFocus(Control(IDC_SPRITE_LIST));
            close(*window_);
            EXPECT_EQ(boxes_->shown.size(), unsaved ? 1u : 0u);
            EXPECT_EQ(Window() == nullptr, answer != IDNO);
        }
    }
    EXPECT_EQ(boxes_->shown.at(0).substr(0, 9), L"quorvel: ");
    EXPECT_TRUE(boxes_->shown.at(0).ends_with(
        L" " + std::to_wstring(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)));
}

// The list realised on the list box: a replaced line keeps the selection wherever it is.
TEST_F(MainWindow, TheListKeepsTheSelectionAsLinesAreReplaced) {
    const std::pair<std::function<void(WindowPort&)>, std::string> steps[] = {
        {[](WindowPort& list) {
             for (const char* line : {"a", "b", "c"}) {
                 list.AppendLine(line);
             }
             list.SelectLine(1);
         },
         "a [b] c"},
        {[](WindowPort& list) { list.ReplaceLine(1, "B × ß"); }, "a [B × ß] c"},
        {[](WindowPort& list) { list.ReplaceLine(2, "C"); }, "a [B × ß] C"},
        {[](WindowPort& list) { list.ReplaceLine(0, "A"); }, "A [B × ß] C"},
        {[](WindowPort& list) { list.DeleteLine(3); }, "A [B × ß] C"},
        {[](WindowPort& list) { list.SelectLine(-1); }, "A B × ß C"},
        {[](WindowPort& list) { list.ClearLines(); }, ""},
    };
    for (const auto& [step, shows] : steps) {
        step(Port());
        std::string lines;
        for (std::int32_t i = 0; i < SendMessageW(Control(IDC_SPRITE_LIST), LB_GETCOUNT, 0, 0);
             ++i) {
            const std::string line = Port().LineText(i);
            lines += (i == Port().SelectedLine() ? "[" + line + "]" : line) + " ";
        }
        EXPECT_EQ(lines.substr(0, lines.empty() ? 0 : lines.size() - 1), shows);
    }
}

std::vector<std::uint8_t> Without(std::vector<std::uint8_t> file, std::size_t bytes) {
    file.erase(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(bytes));
    return file;
}

// A device-independent bitmap becomes the bitmap file it came from, its pixel offset counted
// past the masks and the colour table that the header implies.
TEST(Clipboard, ADeviceIndependentBitmapGetsItsFileHeaderBack) {
    BitmapFields fewColours = PalettedBitmap({{0, 1}, {1, 0}}, std::vector<std::uint8_t>(8, 7));
    fewColours.coloursUsed = 2;
    BitmapFields bitfields = TrueColourBitmap({{Bgr{}, Bgr{}}});
    bitfields.bitCount = 16;
    bitfields.compression = BI_BITFIELDS;
    bitfields.masks = {0xF800, 0x07E0, 0x001F};
    bitfields.pixels = {1, 2, 3, 4};
    for (const BitmapFields& fields :
         {TrueColourBitmap({{Bgr{}, Bgr{}}}),
          PalettedBitmap({{0, 1}}, std::vector<std::uint8_t>(1024, 9)), fewColours, bitfields}) {
        const std::vector<std::uint8_t> file = BuildBitmap(fields);
        EXPECT_EQ(BitmapFileOfDib(Without(file, 14)), file) << fields.bitCount;
    }
    const std::vector<std::uint8_t> cut = Without(BuildBitmap(TrueColourBitmap({{Bgr{}}})), 14);
    EXPECT_EQ(BitmapFileOfDib(std::span(cut).first(30)), std::vector<std::uint8_t>{});
    EXPECT_EQ(BitmapFileOfDib(std::span(cut).first(4)), std::vector<std::uint8_t>{});
}

// The real clipboard: the window's copy comes back whole, a bitmap another program put there is
// read, a PNG picture is preferred, and nothing is no picture.
TEST_F(MainWindow, PicturesGoThroughTheClipboard) {
    const std::vector<std::uint8_t> bitmap = EncodeBitmap(PatternImage(8, 3)).value();
    const std::vector<std::uint8_t> png = EncodePicture(PatternImage(8, 2), "x.png").value();
    SetClipboard({});
    Port().PutPictureOnClipboard(bitmap);
    EXPECT_EQ(Port().PictureOnClipboard(), bitmap);
    const std::pair<std::vector<std::pair<UINT, std::vector<std::uint8_t>>>,
                    std::vector<std::uint8_t>>
        rows[] = {
            {{{CF_DIB, kTallBitmap}}, kTallBitmap},
            {{{CF_DIB, kTallBitmap}, {RegisterClipboardFormatW(L"PNG"), png}}, png},
            {{}, {}},
        };
    for (const auto& [put, expected] : rows) {
        SetClipboard(put);
        EXPECT_EQ(Port().PictureOnClipboard(), expected) << put.size();
    }
}

// The multiple-selection dialog's buffer: a folder and names, or one full path.
TEST(ChosenFiles, TheSelectionIsSplitIntoFolderAndNames) {
    using namespace std::string_view_literals;
    const std::pair<std::wstring_view, std::vector<std::pair<std::string, std::string>>> rows[] = {
        {L"C:\\pics\\a.bmp\0"sv, {{"C:\\pics", "a.bmp"}}},
        {L"C:\\a.bmp\0"sv, {{"C:\\", "a.bmp"}}},
        {L"C:\\pics\0b.png\0a.bmp\0\0"sv, {{"C:\\pics", "b.png"}, {"C:\\pics", "a.bmp"}}},
        {L"C:\\\0a.bmp\0b.bmp\0\0z\0"sv, {{"C:\\", "a.bmp"}, {"C:\\", "b.bmp"}}},
        {L"D:\\\u00D7\0\u00DF.png\0"sv, {{"D:\\\xC3\x97", "\xC3\x9F.png"}}},
        {L"\0a.bmp\0"sv, {}},
        {L""sv, {}},
    };
    for (const auto& [selection, expected] : rows) {
        std::vector<std::pair<std::string, std::string>> files;
        for (const ChosenFile& file : ChosenFilesOf(selection)) {
            files.emplace_back(file.folder, file.name);
        }
        EXPECT_EQ(files, expected) << WideToUtf8(selection);
    }
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

}  // namespace
}  // namespace quorvel::testing
