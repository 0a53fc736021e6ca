#include "win32/main_dialog.h"

#include <commdlg.h>

#include <functional>
#include <utility>
#include <vector>

#include "commands/background_commands.h"
#include "core/channel_tables.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/label_texts.h"
#include "core/window_services.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "win32/about_dialog.h"
#include "win32/help.h"
#include "win32/preview.h"
#include "win32/resource.h"
#include "win32/wide_text.h"
#include "win32/working_folder.h"

namespace quorvel {

namespace {

MainDialog* instance = nullptr;

HINSTANCE ProgramModule() {
    return GetModuleHandleW(nullptr);
}

// What the Help buttons of the common file dialogs send to their owner.
UINT FileDialogHelpMessage() {
    static const UINT message = RegisterWindowMessageW(HELPMSGSTRINGW);
    return message;
}

// Whether the window menu's "Keep Black Visible" item is checked.
bool KeepBlackChecked(HWND window) {
    const UINT state = GetMenuState(GetSystemMenu(window, FALSE), IDM_KEEP_BLACK, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

}  // namespace

MainDialog::MainDialog(std::unique_ptr<FileDialogs> fileDialogs,
                       std::unique_ptr<MessageBoxes> messageBoxes)
    : fileDialogs_(fileDialogs ? std::move(fileDialogs) : std::make_unique<CommonFileDialogs>()),
      messageBoxes_(messageBoxes ? std::move(messageBoxes)
                                 : std::make_unique<SystemMessageBoxes>()) {
    instance = this;
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
    if (instance == this) {
        instance = nullptr;
    }
}

MainDialog* MainDialog::Instance() {
    return instance;
}

void MainDialog::RunModal() {
    modal_ = true;
    DialogBoxParamW(ProgramModule(), MAKEINTRESOURCEW(IDD_MAIN), nullptr, DialogProc,
                    reinterpret_cast<LPARAM>(this));
}

HWND MainDialog::Open() {
    modal_ = false;
    HWND window = CreateDialogParamW(ProgramModule(), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
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
        case WM_CLOSE:  // the close box, the window menu's Close, Alt+F4
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
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    // After the system's items: the keep-black item (unchecked with every window, never kept),
    // the two background commands, the About item, each group after a separator.
    if (HMENU menu = GetSystemMenu(window_, FALSE)) {
        constexpr std::pair<UINT, UINT> kItems[] = {
            {0, 0},
            {IDM_KEEP_BLACK, IDS_KEEP_BLACK_ITEM},
            {0, 0},
            {IDM_MAKE_BACKGROUND, IDS_MAKE_BACKGROUND_ITEM},
            {IDM_EXPORT_BACKGROUND, IDS_EXPORT_BACKGROUND_ITEM},
            {0, 0},
            {IDM_ABOUT, IDS_ABOUT_ITEM},
        };
        for (const auto& [command, text] : kItems) {
            wchar_t item[64] = {};
            if (command == 0) {
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            } else if (LoadStringW(ProgramModule(), text, item, 64) > 0) {
                AppendMenuW(menu, MF_STRING, command, item);
            }
        }
    }
    BuildChannelTables();
    RefreshChoice();
    // The first control that takes the focus by Tab; the radio buttons do not.
    SetFocus(GetDlgItem(window_, IDC_SPRITE_LIST));
}

bool MainDialog::OnCommand(int control, int notification) {
    switch (control) {
        // Escape, and Enter when no push button has the focus.
        case IDOK:
        case IDCANCEL:
            RequestClose();
            return true;
        default:
            break;
    }
    if (notification != BN_CLICKED) {
        return false;  // the list's notifications run no command
    }
    switch (control) {
        case IDC_LOAD_BITMAP:
            OnLoadBitmap();
            return true;
        case IDC_SAVE_BITMAP:
            OnSaveBitmap();
            return true;
        case IDC_LOAD_SPRITES:
            OnLoadSprites();
            return true;
        case IDC_SAVE_SPRITES:
            OnSaveSprites();
            return true;
        case IDC_ADD_SPRITE:
            AddSprite();
            return true;
        case IDC_INSERT_SPRITE:
            InsertSprite();
            return true;
        case IDC_DELETE_SPRITE:
            DeleteSprite();
            return true;
        case IDC_COPY_SPRITE:
            CopySpriteToImage();
            return true;
        default:
            return false;
    }
}

bool MainDialog::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case IDM_KEEP_BLACK:
            CheckMenuItem(GetSystemMenu(window_, FALSE), IDM_KEEP_BLACK,
                          MF_BYCOMMAND | (KeepBlackChecked(window_) ? MF_UNCHECKED : MF_CHECKED));
            return true;
        case IDM_MAKE_BACKGROUND:
            ReadChoice();
            RunMakeBackground(std::bind_front(&MainDialog::WithChosenFile, this), conversionMode_,
                              blackHandling_);
            return true;
        case IDM_EXPORT_BACKGROUND:
            RunExportBackground(std::bind_front(&MainDialog::WithChosenFile, this));
            return true;
        case IDM_ABOUT:
            ShowAboutBox(window_);
            return true;
        default:
            return false;  // the default handling
    }
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
}

void MainDialog::RequestClose() {
    if (window_ == nullptr || !MayDiscardSprites()) {
        return;
    }
    if (modal_) {
        EndDialog(window_, IDCANCEL);
    } else {
        DestroyWindow(window_);
    }
}

bool MainDialog::MayDiscardSprites() {
    if (!HasUnsavedSprites()) {
        return true;
    }
    return ShowMessage(Utf8ToWide(DiscardUnsavedSpritesQuestion()), L"quorvel",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int MainDialog::ShowMessage(const std::wstring& text, const std::wstring& caption, UINT style) {
    return messageBoxes_->Show(window_, text, caption, style);
}

// ----- File commands

void MainDialog::OnLoadBitmap() {
    ReadChoice();
    const std::wstring path = fileDialogs_->Choose(window_, FileKind::Picture, FileAction::Open);
    if (!FileNameOf(path).empty()) {
        LoadPictureFrom(path);
    }
}

void MainDialog::OnSaveBitmap() {
    WithChosenFile(FileKind::Picture, FileAction::Save, SavePictureFile);
}

void MainDialog::OnLoadSprites() {
    if (!MayDiscardSprites()) {
        return;
    }
    const std::wstring path = fileDialogs_->Choose(window_, FileKind::Sprite, FileAction::Open);
    if (!FileNameOf(path).empty()) {
        LoadSpritesFrom(path);
    }
}

void MainDialog::OnSaveSprites() {
    WithChosenFile(FileKind::Sprite, FileAction::Save, SaveSpriteFile);
}

void MainDialog::WithChosenFile(FileKind kind, FileAction action,
                                const std::function<void(const std::string& name)>& operation) {
    const std::wstring path = fileDialogs_->Choose(window_, kind, action);
    if (!FileNameOf(path).empty()) {
        RunInFolderOf(path, action, operation);
    }
}

void MainDialog::LoadPictureFrom(const std::wstring& path) {
    RunInFolderOf(path, FileAction::Open, [this](const std::string& name) {
        LoadPictureFile(name, conversionMode_, blackHandling_);
    });
    // Also after a rejected file, then showing the unchanged image.
    const IndexedImage& image = CurrentImage();
    SetImageLabel(ImageLabelFor(image.width, image.height));
    RefreshChoice();
}

void MainDialog::LoadSpritesFrom(const std::wstring& path) {
    RunInFolderOf(path, FileAction::Open, LoadSpriteFile);
    SetCountLabel(CountLabel(CurrentSpriteSet().count));
}

void MainDialog::OpenDroppedFile(const std::wstring& path) {
    const std::string name = WideToUtf8(FileNameOf(path));
    const std::optional<FileKind> kind = KindOfFileName(name);
    if (!kind) {
        ShowFileError(CannotLoadKind(name));
        return;
    }
    if (*kind == FileKind::Picture) {
        ReadChoice();
        LoadPictureFrom(path);
    } else if (MayDiscardSprites()) {
        LoadSpritesFrom(path);
    }
}

void MainDialog::ReadChoice() {
    conversionMode_ = IsDlgButtonChecked(window_, IDC_DIFFUSION_DITHER) == BST_CHECKED
                          ? ConversionMode::Dither
                          : ConversionMode::Nearest;
    blackHandling_ =
        KeepBlackChecked(window_) ? BlackHandling::KeepVisible : BlackHandling::AsSearched;
}

void MainDialog::RefreshChoice() {
    CheckRadioButton(
        window_, IDC_NEAREST_COLOR, IDC_DIFFUSION_DITHER,
        conversionMode_ == ConversionMode::Dither ? IDC_DIFFUSION_DITHER : IDC_NEAREST_COLOR);
}

}  // namespace quorvel
