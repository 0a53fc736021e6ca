#pragma once
// The window's message boxes: the "File Error" box and the question before unsaved sprites
// are lost. The window shows them through this interface, so tests can answer them.

#include <windows.h>

#include <string>

namespace quorvel {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    // Shows a modal box as MessageBoxW does and returns the button pressed (IDOK, IDYES, ...).
    virtual int Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                     UINT style) = 0;
};

class SystemMessageBoxes final : public MessageBoxes {
  public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& caption,
             UINT style) override {
        return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
    }
};

}  // namespace quorvel
