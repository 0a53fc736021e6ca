#pragma once
// The program's one working window, dialog template 102: the preview of the current image on
// the left, the sprite list on the right, and the buttons that move images between files, the
// current image and the sprite set. It maps its buttons, keys and window-menu items to the
// shared window commands; DialogWindowPort is the window those commands act on.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <memory>
#include <string>

#include "ui/commands/window_commands.h"
#include "ui/win32/file_dialogs.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/window_port.h"

namespace quorvel {

class MainDialog {
  public:
    // Without `fileDialogs` or `messageBoxes` the window uses the system's own.
    explicit MainDialog(std::unique_ptr<FileDialogs> fileDialogs = nullptr,
                        std::unique_ptr<MessageBoxes> messageBoxes = nullptr);
    ~MainDialog();
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // Shows the window and runs its message loop until the window has been closed.
    void RunModal();
    // Shows the window and returns at once; the caller's message loop drives it, handing each
    // message to TranslateKey before the dialog manager. The window's own ways to close it
    // destroy it.
    HWND Open();
    // The window's handle while it is open, else null.
    HWND Handle() const { return window_; }
    WindowCommands& Commands() { return commands_; }

    // A file given by its full path, as a drop hands it over: loaded as its "Load" would.
    void OpenDroppedFile(const std::wstring& path);

    // Runs the Edit command bound to a key press in the window or any of its controls, before
    // the control or the dialog manager sees it. Whether there was one.
    bool TranslateKey(const MSG& message);

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog(HWND window);
    bool OnCommand(int control, int notification);
    bool OnSysCommand(WPARAM command);
    bool RunEditItem(UINT item);
    void OnPaint();
    void OnDropFiles(HDROP drop);
    void OnDestroy();
    // Closes the window unless the user would lose unsaved sprites and declines.
    void RequestClose();

    DialogWindowPort port_;
    WindowCommands commands_;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
};

}  // namespace quorvel
