// The Windows window with some work in it, for scripts/screenshot-windows.sh: an evening sky
// loaded by diffusion dithering and added to the sprite set three times, through the window's
// own commands. The window then runs until it is closed.

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ui/win32/main_dialog.h"
#include "ui/win32/resource.h"

namespace {

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// A 24-bit bitmap of a radial gradient from a pale sun to a deep blue sky.
std::vector<std::uint8_t> EveningSky(int width, int height) {
    const int stride = (3 * width + 3) / 4 * 4;
    std::vector<std::uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    PutLittleEndian(file, static_cast<std::uint32_t>(54 + stride * height), 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 54, 4);
    for (const std::uint32_t field :
         {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) {
        PutLittleEndian(file, field, 4);
    }
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    for (int i = 0; i < 6; ++i) {
        PutLittleEndian(file, 0, 4);
    }
    for (int y = height - 1; y >= 0; --y) {  // bottom row first
        for (int x = 0; x < width; ++x) {
            const double t = std::min(1.0, std::hypot(x - 130.0, y - 70.0) / 150.0);
            file.push_back(static_cast<std::uint8_t>(190 + (140 - 190) * t));  // blue
            file.push_back(static_cast<std::uint8_t>(240 + (60 - 240) * t));   // green
            file.push_back(static_cast<std::uint8_t>(255 + (30 - 255) * t));   // red
        }
        file.resize(file.size() + static_cast<std::size_t>(stride - 3 * width), 0);
    }
    return file;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    const std::filesystem::path picture = std::filesystem::temp_directory_path() / L"evening.bmp";
    {
        const std::vector<std::uint8_t> bytes = EveningSky(180, 140);
        std::ofstream(picture, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    quorvel::MainDialog window;
    HWND dialog = window.Open();
    if (dialog == nullptr) {
        return 1;
    }
    SendDlgItemMessageW(dialog, IDC_DIFFUSION_DITHER, BM_CLICK, 0, 0);
    window.OpenDroppedFile(picture.wstring());  // as "Load" with this file chosen
    for (int i = 0; i < 3; ++i) {
        SendDlgItemMessageW(dialog, IDC_ADD_SPRITE, BM_CLICK, 0, 0);
    }
    SendDlgItemMessageW(dialog, IDC_SPRITE_LIST, LB_SETCURSEL, 1, 0);

    MSG message;
    while (window.Handle() != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window.Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
