#include "ui/win32/clipboard.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/little_endian.h"

namespace quorvel {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the oldest info header, with 3-byte colours
constexpr std::uint32_t kInfoHeaderSize = 40;

// Another program may hold the clipboard for a moment.
bool OpenClipboardSoon(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

// The bytes of a clipboard block, as many as the system says it holds.
std::vector<std::uint8_t> BytesOf(HANDLE block) {
    const void* data = block != nullptr ? GlobalLock(block) : nullptr;
    if (data == nullptr) {
        return {};
    }
    const auto* first = static_cast<const std::uint8_t*>(data);
    std::vector<std::uint8_t> bytes(first, first + GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

// Where the pixels start in a file of `dib`, or 0 for an info header that is not one.
std::uint64_t PixelOffsetOf(std::span<const std::uint8_t> dib) {
    if (dib.size() < kCoreHeaderSize) {
        return 0;
    }
    const std::uint32_t headerSize = ReadU32(dib, 0);
    const bool core = headerSize == kCoreHeaderSize;
    if (headerSize > dib.size() || (!core && headerSize < kInfoHeaderSize)) {
        return 0;
    }
    const std::uint16_t bitCount = ReadU16(dib, core ? 10 : 14);
    std::uint64_t colours = bitCount >= 1 && bitCount <= 8 ? std::uint64_t{1} << bitCount : 0;
    std::uint64_t offset = kFileHeaderSize + headerSize;
    if (!core) {
        const std::uint32_t compression = ReadU32(dib, 16);
        const std::uint32_t coloursUsed = ReadU32(dib, 32);
        colours = coloursUsed != 0 ? coloursUsed : colours;
        // The masks follow only the 40-byte header; later ones hold them.
        if (headerSize == kInfoHeaderSize && compression == BI_BITFIELDS) {
            offset += 12;
        } else if (headerSize == kInfoHeaderSize && compression == 6) {  // with an alpha mask
            offset += 16;
        }
    }
    return offset + colours * (core ? 3 : 4);
}

}  // namespace

std::vector<std::uint8_t> BitmapFileOfDib(std::span<const std::uint8_t> dib) {
    const std::uint64_t offset = PixelOffsetOf(dib);
    if (offset == 0 || dib.size() > std::numeric_limits<std::uint32_t>::max() - kFileHeaderSize) {
        return {};
    }
    // An offset past the end is left for the bitmap reader to refuse with its message.
    const std::uint64_t fileOffset = std::min<std::uint64_t>(offset, UINT32_MAX);
    std::vector<std::uint8_t> file(kFileHeaderSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    WriteU32(file.data() + 2, static_cast<std::uint32_t>(kFileHeaderSize + dib.size()));
    WriteU32(file.data() + 10, static_cast<std::uint32_t>(fileOffset));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

bool PutBitmapFileOnClipboard(HWND owner, std::span<const std::uint8_t> bitmapFile) {
    if (bitmapFile.size() <= kFileHeaderSize) {
        return false;
    }
    const std::span<const std::uint8_t> dib = bitmapFile.subspan(kFileHeaderSize);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    void* data = block != nullptr ? GlobalLock(block) : nullptr;
    if (data == nullptr) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(data, dib.data(), dib.size());
    GlobalUnlock(block);
    bool put = false;
    if (OpenClipboardSoon(owner)) {
        EmptyClipboard();
        put = SetClipboardData(CF_DIB, block) != nullptr;  // the clipboard owns it from now
        CloseClipboard();
    }
    if (!put) {
        GlobalFree(block);
    }
    return put;
}

std::vector<std::uint8_t> PictureFileOnClipboard(HWND owner) {
    const UINT png = RegisterClipboardFormatW(L"PNG");
    const bool hasPng = png != 0 && IsClipboardFormatAvailable(png);
    if (!hasPng && !IsClipboardFormatAvailable(CF_DIB)) {
        return {};
    }
    if (!OpenClipboardSoon(owner)) {
        return {};
    }
    std::vector<std::uint8_t> file;
    if (hasPng) {
        file = BytesOf(GetClipboardData(png));
    }
    if (file.empty()) {
        file = BitmapFileOfDib(BytesOf(GetClipboardData(CF_DIB)));
    }
    CloseClipboard();
    return file;
}

}  // namespace quorvel
