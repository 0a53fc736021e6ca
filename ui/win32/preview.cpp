#include "ui/win32/preview.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/game_palette.h"
#include "ui/win32/resource.h"

namespace quorvel {

namespace {

// An 8-bit device-independent bitmap header with the 256 game colours as its colour table.
struct PaletteBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[kPaletteEntries];
};

PaletteBitmapInfo DescribeRows(int width, int height) {
    PaletteBitmapInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;  // positive: the rows are stored bottom to top
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const std::uint32_t colour = kGameColours[i];
        info.colours[i] = RGBQUAD{static_cast<BYTE>(colour), static_cast<BYTE>(colour >> 8),
                                  static_cast<BYTE>(colour >> 16), 0};
    }
    return info;
}

// Draws the part of `image` that the frame shows at (0, 0) of `surface`. Only that part is
// turned into a bitmap: a huge sprite costs no more than a 200 × 200 one. Its rows go in bottom
// to top and padded to a multiple of 4 bytes, as the bitmap format wants them; the image's own
// rows have no padding, whatever their width.
void DrawVisiblePart(HDC surface, const IndexedImage& image) {
    const std::size_t width = image.width;
    // An image whose buffer is shorter than its size claims shows only its complete rows.
    const std::size_t rowsPresent = image.pixels.size() / width;
    const std::size_t rows =
        std::min<std::size_t>({image.height, rowsPresent, std::size_t{kPreviewSide}});
    const std::size_t columns = std::min<std::size_t>(width, kPreviewSide);
    if (rows == 0) {
        return;
    }
    const std::size_t stride = (columns + 3) / 4 * 4;
    std::vector<std::uint8_t> scratch(stride * rows, 0);
    for (std::size_t y = 0; y < rows; ++y) {
        std::memcpy(scratch.data() + (rows - 1 - y) * stride, image.pixels.data() + y * width,
                    columns);
    }
    const PaletteBitmapInfo info = DescribeRows(static_cast<int>(columns), static_cast<int>(rows));
    SetDIBitsToDevice(surface, 0, 0, static_cast<DWORD>(columns), static_cast<DWORD>(rows), 0, 0, 0,
                      static_cast<UINT>(rows), scratch.data(),
                      reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

// A control's rectangle in the client coordinates of `dialog`, in which the frame is painted.
RECT PlaceInDialog(HWND dialog, HWND control) {
    RECT place{};
    if (control != nullptr && GetWindowRect(control, &place)) {
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    }
    return place;
}

// What KeepPreviewUncovered moves: the controls from `top` down that start left of `right`.
struct ControlsBelow {
    HWND dialog;
    int top;
    int right;
    int shift;
    int lowestBefore = 0;  // the lowest bottom edge of any control, before and after the move
    int lowestMoved = 0;
};

BOOL CALLBACK MoveIfBelow(HWND control, LPARAM data) {
    auto& below = *reinterpret_cast<ControlsBelow*>(data);
    if (GetParent(control) != below.dialog) {
        return TRUE;  // a control's own children move with it
    }
    RECT place = PlaceInDialog(below.dialog, control);
    below.lowestBefore = std::max<int>(below.lowestBefore, place.bottom);
    if (place.top >= below.top && place.left < below.right) {
        OffsetRect(&place, 0, below.shift);
        SetWindowPos(control, nullptr, place.left, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    below.lowestMoved = std::max<int>(below.lowestMoved, place.bottom);
    return TRUE;
}

}  // namespace

void PaintPreview(HDC target, const IndexedImage& image) {
    HDC surface = CreateCompatibleDC(target);
    HBITMAP frame = CreateCompatibleBitmap(target, kPreviewSide, kPreviewSide);
    if (surface == nullptr || frame == nullptr) {
        // Without an off-screen surface the frame can still be shown empty.
        PatBlt(target, kPreviewLeft, kPreviewTop, kPreviewSide, kPreviewSide, BLACKNESS);
    } else {
        HGDIOBJ previous = SelectObject(surface, frame);
        PatBlt(surface, 0, 0, kPreviewSide, kPreviewSide, BLACKNESS);
        if (image.HasArea()) {
            DrawVisiblePart(surface, image);
        }
        BitBlt(target, kPreviewLeft, kPreviewTop, kPreviewSide, kPreviewSide, surface, 0, 0,
               SRCCOPY);
        SelectObject(surface, previous);
    }
    if (frame != nullptr) {
        DeleteObject(frame);
    }
    if (surface != nullptr) {
        DeleteDC(surface);
    }
}

void KeepPreviewUncovered(HWND dialog) {
    HWND labelControl = GetDlgItem(dialog, IDC_IMAGE_LABEL);
    const RECT label = PlaceInDialog(dialog, labelControl);
    // The gap the label keeps on Windows at 96 dpi, so that its text never touches the frame.
    constexpr int kGap = 3;
    const int shortfall = kPreviewTop + kPreviewSide + kGap - label.top;
    if (labelControl == nullptr || shortfall <= 0) {
        return;
    }
    // The label and everything under the frame from its top down move together, so that they
    // keep their order and spacing; the window grows by as much as the lowest control moved,
    // which keeps its margin below that control.
    ControlsBelow below{dialog, label.top, kPreviewLeft + kPreviewSide, shortfall};
    EnumChildWindows(dialog, MoveIfBelow, reinterpret_cast<LPARAM>(&below));
    if (const int growth = below.lowestMoved - below.lowestBefore; growth > 0) {
        RECT outer{};
        GetWindowRect(dialog, &outer);
        SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left,
                     outer.bottom - outer.top + growth, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PaintMinimisedIcon(HWND window, HDC target, HICON icon) {
    SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(target), 0);
    RECT client{};
    GetClientRect(window, &client);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(target, x, y, icon);
}

}  // namespace quorvel
