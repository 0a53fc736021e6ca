#include "ui/win32/main_dialog.h"

#include <commdlg.h>

#include <utility>
#include <vector>

#include "core/indexed_image.h"
#include "ui/commands/window_menu.h"
#include "ui/win32/about_dialog.h"
#include "ui/win32/help.h"
#include "ui/win32/preview.h"
#include "ui/win32/resource.h"
#include "ui/win32/system_menu.h"
#include "ui/win32/working_folder.h"

namespace quorvel {

namespace {

HINSTANCE ProgramModule() {
    return GetModuleHandleW(nullptr);
}

// What the Help buttons of the common file dialogs send to their owner.
UINT FileDialogHelpMessage() {
    static const UINT message = RegisterWindowMessageW(HELPMSGSTRINGW);
    return message;
}

struct Button {
    int control;
    void (WindowCommands::*command)();
};

constexpr Button kButtons[] = {
    {IDC_LOAD_BITMAP, &WindowCommands::OnLoadBitmap},
    {IDC_SAVE_BITMAP, &WindowCommands::OnSaveBitmap},
    {IDC_LOAD_SPRITES, &WindowCommands::OnLoadSprites},
    {IDC_SAVE_SPRITES, &WindowCommands::OnSaveSprites},
    {IDC_ADD_SPRITE, &WindowCommands::OnAddSprite},
    {IDC_INSERT_SPRITE, &WindowCommands::OnInsertSprite},
    {IDC_DELETE_SPRITE, &WindowCommands::OnDeleteSprite},
    {IDC_COPY_SPRITE, &WindowCommands::OnCopySpriteToImage},
};

// The window menu's items that run a command as they stand.
struct MenuItem {
    WPARAM id;
    void (WindowCommands::*command)();
};

constexpr MenuItem kMenuItems[] = {
    {IDM_MAKE_BACKGROUND, &WindowCommands::OnMakeBackground},
    {IDM_EXPORT_BACKGROUND, &WindowCommands::OnExportBackground},
    {IDM_IMPORT_SHEET, &WindowCommands::OnImportSheet},
    {IDM_EXPORT_SHEET, &WindowCommands::OnExportSheet},
    {IDM_EXPORT_PALETTE, &WindowCommands::OnExportPalette},
};

Key KeyOf(WPARAM virtualKey) {
    constexpr std::pair<WPARAM, Key> kKeys[] = {
        {VK_UP, Key::Up}, {VK_DOWN, Key::Down}, {VK_DELETE, Key::Delete},
        {'A', Key::A},    {'C', Key::C},        {'R', Key::R},
        {'V', Key::V},    {'Y', Key::Y},        {'Z', Key::Z},
    };
    for (const auto& [code, key] : kKeys) {
        if (code == virtualKey) {
            return key;
        }
    }
    return Key::Other;
}

unsigned HeldModifiers() {
    unsigned held = kNoModifier;
    for (const auto& [code, modifier] :
         {std::pair{VK_CONTROL, kControl}, {VK_SHIFT, kShift}, {VK_MENU, kAlt}}) {
        if (GetKeyState(code) < 0) {  // the high bit: down
            held |= modifier;
        }
    }
    return held;
}

}  // namespace

MainDialog::MainDialog(std::unique_ptr<FileDialogs> fileDialogs,
                       std::unique_ptr<MessageBoxes> messageBoxes)
    : port_(std::move(fileDialogs), std::move(messageBoxes)), commands_(port_) {
    icon_ = LoadIconW(ProgramModule(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    smallIcon_ = static_cast<HICON>(
        LoadImageW(ProgramModule(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

MainDialog::~MainDialog() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
}

// A modeless dialog with a loop of its own, so that the Edit keys are seen before the list and
// the dialog manager take them. Nothing else is open, so it behaves as a modal one would.
void MainDialog::RunModal() {
    if (Open() == nullptr) {
        return;
    }
    MSG message;
    while (window_ != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateKey(message) && !IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HWND MainDialog::Open() {
    HWND window = CreateDialogParamW(ProgramModule(), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
}

bool MainDialog::TranslateKey(const MSG& message) {
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (!keyDown || window_ == nullptr ||
        (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
        return false;
    }
    const Key key = KeyOf(message.wParam);
    const bool listHasFocus = message.hwnd == GetDlgItem(window_, IDC_SPRITE_LIST);
    return key != Key::Other && RunEditKey(commands_, key, HeldModifiers(), listHasFocus);
}

void MainDialog::OpenDroppedFile(const std::wstring& path) {
    commands_.OpenDroppedFile(ChosenFileOf(path));
}

// ----- Messages

INT_PTR CALLBACK MainDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<MainDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->OnInitDialog(window);
        return FALSE;  // the focus is set
    }
    auto* self = reinterpret_cast<MainDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR MainDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FileDialogHelpMessage()) {
        ShowHelp(window_);
        return TRUE;
    }
    switch (message) {
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        case WM_INITMENUPOPUP:
            UpdateEditItems(window_, commands_);
            return FALSE;  // the system's items are the system's
        case WM_CLOSE:     // the close box, the window menu's Close, Alt+F4
            RequestClose();
            return TRUE;
        case WM_PAINT:
            OnPaint();
            return TRUE;
        case WM_QUERYDRAGICON:  // answered directly, not through DWLP_MSGRESULT
            return reinterpret_cast<INT_PTR>(icon_);
        case WM_HELP:  // F1
            ShowHelp(window_);
            return TRUE;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        default:
            static_cast<void>(lParam);
            return FALSE;
    }
}

void MainDialog::OnInitDialog(HWND window) {
    window_ = window;
    port_.Attach(window);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    AddProgramItems(window_);  // "Keep Black Visible" unchecked with every window, never kept
    KeepPreviewUncovered(window_);
    commands_.RefreshChoice();
    // The first control that takes the focus by Tab; the radio buttons do not.
    SetFocus(GetDlgItem(window_, IDC_SPRITE_LIST));
}

bool MainDialog::OnCommand(int control, int notification) {
    if (control == IDOK || control == IDCANCEL) {  // Escape, and Enter on no push button
        RequestClose();
        return true;
    }
    if (notification != BN_CLICKED) {  // also 0 from a menu item
        return false;                  // the list's notifications run no command
    }
    for (const Button& button : kButtons) {
        if (button.control == control) {
            (commands_.*button.command)();
            return true;
        }
    }
    // Where a system chooses to send the window menu's submenu items.
    return RunEditItem(static_cast<UINT>(control));
}

bool MainDialog::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case IDM_KEEP_BLACK:
            ToggleKeepBlackItem(window_);
            return true;
        case IDM_ABOUT:
            ShowAboutBox(window_);
            return true;
        default:
            break;
    }
    for (const MenuItem& item : kMenuItems) {
        if (item.id == (command & 0xFFF0)) {
            (commands_.*item.command)();
            return true;
        }
    }
    return RunEditItem(static_cast<UINT>(command));  // else the default handling
}

bool MainDialog::RunEditItem(UINT item) {
    const std::optional<EditCommand> command = EditCommandOfItem(item);
    if (command) {
        RunEditCommand(commands_, *command);
    }
    return command.has_value();
}

void MainDialog::OnPaint() {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(window_, &paint);
    if (IsIconic(window_)) {
        PaintMinimisedIcon(window_, target, icon_);
    } else {
        PaintPreview(target, CurrentImage());
    }
    EndPaint(window_, &paint);
}

void MainDialog::OnDropFiles(HDROP drop) {
    std::wstring path;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        std::vector<wchar_t> name(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
        DragQueryFileW(drop, 0, name.data(), static_cast<UINT>(name.size()));
        path = name.data();
    }
    DragFinish(drop);
    if (!path.empty()) {
        OpenDroppedFile(path);
    }
}

void MainDialog::OnDestroy() {
    window_ = nullptr;
    port_.Attach(nullptr);
}

void MainDialog::RequestClose() {
    if (window_ != nullptr && commands_.MayClose()) {
        DestroyWindow(window_);
    }
}

}  // namespace quorvel
