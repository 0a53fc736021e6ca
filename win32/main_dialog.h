#pragma once
// The program's one working window, dialog template 102: the preview of the current image on
// the left, the sprite list on the right, and the buttons that move images between files, the
// current image and the sprite set. It holds the user's choice of conversion method and of
// black handling.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "win32/file_dialogs.h"
#include "win32/message_boxes.h"

namespace quorvel {

class MainDialog {
  public:
    // Without `fileDialogs` or `messageBoxes` the window uses the system's own.
    explicit MainDialog(std::unique_ptr<FileDialogs> fileDialogs = nullptr,
                        std::unique_ptr<MessageBoxes> messageBoxes = nullptr);
    ~MainDialog();
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // The window the window services act on, or null while there is none.
    static MainDialog* Instance();

    // Shows the window and returns once it has been closed.
    void RunModal();
    // Shows the window and returns at once; the caller's message loop drives it, and the
    // window's own ways to close it destroy it.
    HWND Open();
    // The window's handle while it is open, else null.
    HWND Handle() const { return window_; }

    ConversionMode conversionMode() const { return conversionMode_; }

    // The file commands behind the two "Load" and two "Save" buttons.
    void OnLoadBitmap();
    void OnSaveBitmap();
    void OnLoadSprites();
    void OnSaveSprites();

    // Loads a file as the matching "Load" command would with it chosen: a .bmp or .png as a
    // picture, a .spr as a sprite file. Anything else is refused with a message.
    void OpenDroppedFile(const std::wstring& path);

    // A modal message box over the window, through the window's message boxes.
    int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT style);

    void RefreshChoice();  // ConversionMode into the radio group

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog(HWND window);
    bool OnCommand(int control, int notification);
    bool OnSysCommand(WPARAM command);
    void OnPaint();
    void OnDropFiles(HDROP drop);
    void OnDestroy();

    // Closes the window unless the user would lose unsaved sprites and declines.
    void RequestClose();
    // Whether the sprite set may be replaced or dropped: true unless it has unsaved changes
    // and the user answers No to the question.
    bool MayDiscardSprites();
    // The radio group and the window menu's "Keep Black Visible" item into the two choices.
    void ReadChoice();
    // Asks for a file of `kind` with the dialog for `action` and runs `operation` on it from
    // its folder; nothing when the dialog was cancelled.
    void WithChosenFile(FileKind kind, FileAction action,
                        const std::function<void(const std::string& name)>& operation);
    void LoadPictureFrom(const std::wstring& path);
    void LoadSpritesFrom(const std::wstring& path);

    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<MessageBoxes> messageBoxes_;
    ConversionMode conversionMode_ = ConversionMode::Nearest;
    BlackHandling blackHandling_ = BlackHandling::AsSearched;
    HWND window_ = nullptr;
    bool modal_ = false;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
};

}  // namespace quorvel
